// The command parser: a small state machine driven by the key tables. It collects counts, a
// register, an operator, a motion or text object, a character argument, or a command line, and
// completes a CommandRecord for the executor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/key_code.h"
#include "common/text_pos.h"
#include "config/mapping_list.h"
#include "engine/actions/command_record.h"
#include "engine/input/command_line.h"
#include "engine/input/key_tables.h"

namespace tavik {

class CommandParser {
 public:
  // Counts saturate here so a mistyped run of digits cannot wrap around.
  static constexpr uint32_t kMaxCount = 999999999;

  explicit CommandParser(ParserServices& services);

  // Runs one key through the state machine; false for keys with ALT and, while a command line is
  // open, for keys its editor does not use.
  bool ParseKey(KeyCode key, bool recording, TextPos caret, bool first_key);
  bool IsComplete() const { return complete_; }
  // The finished record, with the total count moved into the motion count when a motion is set
  // and into the action count otherwise.
  CommandRecord TakeCommand();
  // Drops the pending command and any open command line; the history stays.
  void ResetParser(bool visual);

  // Finishing a command line (after a completed command, or on Escape): asks for the caret to be
  // restored if an incremental search was active (collect it with TakeRestoreCaretRequest
  // afterwards), records the line in the history when the finishing key was the first key of its
  // batch, and resets the parser. The one-argument form takes that flag from the last ParseKey.
  void FinishCommandLine(bool visual);
  void FinishCommandLine(bool visual, bool first_key);
  // Escape: FinishCommandLine for normal mode.
  void CancelCommandLine(bool first_key) { FinishCommandLine(false, first_key); }

  uint32_t MappingMode(bool insert_mode) const;

  // The unfinished command, or the command line being typed (first unit ":", "/" or "?").
  std::u16string_view PendingText() const { return pending_; }
  bool IsCommandLineOpen() const { return line_.open; }
  bool IsSearchLine() const;
  bool IsIncrementalSearchActive() const { return line_.incsearch_active; }
  // The pattern being typed on an open search line (without its "/" or "?").
  std::u16string_view SearchPatternBeingTyped() const;
  bool SearchBackward() const { return line_.backward; }
  TextPos SearchStart() const { return line_.search_start; }
  // The cursor of the open command line, as an index into PendingText().
  size_t CommandLineCursor() const { return line_.cursor; }
  bool WaitingForCharArgument() const { return char_arg_pending_; }
  bool IsOperatorPending() const { return operator_pending_; }
  bool RestoreCaretRequested() const { return restore_caret_.has_value(); }
  // Set when a cancelled incremental search asks the engine to put the caret back.
  std::optional<TextPos> TakeRestoreCaretRequest();
  void SetIncrementalSearch(bool on) { incsearch_option_ = on; }

  const CommandLineHistory& History() const { return history_; }

 private:
  using Handler = void (CommandParser::*)(KeyCode);

  // Main handlers, one per state.
  void Dispatch(KeyCode key);
  void CountDigit(KeyCode key);
  void RegisterName(KeyCode key);
  void ActionArgument(KeyCode key);
  void MotionArgument(KeyCode key);
  void AfterPrefix(KeyCode key);
  // The character argument a key completes: false while the first half of a surrogate pair
  // waits for its second; a pair broken by another key cancels the command.
  bool ArgumentChar(KeyCode key, char32_t& out);

  void RunBinding(KeyBinding binding, KeyCode key);
  void FinishCount();
  void Complete() { complete_ = true; }
  void Cancel() { ResetParser(visual_); }

  void OpenExLine();
  void OpenSearchLine(char16_t prefix);
  void OpenCommandLine(std::u16string_view prefix);
  bool CommandLineKey(KeyCode key);
  void EnterCommandLine();

  ParserServices& services_;
  std::u16string pending_;
  bool visual_ = false;
  bool complete_ = false;
  Handler main_ = &CommandParser::Dispatch;
  bool counting_ = false;  // the pre-check for digits and its fallback are active
  uint32_t accumulator_ = 0;
  uint32_t total_count_ = 0;
  CommandRecord record_;
  ActionCode pending_action_ = 0;     // waiting for its character argument
  MotionCode pending_motion_ = 0;     // waiting for its character argument
  KeyPrefix prefix_ = KeyPrefix::kG;  // which second-key rules AfterPrefix applies
  bool char_arg_pending_ = false;
  char16_t high_half_ = 0;  // first half of a character argument beyond the BMP
  bool operator_pending_ = false;
  bool recording_ = false;
  TextPos caret_;
  bool first_key_ = false;
  bool incsearch_option_ = true;
  std::optional<TextPos> restore_caret_;
  CommandLineState line_;
  CommandLineHistory history_;
};

}  // namespace tavik
