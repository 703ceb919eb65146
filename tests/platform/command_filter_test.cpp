// A view's command-filter chain, the host's own editor at its tail with its modal inputs, the
// default window procedure, and read-only documents.
#include "platform/command_filter.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/editor_host.h"

namespace tavik::platform {
namespace {

// A filter that notes what passes and can swallow one command id.
class NotingFilter final : public CommandTarget {
 public:
  NotingFilter(std::vector<int>& log, int tag, uint32_t swallow = 0)
      : log_(log), tag_(tag), swallow_(swallow) {}
  CommandTarget* next = nullptr;
  CommandStatus QueryStatus(const EditorCommand& command) override {
    return next->QueryStatus(command);
  }
  HResult Exec(const EditorCommand& command) override {
    log_.push_back(tag_);
    return command.id == swallow_ ? HResult::kOk : next->Exec(command);
  }

 private:
  std::vector<int>& log_;
  int tag_;
  uint32_t swallow_;
};

EditorCommand Std(uint32_t id, char16_t typed = 0) {
  return {CommandGroup::kStandard2K, id, typed};
}

WindowMessage Message(uint32_t message, uint32_t wparam) {
  return {message, wparam, 1};
}

class CommandFilterTest : public ::testing::Test {
 protected:
  View& Open(std::u16string_view text) {
    host_.OpenText(text);
    return *host_.FocusedView();
  }
  void Send(View& view, uint32_t id, char16_t typed = 0) {
    host_.SendCommand(view, Std(id, typed));
  }
  void Chars(View& view, std::u16string_view text) {
    for (char16_t c : text) Send(view, cmd2k::kTypeChar, c);
  }
  // A key pressed as the window system delivers it: key-down, then its character.
  void Press(View& view, uint32_t virtual_key, char16_t c, uint32_t modifiers = 0) {
    held_ = modifiers;
    view.GetWindowProcedure()(view, Message(wm::kKeyDown, virtual_key));
    if (c != 0) view.GetWindowProcedure()(view, Message(wm::kChar, c));
    held_ = 0;
  }

  EditorHost host_;
  uint32_t held_ = 0;
};

TEST_F(CommandFilterTest, FiltersJoinAtTheHeadAndTheirNextFollowsTheChain) {
  View& view = Open(u"abc");
  std::vector<int> log;
  NotingFilter first(log, 1), second(log, 2, cmd2k::kDelete);
  first.next = view.Filters().AddCommandFilter(&first);
  second.next = view.Filters().AddCommandFilter(&second);
  EXPECT_EQ(view.Filters().AddCommandFilter(&first), nullptr);  // already in
  Send(view, cmd2k::kDelete);
  EXPECT_EQ(log, (std::vector<int>{2}));
  EXPECT_EQ(view.Buffer().Text(), u"abc");
  Send(view, cmd2k::kTypeChar, u'x');
  EXPECT_EQ(log, (std::vector<int>{2, 2, 1}));
  EXPECT_EQ(view.Buffer().Text(), u"xabc");
  // The first filter leaves: the second one's next now reaches the editor directly, and the
  // first one joining again comes back at the head with the same next.
  EXPECT_TRUE(view.Filters().RemoveCommandFilter(&first));
  EXPECT_FALSE(view.Filters().RemoveCommandFilter(&first));
  log.clear();
  Send(view, cmd2k::kTypeChar, u'y');
  EXPECT_EQ(log, (std::vector<int>{2}));
  EXPECT_EQ(view.Filters().AddCommandFilter(&first), first.next);
  EXPECT_TRUE(view.Filters().RemoveCommandFilter(&second));
  log.clear();
  Send(view, cmd2k::kDelete);
  EXPECT_EQ(log, (std::vector<int>{1}));
  EXPECT_EQ(view.Buffer().Text(), u"xybc");
  EXPECT_TRUE(view.Filters().RemoveCommandFilter(&first));
}

TEST_F(CommandFilterTest, TheViewsEditorTypesMovesSelectsAndOvertypes) {
  View& view = Open(u"  one two\nthree");
  view.SetCaret({0, 5});
  Send(view, cmd2k::kWordNextExtend);
  EXPECT_EQ(view.Selection(), (ViewSelection{{0, 5}, {0, 6}, false}));
  Send(view, cmd2k::kLeft);  // collapses the selection to its start
  EXPECT_EQ(view.Caret(), (TextPos{0, 5}));
  Send(view, cmd2k::kHome);
  EXPECT_EQ(view.Caret(), (TextPos{0, 2}));
  Send(view, cmd2k::kHome);
  EXPECT_EQ(view.Caret(), (TextPos{0, 0}));
  Send(view, cmd2k::kDocumentEndExtend);
  EXPECT_EQ(view.Selection().End(), (TextPos{1, 5}));
  Send(view, cmd2k::kCancel);
  EXPECT_TRUE(view.Selection().Empty());
  view.SetCaret({1, 0});
  Send(view, cmd2k::kToggleOvertype);
  Chars(view, u"TH");
  Send(view, cmd2k::kToggleOvertype);
  Chars(view, u"-");
  EXPECT_EQ(view.Buffer().Line(1), u"TH-ree");
  Send(view, cmd2k::kBackspace);
  Send(view, cmd2k::kReturn);
  Chars(view, std::u16string(1, u'\x01'));  // a control character is not text
  EXPECT_EQ(view.Buffer().Text(), u"  one two\nTH\nree");
  EXPECT_EQ(view.Filters().Exec({CommandGroup::kStandard2K, 5000, 0}), HResult::kUnsupported);
  EXPECT_EQ(view.Filters().QueryStatus(Std(cmd2k::kPageDownExtend)), CommandStatus::kSupported);
}

TEST_F(CommandFilterTest, IncrementalSearchSelectsAsYouTypeAndCancelGoesBack) {
  View& view = Open(u"alpha beta\nBeta gamma beta");
  view.SetCaret({0, 1});
  Send(view, cmd2k::kIncrementalSearch);
  EXPECT_EQ(host_.StatusText(), u"Incremental Search: ");
  Chars(view, u"bet");
  EXPECT_EQ(view.Selection(), (ViewSelection{{0, 6}, {0, 9}, false}));
  EXPECT_EQ(host_.StatusText(), u"Incremental Search: bet");
  Send(view, cmd2k::kIncrementalSearch);  // the next match, either case
  EXPECT_EQ(view.Selection().Start(), (TextPos{1, 0}));
  Chars(view, u"x");
  EXPECT_EQ(host_.StatusText(), u"Incremental Search: betx (not found)");
  Send(view, cmd2k::kBackspace);
  Send(view, cmd2k::kCancel);
  EXPECT_EQ(view.Caret(), (TextPos{0, 1}));
  EXPECT_TRUE(view.Selection().Empty());
  // Upper case asks for that case; Return keeps the match, and typing goes on as usual.
  Send(view, cmd2k::kIncrementalSearch);
  Chars(view, u"Beta");
  Send(view, cmd2k::kReturn);
  EXPECT_EQ(view.Selection().Start(), (TextPos{1, 0}));
  Chars(view, u"B");
  EXPECT_EQ(view.Buffer().Line(1), u"B gamma beta");
}

TEST_F(CommandFilterTest, CharacterCodeInputInsertsTheCharacterOnReturn) {
  View& view = Open(u"ab");
  view.SetCaret({0, 1});
  Send(view, cmd2k::kSecondModalInput);
  Chars(view, u"1f6z0");  // z is no hex digit: a beep
  EXPECT_EQ(host_.BeepCount(), 1);
  EXPECT_EQ(host_.StatusText(), u"Character code (hex): 1f60");
  Send(view, cmd2k::kTypeChar, u'0');
  Send(view, cmd2k::kReturn);
  EXPECT_EQ(view.Buffer().Line(0), u"a\U0001F600b");
  Send(view, cmd2k::kSecondModalInput);
  Chars(view, u"d800");
  Send(view, cmd2k::kReturn);
  EXPECT_EQ(host_.StatusText(), u"Invalid character code: d800");
  Send(view, cmd2k::kSecondModalInput);
  Chars(view, u"41");
  Send(view, cmd2k::kCancel);
  EXPECT_EQ(view.Buffer().Line(0), u"a\U0001F600b");
}

TEST_F(CommandFilterTest, DefaultWindowProcedureRunsBindingsThenEditingKeysThenText) {
  host_.SetKeyboardModifiers([this] { return held_; });
  View& view = Open(u"one\ntwo");
  Press(view, 'X', u'x');
  Press(view, vkey::kBack, u'\b');  // the key-down deletes; its character does nothing
  Press(view, 'Y', u'y');
  EXPECT_EQ(view.Buffer().Line(0), u"yone");
  Press(view, vk::kEnd, 0, key_mod::kShift);
  EXPECT_EQ(view.Selection(), (ViewSelection{{0, 1}, {0, 4}, false}));
  Press(view, 'A', 1, key_mod::kCtrl);  // Ctrl+A: select all, its control character ignored
  EXPECT_EQ(view.Selection(), (ViewSelection{{0, 0}, {1, 3}, false}));
  Press(view, 'C', 3, key_mod::kCtrl);
  EXPECT_EQ(host_.clipboard().Text(), u"yone\r\ntwo");
  Press(view, vk::kDown, 0, key_mod::kCtrl | key_mod::kShift);  // bound to nothing: no text
  Press(view, 'K', 11, key_mod::kCtrl);
  EXPECT_NE(host_.StatusText().find(u"Waiting for second key"), std::u16string::npos);
  Press(view, 'Q', u'q');  // completes no chord: swallowed, its character too
  EXPECT_EQ(view.Buffer().Text(), u"yone\ntwo");
  view.SetCaret({1, 0});
  Press(view, 'V', 22, key_mod::kCtrl);
  EXPECT_EQ(view.Buffer().Text(), u"yone\nyone\ntwotwo");
  // Front-end commands run by their binding too.
  int exits = 0;
  host_.SetFrontEndCommand(std::u16string(kExitCommand), [&exits](std::u16string_view) {
    ++exits;
    return CommandResult::kOk;
  });
  Press(view, vk::kF1 + 9, 0);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(host_.Execute(kOptionsCommand), CommandResult::kNotImpl);
}

TEST_F(CommandFilterTest, PromptedCommandsFindReplaceAndGoToLine) {
  std::vector<std::u16string> answers = {u"two", u"o", u"0", u"3"};
  host_.dialogs().SetTextAnswerer([&answers](std::u16string_view) -> std::optional<std::u16string> {
    if (answers.empty()) return std::nullopt;
    std::u16string a = answers.front();
    answers.erase(answers.begin());
    return a;
  });
  View& view = Open(u"one\ntwo\n  three");
  EXPECT_EQ(host_.Execute(u"Edit.Find"), CommandResult::kOk);
  EXPECT_EQ(view.Selection(), (ViewSelection{{1, 0}, {1, 3}, false}));
  EXPECT_EQ(host_.Execute(u"Edit.Replace"), CommandResult::kOk);
  EXPECT_EQ(view.Buffer().Text(), u"0ne\ntw0\n  three");
  EXPECT_EQ(host_.StatusText(), u"2 occurrences replaced");
  EXPECT_EQ(host_.Execute(u"Edit.GoTo"), CommandResult::kOk);
  EXPECT_EQ(view.Caret(), (TextPos{2, 2}));
  EXPECT_EQ(host_.Execute(u"Edit.GoTo"), CommandResult::kFail);  // cancelled
  EXPECT_EQ(host_.Execute(u"Edit.GoTo 2x"), CommandResult::kFail);
  EXPECT_EQ(host_.Execute(u"File.OpenFile"), CommandResult::kFail);  // cancelled: nothing opens
  EXPECT_EQ(host_.Documents().size(), 1u);
  EXPECT_EQ(host_.StatusText(), u"Not a line number: 2x");
}

TEST_F(CommandFilterTest, FilesWithoutWritePermissionOpenReadOnly) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("tavik_read_only_" + std::to_string(getpid()) + ".txt");
  std::ofstream(file) << "fixed\n";
  std::filesystem::permissions(
      file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  Document* document = host_.OpenFile(file.string());
  ASSERT_NE(document, nullptr);
  View& view = *host_.FocusedView();
  EXPECT_TRUE(document->buffer.ReadOnly());
  Chars(view, u"x");
  Send(view, cmd2k::kDelete);
  host_.clipboard().SetText(u"pasted");
  EXPECT_EQ(host_.Execute(u"Edit.Paste"), CommandResult::kFail);
  EXPECT_EQ(host_.Execute(u"Edit.Undo"), CommandResult::kFail);
  EXPECT_EQ(view.Buffer().Text(), u"fixed");
  EXPECT_EQ(host_.StatusText(), u"\"" + document->Name() + u"\" is read-only");
  EXPECT_EQ(host_.Save(*document), "\"" + file.string() + "\" is read-only; not saved");
  // A client's edit query may let the edit through: the flag goes, and saving works again.
  int asked = 0;
  host_.SetEditQuery([&asked](const Document&) { return ++asked == 1; });
  Chars(view, u"x");
  Chars(view, u"y");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(view.Buffer().Line(0), u"xyfixed");
  std::filesystem::permissions(file, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  EXPECT_FALSE(host_.Save(*document));
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace tavik::platform
