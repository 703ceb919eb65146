// The key path of the engine through the package and the in-process host: Caps Lock and ALT
// rules, Escape with and without beeps, the caret shape, the status text limits, undo steps
// around batches of keys and host edits, and the desired column after host caret moves.
#include "engine/view_engine.h"

#include <gtest/gtest.h>

#include <string>

#include "config/key_notation.h"
#include "host/host_view_adapter.h"
#include "host/package.h"
#include "platform/editor_host.h"

namespace tavik {
namespace {

// Counts the engine's requests to close host pop-ups.
class CancelCountingAdapter : public host::HostViewAdapter {
 public:
  using HostViewAdapter::HostViewAdapter;
  void CancelUi() override { ++cancels; }
  int cancels = 0;
};

class ViewEngineTest : public ::testing::Test {
 protected:
  ViewEngineTest() : package_(host_) {}

  void Open(std::u16string_view text) {
    host_.OpenText(text);
    view_ = host_.FocusedView();
  }
  ViewEngine& Engine() { return package_.Engine(); }
  Settings& GetSettings() { return package_.GetSettings(); }
  // Feeds one key straight to the engine and returns its handled flag.
  bool Feed(KeyCode key, platform::View* view = nullptr) {
    return Engine().FeedKey(*package_.Attachment(view ? *view : *view_), key);
  }
  // Feeds keys from key notation as typed, letters without SHIFT (Caps Lock decides their case).
  void Keys(std::u16string_view notation, platform::View* view = nullptr) {
    for (KeyCode key : ParseKeys(notation)) Feed(key, view);
  }
  std::u16string Status() { return Engine().StatusText(); }
  std::u16string Buffer() const { return view_->Buffer().Text(); }

  platform::EditorHost host_;
  host::Package package_;
  platform::View* view_ = nullptr;
};

TEST_F(ViewEngineTest, CapsLockIsIgnoredOutsideTypedText) {
  Open(u"one\ntwo\nthree");
  ASSERT_TRUE(GetSettings().IgnoreCapsLock());
  // An upper-case letter without SHIFT is what Caps Lock gives: read as "j", a move down.
  EXPECT_TRUE(Feed(KeyCode::Char(u'J')));
  EXPECT_EQ(view_->Caret(), (TextPos{1, 0}));
  EXPECT_EQ(Buffer(), u"one\ntwo\nthree");
  // With SHIFT a lower-case letter becomes upper case: "K" is not a move up.
  Feed(KeyCode::Char(u'k', key_mod::kShift));
  EXPECT_EQ(view_->Caret(), (TextPos{1, 0}));
  // On a command line the character stays as it came.
  Feed(KeyCode::Char(u':'));
  Feed(KeyCode::Char(u'J'));
  Feed(KeyCode::Char(u'k', key_mod::kShift));
  Feed(KeyCode::Char(u'x'));
  EXPECT_EQ(Status(), u":Jkx");
}

TEST_F(ViewEngineTest, CapsLockCountsWhenTheSettingIsOff) {
  Open(u"one\ntwo");
  GetSettings().PutBool(SettingId::kIgnoreCapsLock, false);
  Feed(KeyCode::Char(u'J'));  // taken as typed: not a move down
  EXPECT_EQ(view_->Caret().line, 0u);
}

TEST_F(ViewEngineTest, AltKeysAreLeftToTheHost) {
  Open(u"one\ntwo");
  EXPECT_FALSE(Feed(KeyCode::Char(u'j', key_mod::kAlt)));
  EXPECT_EQ(view_->Caret(), (TextPos{0, 0}));
  EXPECT_EQ(Buffer(), u"one\ntwo");
  EXPECT_FALSE(Feed(KeyCode::Special(vk::kDown, key_mod::kAlt)));
  EXPECT_EQ(view_->Caret(), (TextPos{0, 0}));
}

TEST_F(ViewEngineTest, AnAltKeyCancelsAPendingCommand) {
  Open(u"one\ntwo");
  Keys(u"2d");
  EXPECT_EQ(Status(), u"-- NORMAL -- 2d");
  EXPECT_FALSE(Feed(KeyCode::Char(u'x', key_mod::kAlt)));
  EXPECT_EQ(Status(), u"-- NORMAL -- ");
  Feed(KeyCode::Char(u'j'));  // a plain motion again, not the rest of "2d"
  EXPECT_EQ(Buffer(), u"one\ntwo");
  EXPECT_EQ(view_->Caret(), (TextPos{1, 0}));
}

TEST_F(ViewEngineTest, ADisabledEngineHandlesNothing) {
  Open(u"one\ntwo");
  Engine().SetEnabled(false);
  EXPECT_FALSE(Feed(KeyCode::Char(u'j')));
  EXPECT_EQ(view_->Caret(), (TextPos{0, 0}));
  Engine().SetEnabled(true);
  EXPECT_TRUE(Feed(KeyCode::Char(u'j')));
}

TEST_F(ViewEngineTest, CaretShapeFollowsTheModeAndSearchTyping) {
  Open(u"one two");
  Keys(u"l");
  EXPECT_EQ(Engine().GetCaretShape(), CaretShape::kBlock);
  Keys(u"/t");
  EXPECT_EQ(Engine().GetCaretShape(), CaretShape::kThin);
  Keys(u"<Esc>");
  EXPECT_EQ(Engine().GetCaretShape(), CaretShape::kBlock);
  Keys(u":set");
  EXPECT_EQ(Engine().GetCaretShape(), CaretShape::kBlock);
  Keys(u" nois<CR>/t");
  EXPECT_EQ(Engine().GetCaretShape(), CaretShape::kBlock);  // no incremental search
  Keys(u"<Esc>");
}

TEST_F(ViewEngineTest, StatusTextLimits) {
  Open(u"abc");
  Feed(KeyCode::Char(u':'));
  for (int i = 0; i < 600; ++i) Feed(KeyCode::Char(u'a'));
  std::u16string status = Status();
  EXPECT_EQ(status.size(), 511u);
  EXPECT_EQ(status.substr(0, 4), u":aaa");
  Keys(u"<Esc>");
  EXPECT_EQ(Status(), u"-- NORMAL -- ");

  // A long pending command: the mode frame and the keys, cut at 510.
  for (int i = 0; i < 600; ++i) Feed(KeyCode::Char(u'1'));
  status = Status();
  EXPECT_EQ(status.size(), 510u);
  EXPECT_EQ(status.substr(0, 16), u"-- NORMAL -- 111");
}

TEST_F(ViewEngineTest, EscapeBeepsAndCancelsHostUiInNormalMode) {
  Open(u"abc");
  CancelCountingAdapter adapter(host_, *view_);
  AttachedView attached(&adapter, Engine().GlobalOptions());
  EXPECT_TRUE(Engine().FeedKey(attached, KeyCode::Char(27)));
  EXPECT_EQ(host_.BeepCount(), 1);
  EXPECT_EQ(adapter.cancels, 1);
  // Also when it cancels a pending operator; CTRL-C and CTRL-[ act the same.
  Engine().FeedKey(attached, KeyCode::Char(u'd'));
  Engine().FeedKey(attached, KeyCode::Char(3, key_mod::kCtrl));
  EXPECT_EQ(host_.BeepCount(), 2);
  EXPECT_EQ(adapter.cancels, 2);
  EXPECT_EQ(Engine().StatusText(), u"-- NORMAL -- ");
  Engine().FeedKey(attached, KeyCode::Char(27, key_mod::kCtrl));
  EXPECT_EQ(host_.BeepCount(), 3);
  // Escape on a command line closes it without a beep.
  Engine().FeedKey(attached, KeyCode::Char(u':'));
  Engine().FeedKey(attached, KeyCode::Char(27));
  EXPECT_EQ(host_.BeepCount(), 3);
  EXPECT_EQ(adapter.cancels, 3);
  EXPECT_EQ(Engine().StatusText(), u"-- NORMAL -- ");
}

TEST_F(ViewEngineTest, EscapeIsSilentWithBeepOff) {
  Open(u"abc");
  GetSettings().PutBool(SettingId::kBeep, false);
  CancelCountingAdapter adapter(host_, *view_);
  AttachedView attached(&adapter, Engine().GlobalOptions());
  EXPECT_TRUE(Engine().FeedKey(attached, KeyCode::Char(27)));
  EXPECT_EQ(host_.BeepCount(), 0);
  EXPECT_EQ(adapter.cancels, 1);  // pop-ups still close
}

TEST_F(ViewEngineTest, EscapeClearsAMessage) {
  Open(u"abc");
  Keys(u":bogus<CR>");
  EXPECT_NE(Status().substr(0, 3), u"-- ");
  Keys(u"<Esc>");
  EXPECT_EQ(Status(), u"-- NORMAL -- ");
}

TEST_F(ViewEngineTest, HostEditsBetweenBatchesAreSeparateUndoSteps) {
  Open(u"abc");
  // A first click attaches the package to the view fully: typing is the host's from then on.
  host_.SendMessage(*view_, {platform::wm::kLeftButtonDown, 0, 0});
  view_->SetCaret({0, 3});
  host_.TypeKey(*view_, KeyCode::Char(u'X'));
  Keys(u"h");  // a batch without an edit
  view_->SetCaret({0, 4});
  host_.TypeKey(*view_, KeyCode::Char(u'Y'));
  EXPECT_EQ(Buffer(), u"abcXY");
  Keys(u"u");
  EXPECT_EQ(Buffer(), u"abcX");
  Keys(u":u<CR>");
  EXPECT_EQ(Buffer(), u"abc");
  Keys(u":red<CR>");
  EXPECT_EQ(Buffer(), u"abcX");
}

TEST_F(ViewEngineTest, HostEditsRightAfterEachOtherFormOneStepPerGap) {
  Open(u"abc");
  // A first click attaches the package to the view fully: typing is the host's from then on.
  host_.SendMessage(*view_, {platform::wm::kLeftButtonDown, 0, 0});
  view_->SetCaret({0, 0});
  host_.TypeKey(*view_, KeyCode::Char(u'1'));
  Keys(u"l");
  host_.TypeKey(*view_, KeyCode::Char(u'2'));
  host_.TypeKey(*view_, KeyCode::Char(u'3'));
  Keys(u"u");
  EXPECT_EQ(view_->Buffer().Line(0).substr(0, 1), u"1");
  EXPECT_EQ(view_->Buffer().Line(0).find(u'2'), std::u16string::npos);
  Keys(u"u");
  EXPECT_EQ(Buffer(), u"abc");
}

TEST_F(ViewEngineTest, DesiredColumnFollowsAHostCaretMove) {
  Open(u"abcdef\nab\nabcdef");
  Keys(u"l");
  view_->SetCaret({0, 4});  // a click
  Keys(u"j");
  EXPECT_EQ(view_->Caret(), (TextPos{1, 1}));
  Keys(u"j");
  EXPECT_EQ(view_->Caret(), (TextPos{2, 4}));
}

TEST_F(ViewEngineTest, AClickInInsertModeMovesWhereCtrlUStops) {
  Open(u"one\ntwo");
  auto type = [&](std::u16string_view notation) {
    for (KeyCode key : ParseKeys(notation)) host_.PressKey(host_.keyboard().PressFor(key));
  };
  type(u"$axy");
  view_->SetCaret({1, 3});  // a click at the end of the second line
  type(u"12<C-u>");
  EXPECT_EQ(Buffer(), u"onexy\ntwo");
  type(u"<C-u><C-u>");  // the line's own text goes, its line break stays
  EXPECT_EQ(Buffer(), u"onexy\n");
}

TEST_F(ViewEngineTest, SwitchingDocumentsDropsAHalfTypedCommand) {
  Open(u"one\ntwo");
  platform::View* first = view_;
  Keys(u"2d");
  Open(u"three\nfour");
  Keys(u"j");
  EXPECT_EQ(view_->Caret(), (TextPos{1, 0}));
  EXPECT_EQ(Buffer(), u"three\nfour");
  EXPECT_EQ(first->Buffer().Text(), u"one\ntwo");
  EXPECT_EQ(Status(), u"-- NORMAL -- ");
}

}  // namespace
}  // namespace tavik
