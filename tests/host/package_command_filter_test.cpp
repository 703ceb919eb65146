// The package in a view's command-filter chain: which commands it reports unsupported, how
// host-modal input starts and ends, editor commands turned into keys exactly once, and
// read-only documents with "WarnReadOnly" and "RemoveReadOnly".
#include "host/command_filter.h"

#include <gtest/gtest.h>

#include "app/batch_session.h"
#include "config/key_notation.h"
#include "platform/utf8_codec.h"

namespace tavik {
namespace {

using platform::CommandGroup;
using platform::CommandStatus;
using platform::EditorCommand;

EditorCommand Std(uint32_t id, char16_t typed = 0) {
  return {CommandGroup::kStandard2K, id, typed};
}

// Below the package: reports every command supported, as an editor that offers them all.
class OfferingFilter final : public platform::CommandTarget {
 public:
  platform::CommandTarget* next = nullptr;
  CommandStatus QueryStatus(const EditorCommand&) override { return CommandStatus::kSupported; }
  platform::HResult Exec(const EditorCommand& command) override { return next->Exec(command); }
};

class PackageCommandFilterTest : public ::testing::Test {
 protected:
  platform::View& Open(const std::string& text) {
    session_.OpenText("t.txt", text);
    session_.FocusFirstDocument();
    return *session_.Editor().FocusedView();
  }
  void Keys(std::string_view notation) { session_.FeedNotation(notation); }
  void Send(platform::View& view, uint32_t id, char16_t typed = 0) {
    session_.Editor().SendCommand(view, Std(id, typed));
  }
  Settings& GetSettings() { return session_.Package().GetSettings(); }
  std::string Text() { return session_.BufferTextUtf8(); }

  app::BatchSession session_;
};

TEST_F(PackageCommandFilterTest, QueryStatusLeavesReturnBackspaceAndCtrlUToTheEngine) {
  platform::View& view = Open("abc\n");
  OfferingFilter offering;
  offering.next = view.Filters().AddCommandFilter(&offering);
  host::PackageCommandFilter& filter = *session_.Package().Filter(view);
  filter.Rejoin();  // back at the head, above the other filter
  ASSERT_EQ(view.Filters().Filters().front(), &filter);
  const EditorCommand ctrl_u{CommandGroup::kEditorExtra, platform::cmd_extra::kCtrlU, 0};

  EXPECT_EQ(view.Filters().QueryStatus(Std(platform::cmd2k::kReturn)), CommandStatus::kUnsupported);
  EXPECT_EQ(view.Filters().QueryStatus(Std(platform::cmd2k::kBackspace)),
            CommandStatus::kUnsupported);
  EXPECT_EQ(view.Filters().QueryStatus(ctrl_u), CommandStatus::kSupported);
  GetSettings().PutBool(SettingId::kFixUpUndocCtrlU, true);
  EXPECT_EQ(view.Filters().QueryStatus(ctrl_u), CommandStatus::kUnsupported);
  EXPECT_EQ(view.Filters().QueryStatus(Std(platform::cmd2k::kDelete)), CommandStatus::kSupported);
  // The language may keep Return for itself.
  filter.SetLanguageReturnFlag(false);
  EXPECT_EQ(view.Filters().QueryStatus(Std(platform::cmd2k::kReturn)), CommandStatus::kSupported);
  filter.SetLanguageReturnFlag(true);
  // In insert mode the host offers both as usual; so it does with the emulation off.
  Keys("i");
  EXPECT_EQ(view.Filters().QueryStatus(Std(platform::cmd2k::kReturn)), CommandStatus::kSupported);
  EXPECT_EQ(view.Filters().QueryStatus(Std(platform::cmd2k::kBackspace)),
            CommandStatus::kSupported);
  Keys("<Esc>");
  session_.Package().Engine().SetEnabled(false);
  EXPECT_EQ(view.Filters().QueryStatus(Std(platform::cmd2k::kBackspace)),
            CommandStatus::kSupported);
  EXPECT_EQ(view.Filters().QueryStatus(ctrl_u), CommandStatus::kSupported);
  view.Filters().RemoveCommandFilter(&offering);
}

TEST_F(PackageCommandFilterTest, EditorCommandsBecomeKeysAndPassedKeysAreTypedOnce) {
  platform::View& view = Open("one two\n");
  // In normal mode the engine reads the commands: Delete is x, Ctrl+Right a word motion.
  Send(view, platform::cmd2k::kDelete);
  Send(view, platform::cmd2k::kWordNext);
  EXPECT_EQ(Text(), "ne two\n");
  EXPECT_EQ(session_.Cursor(), (std::pair<uint32_t, uint32_t>{0, 3}));
  // Typed characters before the window is subclassed are keys too; in insert mode the engine
  // lets the host type them, and each arrives once.
  session_.Package().Filter(view)->SetFullyAttached(false);
  Send(view, platform::cmd2k::kTypeChar, u'i');
  Send(view, platform::cmd2k::kTypeChar, u'X');
  Send(view, platform::cmd2k::kDelete);
  EXPECT_EQ(Text(), "ne Xwo\n");
  EXPECT_EQ(session_.ModeName(), "INSERT");
  Send(view, platform::cmd2k::kCancel);
  EXPECT_EQ(session_.ModeName(), "NORMAL");
  // Keys typed through the package are typed once as well, Delete and arrows included.
  Keys("A!<Left><Delete>?<Esc>");
  EXPECT_EQ(Text(), "ne Xwo?\n");
  // Extending movements are the host's own.
  Send(view, platform::cmd2k::kHomeExtend);
  EXPECT_FALSE(view.Selection().Empty());
}

TEST_F(PackageCommandFilterTest, HostModalInputOwnsTheKeysUntilReturnOrCancel) {
  platform::View& view = Open("alpha beta\n");
  host::PackageCommandFilter& filter = *session_.Package().Filter(view);
  Keys("2d");
  Send(view, platform::cmd2k::kIncrementalSearch);
  EXPECT_TRUE(filter.IsHostModal());
  // Every command now goes to the host's search, none to the engine.
  Send(view, platform::cmd2k::kTypeChar, u'b');
  Send(view, platform::cmd2k::kTypeChar, u'e');
  EXPECT_EQ(view.Selection(), (platform::ViewSelection{{0, 6}, {0, 8}, false}));
  Send(view, platform::cmd2k::kCancel);
  EXPECT_FALSE(filter.IsHostModal());
  // Ending the search leaves the engine in normal mode without the half-typed command.
  EXPECT_EQ(session_.StatusUtf8(), "-- NORMAL -- ");
  EXPECT_EQ(Text(), "alpha beta\n");

  // The character-code input, accepted with Return, leaves the user typing text.
  Send(view, platform::cmd2k::kSecondModalInput);
  EXPECT_TRUE(filter.IsHostModal());
  Send(view, platform::cmd2k::kTypeChar, u'4');
  Send(view, platform::cmd2k::kTypeChar, u'1');
  Send(view, platform::cmd2k::kReturn);
  EXPECT_FALSE(filter.IsHostModal());
  EXPECT_EQ(session_.ModeName(), "INSERT");
  Keys("z<Esc>");
  EXPECT_EQ(Text(), "Azalpha beta\n");
  // Cancelled, it changes nothing and the engine stays where it was.
  Send(view, platform::cmd2k::kSecondModalInput);
  Send(view, platform::cmd2k::kTypeChar, u'4');
  Send(view, platform::cmd2k::kCancel);
  EXPECT_EQ(session_.ModeName(), "NORMAL");
  EXPECT_EQ(Text(), "Azalpha beta\n");
}

TEST_F(PackageCommandFilterTest, ReadOnlyDocumentsAskRefuseOrLoseTheirFlag) {
  platform::View& view = Open("keep\n");
  view.Buffer().SetReadOnly(true);
  Keys("x");
  EXPECT_EQ(Text(), "keep\n");
  EXPECT_EQ(session_.Editor().StatusText(), u"\"t.txt\" is read-only");
  // With "WarnReadOnly" the first edit asks; no leaves the text, once per key.
  GetSettings().PutBool(SettingId::kWarnReadOnly, true);
  session_.SetAnswers({"n", "y"});
  Keys("ddx");
  EXPECT_EQ(session_.Editor().dialogs().AskedCount(), 2);
  EXPECT_EQ(Text(), "eep\n");
  EXPECT_FALSE(view.Buffer().ReadOnly());
  // "RemoveReadOnly" clears the flag before each editor command of an attached view.
  view.Buffer().SetReadOnly(true);
  GetSettings().PutBool(SettingId::kWarnReadOnly, false);
  GetSettings().PutBool(SettingId::kRemoveReadOnly, true);
  Send(view, platform::cmd2k::kDelete);
  EXPECT_EQ(Text(), "ep\n");
}

TEST_F(PackageCommandFilterTest, KeysTheEngineLeavesRunTheirBindingsAndPromptsTakeAnswers) {
  Open("one\n  two\nthree\n");
  // CTRL-G means nothing to insert mode: the host's go-to-line runs and asks for the line.
  session_.SetAnswers({"2"});
  Keys("i<C-g>X<Esc>");
  EXPECT_EQ(Text(), "one\n  Xtwo\nthree\n");
  // With the emulation off every key goes to the bindings, then to the host editor.
  session_.Package().Engine().SetEnabled(false);
  Keys("<C-a><C-c><C-End><C-v>");
  EXPECT_EQ(Text(), "one\n  Xtwo\nthree\none\n  Xtwo\nthree\n");
}

}  // namespace
}  // namespace tavik
