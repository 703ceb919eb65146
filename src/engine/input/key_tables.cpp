// The nine code tables and nine state tables, written as one row list per group and expanded at
// compile time into three 256-entry sub-tables each: character keys, special keys without
// modifiers, special keys with CTRL only.
#include "engine/input/key_tables.h"

#include <array>
#include <cstddef>

#include "engine/actions/action_codes.h"
#include "engine/actions/command_record.h"
#include "engine/motions/motion_codes.h"

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
    {Key('w'), kMotion, motion::kWordForward},
    {CtrlVk(vk::kRight), kMotion, motion::kWordForward},
    {Key('W'), kMotion, motion::kBigWordForward},
    {Key('b'), kMotion, motion::kWordBackward},
    {CtrlVk(vk::kLeft), kMotion, motion::kWordBackward},
    {Key('B'), kMotion, motion::kBigWordBackward},
    {Key('e'), kMotion, motion::kWordEnd},
    {Key('E'), kMotion, motion::kBigWordEnd},
    {Key('t'), kLanguageArgMotion, motion::kTillForward},
    {Key('T'), kLanguageArgMotion, motion::kTillBackward},
    {Key('f'), kLanguageArgMotion, motion::kFindForward},
    {Key('F'), kLanguageArgMotion, motion::kFindBackward},
    {Key(';'), kMotion, motion::kRepeatCharSearch},
    {Key(','), kMotion, motion::kRepeatCharSearchReverse},
    {Key('h'), kMotion, motion::kLeft},
    {Vk(vk::kLeft), kMotion, motion::kLeft},
    {Key('j'), kMotion, motion::kDown},
    {Vk(vk::kDown), kMotion, motion::kDown},
    {Ctl('N'), kMotion, motion::kDown},
    {Key('k'), kMotion, motion::kUp},
    {Vk(vk::kUp), kMotion, motion::kUp},
    {Ctl('P'), kMotion, motion::kUp},
    {Key('l'), kMotion, motion::kRight},
    {Vk(vk::kRight), kMotion, motion::kRight},
    {Key('H'), kMotion, motion::kWindowTop},
    {Key('M'), kMotion, motion::kWindowMiddle},
    {Key('L'), kMotion, motion::kWindowBottom},
    {Key('/'), kSearchLine, motion::kSearchTyped},
    {Key('?'), kSearchLine, motion::kSearchTyped},
    {Key('n'), kMotion, motion::kSearchNext},
    {Key('N'), kMotion, motion::kSearchPrevious},
    {Key('*'), kMotion, motion::kSearchWordForward},
    {Key('#'), kMotion, motion::kSearchWordBackward},
    {Key('0'), kMotion, motion::kLineStart},
    {Vk(vk::kHome), kMotion, motion::kLineStart},
    {Key('^'), kMotion, motion::kFirstNonBlank},
    {Key('$'), kMotion, motion::kLineEnd},
    {Vk(vk::kEnd), kMotion, motion::kLineEnd},
    {Key('`'), kCharArgMotion, motion::kMarkExact},
    {Key('\''), kCharArgMotion, motion::kMarkLine},
    {CtrlVk(vk::kHome), kMotion, motion::kFirstLine},
    {Key('G'), kMotion, motion::kLastLine},
    {CtrlVk(vk::kEnd), kMotion, motion::kLastLine},
    {Key('%'), kMotion, motion::kMatch},
    {Ctl('D'), kMotion, motion::kHalfPageDown},
    {Ctl('U'), kMotion, motion::kHalfPageUp},
    {Ctl('F'), kMotion, motion::kPageDown},
    {Vk(vk::kPageDown), kMotion, motion::kPageDown},
    {Ctl('B'), kMotion, motion::kPageUp},
    {Vk(vk::kPageUp), kMotion, motion::kPageUp},
    {Key('('), kMotion, motion::kSentenceBackward},
    {Key(')'), kMotion, motion::kSentenceForward},
    {Key('{'), kMotion, motion::kParagraphBackward},
    {Key('}'), kMotion, motion::kParagraphForward},
    {Key('-'), kMotion, motion::kPreviousLine},
    {Key('+'), kMotion, motion::kNextLine},
    {Key(ch::kReturn), kMotion, motion::kNextLine},
    {Ctl('J'), kMotion, motion::kNextLine},
    {Key('_'), kMotion, motion::kCountLines},
    {Ctl('H'), kMotion, motion::kBackspace},
    {Key(' '), kMotion, motion::kSpace},
    {Key('|'), kMotion, motion::kColumn},
    // Reached only after an operator (or in visual mode, where the action tables come first).
    {Key('m'), kCharArgAction, action::kSetMark},
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
    {Key('x'), kAction, action::kDeleteChar},
    {Vk(vk::kDelete), kAction, action::kDeleteChar},
    {Key('X'), kAction, action::kDeleteCharBefore},
    {Key('i'), kAction, action::kInsert},
    {Vk(vk::kInsert), kAction, action::kInsert},
    {Key('d'), kOperator, action::kDelete},
    {Key('u'), kAction, action::kUndo},
    {Ctl('R'), kAction, action::kRedo},
    {Key('q'), kRecord, action::kRecord},
    {Key('r'), kLanguageArgAction, action::kReplaceChars},
    {Key('y'), kOperator, action::kYank},
    {Key('Y'), kAction, action::kYankLines},
    {Key('U'), kAction, action::kUndoLine},
    {Key('I'), kAction, action::kInsertAtFirstNonBlank},
    {Key('o'), kAction, action::kOpenBelow},
    {Key('O'), kAction, action::kOpenAbove},
    {Key('R'), kAction, action::kReplaceMode},
    {Key('p'), kAction, action::kPutAfter},
    {Key('P'), kAction, action::kPutBefore},
    {Key('a'), kAction, action::kAppendAfter},
    {Key('A'), kAction, action::kAppendAtEnd},
    {Key('s'), kAction, action::kSubstituteChars},
    {Key('S'), kAction, action::kSubstituteLines},
    {Key('D'), kAction, action::kDeleteToEnd},
    {Key('J'), kAction, action::kJoin},
    {Key('K'), kAction, action::kKeywordLookup},
    {Key('c'), kOperator, action::kChange},
    {Key('C'), kAction, action::kChangeToEnd},
    {Key('v'), kAction, action::kVisualCharacterwise},
    {Key('V'), kAction, action::kVisualLinewise},
    {Ctl('V'), kAction, action::kVisualBlockwise},
    {Ctl('Q'), kAction, action::kVisualBlockwise},
    {Ctl('Y'), kAction, action::kScrollUp},
    {CtrlVk(vk::kUp), kAction, action::kScrollUp},
    {Ctl('E'), kAction, action::kScrollDown},
    {CtrlVk(vk::kDown), kAction, action::kScrollDown},
    {Key('m'), kCharArgAction, action::kSetMark},
    {Key('~'), kAction, action::kSwitchCase},
    {Key('='), kOperator, action::kFormat},
    {Key('>'), kOperator, action::kShiftRight},
    {Key('<'), kOperator, action::kShiftLeft},
    {Key('@'), kCharArgAction, action::kRunRegister},
    {Ctl(']'), kAction, action::kGoToDefinition},
    {Key('&'), kAction, action::kRepeatSubstitution},
    {Ctl('^'), kAction, action::kAlternateDocument},
    {Ctl('O'), kAction, action::kJumpOlder},
    {Ctl('I'), kAction, action::kJumpNewer},
    {Ctl('T'), kAction, action::kReturnFromDefinition},
    {Ctl('A'), kAction, action::kIncrement},
    {Ctl('X'), kAction, action::kDecrement},
    {Key('.'), kAction, action::kRepeat},
    {Key('Q'), kOperator, action::kNone},
    {Key('"'), kRegisterPrefix},
    {Key(':'), kCommandLine},
    {Key('g'), kPrefix, P(KeyPrefix::kG)},
    {Key('z'), kPrefix, P(KeyPrefix::kZ)},
    {Key('Z'), kPrefix, P(KeyPrefix::kBigZ)},
    {Ctl('W'), kPrefix, P(KeyPrefix::kWindow)},
};

// In visual mode the operators complete at once: the selection is their range.
constexpr Row kVisualActionRows[] = {
    {Key('d'), kAction, action::kDelete},
    {Key('x'), kAction, action::kDelete},
    {Vk(vk::kDelete), kAction, action::kDelete},
    {Key('q'), kRecord, action::kRecord},
    {Key('r'), kLanguageArgAction, action::kReplaceChars},
    {Key('y'), kAction, action::kYank},
    {Key('Y'), kAction, action::kYankLines},
    {Key('I'), kAction, action::kInsertAtFirstNonBlank},
    {Key('R'), kAction, action::kReplaceMode},
    {Key('p'), kAction, action::kPutAfter},
    {Key('P'), kAction, action::kPutBefore},
    {Key('A'), kAction, action::kAppendAtEnd},
    {Key('s'), kAction, action::kSubstituteChars},
    {Key('S'), kAction, action::kSubstituteLines},
    {Key('D'), kAction, action::kDeleteToEnd},
    {Key('X'), kAction, action::kDeleteToEnd},
    {Key('J'), kAction, action::kJoin},
    {Key('K'), kAction, action::kKeywordLookup},
    {Key('c'), kAction, action::kChange},
    {Key('C'), kAction, action::kChangeToEnd},
    {Key('v'), kAction, action::kVisualCharacterwise},
    {Key('V'), kAction, action::kVisualLinewise},
    {Ctl('V'), kAction, action::kVisualBlockwise},
    {Ctl('Q'), kAction, action::kVisualBlockwise},
    {Key('o'), kAction, action::kSwapVisualEnds},
    {Key('O'), kAction, action::kSwapVisualEnds},
    {Ctl('Y'), kAction, action::kScrollUp},
    {CtrlVk(vk::kUp), kAction, action::kScrollUp},
    {Ctl('E'), kAction, action::kScrollDown},
    {CtrlVk(vk::kDown), kAction, action::kScrollDown},
    {Key('m'), kCharArgAction, action::kSetMark},
    {Key('U'), kAction, action::kMakeUpper},
    {Key('u'), kAction, action::kMakeLower},
    {Key('~'), kAction, action::kSwitchCase},
    {Key('='), kAction, action::kFormat},
    {Key('>'), kAction, action::kShiftRight},
    {Key('<'), kAction, action::kShiftLeft},
    {Key('@'), kCharArgAction, action::kRunRegister},
    {Ctl(']'), kAction, action::kGoToDefinition},
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
