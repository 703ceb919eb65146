// The key path of the engine: FeedKey, the queue with its mapping look-up, the per-key step that
// dispatches by mode, and Escape handling.
#include "engine/view_engine.h"

#include <algorithm>

#include "common/char_class.h"
#include "config/key_notation.h"
#include "engine/actions/action_table.h"
#include "engine/executor.h"
#include "engine/state/buffer_marks.h"
#include "engine/state/document_switch.h"
#include "engine/visual_mode.h"

namespace tavik {
namespace {

bool IsEscapeKey(KeyCode key) {
  return key.IsChar(ch::kEscape) || key.IsChar(ch::kCtrlC);
}

TextPos ClampToLine(const TextView& text, TextPos pos) {
  return text.ClampPosition(pos.line, pos.column, true, false);
}

}  // namespace

ViewEngine::ViewEngine(Settings& settings, EngineHost& host)
    : settings_(settings),
      host_(host),
      parser_(*this),
      registers_(nullptr, settings.DefaultWinClipboard()) {}

ViewEngine::~ViewEngine() = default;

bool ViewEngine::IsTypingText() const {
  return mode_ == EngineMode::kInsert || parser_.IsCommandLineOpen();
}

void ViewEngine::Beep(TextView& view) {
  if (settings_.Beep()) view.Beep();
}

void ViewEngine::SetDesiredColumnFromCaret(TextView& text) {
  TextPos caret = text.GetCaret();
  state_.desired_column = text.VirtualColumn(caret.line, caret.column);
}

// The buffer list follows the document of every key's view; another document than the last
// key's drops the half-typed command.
void ViewEngine::CheckDocument(AttachedView& view) {
  TrackDocumentBeforeKey(*this, view);
}

bool ViewEngine::FeedKey(AttachedView& view, KeyCode key) {
  if (!enabled_ || !view.text.IsAttached()) return false;
  // A caret the host moved since the last key (a click, host typing) sets the desired column.
  if (view.text.RefreshFromHost(false, settings_.UseVSSel()) && mode_ != EngineMode::kInsert) {
    SetDesiredColumnFromCaret(view.text);
  }

  // Outside typed text, letter case follows Shift, not Caps Lock.
  if (settings_.IgnoreCapsLock() && key.IsChar() && !IsTypingText()) {
    auto c = static_cast<char16_t>(key.code);
    key.code = key.Has(key_mod::kShift) ? ToUpperChar(c) : ToLowerChar(c);
  }

  CheckDocument(view);
  expansions_in_a_row_ = 0;
  work_view_ = &view.text;
  work_at_user_key_ = view.text.EditWork();
  fed_key_ = key;
  queue_.push_back({key, true});
  bool was_recording = recording_;
  pass_key_to_host_ = false;
  bool consumed = RunQueue(view, false);
  if (was_recording && recording_) recording_buffer_.push_back(key);

  TrackDocumentAfterKey(*this, view);
  if (pass_key_to_host_) view.text.MarkModified();
  if (view.text.IsAttached()) search_.RefreshHighlights(view.text);

  if (view.text.IsAttached()) {
    // With `timeout` off a held-back prefix waits for the next key, so an earlier timer must not
    // fire either.
    if (search_.IncrementalPending() && queue_.empty()) {
      // No mapping waits: the timer goes on with the search once keys pause.
      view.text.Host()->StartTimer(kIncrementalPauseMs);
    } else if (global_options_.Bool(OptionId::kTimeout)) {
      view.text.Host()->StartTimer(global_options_.Number(OptionId::kTimeoutLen));
    } else {
      view.text.Host()->StopTimer();
    }
  }
  bool passed = pass_key_to_host_;
  pass_key_to_host_ = false;
  // The host is done with its key: keys held back now reach the text through the engine alone
  // (on time-out or when the focus leaves), so none may be left for the host to type.
  fed_key_ = KeyCode{};
  return consumed && !passed;
}

void ViewEngine::SyncWithHost(AttachedView& view) {
  if (!view.text.IsAttached() || mode_ == EngineMode::kInsert) return;
  if (view.text.RefreshFromHost(false, settings_.UseVSSel())) SetDesiredColumnFromCaret(view.text);
}

void ViewEngine::ProcessPendingKeys(AttachedView& view) {
  if (!enabled_ || !view.text.IsAttached()) return;
  if (view.text.Host() != nullptr) view.text.Host()->StopTimer();
  RunQueue(view, true);
  ContinueIncrementalSearch(view);
}

void ViewEngine::ContinueIncrementalSearch(AttachedView& view) {
  if (!parser_.IsIncrementalSearchActive() || !search_.IncrementalPending()) return;
  TextView& text = view.text;
  std::optional<TextPos> caret = search_.ContinueIncremental(text, parser_.SearchStart());
  if (caret && *caret != text.GetCaret()) text.SetCaret(*caret);
  search_.RefreshHighlights(text);
  if (search_.IncrementalPending() && queue_.empty() && text.Host() != nullptr) {
    text.Host()->StartTimer(kIncrementalPauseMs);
  }
}

bool ViewEngine::RunQueue(AttachedView& view, bool timeout) {
  busy_ = true;
  bool consumed = false;
  // The keys of one batch are one command: opened at the first key taken from the queue.
  TextView::CommandScope command(view.text, false);
  bool first = true;
  while (!queue_.empty()) {
    uint32_t mode_mask = parser_.MappingMode(mode_ == EngineMode::kInsert);
    // The key after CTRL-V in insert mode is taken as it is.
    const bool literal = mode_ == EngineMode::kInsert && insert_.TakesLiteral();
    MappingLookup lookup =
        literal ? MappingLookup{} : mappings_->Lookup(mode_mask, queue_, timeout);
    if (lookup.outcome == MappingOutcome::kPending) {
      consumed = true;  // held back for the mapping, so the host must not type it
      break;
    }
    if (lookup.outcome == MappingOutcome::kMatched) {
      size_t matched = std::min(lookup.matched_keys, queue_.size());
      queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(matched));
      mappings_->SetInUse(lookup.mapping_index);
      bool remap = lookup.remappable && global_options_.Bool(OptionId::kRemap);
      InsertKeysAtFront(ParseKeys(lookup.expansion), remap, view.text);
      continue;
    }
    QueuedKey next = queue_.front();
    queue_.pop_front();
    mappings_->ClearInUse();
    command.Open();
    if (PerKeyStep(view, next.key, next.remap, first)) consumed = true;
    first = false;
    if (!view.text.IsAttached()) {
      queue_.clear();
      break;
    }
  }
  command.Close();
  busy_ = false;
  return consumed;
}

// Moves the text keys at the front of the queue into the typed run, as long as no mapping claims
// them: the per-key step would type each the same way.
void ViewEngine::TakeTypedRun() {
  const uint32_t mode_mask = parser_.MappingMode(true);
  while (!queue_.empty() && insert_.TakesTypedText(*this, queue_.front().key)) {
    if (mappings_->Lookup(mode_mask, queue_, false).outcome != MappingOutcome::kNoMapping) break;
    typed_run_ += static_cast<char16_t>(queue_.front().key.code);
    queue_.pop_front();
    mappings_->ClearInUse();
  }
}

void ViewEngine::InsertKeysAtFront(const std::vector<KeyCode>& keys, bool remap,
                                   const TextView& text) {
  // An expansion that adds no keys cannot feed itself: the in-use flag stops it matching again.
  if (keys.empty()) return;
  const bool too_costly = work_view_ == &text && text.EditWork() >= work_at_user_key_ &&
                          text.EditWork() - work_at_user_key_ > max_expansion_work_;
  if (++expansions_in_a_row_ > kMaxExpansions || too_costly) {
    queue_.clear();
    SetMessage(u"Recursive mapping");
    return;
  }
  queue_.insert(queue_.begin(), keys.size(), QueuedKey{});
  for (size_t i = 0; i < keys.size(); ++i) queue_[i] = {keys[i], remap};
}

bool ViewEngine::PerKeyStep(AttachedView& view, KeyCode key, bool remap, bool first_key) {
  bool consumed = true;
  TextView& text = view.text;
  BufferMarks* marks = text.Marks();
  EngineMode mode_before = mode_;
  if (mode_ == EngineMode::kVisual && marks != nullptr) {
    marks->Set(u'<', ClampToLine(text, state_.visual_start));
    marks->Set(u'>', ClampToLine(text, state_.visual_end));
  }
  parser_.SetIncrementalSearch(global_options_.Bool(OptionId::kIncSearch));
  if (mode_ == EngineMode::kInsert && marks != nullptr) {
    marks->Set(u']', ClampToLine(text, text.GetCaret()));
  }

  if (IsEscapeKey(key) && !(mode_ == EngineMode::kInsert && insert_.TakesLiteral())) {
    HandleEscape(view, first_key);
    // Leaving visual mode: the cursor stays at the moving end.
    if (mode_before == EngineMode::kVisual) {
      text.SetCaret(ClampCaretForMode(text, state_.visual_end, mode_));
    }
  } else if (mode_ == EngineMode::kNormal || mode_ == EngineMode::kVisual) {
    consumed = parser_.ParseKey(key, recording_, text.GetCaret(), first_key);
    if (auto restore = parser_.TakeRestoreCaretRequest()) text.SetCaret(*restore);
    if (parser_.IsComplete()) {
      CommandRecord command = parser_.TakeCommand();
      parser_.FinishCommandLine(mode_ == EngineMode::kVisual);
      // A finished search line puts the caret back where the search started.
      if (auto restore = parser_.TakeRestoreCaretRequest()) text.SetCaret(*restore);
      const bool replay = command.action == action::kRepeat;
      if (replay) {
        uint32_t count = command.action_count;
        command = last_change_;
        if (count != 0) {
          if (command.motion != 0) {
            command.motion_count = count;
          } else {
            command.action_count = count;
          }
        }
      }
      if (command.action != action::kRepeat) RunCommand(view, command, replay);
      if (!text.IsAttached()) return true;
      parser_.ResetParser(mode_ == EngineMode::kVisual);
    }
  } else {
    // Insert mode: the key the host delivered, alone in its batch, may be typed by the host.
    bool host_may_type = first_key && queue_.empty() && key == fed_key_;
    if (!host_may_type && insert_.TakesTypedText(*this, key)) {
      // Text keys from a register run or a mapping go in as one edit with the ones queued after.
      typed_run_.assign(1, static_cast<char16_t>(key.code));
      TakeTypedRun();
      insert_.TypeText(text, typed_run_);
    } else {
      InsertKeyResult result = insert_.HandleKey(*this, text, key, host_may_type);
      if (result.pass_to_host) pass_key_to_host_ = true;
      if (result.beep) Beep(text);
      if (result.again) queue_.insert(queue_.begin(), QueuedKey{*result.again, remap});
    }
    // The desired column is set when insert mode is left; keys in between need none.
  }

  if (mode_before == EngineMode::kVisual && mode_ != EngineMode::kVisual) {
    text.last_visual_kind = visual_kind_;
    RememberLeftSelection(state_, visual_kind_);
    HideVisualSelection(text);
  }
  if (mode_ == EngineMode::kVisual)
    ShowVisualSelection(text, state_, visual_kind_, settings_.UseVSSel());
  UpdateCaretShape();
  IncrementalSearchStep(text);
  if (parser_.IsCommandLineOpen()) state_.ClearMessage();
  return consumed;
}

void ViewEngine::ResetSelectionDisplay(AttachedView& view, bool visual_here) {
  HideVisualSelection(view.text);
  if (visual_here && mode_ == EngineMode::kVisual)
    ShowVisualSelection(view.text, state_, visual_kind_, settings_.UseVSSel());
}

// While a search line is typed the caret shows the first match from where the line was opened.
void ViewEngine::IncrementalSearchStep(TextView& text) {
  if (!parser_.IsIncrementalSearchActive()) {
    search_.ClearIncremental();
    return;
  }
  TextPos caret = search_.Incremental(text, parser_.SearchPatternBeingTyped(),
                                      parser_.SearchStart(), parser_.SearchBackward());
  if (caret != text.GetCaret()) text.SetCaret(caret);
}

void ViewEngine::HandleEscape(AttachedView& view, bool first_key) {
  TextView& text = view.text;
  if (mode_ == EngineMode::kNormal && !parser_.IsCommandLineOpen()) {
    Beep(text);
    text.CancelHostUi();
    state_.ClearMessage();
  }
  EngineMode before = mode_;
  if (before == EngineMode::kInsert) {
    if (BufferMarks* marks = text.Marks()) marks->Set(u'^', ClampToLine(text, text.GetCaret()));
    text.CancelHostUi();
  }
  mode_ = EngineMode::kNormal;
  parser_.CancelCommandLine(first_key);
  if (auto restore = parser_.TakeRestoreCaretRequest()) text.SetCaret(*restore);
  if (before == EngineMode::kInsert) {
    bool placed = insert_.Leave(*this, text, insert_repeat_count_,
                                block_insert_ ? &block_description_ : nullptr);
    insert_repeat_count_ = 0;
    block_insert_ = false;
    replace_ = false;
    TextView::CommandScope::CloseKept(text);
    TextPos caret = text.GetCaret();
    if (!placed && caret.column > 0) text.SetCaret({caret.line, caret.column - 1});
    SetDesiredColumnFromCaret(text);
  }
  ClampCaretForNormalMode(text);
}

void ViewEngine::ResetToNormal(AttachedView* view) {
  queue_.clear();
  const bool pending = mode_ != EngineMode::kNormal || parser_.IsCommandLineOpen();
  if (view != nullptr && view->text.IsAttached() && pending) HandleEscape(*view, true);
  mode_ = EngineMode::kNormal;
  replace_ = false;
  parser_.ResetParser(false);
  UpdateCaretShape();
}

void ViewEngine::EnterInsertAtCaret(AttachedView& view) {
  if (!enabled_ || mode_ == EngineMode::kInsert || !view.text.IsAttached()) return;
  ResetToNormal(&view);
  view.text.RefreshFromHost(false, settings_.UseVSSel());
  queue_.push_back({KeyCode::Char(u'i'), false});
  RunQueue(view, false);
  UpdateCaretShape();
}

void ViewEngine::ClampCaretForNormalMode(TextView& text) {
  TextPos caret = text.GetCaret();
  TextPos clamped = text.ClampPosition(caret.line, caret.column, false, false);
  if (clamped != caret) text.SetCaret(clamped);
}

void ViewEngine::UpdateCaretShape() {
  bool searching = parser_.IsIncrementalSearchActive();
  switch (mode_) {
    case EngineMode::kInsert:
      caret_shape_ = replace_ ? CaretShape::kReplace : CaretShape::kThin;
      break;
    case EngineMode::kNormal:
      caret_shape_ = searching ? CaretShape::kThin : CaretShape::kBlock;
      break;
    case EngineMode::kVisual:
      caret_shape_ = visual_kind_ == VisualKind::kLinewise && !searching ? CaretShape::kBlock
                                                                         : CaretShape::kThin;
      break;
  }
}

std::u16string ViewEngine::StatusText() const {
  if (!state_.message.empty()) return state_.message.substr(0, kMessageCapacity);
  std::u16string_view pending = parser_.PendingText();
  if (pending.size() > kMessageCapacity) pending = pending.substr(0, kMessageCapacity);
  // Made after every key: one allocation for the whole text.
  std::u16string status;
  status.reserve(32 + pending.size());
  if (recording_) status += u"(REC) ";
  if (!pending.empty() && (pending[0] == u':' || pending[0] == u'/' || pending[0] == u'?')) {
    status += pending;
    return status.substr(0, kMessageCapacity);
  }
  status += u"-- ";
  switch (mode_) {
    case EngineMode::kNormal:
      status += u"NORMAL";
      break;
    case EngineMode::kInsert:
      status += replace_ ? u"REPLACE" : u"INSERT";
      break;
    case EngineMode::kVisual:
      status += visual_kind_ == VisualKind::kCharacterwise ? u"VISUAL"
                : visual_kind_ == VisualKind::kLinewise    ? u"VISUAL LINE"
                                                           : u"VISUAL BLOCK";
      break;
  }
  status += u" -- ";
  status += pending;
  if (status.size() > 510) status.resize(510);
  return status;
}

std::optional<std::u16string> ViewEngine::RegisterTextForCommandLine(char16_t name) {
  std::optional<RegisterContent> content = registers_.Read(name);
  if (!content) return std::nullopt;
  return std::move(content->text);
}

void ViewEngine::YankToDefaultRegister(std::u16string_view text) {
  registers_.Write(0, text, RegisterKind::kCharacterwise);
}

void ViewEngine::OptionChanged(AttachedView& view, OptionId option_id) {
  // The search highlights take up option changes by themselves after the key; `list` is shown
  // by the view.
  if (option_id == OptionId::kList)
    view.text.SetVisibleWhitespace(view.options.Bool(OptionId::kList));
}

}  // namespace tavik
