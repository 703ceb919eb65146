// Row lists of the second-key rules, one per prefix, searched linearly: each list is short and a
// lookup happens at most once per typed key.
#include "engine/second_keys.h"

#include <span>

namespace tavik {
namespace {

struct SecondKeyRow {
  KeyCode key;
  SecondKeyKind kind;
  uint8_t code;
  char16_t arg = 0;
};

constexpr KeyCode Key(char16_t c) {
  return KeyCode::Char(c);
}
constexpr KeyCode Ctl(char c) {
  return KeyCode::Char(static_cast<char16_t>(c & 0x1f));
}
constexpr KeyCode Vk(uint32_t v) {
  return KeyCode::Special(v);
}

using enum SecondKeyKind;

// g with no operator pending; keys not listed continue with kGMotionRows.
constexpr SecondKeyRow kGRows[] = {
    {Key('U'), kOperator, 39},    {Key('u'), kOperator, 40},    {Key('~'), kOperator, 41},
    {Key('q'), kOperator, 42},    {Key('v'), kAction, 59},      {Key('f'), kAction, 61},
    {Key('J'), kAction, 23, 'x'}, {Key('S'), kAction, 67},      {Key('i'), kAction, 69},
    {Key('I'), kAction, 70},      {Key('t'), kAction, 72},      {Key('T'), kAction, 73},
    {Key('p'), kAction, 16, 'x'}, {Key('P'), kAction, 17, 'x'},
};

constexpr SecondKeyRow kGMotionRows[] = {
    {Key('#'), kMotion, 26, 'g'}, {Key('*'), kMotion, 25, 'g'}, {Key('E'), kMotion, 8},
    {Key('e'), kMotion, 7},       {Key('g'), kMotion, 32},      {Key('j'), kMotion, 16, 'g'},
    {Key('k'), kMotion, 17, 'g'}, {Key('0'), kMotion, 27, 'g'}, {Key('$'), kMotion, 29, 'g'},
    {Key('^'), kMotion, 28, 'g'}, {Key('d'), kMotion, 77},
};

// "x" marks the variants that also put the caret on the first non-blank.
constexpr SecondKeyRow kZRows[] = {
    {Key('t'), kAction, 32},      {Key('z'), kAction, 33},
    {Key('b'), kAction, 34},      {Key(ch::kReturn), kAction, 32, 'x'},
    {Key('.'), kAction, 33, 'x'}, {Key('-'), kAction, 34, 'x'},
    {Key('f'), kOperator, 51},    {Key('d'), kAction, 52},
    {Key('o'), kAction, 53},      {Key('c'), kAction, 54},
    {Key('a'), kAction, 55},      {Key('A'), kAction, 56},
    {Key('M'), kAction, 57},      {Key('R'), kAction, 58},
};

constexpr SecondKeyRow kBigZRows[] = {
    {Key('Z'), kAction, 62},
};

constexpr SecondKeyRow kWindowRows[] = {
    {Ctl('W'), kAction, 48}, {Key('w'), kAction, 48},      {Key('W'), kAction, 48},
    {Key('s'), kAction, 47}, {Key('S'), kAction, 47},      {Key('c'), kAction, 64},
    {Key('C'), kAction, 64}, {Key('k'), kAction, 49},      {Vk(vk::kUp), kAction, 49},
    {Key('j'), kAction, 50}, {Vk(vk::kDown), kAction, 50},
};

constexpr SecondKeyRow kOpenBracketRows[] = {
    {Key('('), kMotion, 48}, {Key('['), kMotion, 44},          {Key(']'), kMotion, 46},
    {Key('{'), kMotion, 50}, {Key('p'), kBracketPut, 71, 'P'}, {Key('P'), kBracketPut, 71, 'P'},
};

constexpr SecondKeyRow kCloseBracketRows[] = {
    {Key(')'), kMotion, 49}, {Key(']'), kMotion, 45},          {Key('['), kMotion, 47},
    {Key('}'), kMotion, 51}, {Key('p'), kBracketPut, 71, 'p'}, {Key('P'), kBracketPut, 71, 'P'},
};

// The "a" objects are the "i" objects' codes plus one.
constexpr SecondKeyRow kInnerObjectRows[] = {
    {Key('w'), kMotion, 60}, {Key('W'), kMotion, 62}, {Key('s'), kMotion, 64},
    {Key('p'), kMotion, 66}, {Key('b'), kMotion, 68}, {Key('('), kMotion, 68},
    {Key(')'), kMotion, 68}, {Key('B'), kMotion, 70}, {Key('{'), kMotion, 70},
    {Key('}'), kMotion, 70}, {Key('<'), kMotion, 72}, {Key('>'), kMotion, 72},
    {Key('['), kMotion, 74}, {Key(']'), kMotion, 74}, {Key('\''), kMotion, 78},
    {Key('"'), kMotion, 80}, {Key('t'), kMotion, 82},
};

// Character keys match whatever their modifiers (ALT aside); special keys only without any.
bool Matches(KeyCode row_key, KeyCode key) {
  if (key.Has(key_mod::kAlt)) return false;
  if (row_key.IsChar()) return key.IsChar() && key.code == row_key.code;
  return key.IsSpecial() && key.flags == 0 && key.code == row_key.code;
}

SecondKey Find(std::span<const SecondKeyRow> rows, KeyCode key) {
  for (const SecondKeyRow& row : rows) {
    if (Matches(row.key, key)) return SecondKey{row.kind, row.code, row.arg};
  }
  return {};
}

}  // namespace

SecondKey LookupSecondKey(KeyPrefix prefix, KeyCode key) {
  switch (prefix) {
    case KeyPrefix::kG: {
      SecondKey found = Find(kGRows, key);
      return found.kind != kNone ? found : Find(kGMotionRows, key);
    }
    case KeyPrefix::kGAfterOperator:
      return Find(kGMotionRows, key);
    case KeyPrefix::kZ:
      return Find(kZRows, key);
    case KeyPrefix::kZAfterOperator:
      return {};
    case KeyPrefix::kBigZ:
      return Find(kBigZRows, key);
    case KeyPrefix::kWindow:
      return Find(kWindowRows, key);
    case KeyPrefix::kOpenBracket:
      return Find(kOpenBracketRows, key);
    case KeyPrefix::kCloseBracket:
      return Find(kCloseBracketRows, key);
    case KeyPrefix::kTextObjectInner:
      return Find(kInnerObjectRows, key);
    case KeyPrefix::kTextObjectAround: {
      SecondKey found = Find(kInnerObjectRows, key);
      if (found.kind != kNone) ++found.code;
      return found;
    }
  }
  return {};
}

}  // namespace tavik
