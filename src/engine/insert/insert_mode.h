// Insert and replace mode: the insert state, the insert-mode key step, the record of the
// insertion and its replay for counts and ".". Keys the user typed directly go to the host, which
// types them with its own aids; the record then takes what the host did from the text around the
// caret, so that a replay makes the same text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/key_code.h"
#include "common/text_pos.h"
#include "engine/actions/action_context.h"
#include "engine/insert/insert_literal.h"
#include "engine/insert/insert_record.h"

namespace tavik {

class TextView;
class ViewEngine;

// Called by every insert-entering action: asks the executor for insert mode, or replays the
// last insertion when the command is a repeat by ".".
void EnterInsert(ActionContext& context, OpenLine open, bool replace);

struct InsertKeyResult {
  bool pass_to_host = false;  // the host types the key itself
  bool beep = false;
  // A key that ended a character code typed after CTRL-V: it is handled next, as usual.
  std::optional<KeyCode> again;
};

class InsertMode {
 public:
  // Insert mode starts: the record is reset and the line opened.
  void Start(TextView& text, OpenLine open);
  // One key in insert mode (never Escape or CTRL-C). `host_may_type` says the key is the one the
  // host delivered, alone in its batch, so the host may type it.
  InsertKeyResult HandleKey(ViewEngine& engine, TextView& text, KeyCode key, bool host_may_type);
  // Whether `key` is plain text the engine would type at the caret as it stands (not in replace
  // mode, no register or completion pending), so that a run of such keys may go in at once.
  bool TakesTypedText(const ViewEngine& engine, KeyCode key) const;
  // Types the characters of such keys as one edit; the record gets one operation per character.
  void TypeText(TextView& text, std::u16string_view chars);
  // CTRL-V was typed: the keys that follow are taken as they are, Escape and CTRL-C included,
  // and no mapping applies to them.
  bool TakesLiteral() const { return literal_.Active(); }
  // Pasted text goes in at the caret as it is, as one edit: no indent is added and no key of it
  // is a command. Line breaks may be CR, LF or CR LF.
  void PasteText(TextView& text, std::u16string_view pasted);
  // Escape: takes in the host's last key, repeats the insertion `repeat` more times and copies
  // it to the other lines of `block` when one is given. Returns whether the caret was placed
  // for normal mode already (a block insertion ends at the block's corner).
  bool Leave(ViewEngine& engine, TextView& text, uint32_t repeat,
             const BlockInsertDescription* block);
  // Performs the record `times` times; each opens its line first when the insertion did.
  void Replay(ViewEngine& engine, TextView& text, uint32_t times, bool as_new);
  // Replays the record on every line of the block after its first, as one compound edit
  // (block_replication.cpp). The caret ends after the text on the last line done.
  void ReplicateBlock(ViewEngine& engine, TextView& text, const BlockInsertDescription& block);

  const InsertRecord& Record() const { return record_; }
  InsertRecord& Record() { return record_; }

 private:
  struct HostKeyWatch {
    bool active = false;
    bool movement = false;
    InsertOpType movement_op = InsertOpType::kUp;
    TextPos caret;
    uint32_t line_count = 0;
    uint32_t first_line = 0;
    uint32_t last_line = 0;
    std::u16string window;  // lines first..last joined with "\n"
  };

  // The key step (insert_keys.cpp): a CTRL-V code or register name being typed, a special
  // key, or a character, the control characters each with a handler of the table.
  struct KeyStep;
  struct ControlKey {
    char16_t key;
    void (InsertMode::*handle)(KeyStep& step, char16_t key);
  };
  static const ControlKey kControlKeys[];
  InsertKeyResult HandleKeyStep(ViewEngine& engine, TextView& text, KeyCode key,
                                bool host_may_type);
  void Perform(KeyStep& step, InsertOpType type, char16_t c = 0);
  void TypeOrPass(KeyStep& step, InsertOpType type, char16_t c);
  void LiteralKey(KeyStep& step, KeyCode key);
  void RegisterNameKey(KeyStep& step, KeyCode key);
  void SpecialKey(KeyStep& step, KeyCode key);
  void CharKey(KeyStep& step, KeyCode key);
  void KeyRegister(KeyStep& step, char16_t key);
  void KeyLiteral(KeyStep& step, char16_t key);
  void KeyReturn(KeyStep& step, char16_t key);
  void KeyBackspace(KeyStep& step, char16_t key);
  void KeyComplete(KeyStep& step, char16_t key);
  void KeyHostComplete(KeyStep& step, char16_t key);
  void KeyIndent(KeyStep& step, char16_t key);
  void KeyUnindent(KeyStep& step, char16_t key);
  void KeyDeleteToStart(KeyStep& step, char16_t key);
  void KeyDeleteWord(KeyStep& step, char16_t key);
  void KeyCopyAdjacent(KeyStep& step, char16_t key);
  // Before a key: the first key fixes the insert start, and so does a caret that something
  // other than this insert's own keys moved (a click, a host command).
  void TakeInsertStart(TextView& text);
  // After a key: the caret as the key left it; a caret that went back before the insert start
  // (Backspace) takes the start along.
  void NoteCaretLeft(TextView& text);
  void WatchHostKey(TextView& text, bool movement, InsertOpType movement_op);
  void SettleHostKey(TextView& text);
  bool HandleCompletionKey(ViewEngine& engine, TextView& text, KeyCode key);
  void StartCompletion(TextView& text, bool forward);
  void ReplaceWordBefore(ViewEngine& engine, TextView& text, std::u16string_view word);
  // Performs every operation of the record once at the caret; runs of typed characters go in
  // as one edit each, so a replay costs time in proportion to the text it makes.
  void PerformRecord(ViewEngine& engine, TextView& text);

  // The window as the last settled key left it, so that typing on a long line reads it once.
  struct SettledWindow {
    bool valid = false;
    uint64_t changes = 0;  // the view's change count when it was taken
    uint32_t first_line = 0;
    uint32_t last_line = 0;
    std::u16string window;
  };

  InsertRecord record_;
  HostKeyWatch watch_;
  SettledWindow settled_;
  bool first_key_ = true;
  bool register_pending_ = false;
  LiteralInput literal_;
  // Where CTRL-U deletes back to: the caret at the first key, or where the caret last went by
  // other means than typing in this insert.
  TextPos insert_start_;
  TextPos caret_left_;  // where the last key of this insert left the caret
  bool completion_active_ = false;
  std::vector<std::u16string> candidates_;
  size_t candidate_index_ = 0;
  std::u16string run_;  // reused by PerformRecord
};

// The engine's own edits of insert mode, shared by typing and replay (insert_edits.cpp).
// Each performs one operation at the caret and appends it to the record.
void PerformInsertOp(ViewEngine& engine, TextView& text, InsertRecord& record, InsertOp op);

// Word completion candidates: words starting with `prefix` from 100 lines above to 30 below.
std::vector<std::u16string> CompletionCandidates(const TextView& text, TextPos caret,
                                                 std::u16string_view prefix, size_t* start_forward,
                                                 size_t* start_backward);

}  // namespace tavik
