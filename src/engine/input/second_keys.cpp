// Row lists of the second-key rules, one per prefix, searched linearly: each list is short and a
// lookup happens at most once per typed key.
#include "engine/input/second_keys.h"

#include <span>

#include "engine/actions/action_codes.h"
#include "engine/motions/motion_codes.h"

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
    {Key('U'), kOperator, action::kMakeUpper},
    {Key('u'), kOperator, action::kMakeLower},
    {Key('~'), kOperator, action::kSwitchCase},
    {Key('q'), kOperator, action::kFormat},
    {Key('v'), kAction, action::kReselect},
    {Key('f'), kAction, action::kOpenFileUnderCursor},
    {Key('J'), kAction, action::kJoin, 'x'},
    {Key('S'), kAction, action::kSelectRangeInHost},
    {Key('i'), kAction, action::kInsertWhereLeft},
    {Key('I'), kAction, action::kInsertAtColumnZero},
    {Key('t'), kAction, action::kNextDocument},
    {Key('T'), kAction, action::kPreviousDocument},
    {Key('p'), kAction, action::kPutAfter, 'x'},
    {Key('P'), kAction, action::kPutBefore, 'x'},
};

constexpr SecondKeyRow kGMotionRows[] = {
    {Key('#'), kMotion, motion::kSearchWordBackward, 'g'},
    {Key('*'), kMotion, motion::kSearchWordForward, 'g'},
    {Key('E'), kMotion, motion::kPreviousBigWordEnd},
    {Key('e'), kMotion, motion::kPreviousWordEnd},
    {Key('g'), kMotion, motion::kFirstLine},
    {Key('j'), kMotion, motion::kDown, 'g'},
    {Key('k'), kMotion, motion::kUp, 'g'},
    {Key('0'), kMotion, motion::kLineStart, 'g'},
    {Key('$'), kMotion, motion::kLineEnd, 'g'},
    {Key('^'), kMotion, motion::kFirstNonBlank, 'g'},
    {Key('d'), kMotion, motion::kGoToDeclaration},
};

// "x" marks the variants that also put the caret on the first non-blank.
constexpr SecondKeyRow kZRows[] = {
    {Key('t'), kAction, action::kScrollLineToTop},
    {Key('z'), kAction, action::kScrollLineToCenter},
    {Key('b'), kAction, action::kScrollLineToBottom},
    {Key(ch::kReturn), kAction, action::kScrollLineToTop, 'x'},
    {Key('.'), kAction, action::kScrollLineToCenter, 'x'},
    {Key('-'), kAction, action::kScrollLineToBottom, 'x'},
    {Key('f'), kOperator, action::kCreateFold},
    {Key('d'), kAction, action::kRemoveRegion},
    {Key('o'), kAction, action::kOpenRegion},
    {Key('c'), kAction, action::kCloseRegion},
    {Key('a'), kAction, action::kToggleRegion},
    {Key('A'), kAction, action::kToggleRegionFully},
    {Key('M'), kAction, action::kCollapseToDefinitions},
    {Key('R'), kAction, action::kExpandAllRegions},
};

constexpr SecondKeyRow kBigZRows[] = {
    {Key('Z'), kAction, action::kSaveAndClose},
};

constexpr SecondKeyRow kWindowRows[] = {
    {Ctl('W'), kAction, action::kFocusOtherView},      {Key('w'), kAction, action::kFocusOtherView},
    {Key('W'), kAction, action::kFocusOtherView},      {Key('s'), kAction, action::kSplitWindow},
    {Key('S'), kAction, action::kSplitWindow},         {Key('c'), kAction, action::kCloseWindow},
    {Key('C'), kAction, action::kCloseWindow},         {Key('k'), kAction, action::kFocusViewAbove},
    {Vk(vk::kUp), kAction, action::kFocusViewAbove},   {Key('j'), kAction, action::kFocusViewBelow},
    {Vk(vk::kDown), kAction, action::kFocusViewBelow},
};

constexpr SecondKeyRow kOpenBracketRows[] = {
    {Key('('), kMotion, motion::kUnmatchedParenBackward},
    {Key('['), kMotion, motion::kSectionBackward},
    {Key(']'), kMotion, motion::kSectionEndBackward},
    {Key('{'), kMotion, motion::kUnmatchedBraceBackward},
    {Key('p'), kBracketPut, action::kPutIndented, 'P'},
    {Key('P'), kBracketPut, action::kPutIndented, 'P'},
};

constexpr SecondKeyRow kCloseBracketRows[] = {
    {Key(')'), kMotion, motion::kUnmatchedParenForward},
    {Key(']'), kMotion, motion::kSectionForward},
    {Key('['), kMotion, motion::kSectionEndForward},
    {Key('}'), kMotion, motion::kUnmatchedBraceForward},
    {Key('p'), kBracketPut, action::kPutIndented, 'p'},
    {Key('P'), kBracketPut, action::kPutIndented, 'P'},
};

// The "a" objects are the "i" objects' codes plus one.
constexpr SecondKeyRow kInnerObjectRows[] = {
    {Key('w'), kMotion, motion::kInnerWord},         {Key('W'), kMotion, motion::kInnerBigWord},
    {Key('s'), kMotion, motion::kInnerSentence},     {Key('p'), kMotion, motion::kInnerParagraph},
    {Key('b'), kMotion, motion::kInnerParenBlock},   {Key('('), kMotion, motion::kInnerParenBlock},
    {Key(')'), kMotion, motion::kInnerParenBlock},   {Key('B'), kMotion, motion::kInnerBraceBlock},
    {Key('{'), kMotion, motion::kInnerBraceBlock},   {Key('}'), kMotion, motion::kInnerBraceBlock},
    {Key('<'), kMotion, motion::kInnerAngleBlock},   {Key('>'), kMotion, motion::kInnerAngleBlock},
    {Key('['), kMotion, motion::kInnerSquareBlock},  {Key(']'), kMotion, motion::kInnerSquareBlock},
    {Key('\''), kMotion, motion::kInnerSingleQuote}, {Key('"'), kMotion, motion::kInnerDoubleQuote},
    {Key('t'), kMotion, motion::kInnerTag},
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
