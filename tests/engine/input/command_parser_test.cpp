// Key sequences through the command parser in normal and visual mode: the completed record
// (codes, counts, arguments, register, forced kind), cancellation, pending text, mapping modes.
#include "engine/input/command_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/parser_test_keys.h"

namespace tavik {
namespace {

using testing::FakeServices;
using testing::Keys;
using testing::U16;

struct Fed {
  bool complete = false;
  bool completed_early = false;  // a command completed before the last key
  bool last_consumed = false;
  CommandRecord record;
};

Fed Feed(CommandParser& parser, std::string_view keys, bool recording = false) {
  Fed fed;
  std::vector<KeyCode> codes = Keys(keys);
  for (size_t i = 0; i < codes.size(); ++i) {
    fed.last_consumed = parser.ParseKey(codes[i], recording, TextPos{4, 2}, true);
    if (parser.IsComplete()) {
      fed.completed_early = i + 1 < codes.size();
      fed.complete = true;
      fed.record = parser.TakeCommand();
      break;
    }
  }
  return fed;
}

struct CommandCase {
  const char* keys;
  ActionCode action = 0;
  MotionCode motion = 0;
  uint32_t count = 0;  // expected in the motion count when a motion is set, else the action count
  char16_t action_arg = 0;
  char16_t motion_arg = 0;
  char register_name = 0;
  int forced = -1;  // ForcedKind, or -1 for no forced kind
};

void CheckCases(bool visual, std::initializer_list<CommandCase> cases) {
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(std::string("keys: ") + c.keys + (visual ? " (visual)" : ""));
    FakeServices services;
    CommandParser parser(services);
    parser.ResetParser(visual);
    Fed fed = Feed(parser, c.keys);
    ASSERT_TRUE(fed.complete);
    EXPECT_FALSE(fed.completed_early);
    const CommandRecord& r = fed.record;
    EXPECT_EQ(r.action, c.action);
    EXPECT_EQ(r.motion, c.motion);
    EXPECT_EQ(r.motion != 0 ? r.motion_count : r.action_count, c.count);
    EXPECT_EQ(r.motion != 0 ? r.action_count : r.motion_count, 0u);
    EXPECT_EQ(r.action_arg, c.action_arg);
    EXPECT_EQ(r.motion_arg, c.motion_arg);
    EXPECT_EQ(r.register_name, c.register_name);
    EXPECT_EQ(r.forced, c.forced >= 0);
    if (c.forced >= 0) {
      EXPECT_EQ(static_cast<int>(r.forced_kind), c.forced);
    }
  }
}

TEST(CommandParserTest, CountsMultiplyAcrossRegisterAndOperator) {
  CheckCases(
      false,
      {
          {.keys = "3x", .action = 1, .count = 3},
          {.keys = "d3w", .action = 4, .motion = 1, .count = 3},
          {.keys = "2d3w", .action = 4, .motion = 1, .count = 6},
          {.keys = "2\"a3yy", .action = 9, .motion = 35, .count = 6, .register_name = 'a'},
          {.keys = "2d3d", .action = 4, .motion = 35, .count = 6},
          {.keys = "d10w", .action = 4, .motion = 1, .count = 10},
          {.keys = "10x", .action = 1, .count = 10},
          {.keys = "d0", .action = 4, .motion = 27},
          {.keys = "0", .motion = 27},
          {.keys = "3.", .action = 76, .count = 3},
          {.keys = "99999999999x", .action = 1, .count = CommandParser::kMaxCount},
          {.keys = "99999d99999w", .action = 4, .motion = 1, .count = CommandParser::kMaxCount},
      });
}

TEST(CommandParserTest, OperatorsMotionsAndDoubledOperators) {
  CheckCases(false, {
                        {.keys = "dd", .action = 4, .motion = 35},
                        {.keys = "cc", .action = 26, .motion = 35},
                        {.keys = "yy", .action = 9, .motion = 35},
                        {.keys = ">>", .action = 43, .motion = 35},
                        {.keys = "<lt><lt>", .action = 44, .motion = 35},
                        {.keys = "==", .action = 42, .motion = 35},
                        {.keys = "dj", .action = 4, .motion = 16},
                        {.keys = "d<Left>", .action = 4, .motion = 15},
                        {.keys = "c<C-Right>", .action = 26, .motion = 1},
                        {.keys = "y<C-End>", .action = 9, .motion = 33},
                        {.keys = "dG", .action = 4, .motion = 33},
                        {.keys = "d<CR>", .action = 4, .motion = 53},
                        {.keys = "Qx", .action = 1},  // Q is an operator without an action
                    });
}

TEST(CommandParserTest, CharacterArguments) {
  CheckCases(false,
             {
                 {.keys = "dfx", .action = 4, .motion = 11, .motion_arg = 'x'},
                 {.keys = "dT;", .action = 4, .motion = 10, .motion_arg = ';'},
                 {.keys = "2t ", .motion = 9, .count = 2, .motion_arg = ' '},
                 {.keys = "d`a", .action = 4, .motion = 30, .motion_arg = 'a'},
                 {.keys = "y'b", .action = 9, .motion = 31, .motion_arg = 'b'},
                 {.keys = "3rx", .action = 8, .count = 3, .action_arg = 'x'},
                 {.keys = "r<CR>", .action = 8, .action_arg = ch::kReturn},
                 {.keys = "ma", .action = 37, .action_arg = 'a'},
                 {.keys = "dma", .action = 37, .action_arg = 'a'},  // the mark drops the operator
                 {.keys = "@q", .action = 45, .action_arg = 'q'},
                 {.keys = "qa", .action = 7, .action_arg = 'a'},
                 {.keys = "\"Ap", .action = 16, .register_name = 'A'},
             });
}

TEST(CommandParserTest, ForcedKindsAndTextObjects) {
  CheckCases(false, {
                        {.keys = "dvj", .action = 4, .motion = 16, .forced = 0},
                        {.keys = "dVw", .action = 4, .motion = 1, .forced = 1},
                        {.keys = "d<C-v>j", .action = 4, .motion = 16, .forced = 2},
                        {.keys = "diw", .action = 4, .motion = 60},
                        {.keys = "daw", .action = 4, .motion = 61},
                        {.keys = "ciW", .action = 26, .motion = 62},
                        {.keys = "yas", .action = 9, .motion = 65},
                        {.keys = "dip", .action = 4, .motion = 66},
                        {.keys = "di)", .action = 4, .motion = 68},
                        {.keys = "daB", .action = 4, .motion = 71},
                        {.keys = "di>", .action = 4, .motion = 72},
                        {.keys = "da]", .action = 4, .motion = 75},
                        {.keys = "ci'", .action = 26, .motion = 78},
                        {.keys = "ca\"", .action = 26, .motion = 81},
                        {.keys = "dit", .action = 4, .motion = 82},
                        {.keys = "2dat", .action = 4, .motion = 83, .count = 2},
                    });
}

TEST(CommandParserTest, PrefixKeysInNormalMode) {
  CheckCases(false, {
                        {.keys = "gUw", .action = 39, .motion = 1},
                        {.keys = "gu2j", .action = 40, .motion = 16, .count = 2},
                        {.keys = "g~l", .action = 41, .motion = 18},
                        {.keys = "gqap", .action = 42, .motion = 67},
                        {.keys = "gJ", .action = 23, .action_arg = 'x'},
                        {.keys = "gp", .action = 16, .action_arg = 'x'},
                        {.keys = "gP", .action = 17, .action_arg = 'x'},
                        {.keys = "gv", .action = 59},
                        {.keys = "gi", .action = 69},
                        {.keys = "2gT", .action = 73, .count = 2},
                        {.keys = "gg", .motion = 32},
                        {.keys = "5gj", .motion = 16, .count = 5, .motion_arg = 'g'},
                        {.keys = "g$", .motion = 29, .motion_arg = 'g'},
                        {.keys = "g*", .motion = 25, .motion_arg = 'g'},
                        {.keys = "gE", .motion = 8},
                        {.keys = "gd", .motion = 77},
                        {.keys = "dgg", .action = 4, .motion = 32},
                        {.keys = "dge", .action = 4, .motion = 7},
                        {.keys = "yg0", .action = 9, .motion = 27, .motion_arg = 'g'},
                        {.keys = "zt", .action = 32},
                        {.keys = "z<CR>", .action = 32, .action_arg = 'x'},
                        {.keys = "z.", .action = 33, .action_arg = 'x'},
                        {.keys = "z-", .action = 34, .action_arg = 'x'},
                        {.keys = "zA", .action = 56},
                        {.keys = "zfj", .action = 51, .motion = 16},
                        {.keys = "ZZ", .action = 62},
                        {.keys = "<C-w><C-w>", .action = 48},
                        {.keys = "<C-w>S", .action = 47},
                        {.keys = "<C-w>C", .action = 64},
                        {.keys = "<C-w><Up>", .action = 49},
                        {.keys = "<C-w>j", .action = 50},
                        {.keys = "[[", .motion = 44},
                        {.keys = "[]", .motion = 46},
                        {.keys = "[{", .motion = 50},
                        {.keys = "])", .motion = 49},
                        {.keys = "][", .motion = 47},
                        {.keys = "d]}", .action = 4, .motion = 51},
                        {.keys = "[p", .action = 71, .action_arg = 'P'},
                        {.keys = "[P", .action = 71, .action_arg = 'P'},
                        {.keys = "]p", .action = 71, .action_arg = 'p'},
                        {.keys = "]P", .action = 71, .action_arg = 'P'},
                    });
}

// Keys whose code is easy to get wrong: control characters and special keys with and without
// CTRL, where the same key means different things.
TEST(CommandParserTest, ControlCharactersAndSpecialKeys) {
  CheckCases(false,
             {
                 {.keys = "<Del>", .action = 1},     {.keys = "<Ins>", .action = 3},
                 {.keys = "<C-r>", .action = 6},     {.keys = "<C-q>", .action = 30},
                 {.keys = "<C-y>", .action = 35},    {.keys = "<C-Up>", .action = 35},
                 {.keys = "<C-Down>", .action = 36}, {.keys = "<C-]>", .action = 46},
                 {.keys = "<C-^>", .action = 63},    {.keys = "<C-o>", .action = 65},
                 {.keys = "<Tab>", .action = 66},    {.keys = "<C-t>", .action = 68},
                 {.keys = "<C-a>", .action = 74},    {.keys = "3<C-x>", .action = 75, .count = 3},
                 {.keys = "<Up>", .motion = 17},     {.keys = "<C-p>", .motion = 17},
                 {.keys = "<C-n>", .motion = 16},    {.keys = "<C-Left>", .motion = 3},
                 {.keys = "<C-Home>", .motion = 32}, {.keys = "<Home>", .motion = 27},
                 {.keys = "<End>", .motion = 29},    {.keys = "<PageUp>", .motion = 39},
                 {.keys = "<C-f>", .motion = 38},    {.keys = "<C-d>", .motion = 36},
                 {.keys = "<C-u>", .motion = 37},    {.keys = "<C-j>", .motion = 53},
                 {.keys = "<BS>", .motion = 55},     {.keys = "<C-h>", .motion = 55},
                 {.keys = " ", .motion = 56},        {.keys = "|", .motion = 76},
             });
}

TEST(CommandParserTest, VisualModeCompletesOperatorsAtOnce) {
  CheckCases(true, {
                       {.keys = "d", .action = 4},
                       {.keys = "x", .action = 4},
                       {.keys = "<Del>", .action = 4},
                       {.keys = "X", .action = 22},
                       {.keys = "U", .action = 39},
                       {.keys = "u", .action = 40},
                       {.keys = "gU", .action = 39},
                       {.keys = "gq", .action = 42},
                       {.keys = "zf", .action = 51},
                       {.keys = ">", .action = 43},
                       {.keys = "o", .action = 31},
                       {.keys = "O", .action = 31},
                       {.keys = "\"by", .action = 9, .register_name = 'b'},
                       {.keys = "rx", .action = 8, .action_arg = 'x'},
                       {.keys = "iw", .motion = 60},
                       {.keys = "2ab", .motion = 69, .count = 2},
                       {.keys = "3j", .motion = 16, .count = 3},
                       {.keys = "gj", .motion = 16, .motion_arg = 'g'},
                       {.keys = "[p", .action = 71, .action_arg = 'P'},
                   });
}

// A cancelled command leaves nothing behind: no pending text, no operator, and the next key
// starts afresh.
TEST(CommandParserTest, CancelledSequencesLeaveACleanParser) {
  const char* cancelled[] = {
      "gUU",  "g~~",      "d[p",         "d]P", "df<Left>", "d\"",   "\"<Left>", "r<Down>",
      "d:",   "dzt",      "zx",          "Zq",  "<C-w>x",   "dix",   "yd",       "dQ",
      "<F1>", "<S-Left>", "2<C-S-Home>", "dgv", "3d<A-w>",  "<A-x>", "di<A-w>",  "dgU",
  };
  for (const char* keys : cancelled) {
    SCOPED_TRACE(std::string("keys: ") + keys);
    FakeServices services;
    CommandParser parser(services);
    parser.ResetParser(false);
    Fed fed = Feed(parser, keys);
    EXPECT_FALSE(fed.complete);
    EXPECT_TRUE(parser.PendingText().empty());
    EXPECT_FALSE(parser.IsOperatorPending());
    EXPECT_FALSE(parser.WaitingForCharArgument());
    Fed next = Feed(parser, "x");
    ASSERT_TRUE(next.complete);
    EXPECT_EQ(next.record.action, 1);
    EXPECT_EQ(next.record.action_count, 0u);
    EXPECT_EQ(next.record.register_name, 0);
  }
}

// A character beyond the BMP arrives as two keys, its two halves, and is one argument.
TEST(CommandParserTest, ACharacterArgumentTypedAsAPairIsOneCharacter) {
  FakeServices services;
  CommandParser parser(services);
  parser.ResetParser(false);
  auto feed = [&](char16_t unit) {
    parser.ParseKey(KeyCode::Char(unit), false, TextPos{4, 2}, true);
    return parser.IsComplete();
  };
  EXPECT_FALSE(Feed(parser, "df").complete);
  EXPECT_FALSE(feed(0xD83D));
  ASSERT_TRUE(feed(0xDE00));
  EXPECT_EQ(parser.TakeCommand().motion_arg, U'\U0001F600');

  // A first half followed by another key drops the command.
  EXPECT_FALSE(Feed(parser, "r").complete);
  EXPECT_FALSE(feed(0xD83D));
  EXPECT_FALSE(feed(u'a'));
  EXPECT_FALSE(parser.WaitingForCharArgument());
  Fed next = Feed(parser, "x");
  ASSERT_TRUE(next.complete);
  EXPECT_EQ(next.record.action, 1);
}

TEST(CommandParserTest, AltKeysAreLeftToTheHost) {
  FakeServices services;
  CommandParser parser(services);
  EXPECT_FALSE(Feed(parser, "2d<A-x>").last_consumed);
  EXPECT_TRUE(parser.PendingText().empty());
  EXPECT_FALSE(Feed(parser, "<A-Left>").last_consumed);
  // Unbound keys without ALT are swallowed.
  EXPECT_TRUE(Feed(parser, "<F1>").last_consumed);
  EXPECT_TRUE(Feed(parser, "d\\").last_consumed);
}

TEST(CommandParserTest, RecordingStopsWithAPlainQ) {
  FakeServices services;
  CommandParser parser(services);
  Fed fed = Feed(parser, "q", /*recording=*/true);
  ASSERT_TRUE(fed.complete);
  EXPECT_EQ(fed.record.action, 7);
  EXPECT_EQ(fed.record.action_arg, 0);
}

TEST(CommandParserTest, PendingTextAndStateWhileTyping) {
  FakeServices services;
  CommandParser parser(services);
  Feed(parser, "2d");
  EXPECT_EQ(parser.PendingText(), u"2d");
  EXPECT_TRUE(parser.IsOperatorPending());
  Feed(parser, "2<Left>");  // a motion without a character still completes
  EXPECT_TRUE(parser.IsComplete());
  parser.ResetParser(false);

  Feed(parser, "\"a3d<C-v>");
  EXPECT_EQ(parser.PendingText(), u"\"a3d\x16");
  Feed(parser, "f");
  EXPECT_TRUE(parser.WaitingForCharArgument());
  Fed fed = Feed(parser, "z");
  ASSERT_TRUE(fed.complete);
  EXPECT_EQ(fed.record.forced_kind, ForcedKind::kBlockwise);
  EXPECT_EQ(fed.record.motion_count, 3u);
  EXPECT_FALSE(parser.WaitingForCharArgument());
}

TEST(CommandParserTest, MappingModeFollowsTheParserState) {
  struct Case {
    const char* keys;
    bool visual;
    uint32_t mode;
  };
  const Case cases[] = {
      {"", false, mapping_mask::kNormal},
      {"2", false, mapping_mask::kNormal},
      {"d", false, mapping_mask::kOperatorPending},
      {"d2", false, mapping_mask::kOperatorPending},
      {"gu", false, mapping_mask::kOperatorPending},
      {"dv", false, mapping_mask::kOperatorPending},
      {"g", false, mapping_mask::kNone},
      {"z", false, mapping_mask::kNone},
      {"Z", false, mapping_mask::kNone},
      {"dg", false, mapping_mask::kNone},
      {"r", false, mapping_mask::kLanguageArg},
      {"dt", false, mapping_mask::kLanguageArg},
      {"m", false, mapping_mask::kNormal},
      {"d`", false, mapping_mask::kNormal},
      {"di", false, mapping_mask::kNormal},
      {"<C-w>", false, mapping_mask::kNormal},
      {":", false, mapping_mask::kCommandLine},
      {"", true, mapping_mask::kVisual},
      {"g", true, mapping_mask::kVisual},
      {"F", true, mapping_mask::kLanguageArg},
      {"/", true, mapping_mask::kCommandLine},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("keys: ") + c.keys);
    FakeServices services;
    CommandParser parser(services);
    parser.ResetParser(c.visual);
    Feed(parser, c.keys);
    ASSERT_FALSE(parser.IsComplete());
    EXPECT_EQ(parser.MappingMode(false), c.mode);
    EXPECT_EQ(parser.MappingMode(true), mapping_mask::kInsert);
  }
}

TEST(CommandParserTest, UncollectedCommandDoesNotLeakIntoTheNext) {
  FakeServices services;
  CommandParser parser(services);
  Feed(parser, "3\"ax");
  ASSERT_TRUE(parser.IsComplete());
  Fed fed = Feed(parser, "w");
  ASSERT_TRUE(fed.complete);
  EXPECT_EQ(fed.record.motion, 1);
  EXPECT_EQ(fed.record.action, 0);
  EXPECT_EQ(fed.record.motion_count, 0u);
  EXPECT_EQ(fed.record.register_name, 0);
}

}  // namespace
}  // namespace tavik
