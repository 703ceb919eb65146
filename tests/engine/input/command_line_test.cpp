// The command line through the parser: opening texts, the editor keys, Return, incremental
// search and the history with its first-key rule and browsing by prefix.
#include <gtest/gtest.h>

#include <string>

#include "engine/input/command_parser.h"
#include "engine/parser_test_keys.h"

namespace tavik {
namespace {

using testing::FakeServices;
using testing::Keys;
using testing::U16;

constexpr TextPos kCaret{7, 3};

class CommandLineTest : public ::testing::Test {
 protected:
  // Feeds keys as typed (each the first key of its batch unless `mapped`); returns whether the
  // last key was consumed.
  bool Type(std::string_view keys, bool mapped = false) {
    bool consumed = false;
    for (KeyCode key : Keys(keys)) {
      consumed = parser_.ParseKey(key, false, caret_, !mapped);
      if (parser_.IsComplete()) {
        command_ = parser_.TakeCommand();
        parser_.FinishCommandLine(false);
      }
    }
    return consumed;
  }
  // Types a whole line and runs it, so it lands in the history.
  void Run(std::string_view line) {
    Type(line);
    Type("<CR>");
    ASSERT_TRUE(command_.has_value());
  }
  std::u16string Line() const { return std::u16string(parser_.PendingText()); }
  std::vector<std::u16string> History() const {
    std::vector<std::u16string> entries;
    for (size_t i = 0; i < parser_.History().size(); ++i) entries.push_back(parser_.History()[i]);
    return entries;
  }

  FakeServices services_;
  CommandParser parser_{services_};
  TextPos caret_ = kCaret;
  std::optional<CommandRecord> command_;
};

TEST_F(CommandLineTest, OpeningTextDependsOnCountAndMode) {
  struct Case {
    const char* keys;
    bool visual;
    const char* line;
  };
  const Case cases[] = {
      {":", false, ":"},
      {"1:", false, ":"},
      {"2:", false, ":.,.+1"},
      {"5:", false, ":.,.+4"},
      {"2\"a6:", false, ":.,.+11"},
      {":", true, ":'<,'>"},
      {"3:", true, ":'<,'>"},
      {"/", false, "/"},
      {"2?", true, "?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    parser_.ResetParser(c.visual);
    Type(c.keys);
    EXPECT_TRUE(parser_.IsCommandLineOpen());
    EXPECT_EQ(Line(), U16(c.line));
    EXPECT_EQ(parser_.CommandLineCursor(), Line().size());
  }
}

TEST_F(CommandLineTest, ReturnCompletesExAndSearchCommands) {
  Type("5:s/a/b<CR>");
  ASSERT_TRUE(command_);
  EXPECT_EQ(command_->action, 38);
  EXPECT_EQ(command_->Text(), u".,.+4s/a/b");
  EXPECT_EQ(command_->action_count, 0u);  // the count went into the range
  EXPECT_FALSE(parser_.IsCommandLineOpen());
  EXPECT_TRUE(parser_.PendingText().empty());

  Type("3?fo o<CR>");
  EXPECT_EQ(command_->action, 0);
  EXPECT_EQ(command_->motion, 22);
  EXPECT_EQ(command_->motion_arg, u'x');
  EXPECT_EQ(command_->motion_count, 3u);
  EXPECT_EQ(command_->Text(), u"fo o");

  Type("\"ad/x<CR>");
  EXPECT_EQ(command_->action, 4);
  EXPECT_EQ(command_->motion, 22);
  EXPECT_EQ(command_->motion_arg, 0);
  EXPECT_EQ(command_->register_name, 'a');
  EXPECT_EQ(command_->Text(), u"x");
}

TEST_F(CommandLineTest, LongLinesAreCutWhenRun) {
  Type(":" + std::string(600, 'a') + "<CR>");
  ASSERT_TRUE(command_);
  EXPECT_EQ(command_->text_length, 511);
  EXPECT_EQ(command_->text[511], 0);
  // The history keeps its own, shorter slots.
  ASSERT_EQ(parser_.History().size(), 1u);
  EXPECT_EQ(parser_.History()[0].size(), CommandLineHistory::kEntryCapacity);
}

TEST_F(CommandLineTest, BackspaceNeverLeavesALineWithoutItsPrefix) {
  Type(":ab<BS>");
  EXPECT_EQ(Line(), u":a");
  Type("<BS>");
  EXPECT_EQ(Line(), u":");
  EXPECT_TRUE(parser_.IsCommandLineOpen());
  Type("<BS>");
  EXPECT_FALSE(parser_.IsCommandLineOpen());
  EXPECT_TRUE(parser_.PendingText().empty());
  EXPECT_EQ(parser_.MappingMode(false), mapping_mask::kNormal);

  Type(":abc<Home><BS>");
  EXPECT_EQ(Line(), u":abc");
  Type("<End><Left><BS>");
  EXPECT_EQ(Line(), u":ac");
  EXPECT_EQ(parser_.CommandLineCursor(), 2u);
}

TEST_F(CommandLineTest, CursorKeysAndDelete) {
  Type(":abc<Left><Left><Left><Left><Del>");
  EXPECT_EQ(Line(), u":bc");
  Type("<Right><Right><Right><Del>x<Home>y");
  EXPECT_EQ(Line(), u":ybcx");
  EXPECT_EQ(parser_.CommandLineCursor(), 2u);
}

TEST_F(CommandLineTest, CtrlUAndCtrlWDeleteBeforeTheCursor) {
  struct Case {
    const char* keys;
    const char* line;
  };
  const Case cases[] = {
      {":abc<Left><C-u>", ":c"},
      {":abc<C-u><C-u>", ":"},
      {":foo bar<C-w>", ":foo "},
      {":foo bar  <C-w>", ":foo "},
      {":a.b<C-w>", ":a."},
      {":foo..<C-w>", ":foo"},
      {":x_1<C-w>", ":"},
      {":  <C-w>", ":"},
      {":<C-w>", ":"},
      {"/ab cd<Left><Left><C-w>", "/cd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    parser_.ResetParser(false);
    Type(c.keys);
    EXPECT_TRUE(parser_.IsCommandLineOpen());
    EXPECT_EQ(Line(), U16(c.line));
  }
}

TEST_F(CommandLineTest, RegistersGoInAndOutThroughTheServices) {
  services_.registers[u'a'] = u"xyz";
  Type(":ab<Left><C-r>a");
  EXPECT_EQ(Line(), u":axyzb");
  Type("<C-r>q");  // no such register: nothing happens
  EXPECT_EQ(Line(), u":axyzb");
  Type("<C-r><Left>");  // a special key ends the wait and does its usual work
  EXPECT_EQ(Line(), u":axyzb");
  EXPECT_EQ(parser_.CommandLineCursor(), 4u);
  Type("<End><C-y>");
  ASSERT_TRUE(services_.yanked);
  EXPECT_EQ(*services_.yanked, u"axyzb");
}

TEST_F(CommandLineTest, ControlCharactersAreIgnoredButTabIsText) {
  Type(":a<C-b><C-a><C-v><Tab>");
  EXPECT_EQ(Line(), u":a\t");
}

TEST_F(CommandLineTest, KeysTheEditorDoesNotUseGoToTheHost) {
  Type(":a");
  EXPECT_FALSE(Type("<PageUp>"));
  EXPECT_FALSE(Type("<A-x>"));
  EXPECT_FALSE(Type("<F1>"));
  EXPECT_TRUE(Type("<C-a>"));
  EXPECT_EQ(Line(), u":a");
}

TEST_F(CommandLineTest, IncrementalSearchFollowsThePattern) {
  parser_.SetIncrementalSearch(true);
  Type("?");
  EXPECT_TRUE(parser_.IsSearchLine());
  EXPECT_TRUE(parser_.SearchBackward());
  EXPECT_EQ(parser_.SearchStart(), kCaret);
  EXPECT_FALSE(parser_.IsIncrementalSearchActive());

  caret_ = TextPos{9, 0};  // the engine moves the caret to the match
  Type("ab");
  EXPECT_TRUE(parser_.IsIncrementalSearchActive());
  EXPECT_EQ(parser_.SearchPatternBeingTyped(), u"ab");
  EXPECT_EQ(parser_.SearchStart(), kCaret);
  EXPECT_FALSE(parser_.TakeRestoreCaretRequest());

  Type("<BS>");
  EXPECT_TRUE(parser_.IsIncrementalSearchActive());
  Type("<BS>");
  EXPECT_FALSE(parser_.IsIncrementalSearchActive());
  EXPECT_EQ(parser_.TakeRestoreCaretRequest(), kCaret);
  EXPECT_FALSE(parser_.TakeRestoreCaretRequest());

  // Return and Escape both put the caret back before the search runs or is dropped.
  Type("c<CR>");
  EXPECT_EQ(parser_.TakeRestoreCaretRequest(), kCaret);
  Type("/c");  // a new line starts from the caret of its "/"
  parser_.CancelCommandLine(true);
  EXPECT_EQ(parser_.TakeRestoreCaretRequest(), (TextPos{9, 0}));
  EXPECT_FALSE(parser_.IsCommandLineOpen());
}

TEST_F(CommandLineTest, IncrementalSearchOffNeverActivates) {
  parser_.SetIncrementalSearch(false);
  Type("/abc");
  EXPECT_FALSE(parser_.IsIncrementalSearchActive());
  Type("<CR>");
  EXPECT_FALSE(parser_.TakeRestoreCaretRequest());
  Type(":abc");
  parser_.SetIncrementalSearch(true);
  Type("d");
  EXPECT_FALSE(parser_.IsIncrementalSearchActive());  // only search lines search
}

TEST_F(CommandLineTest, HistoryRecordsTypedLinesOnly) {
  Run(":one");
  Run(":");  // nothing after the prefix: not recorded
  Type(":two");
  Type("<CR>", /*mapped=*/true);
  Type(":three");
  parser_.FinishCommandLine(false, /*first_key=*/true);  // Escape typed
  Type("/four");
  parser_.FinishCommandLine(false, /*first_key=*/false);  // Escape from a mapping
  Run("/five");
  EXPECT_EQ(History(), (std::vector<std::u16string>{u":one", u":three", u"/five"}));
}

TEST_F(CommandLineTest, UpOnAnEmptyLineLoadsTheNewestLineOfItsKind) {
  Run(":one");
  Run("/pat");
  Type(":<Up>");
  EXPECT_EQ(Line(), u":one");
  Type("<Up>");  // no older ":" line
  EXPECT_EQ(Line(), u":one");
  parser_.ResetParser(false);
  Type("?<Up>");  // "?" lines are browsed apart from "/" lines
  EXPECT_EQ(Line(), u"?");
}

TEST_F(CommandLineTest, BrowsingByTypedPrefixAndBackDown) {
  Run(":set ai");
  Run(":s/x/y");
  Run(":set ic");
  Type(":se<Up>");
  EXPECT_EQ(Line(), u":set ic");
  Type("<Up>");
  EXPECT_EQ(Line(), u":set ai");
  Type("<Up>");
  EXPECT_EQ(Line(), u":set ai");
  Type("<Down>");
  EXPECT_EQ(Line(), u":set ic");
  Type("<Down>");
  EXPECT_EQ(Line(), u":se");  // the typed text was kept as the newest entry
  Type("<Down>");
  EXPECT_EQ(Line(), u":se");
  Type("<Up><CR>");
  ASSERT_TRUE(command_);
  EXPECT_EQ(command_->Text(), u"set ic");
  // The browsed entry moved to the end instead of being added again.
  EXPECT_EQ(History(), (std::vector<std::u16string>{u":set ai", u":s/x/y", u":se", u":set ic"}));
}

TEST_F(CommandLineTest, EditingABrowsedEntryRecordsTheEditedLine) {
  Run(":a1");
  Run(":b2");
  Type(":<Up>x<CR>");
  EXPECT_EQ(command_->Text(), u"b2x");
  EXPECT_EQ(History(), (std::vector<std::u16string>{u":a1", u":b2", u":b2x"}));
  Type(":<Up><Up><C-w>");
  EXPECT_EQ(Line(), u":");
  Type("c<CR>");
  EXPECT_EQ(History(), (std::vector<std::u16string>{u":a1", u":b2", u":b2x", u":c"}));
}

TEST_F(CommandLineTest, HistorySurvivesParserResets) {
  Run(":keep");
  parser_.ResetParser(true);
  Type(":<Up>");  // browses by the whole typed text, range included
  EXPECT_EQ(Line(), u":'<,'>");
  Type("<C-u><Up>");  // the first Up kept the range line as the newest entry
  EXPECT_EQ(Line(), u":'<,'>");
  Type("<Up>");
  EXPECT_EQ(Line(), u":keep");
}

}  // namespace
}  // namespace tavik
