// Lookup rules of the key tables: which sub-table a key reaches, and which keys reach none.
#include "engine/input/key_tables.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

constexpr KeyCode Char(char16_t c, uint32_t flags = 0) {
  return KeyCode::Char(c, flags);
}
constexpr KeyCode Special(uint32_t v, uint32_t flags = 0) {
  return KeyCode::Special(v, flags);
}

TEST(KeyTablesTest, CharacterKeysIgnoreModifiersOtherThanAlt) {
  KeyBinding plain = LookupKey(KeyGroup::kNormalAction, Char(18));
  EXPECT_EQ(plain.handler, KeyHandler::kAction);
  EXPECT_EQ(plain.code, 6);
  KeyBinding with_ctrl = LookupKey(KeyGroup::kNormalAction, Char(18, key_mod::kCtrl));
  EXPECT_EQ(with_ctrl.code, 6);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Char(u'W', key_mod::kShift)).code, 2);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Char(u'w', key_mod::kAlt)).handler, KeyHandler::kNone);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Char(u'w', key_mod::kCtrl | key_mod::kAlt)).handler,
            KeyHandler::kNone);
}

TEST(KeyTablesTest, SpecialKeysChooseTheirSubTableByModifiers) {
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Special(vk::kRight)).code, 18);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Special(vk::kRight, key_mod::kCtrl)).code, 1);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Special(vk::kHome)).code, 27);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Special(vk::kHome, key_mod::kCtrl)).code, 32);
  EXPECT_EQ(LookupKey(KeyGroup::kNormalAction, Special(vk::kUp, key_mod::kCtrl)).code, 35);
  const uint32_t unbound_mods[] = {key_mod::kShift, key_mod::kAlt, key_mod::kCtrl | key_mod::kShift,
                                   key_mod::kCtrl | key_mod::kAlt};
  for (uint32_t mods : unbound_mods) {
    EXPECT_EQ(LookupKey(KeyGroup::kMotion, Special(vk::kRight, mods)).handler, KeyHandler::kNone)
        << "modifiers " << mods;
  }
  // A virtual-key number is not a character: Home (36) is not "$" (36).
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Special(u'$')).code, 27);
}

TEST(KeyTablesTest, KeysOutsideTheTablesHaveNoEntry) {
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Char(u'w' + 256)).handler, KeyHandler::kNone);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Char(0x3b1)).handler, KeyHandler::kNone);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Special(300)).handler, KeyHandler::kNone);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, KeyCode{}).handler, KeyHandler::kNone);
}

TEST(KeyTablesTest, GroupsDifferWhereNormalAndVisualDiffer) {
  EXPECT_EQ(LookupKey(KeyGroup::kNormalAction, Char(u'd')).handler, KeyHandler::kOperator);
  EXPECT_EQ(LookupKey(KeyGroup::kVisualAction, Char(u'd')).handler, KeyHandler::kAction);
  EXPECT_EQ(LookupKey(KeyGroup::kNormalAction, Char(u'i')).code, 3);
  EXPECT_EQ(LookupKey(KeyGroup::kVisualAction, Char(u'i')).handler, KeyHandler::kNone);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Char(u'i')).handler, KeyHandler::kTextObjectPrefix);
  EXPECT_EQ(LookupKey(KeyGroup::kNormalAction, Char(u'0')).handler, KeyHandler::kNone);
  EXPECT_EQ(LookupKey(KeyGroup::kMotion, Char(u'0')).code, 27);
  for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
    for (KeyGroup group : {KeyGroup::kMotion, KeyGroup::kNormalAction, KeyGroup::kVisualAction}) {
      EXPECT_EQ(LookupKey(group, Char(digit)).handler, KeyHandler::kCountDigit);
    }
  }
}

}  // namespace
}  // namespace tavik
