// The modal engine, one for all views: the key queue, the per-key step that dispatches by mode,
// Escape handling, the status text and the caret shape. Mode, pending command, registers, last
// change, recording and options are shared by every view that feeds it keys.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/key_code.h"
#include "config/options.h"
#include "config/settings.h"
#include "engine/actions/action_context.h"
#include "engine/actions/command_record.h"
#include "engine/attached_view.h"
#include "engine/engine_host.h"
#include "engine/input/command_parser.h"
#include "engine/input/engine_mappings.h"
#include "engine/input/ex_line_runner.h"
#include "engine/input/key_queue.h"
#include "engine/input/mapping_layer.h"
#include "engine/insert/insert_mode.h"
#include "engine/search/search_state.h"
#include "engine/state/jump_list.h"
#include "engine/state/register_file.h"
#include "engine/state/view_state.h"

namespace tavik {

struct MotionResult;

enum class CaretShape : uint8_t { kThin = 1, kReplace = 2, kBlock = 3 };

class ViewEngine : private ParserServices {
 public:
  ViewEngine(Settings& settings, EngineHost& host);
  ~ViewEngine() override;
  ViewEngine(const ViewEngine&) = delete;
  ViewEngine& operator=(const ViewEngine&) = delete;

  // Every translated key of a view. False means the host must process the key itself.
  bool FeedKey(AttachedView& view, KeyCode key);
  // The view's timer fired: a pending mapping prefix is taken literally, and an incremental
  // search left unfinished goes on.
  void ProcessPendingKeys(AttachedView& view);
  std::u16string StatusText() const;
  CaretShape GetCaretShape() const { return caret_shape_; }
  bool IsTypingText() const;

  // State read and changed by actions, motions and the host package.
  EngineMode Mode() const { return mode_; }
  VisualKind GetVisualKind() const { return visual_kind_; }
  bool ReplaceFlag() const { return replace_; }
  bool IsRecording() const { return recording_; }
  ViewState& State() { return state_; }
  const ViewState& State() const { return state_; }
  OptionSet& GlobalOptions() { return global_options_; }
  Settings& GetSettings() { return settings_; }
  EngineHost& Host() { return host_; }
  CommandParser& Parser() { return parser_; }
  RegisterFile& Registers() { return registers_; }
  EngineMarks& Marks() { return marks_; }
  const CommandRecord& LastChange() const { return last_change_; }
  // Insert mode's state and record, the replace flag, recording and the register run last.
  InsertMode& Insert() { return insert_; }
  void SetReplaceFlag(bool on) { replace_ = on; }
  void StartRecording(char16_t name) {
    recording_ = true;
    recording_register_ = name;
    recording_buffer_.clear();
  }
  std::vector<KeyCode> StopRecording() {
    recording_ = false;
    return std::exchange(recording_buffer_, {});
  }
  char16_t RecordingRegister() const { return recording_register_; }
  char16_t& LastRunRegister() { return last_run_register_; }
  // The block a pending block insertion is copied to when insert mode is left.
  bool BlockInsertPending() const { return block_insert_; }
  const BlockInsertDescription& BlockDescription() const { return block_description_; }
  // The ex command line, installed by whoever builds the engine together with it.
  void SetExLine(ExLineRunner* ex_line) { ex_line_ = ex_line; }
  ExLineRunner* ExLine() const { return ex_line_; }
  void SetMappingLayer(MappingLayer* layer) { mappings_ = layer ? layer : &mapping_list_; }
  // The engine's own mapping list, the one the map commands change.
  MappingList& Mappings() { return mapping_list_.List(); }
  // Puts keys at the front of the queue, ahead of those still waiting: a mapping's expansion or a
  // register run as keys. After kMaxExpansions such insertions without a key from the user, or
  // once the edits made since that key cost the host more than kMaxExpansionWork (see
  // TextView::EditWork: each round of `:map Q 5555pQ` rewrites an ever longer line), the queue
  // is thrown away instead, with "Recursive mapping", so a self-feeding expansion ends.
  static constexpr uint32_t kMaxExpansions = 1000;
  static constexpr uint64_t kMaxExpansionWork = uint64_t{1} << 28;
  void InsertKeysAtFront(const std::vector<KeyCode>& keys, bool remap, const TextView& text);
  void SetMaxExpansionWork(uint64_t work) { max_expansion_work_ = work; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  // The emulation was switched off or on: queued keys and the pending command are dropped and
  // the engine is in normal mode. `view`, when given, is where an open insertion is ended.
  void ResetToNormal(AttachedView* view);
  // The host moved the view's caret or selection (a click, host typing): outside insert mode
  // the engine takes them up, with the desired column.
  void SyncWithHost(AttachedView& view);
  // Drops the keys held back for a mapping: the focus went to another view.
  void ClearPendingKeys() { queue_.clear(); }
  bool Enabled() const { return enabled_; }
  // Into insert mode at the caret, as an `i` that no mapping changes (nothing when already in
  // insert mode or disabled).
  void EnterInsertAtCaret(AttachedView& view);
  // Text the user pasted (engine_paste.cpp): in insert mode it goes in at the caret as it is,
  // in one edit, no key of it a command or mapped and no indent added; in normal and visual
  // mode it is inserted before the caret as with `i` and insert mode ends again; on a command
  // line it is typed there, line breaks left out. False when the engine is off.
  bool PasteText(AttachedView& view, std::u16string_view text);

  // Beeps through the view when the Beep setting is on.
  void Beep(TextView& view);
  void SetMessage(std::u16string_view text) { state_.SetMessage(text); }
  // Flips on every "u"; with viundo it makes a repeated "u" alternate undo and redo.
  bool& UndoDirection() { return undo_direction_; }
  // Set by ":nohlsearch"; a later search switches highlighting back on when it is set.
  bool& HighlightSuspended() { return highlight_suspended_; }
  // The last search, the highlighted request and the incremental-search match.
  SearchState& Search() { return search_; }
  // An option was stored by ":set": tells the views that care.
  void OptionChanged(AttachedView& view, OptionId option_id);
  // The way the selection is shown changed: the view's selection display is taken down, and
  // put up again the new way when `visual_here` (the view holds the visual selection).
  void ResetSelectionDisplay(AttachedView& view, bool visual_here);

  // Runs a complete command: the executor. `replay` marks the last change repeated by ".".
  void RunCommand(AttachedView& view, const CommandRecord& command, bool replay = false);

 private:
  // The executor's steps: the motion (false when the command ends with it), the caret move of
  // a command without an action, and the mode the action asked for.
  bool RunCommandMotion(TextView& text, const CommandRecord& command, MotionResult& motion);
  void MoveCaretByMotion(TextView& text, const MotionResult& motion);
  void ApplyModeRequest(TextView& text, const ModeRequest& request, ActionCode code,
                        bool from_visual);

  bool RunQueue(AttachedView& view, bool timeout);
  // Returns whether the key was consumed (keys with ALT are left to the host).
  bool PerKeyStep(AttachedView& view, KeyCode key, bool remap, bool first_key);
  void TakeTypedRun();
  void HandleEscape(AttachedView& view, bool first_key);
  void IncrementalSearchStep(TextView& text);
  // Keys paused while a search line's search was left unfinished: goes on with it.
  void ContinueIncrementalSearch(AttachedView& view);
  // How long keys must pause before an unfinished incremental search goes on.
  static constexpr uint32_t kIncrementalPauseMs = 15;
  void ClampCaretForNormalMode(TextView& text);
  void CheckDocument(AttachedView& view);
  void UpdateCaretShape();
  void SetDesiredColumnFromCaret(TextView& text);

  // ParserServices
  std::optional<std::u16string> RegisterTextForCommandLine(char16_t name) override;
  void YankToDefaultRegister(std::u16string_view text) override;

  Settings& settings_;
  EngineHost& host_;
  CommandRecord last_change_;
  EngineMode mode_ = EngineMode::kNormal;
  VisualKind visual_kind_ = VisualKind::kCharacterwise;
  CommandParser parser_;
  RegisterFile registers_;
  EngineMarks marks_;
  bool replace_ = false;
  ViewState state_;
  uint32_t insert_repeat_count_ = 0;
  bool block_insert_ = false;
  BlockInsertDescription block_description_;
  bool recording_ = false;
  std::vector<KeyCode> recording_buffer_;
  char16_t recording_register_ = 0;
  char16_t last_run_register_ = 0;
  InsertMode insert_;
  std::u16string typed_run_;  // text keys typed as one edit
  KeyCode fed_key_;           // the key the host delivered last: only it may be typed by the host
  OptionSet global_options_;
  KeyQueue queue_;
  bool busy_ = false;
  bool enabled_ = true;
  bool undo_direction_ = false;
  bool highlight_suspended_ = false;
  bool pass_key_to_host_ = false;
  CaretShape caret_shape_ = CaretShape::kBlock;
  EngineMappings mapping_list_;
  MappingLayer* mappings_ = &mapping_list_;
  ExLineRunner* ex_line_ = nullptr;
  uint32_t expansions_in_a_row_ = 0;     // since the last key from the user
  const TextView* work_view_ = nullptr;  // the view the user's last key was typed in
  uint64_t work_at_user_key_ = 0;        // its EditWork then
  uint64_t max_expansion_work_ = kMaxExpansionWork;
  SearchState search_{global_options_, highlight_suspended_};
};

}  // namespace tavik
