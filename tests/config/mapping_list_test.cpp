// The mapping list and the map command family: definition order, removal by mode, look-up over
// remappable and non-remappable keys, in-use flags and argument parsing.
#include <gtest/gtest.h>

#include <vector>

#include "config/key_notation.h"
#include "config/map_commands.h"
#include "config/mapping_list.h"

namespace tavik {
namespace {

struct Queued {
  KeyCode key;
  bool remap = true;
};

std::vector<Queued> Typed(std::u16string_view notation, bool remap = true) {
  std::vector<Queued> queue;
  for (KeyCode key : ParseKeys(notation)) queue.push_back({key, remap});
  return queue;
}

const MapCommandRow& Row(std::u16string_view prefix) {
  size_t index = MapCommandIndex(prefix);
  EXPECT_LT(index, kMapCommands.size());
  return kMapCommands[index < kMapCommands.size() ? index : 0];
}

TEST(MappingList, PartialWaitsFullAppliesAndForceTakesTheFullMatch) {
  MappingList list;
  list.Add(ParseKeys(u"ab"), u"X", mapping_mask::kNormal, true);
  list.Add(ParseKeys(u"a"), u"Y", mapping_mask::kNormal, true);
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, Typed(u"a"), false).match, MappingMatch::kWait);
  MappingFound forced = list.Lookup(mapping_mask::kNormal, Typed(u"a"), true);
  EXPECT_EQ(forced.match, MappingMatch::kApply);
  EXPECT_EQ(forced.index, 1u);
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, Typed(u"ab"), false).index, 0u);
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, Typed(u"ac"), false).index, 1u);
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, Typed(u"c"), false).match, MappingMatch::kNone);
  // Another mode sees none of them.
  EXPECT_EQ(list.Lookup(mapping_mask::kVisual, Typed(u"a"), false).match, MappingMatch::kNone);
}

TEST(MappingList, NonRemappableKeysAndInUseMappingsDoNotMatch) {
  MappingList list;
  list.Add(ParseKeys(u"a"), u"b", mapping_mask::kNormal, true);
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, Typed(u"a", false), false).match,
            MappingMatch::kNone);
  list.SetInUse(0);
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, Typed(u"a"), false).match, MappingMatch::kNone);
  list.ClearInUse();
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, Typed(u"a"), false).match, MappingMatch::kApply);
}

TEST(MappingList, EmptyLeftHandSideIsAlwaysAFullMatch) {
  MappingList list;
  list.Add({}, u"", mapping_mask::kNormal, true);
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, Typed(u"z", false), false).match,
            MappingMatch::kApply);
}

TEST(MappingList, ShiftOnATypedPrintableCharacterDoesNotCountButOnTabItDoes) {
  MappingList list;
  list.Add(ParseKeys(u"Q"), u"x", mapping_mask::kNormal, true);
  list.Add(ParseKeys(u"<Tab>"), u"y", mapping_mask::kNormal, true);
  std::vector<Queued> shifted_q = {{KeyCode::Char(u'Q', key_mod::kShift), true}};
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, shifted_q, false).index, 0u);
  std::vector<Queued> shift_tab = {{KeyCode::Char(ch::kTab, key_mod::kShift), true}};
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, shift_tab, false).match, MappingMatch::kNone);
  std::vector<Queued> ctrl_q = {{KeyCode::Char(u'Q', key_mod::kCtrl), true}};
  EXPECT_EQ(list.Lookup(mapping_mask::kNormal, ctrl_q, false).match, MappingMatch::kNone);
}

TEST(MapCommands, RedefinitionMovesToTheEndAndTakesOnlyItsModes) {
  MappingList list;
  RunMapCommand(Row(u"map"), u"x dd", true, list);  // insert and command line
  RunMapCommand(Row(u"map"), u"x dw", false, list);
  RunMapCommand(Row(u"nm"), u"x D", false, list);
  ASSERT_EQ(list.Entries().size(), 3u);
  EXPECT_EQ(list.Entries()[0].mode_mask, mapping_mask::kInsert | mapping_mask::kCommandLine);
  EXPECT_EQ(list.Entries()[1].mode_mask, mapping_mask::kVisual | mapping_mask::kOperatorPending);
  EXPECT_EQ(list.Entries()[2].rhs, u"D");

  EXPECT_EQ(RunMapCommand(Row(u"unm"), u"x", false, list), u"");
  ASSERT_EQ(list.Entries().size(), 1u);
  EXPECT_EQ(list.Entries()[0].rhs, u"dd");
  EXPECT_EQ(RunMapCommand(Row(u"nun"), u"x", false, list), u"No such mapping");
  EXPECT_EQ(RunMapCommand(Row(u"unm"), u"x trailing text", true, list), u"");
  EXPECT_TRUE(list.Empty());
}

TEST(MapCommands, EveryRowHasItsModesAndRemapFlag) {
  struct Expect {
    std::u16string_view prefix;
    uint32_t modes;
    bool remap;
  };
  using namespace mapping_mask;
  const Expect expected[] = {
      {u"nm", kNormal, true},
      {u"vm", kVisual, true},
      {u"om", kOperatorPending, true},
      {u"im", kInsert, true},
      {u"lm", kInsert | kCommandLine | kLanguageArg, true},
      {u"cm", kCommandLine, true},
      {u"nn", kNormal, false},
      {u"vn", kVisual, false},
      {u"ono", kOperatorPending, false},
      {u"ino", kInsert, false},
      {u"ln", kInsert | kCommandLine | kLanguageArg, false},
      {u"cno", kCommandLine, false},
      {u"no", kNormal | kVisual | kOperatorPending, false},
  };
  for (const Expect& e : expected) {
    MappingList list;
    // A bang means nothing to these except noremap, whose bang is tested elsewhere.
    RunMapCommand(Row(e.prefix), u"k v", e.prefix != u"no", list);
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries()[0].mode_mask, e.modes)
        << std::string(e.prefix.begin(), e.prefix.end());
    EXPECT_EQ(list.Entries()[0].remap, e.remap);
    // The matching unmap row removes it again.
    size_t unmap_row = MapCommandIndex(e.prefix) + (e.remap ? 14 : 7);
    EXPECT_EQ(RunMapCommand(kMapCommands[unmap_row], u"k", false, list), u"");
    EXPECT_TRUE(list.Empty());
  }
}

TEST(MapCommands, ArgumentSplitsAtTheFirstBlankThatStartsAKey) {
  ParsedMapArgument a = ParseMapArgument(u"  <C-a>\\ x   y z  ");
  ASSERT_EQ(a.lhs.size(), 3u);
  EXPECT_EQ(a.lhs[0], KeyCode::Char(1, key_mod::kCtrl));
  EXPECT_EQ(a.lhs[1], KeyCode::Char(u' '));
  EXPECT_EQ(a.lhs[2], KeyCode::Char(u'x'));
  EXPECT_EQ(a.rhs, u"y z  ");

  ParsedMapArgument space = ParseMapArgument(u"<Space> :");
  ASSERT_EQ(space.lhs.size(), 1u);
  EXPECT_EQ(space.lhs[0], KeyCode::Char(u' '));
  EXPECT_EQ(space.rhs, u":");

  ParsedMapArgument empty = ParseMapArgument(u"   ");
  EXPECT_TRUE(empty.lhs.empty());
  EXPECT_TRUE(empty.rhs.empty());
}

TEST(MapCommands, AHugeRightHandSideIsStoredWhole) {
  MappingList list;
  std::u16string rhs(65536, u'j');
  RunMapCommand(Row(u"map"), u"Q " + rhs, false, list);
  ASSERT_EQ(list.Entries().size(), 1u);
  EXPECT_EQ(list.Entries()[0].rhs.size(), 65536u);
}

}  // namespace
}  // namespace tavik
