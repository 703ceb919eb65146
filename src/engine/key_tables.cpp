// The nine code tables and nine state tables, written as one row list per group and expanded at
// compile time into three 256-entry sub-tables each: character keys, special keys without
// modifiers, special keys with CTRL only.
#include "engine/key_tables.h"

#include <array>
#include <cstddef>

#include "engine/command_record.h"

namespace tavik {
namespace {

enum class SubTable : uint8_t { kChar = 0, kSpecial = 1, kCtrlSpecial = 2 };

struct KeyRef {
  SubTable sub;
  uint8_t index;
};

constexpr KeyRef Key(char16_t c) {
  return {SubTable::kChar, static_cast<uint8_t>(c)};
}
// The control character CTRL-x, e.g. Ctl('R') is character 18.
constexpr KeyRef Ctl(char c) {
  return {SubTable::kChar, static_cast<uint8_t>(c & 0x1f)};
}
constexpr KeyRef Vk(uint32_t v) {
  return {SubTable::kSpecial, static_cast<uint8_t>(v)};
}
constexpr KeyRef CtrlVk(uint32_t v) {
  return {SubTable::kCtrlSpecial, static_cast<uint8_t>(v)};
}

struct Row {
  KeyRef key;
  KeyHandler handler;
  uint8_t code = 0;
};

constexpr uint8_t P(KeyPrefix p) {
  return static_cast<uint8_t>(p);
}
constexpr uint8_t F(ForcedKind k) {
  return static_cast<uint8_t>(k);
}

using enum KeyHandler;

// "1" to "9" start a count in every group; "0" does not (it is a motion).
constexpr Row kCountDigitRows[] = {
    {Key('1'), kCountDigit}, {Key('2'), kCountDigit}, {Key('3'), kCountDigit},
    {Key('4'), kCountDigit}, {Key('5'), kCountDigit}, {Key('6'), kCountDigit},
    {Key('7'), kCountDigit}, {Key('8'), kCountDigit}, {Key('9'), kCountDigit},
};

constexpr Row kMotionRows[] = {
    {Key('w'), kMotion, 1},
    {CtrlVk(vk::kRight), kMotion, 1},
    {Key('W'), kMotion, 2},
    {Key('b'), kMotion, 3},
    {CtrlVk(vk::kLeft), kMotion, 3},
    {Key('B'), kMotion, 4},
    {Key('e'), kMotion, 5},
    {Key('E'), kMotion, 6},
    {Key('t'), kLanguageArgMotion, 9},
    {Key('T'), kLanguageArgMotion, 10},
    {Key('f'), kLanguageArgMotion, 11},
    {Key('F'), kLanguageArgMotion, 12},
    {Key(';'), kMotion, 13},
    {Key(','), kMotion, 14},
    {Key('h'), kMotion, 15},
    {Vk(vk::kLeft), kMotion, 15},
    {Key('j'), kMotion, 16},
    {Vk(vk::kDown), kMotion, 16},
    {Ctl('N'), kMotion, 16},
    {Key('k'), kMotion, 17},
    {Vk(vk::kUp), kMotion, 17},
    {Ctl('P'), kMotion, 17},
    {Key('l'), kMotion, 18},
    {Vk(vk::kRight), kMotion, 18},
    {Key('H'), kMotion, 19},
    {Key('M'), kMotion, 20},
    {Key('L'), kMotion, 21},
    {Key('/'), kSearchLine, 22},
    {Key('?'), kSearchLine, 22},
    {Key('n'), kMotion, 23},
    {Key('N'), kMotion, 24},
    {Key('*'), kMotion, 25},
    {Key('#'), kMotion, 26},
    {Key('0'), kMotion, 27},
    {Vk(vk::kHome), kMotion, 27},
    {Key('^'), kMotion, 28},
    {Key('$'), kMotion, 29},
    {Vk(vk::kEnd), kMotion, 29},
    {Key('`'), kCharArgMotion, 30},
    {Key('\''), kCharArgMotion, 31},
    {CtrlVk(vk::kHome), kMotion, 32},
    {Key('G'), kMotion, 33},
    {CtrlVk(vk::kEnd), kMotion, 33},
    {Key('%'), kMotion, 34},
    {Ctl('D'), kMotion, 36},
    {Ctl('U'), kMotion, 37},
    {Ctl('F'), kMotion, 38},
    {Vk(vk::kPageDown), kMotion, 38},
    {Ctl('B'), kMotion, 39},
    {Vk(vk::kPageUp), kMotion, 39},
    {Key('('), kMotion, 40},
    {Key(')'), kMotion, 41},
    {Key('{'), kMotion, 42},
    {Key('}'), kMotion, 43},
    {Key('-'), kMotion, 52},
    {Key('+'), kMotion, 53},
    {Key(ch::kReturn), kMotion, 53},
    {Ctl('J'), kMotion, 53},
    {Key('_'), kMotion, 54},
    {Ctl('H'), kMotion, 55},
    {Key(' '), kMotion, 56},
    {Key('|'), kMotion, 76},
    // Reached only after an operator (or in visual mode, where the action tables come first).
    {Key('m'), kCharArgAction, 37},
    {Key('v'), kForcedKind, F(ForcedKind::kCharacterwise)},
    {Key('V'), kForcedKind, F(ForcedKind::kLinewise)},
    {Ctl('V'), kForcedKind, F(ForcedKind::kBlockwise)},
    {Key('i'), kTextObjectPrefix, P(KeyPrefix::kTextObjectInner)},
    {Key('a'), kTextObjectPrefix, P(KeyPrefix::kTextObjectAround)},
    {Key('g'), kPrefix, P(KeyPrefix::kGAfterOperator)},
    {Key('z'), kPrefix, P(KeyPrefix::kZAfterOperator)},
    {Key('['), kPrefix, P(KeyPrefix::kOpenBracket)},
    {Key(']'), kPrefix, P(KeyPrefix::kCloseBracket)},
};

constexpr Row kNormalActionRows[] = {
    {Key('x'), kAction, 1},
    {Vk(vk::kDelete), kAction, 1},
    {Key('X'), kAction, 2},
    {Key('i'), kAction, 3},
    {Vk(vk::kInsert), kAction, 3},
    {Key('d'), kOperator, 4},
    {Key('u'), kAction, 5},
    {Ctl('R'), kAction, 6},
    {Key('q'), kRecord, 7},
    {Key('r'), kLanguageArgAction, 8},
    {Key('y'), kOperator, 9},
    {Key('Y'), kAction, 10},
    {Key('U'), kAction, 11},
    {Key('I'), kAction, 12},
    {Key('o'), kAction, 13},
    {Key('O'), kAction, 14},
    {Key('R'), kAction, 15},
    {Key('p'), kAction, 16},
    {Key('P'), kAction, 17},
    {Key('a'), kAction, 18},
    {Key('A'), kAction, 19},
    {Key('s'), kAction, 20},
    {Key('S'), kAction, 21},
    {Key('D'), kAction, 22},
    {Key('J'), kAction, 23},
    {Key('K'), kAction, 24},
    {Key('c'), kOperator, 26},
    {Key('C'), kAction, 27},
    {Key('v'), kAction, 28},
    {Key('V'), kAction, 29},
    {Ctl('V'), kAction, 30},
    {Ctl('Q'), kAction, 30},
    {Ctl('Y'), kAction, 35},
    {CtrlVk(vk::kUp), kAction, 35},
    {Ctl('E'), kAction, 36},
    {CtrlVk(vk::kDown), kAction, 36},
    {Key('m'), kCharArgAction, 37},
    {Key('~'), kAction, 41},
    {Key('='), kOperator, 42},
    {Key('>'), kOperator, 43},
    {Key('<'), kOperator, 44},
    {Key('@'), kCharArgAction, 45},
    {Ctl(']'), kAction, 46},
    {Key('&'), kAction, 60},
    {Ctl('^'), kAction, 63},
    {Ctl('O'), kAction, 65},
    {Ctl('I'), kAction, 66},
    {Ctl('T'), kAction, 68},
    {Ctl('A'), kAction, 74},
    {Ctl('X'), kAction, 75},
    {Key('.'), kAction, 76},
    {Key('Q'), kOperator, 0},
    {Key('"'), kRegisterPrefix},
    {Key(':'), kCommandLine},
    {Key('g'), kPrefix, P(KeyPrefix::kG)},
    {Key('z'), kPrefix, P(KeyPrefix::kZ)},
    {Key('Z'), kPrefix, P(KeyPrefix::kBigZ)},
    {Ctl('W'), kPrefix, P(KeyPrefix::kWindow)},
};

// In visual mode the operators complete at once: the selection is their range.
constexpr Row kVisualActionRows[] = {
    {Key('d'), kAction, 4},
    {Key('x'), kAction, 4},
    {Vk(vk::kDelete), kAction, 4},
    {Key('q'), kRecord, 7},
    {Key('r'), kLanguageArgAction, 8},
    {Key('y'), kAction, 9},
    {Key('Y'), kAction, 10},
    {Key('I'), kAction, 12},
    {Key('R'), kAction, 15},
    {Key('p'), kAction, 16},
    {Key('P'), kAction, 17},
    {Key('A'), kAction, 19},
    {Key('s'), kAction, 20},
    {Key('S'), kAction, 21},
    {Key('D'), kAction, 22},
    {Key('X'), kAction, 22},
    {Key('J'), kAction, 23},
    {Key('K'), kAction, 24},
    {Key('c'), kAction, 26},
    {Key('C'), kAction, 27},
    {Key('v'), kAction, 28},
    {Key('V'), kAction, 29},
    {Ctl('V'), kAction, 30},
    {Ctl('Q'), kAction, 30},
    {Key('o'), kAction, 31},
    {Key('O'), kAction, 31},
    {Ctl('Y'), kAction, 35},
    {CtrlVk(vk::kUp), kAction, 35},
    {Ctl('E'), kAction, 36},
    {CtrlVk(vk::kDown), kAction, 36},
    {Key('m'), kCharArgAction, 37},
    {Key('U'), kAction, 39},
    {Key('u'), kAction, 40},
    {Key('~'), kAction, 41},
    {Key('='), kAction, 42},
    {Key('>'), kAction, 43},
    {Key('<'), kAction, 44},
    {Key('@'), kCharArgAction, 45},
    {Ctl(']'), kAction, 46},
    {Key('"'), kRegisterPrefix},
    {Key(':'), kCommandLine},
    {Key('g'), kPrefix, P(KeyPrefix::kG)},
    {Key('z'), kPrefix, P(KeyPrefix::kZ)},
    {Key('Z'), kPrefix, P(KeyPrefix::kBigZ)},
    {Ctl('W'), kPrefix, P(KeyPrefix::kWindow)},
};

using SubTableEntries = std::array<KeyBinding, 256>;
using GroupTables = std::array<SubTableEntries, 3>;

template <size_t N>
constexpr bool NoKeyTwice(const Row (&rows)[N]) {
  for (size_t i = 0; i < N; ++i) {
    for (size_t j = i + 1; j < N; ++j) {
      if (rows[i].key.sub == rows[j].key.sub && rows[i].key.index == rows[j].key.index) {
        return false;
      }
    }
  }
  return true;
}
static_assert(NoKeyTwice(kMotionRows));
static_assert(NoKeyTwice(kNormalActionRows));
static_assert(NoKeyTwice(kVisualActionRows));

template <size_t N>
constexpr GroupTables Build(const Row (&rows)[N]) {
  GroupTables tables{};
  for (const Row& row : kCountDigitRows) {
    tables[static_cast<size_t>(row.key.sub)][row.key.index] = KeyBinding{row.code, row.handler};
  }
  for (const Row& row : rows) {
    tables[static_cast<size_t>(row.key.sub)][row.key.index] = KeyBinding{row.code, row.handler};
  }
  return tables;
}

constexpr std::array<GroupTables, 3> kTables = {Build(kMotionRows), Build(kNormalActionRows),
                                                Build(kVisualActionRows)};

}  // namespace

KeyBinding LookupKey(KeyGroup group, KeyCode key) {
  if (key.Has(key_mod::kAlt) || key.code > 255) return {};
  SubTable sub;
  if (key.IsChar()) {
    sub = SubTable::kChar;
  } else if (key.IsSpecial() && key.flags == 0) {
    sub = SubTable::kSpecial;
  } else if (key.IsSpecial() && key.flags == key_mod::kCtrl) {
    sub = SubTable::kCtrlSpecial;
  } else {
    return {};
  }
  return kTables[static_cast<size_t>(group)][static_cast<size_t>(sub)][key.code];
}

}  // namespace tavik
