// The package on a view's window: keys arriving as keyboard messages, the global toggle, focus
// and timer messages, Caps Lock, the input method and shell calls, attachment stages and which
// views are attached at all.
#include <gtest/gtest.h>

#include "app/batch_session.h"
#include "host/view_attachment.h"
#include "platform/utf8_codec.h"

namespace tavik {
namespace {

using platform::KeyPress;
namespace wm = platform::wm;
constexpr uint32_t C = key_mod::kCtrl;
constexpr uint32_t A = key_mod::kAlt;

class WindowProcedureTest : public ::testing::Test {
 protected:
  platform::EditorHost& Editor() { return session_.Editor(); }
  host::Package& Package() { return session_.Package(); }
  platform::View& Open(const std::string& text) {
    session_.OpenText("", text);
    platform::View* view = Editor().FocusedView();
    view->SetCaret({0, 0});
    return *view;
  }
  std::string Text() { return session_.BufferTextUtf8(); }
  void Press(KeyPress press) { Editor().PressKey(press); }

  app::BatchSession session_;
};

TEST_F(WindowProcedureTest, TheGlobalToggleSwitchesTheLiveFlagAndComesBackInNormalMode) {
  Open("one\ntwo\n");
  session_.FeedNotation("ix<C-S-A-v>");
  EXPECT_FALSE(Package().Engine().Enabled());
  EXPECT_EQ(Package().Engine().Mode(), EngineMode::kNormal);
  // Off: the host's own caret, a bar, although the engine is in normal mode.
  platform::View& view = *Editor().FocusedView();
  Editor().SendMessage(view, {wm::kPaint, 0, 0});
  EXPECT_EQ(view.CaretWidth(), 2u);
  // The keys reach the host untouched (leaving insert mode put the caret on the x).
  session_.FeedNotation("dd");
  EXPECT_EQ(Text(), "ddxone\ntwo\n");
  session_.FeedNotation("<C-S-A-v>");
  EXPECT_TRUE(Package().Engine().Enabled());
  EXPECT_EQ(view.CaretWidth(), 8u);
  session_.FeedNotation("jdd");
  EXPECT_EQ(Text(), "ddxone\n");
  // The stored setting keeps its value.
  EXPECT_TRUE(Package().GetSettings().GetBool(SettingId::kEnable));
}

TEST_F(WindowProcedureTest, MovingTheFocusResolvesKeysHeldForAMapping) {
  platform::View& first = Open("abc\n");
  session_.FeedNotation(":map xy dd<CR>");
  // Held back, then taken literally when the mapping timer message comes.
  session_.FeedNotation("x");
  EXPECT_EQ(Text(), "abc\n");
  Editor().AdvanceClock(5000);
  EXPECT_EQ(Text(), "bc\n");
  session_.FeedNotation("x");
  Open("other\n");  // the focus moves to a second document: the held key runs where it was typed
  Editor().SyncFocus();
  EXPECT_EQ(platform::ToUtf8(first.Buffer().Line(0)), "c");
  Editor().AdvanceClock(5000);
  EXPECT_EQ(platform::ToUtf8(first.Buffer().Line(0)), "c");
  EXPECT_EQ(Text(), "other\n");
}

TEST_F(WindowProcedureTest, AKeyHeldForAnInsertMappingReachesTheTextOnceOnEveryPath) {
  platform::View& first = Open("ab\n");
  session_.FeedNotation(":imap jj <lt>Esc><CR>Aj");
  EXPECT_EQ(Text(), "ab\n");
  Editor().AdvanceClock(5000);  // the time-out types it
  session_.FeedNotation("x");
  EXPECT_EQ(Text(), "abjx\n");
  session_.FeedNotation("j<Esc>");  // Escape breaks the mapping: the j goes in first
  EXPECT_EQ(Text(), "abjxj\n");
  EXPECT_EQ(Package().Engine().Mode(), EngineMode::kNormal);
  session_.FeedNotation("Aj");
  Open("other\n");  // the focus leaves with the j held back
  Editor().SyncFocus();
  Editor().AdvanceClock(5000);
  EXPECT_EQ(platform::ToUtf8(first.Buffer().Line(0)), "abjxjj");
  EXPECT_EQ(Text(), "other\n");
}

TEST_F(WindowProcedureTest, CapsLockIsIgnoredOutsideTypedTextAndTheImeClosesOnLeavingInsert) {
  Open("a\nb\n");
  Editor().keyboard().SetCapsLock(true);
  Press({'J', 0});  // "J" on the screen, read as j: down, not join
  EXPECT_EQ(Editor().FocusedView()->Caret().line, 1u);
  const uint64_t updates = Editor().CommandUIUpdates();
  Press({'I', 0});
  EXPECT_EQ(Package().Engine().Mode(), EngineMode::kInsert);
  EXPECT_EQ(Editor().CommandUIUpdates(), updates + 1);
  Press({'X', 0});
  EXPECT_EQ(Text(), "a\nXb\n");
  const uint64_t calls = Editor().input_method().OpenStatusCalls();
  Press({platform::vkey::kEscape, 0});
  EXPECT_EQ(Editor().input_method().OpenStatusCalls(), calls + 1);
  EXPECT_FALSE(Editor().input_method().LastOpenStatus());
  EXPECT_EQ(Editor().input_method().Releases(), 1u);
}

TEST_F(WindowProcedureTest, GermanCtrlBracketIsEscapeAndAltGrTypesItsCharacter) {
  Open("\n");
  Editor().keyboard().SetLayout(platform::GermanLayout());
  Press({'I', 0});
  Press({'Q', C | A});  // AltGr+Q: "@"
  Press({0xBA, C});     // Ctrl+Ü, scan code 26: Escape
  EXPECT_EQ(Package().Engine().Mode(), EngineMode::kNormal);
  EXPECT_EQ(Text(), "@\n");
}

TEST_F(WindowProcedureTest, ViewsAttachLightlyThenFullyOnTheFirstInputAndRefreshAfter500Ms) {
  platform::View& view = Open("text\n");
  const host::AttachmentWindow* window = Package().WindowState(view);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->stage, host::AttachmentStage::kRegistered);
  // Focus and paint do not attach fully, but make the caret.
  Editor().SyncFocus();
  EXPECT_EQ(view.CaretWidth(), 8u);  // a block in normal mode
  Editor().SendMessage(view, {wm::kLeftButtonDown, 0, 0});
  EXPECT_EQ(window->stage, host::AttachmentStage::kFull);
  Editor().AdvanceClock(host::kAttachmentRefreshMs - 1);
  EXPECT_EQ(window->stage, host::AttachmentStage::kFull);
  Editor().AdvanceClock(1);
  EXPECT_EQ(window->stage, host::AttachmentStage::kRefreshed);
  session_.FeedNotation("a");
  EXPECT_EQ(view.CaretWidth(), 2u);  // thin after the key-up, in insert mode
  // In a menu loop the package leaves the caret to the host until the loop ends.
  session_.FeedNotation("<Esc>");
  EXPECT_EQ(view.CaretWidth(), 8u);
  Editor().SendMessage(view, {wm::kEnterMenuLoop, 0, 0});
  Editor().SendMessage(view, {wm::kPaint, 0, 0});
  EXPECT_EQ(view.CaretWidth(), 2u);
  Editor().SendMessage(view, {wm::kExitMenuLoop, 0, 0});
  EXPECT_EQ(view.CaretWidth(), 8u);
}

TEST_F(WindowProcedureTest, ViewsWithoutADocumentAreLeftToTheHostUnlessTheirLanguageSaysSo) {
  Editor().OpenToolBuffer(u"pane\n", u"Output");
  platform::View& pane = *Editor().FocusedView();
  EXPECT_FALSE(Package().IsEligible(pane));
  EXPECT_EQ(Package().WindowState(pane), nullptr);
  session_.FeedNotation("dd");
  EXPECT_EQ(platform::ToUtf8(pane.Buffer().Line(0)), "ddpane");
  Editor().OpenToolBuffer(u"one\ntwo\n", u"Immediate", u"Immediate");
  platform::View& immediate = *Editor().FocusedView();
  EXPECT_TRUE(Package().IsEligible(immediate));
  session_.FeedNotation("dd");
  EXPECT_EQ(platform::ToUtf8(immediate.Buffer().Line(0)), "two");
}

}  // namespace
}  // namespace tavik
