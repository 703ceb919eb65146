// The parser's state machine: the dispatch handler and its helpers for counts, registers,
// character arguments and prefix keys, and the glue between the parser and an open command line.
#include "engine/input/command_parser.h"

#include <cassert>

#include "common/decimal.h"
#include "common/utf16_chars.h"
#include "engine/actions/action_codes.h"
#include "engine/input/second_keys.h"
#include "engine/motions/motion_codes.h"

namespace tavik {
namespace {

// Operators that mean "the current lines" when their own key is typed again (dd, yy, ...).
struct DoubledOperator {
  char16_t key;
  ActionCode action;
};
constexpr DoubledOperator kDoubledOperators[] = {
    {'y', action::kYank},       {'c', action::kChange},    {'d', action::kDelete},
    {'>', action::kShiftRight}, {'<', action::kShiftLeft}, {'=', action::kFormat},
};

constexpr bool IsPlainChar(KeyCode key) {
  return key.IsChar() && !key.Has(key_mod::kAlt);
}

constexpr bool IsDigit(KeyCode key) {
  return IsPlainChar(key) && key.code >= '0' && key.code <= '9';
}

uint32_t MultiplyCounts(uint32_t a, uint32_t b) {
  uint64_t product = uint64_t{a} * b;
  return product > CommandParser::kMaxCount ? CommandParser::kMaxCount
                                            : static_cast<uint32_t>(product);
}

}  // namespace

CommandParser::CommandParser(ParserServices& services) : services_(services) {}

bool CommandParser::ParseKey(KeyCode key, bool recording, TextPos caret, bool first_key) {
  recording_ = recording;
  caret_ = caret;
  first_key_ = first_key;
  restore_caret_.reset();
  if (complete_) ResetParser(visual_);  // the last command was never collected
  if (line_.open) return CommandLineKey(key);

  if (IsPlainChar(key)) pending_.push_back(static_cast<char16_t>(key.code));
  if (counting_ && !IsDigit(key)) FinishCount();
  assert(main_ != nullptr);
  (this->*main_)(key);
  return !key.Has(key_mod::kAlt);
}

CommandRecord CommandParser::TakeCommand() {
  CommandRecord command = record_;
  uint32_t total = total_count_;
  if (accumulator_ != 0) total = total != 0 ? MultiplyCounts(total, accumulator_) : accumulator_;
  if (command.motion != 0) {
    command.motion_count = total;
  } else {
    command.action_count = total;
  }
  return command;
}

void CommandParser::ResetParser(bool visual) {
  // The restore-caret request belongs to the current key and survives the reset.
  pending_.clear();
  visual_ = visual;
  complete_ = false;
  main_ = &CommandParser::Dispatch;
  counting_ = false;
  accumulator_ = 0;
  total_count_ = 0;
  record_ = CommandRecord{};
  pending_action_ = 0;
  pending_motion_ = 0;
  char_arg_pending_ = false;
  high_half_ = 0;
  operator_pending_ = false;
  line_ = CommandLineState{};
}

void CommandParser::FinishCommandLine(bool visual) {
  FinishCommandLine(visual, first_key_);
}

void CommandParser::FinishCommandLine(bool visual, bool first_key) {
  if (line_.open) {
    if (line_.incsearch_active) restore_caret_ = line_.search_start;
    if (first_key) RecordInHistory(pending_, line_, history_);
  }
  ResetParser(visual);
}

uint32_t CommandParser::MappingMode(bool insert_mode) const {
  if (insert_mode) return mapping_mask::kInsert;
  if (line_.open) return mapping_mask::kCommandLine;
  if (char_arg_pending_) return mapping_mask::kLanguageArg;
  if (visual_) return mapping_mask::kVisual;
  // A count typed after the operator still leaves the next key to operator-pending mappings.
  bool dispatching = main_ == &CommandParser::Dispatch || main_ == &CommandParser::CountDigit;
  if (operator_pending_ && dispatching) return mapping_mask::kOperatorPending;
  if (main_ == &CommandParser::AfterPrefix &&
      (prefix_ == KeyPrefix::kG || prefix_ == KeyPrefix::kGAfterOperator ||
       prefix_ == KeyPrefix::kZ || prefix_ == KeyPrefix::kZAfterOperator ||
       prefix_ == KeyPrefix::kBigZ)) {
    return mapping_mask::kNone;
  }
  return mapping_mask::kNormal;
}

bool CommandParser::IsSearchLine() const {
  return line_.open && (line_.prefix == u'/' || line_.prefix == u'?');
}

std::u16string_view CommandParser::SearchPatternBeingTyped() const {
  if (!IsSearchLine() || pending_.empty()) return {};
  return std::u16string_view(pending_).substr(1);
}

std::optional<TextPos> CommandParser::TakeRestoreCaretRequest() {
  std::optional<TextPos> request = restore_caret_;
  restore_caret_.reset();
  return request;
}

// Action keys come first while no action is set, so motion keys are reached in the second
// lookup; once an operator waits, only the motion group is consulted.
void CommandParser::Dispatch(KeyCode key) {
  KeyBinding binding;
  if (record_.action == 0) {
    binding = LookupKey(visual_ ? KeyGroup::kVisualAction : KeyGroup::kNormalAction, key);
  }
  if (binding.handler == KeyHandler::kNone || record_.action != 0) {
    binding = LookupKey(KeyGroup::kMotion, key);
  }
  if (binding.handler != KeyHandler::kNone) {
    RunBinding(binding, key);
    return;
  }
  if (operator_pending_ && IsPlainChar(key)) {
    for (const DoubledOperator& op : kDoubledOperators) {
      if (op.action == record_.action && op.key == key.code) {
        record_.motion = motion::kCurrentLines;
        Complete();
        return;
      }
    }
  }
  Cancel();
}

void CommandParser::RunBinding(KeyBinding binding, KeyCode key) {
  switch (binding.handler) {
    case KeyHandler::kNone:
      Cancel();
      return;
    case KeyHandler::kMotion:
      record_.motion = binding.code;
      Complete();
      return;
    case KeyHandler::kAction:
      record_.action = binding.code;
      Complete();
      return;
    case KeyHandler::kOperator:
      record_.action = binding.code;
      if (visual_) {
        Complete();
      } else {
        operator_pending_ = true;
      }
      return;
    case KeyHandler::kCountDigit:
      accumulator_ = key.code - u'0';
      counting_ = true;
      main_ = &CommandParser::CountDigit;
      return;
    case KeyHandler::kRegisterPrefix:
      main_ = &CommandParser::RegisterName;
      return;
    case KeyHandler::kRecord:
      if (recording_) {
        record_.action = action::kRecord;
        Complete();
        return;
      }
      pending_action_ = binding.code;
      main_ = &CommandParser::ActionArgument;
      return;
    case KeyHandler::kCharArgAction:
    case KeyHandler::kLanguageArgAction:
      pending_action_ = binding.code;
      char_arg_pending_ = binding.handler == KeyHandler::kLanguageArgAction;
      main_ = &CommandParser::ActionArgument;
      return;
    case KeyHandler::kCharArgMotion:
    case KeyHandler::kLanguageArgMotion:
      pending_motion_ = binding.code;
      char_arg_pending_ = binding.handler == KeyHandler::kLanguageArgMotion;
      main_ = &CommandParser::MotionArgument;
      return;
    case KeyHandler::kForcedKind:
      record_.forced = true;
      record_.forced_kind = static_cast<ForcedKind>(binding.code);
      return;
    case KeyHandler::kTextObjectPrefix:
    case KeyHandler::kPrefix:
      prefix_ = static_cast<KeyPrefix>(binding.code);
      main_ = &CommandParser::AfterPrefix;
      return;
    case KeyHandler::kCommandLine:
      OpenExLine();
      return;
    case KeyHandler::kSearchLine:
      OpenSearchLine(static_cast<char16_t>(key.code));
      return;
  }
}

void CommandParser::FinishCount() {
  total_count_ = total_count_ != 0 ? MultiplyCounts(total_count_, accumulator_) : accumulator_;
  accumulator_ = 0;
  counting_ = false;
  main_ = &CommandParser::Dispatch;
}

void CommandParser::CountDigit(KeyCode key) {
  assert(IsDigit(key));
  uint64_t next = uint64_t{accumulator_} * 10 + (key.code - u'0');
  accumulator_ = next > kMaxCount ? kMaxCount : static_cast<uint32_t>(next);
}

void CommandParser::RegisterName(KeyCode key) {
  if (!IsPlainChar(key) || key.code > 255) {
    Cancel();
    return;
  }
  record_.register_name = static_cast<char>(key.code);
  main_ = &CommandParser::Dispatch;
}

bool CommandParser::ArgumentChar(KeyCode key, char32_t& out) {
  if (high_half_ != 0) {
    char16_t high = high_half_;
    high_half_ = 0;
    if (!IsLowSurrogate(key.code)) {
      Cancel();
      return false;
    }
    out = CombineSurrogates(high, static_cast<char16_t>(key.code));
    return true;
  }
  if (IsHighSurrogate(key.code)) {
    high_half_ = static_cast<char16_t>(key.code);
    return false;
  }
  out = key.code;
  return true;
}

// The action replaces any operator: "m" typed after "d" sets a mark and drops the delete.
void CommandParser::ActionArgument(KeyCode key) {
  if (!IsPlainChar(key)) {
    Cancel();
    return;
  }
  char32_t c = 0;
  if (!ArgumentChar(key, c)) return;
  record_.action = pending_action_;
  record_.action_arg = c;
  operator_pending_ = false;
  char_arg_pending_ = false;
  Complete();
}

void CommandParser::MotionArgument(KeyCode key) {
  if (!IsPlainChar(key)) {
    Cancel();
    return;
  }
  char32_t c = 0;
  if (!ArgumentChar(key, c)) return;
  record_.motion = pending_motion_;
  record_.motion_arg = c;
  char_arg_pending_ = false;
  Complete();
}

void CommandParser::AfterPrefix(KeyCode key) {
  SecondKey second = LookupSecondKey(prefix_, key);
  switch (second.kind) {
    case SecondKeyKind::kNone:
      Cancel();
      return;
    case SecondKeyKind::kBracketPut:
      if (operator_pending_) {
        Cancel();
        return;
      }
      [[fallthrough]];
    case SecondKeyKind::kAction:
      record_.action = second.code;
      record_.action_arg = second.arg;
      Complete();
      return;
    case SecondKeyKind::kOperator:
      record_.action = second.code;
      if (visual_) {
        Complete();
        return;
      }
      operator_pending_ = true;
      main_ = &CommandParser::Dispatch;
      return;
    case SecondKeyKind::kMotion:
      record_.motion = second.code;
      record_.motion_arg = second.arg;
      Complete();
      return;
  }
}

// ":" takes the count as a line range; a visual selection gives its marks.
void CommandParser::OpenExLine() {
  std::u16string prefix = u":";
  if (visual_) {
    prefix = u":'<,'>";
  } else if (total_count_ >= 2) {
    prefix = u":.,.+" + DecimalText(total_count_ - 1);
  }
  total_count_ = 0;
  OpenCommandLine(prefix);
}

void CommandParser::OpenSearchLine(char16_t prefix) {
  OpenCommandLine(std::u16string_view(&prefix, 1));
  if (!line_.open) return;
  line_.search_start = caret_;
  line_.backward = prefix == u'?';
}

void CommandParser::OpenCommandLine(std::u16string_view prefix) {
  assert(!prefix.empty());
  if (pending_.empty() || pending_.back() != prefix.front()) {
    Cancel();
    return;
  }
  pending_.assign(prefix);
  line_ = CommandLineState{};
  line_.open = true;
  line_.prefix = prefix.front();
  line_.cursor = pending_.size();
  line_.browse_index = history_.size();
  // Every further key goes to the command-line editor until the line closes.
  main_ = nullptr;
}

bool CommandParser::CommandLineKey(KeyCode key) {
  bool was_searching = line_.incsearch_active;
  switch (EditCommandLine(pending_, line_, history_, services_, key)) {
    case LineKeyResult::kNotConsumed:
      return false;
    case LineKeyResult::kUnchanged:
      return true;
    case LineKeyResult::kEnter:
      EnterCommandLine();
      return true;
    case LineKeyResult::kChanged:
      break;
  }
  if (pending_.empty()) {
    if (was_searching) restore_caret_ = line_.search_start;
    ResetParser(visual_);
    return true;
  }
  if (IsSearchLine()) {
    line_.incsearch_active = incsearch_option_ && pending_.size() > 1;
    if (was_searching && !line_.incsearch_active) restore_caret_ = line_.search_start;
  }
  return true;
}

void CommandParser::EnterCommandLine() {
  record_.SetText(std::u16string_view(pending_).substr(1));
  if (line_.prefix == u':') {
    record_.action = action::kExLine;
  } else {
    record_.motion = motion::kSearchTyped;
    record_.motion_arg = line_.backward ? u'x' : 0;
  }
  Complete();
}

}  // namespace tavik
