// The start and end of an insertion, and replay of its record.
#include "engine/insert/insert_mode.h"

#include <algorithm>

#include "common/char_class.h"
#include "engine/actions/put_text.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik {
namespace {

// Opens the line of an "o" or "O" insertion. Only the first "O" opens above; its repetitions
// open below the line just typed.
void OpenLineFor(TextView& text, OpenLine open, bool first_time) {
  if (open == OpenLine::kNone) return;
  uint32_t line = text.GetCaret().line;
  if (open == OpenLine::kAbove && first_time) {
    if (line == 0) {
      text.InsertText({0, 0}, u"\n");
      text.SetCaret({0, 0});
    } else {
      // Opening below the line above lets the host indent the new line.
      text.OpenLineBelow({line - 1, text.LineLength(line - 1)});
    }
    return;
  }
  text.OpenLineBelow(text.EndOfLine(line));
}

// Offset of `pos` in the lines first..last joined with "\n".
size_t OffsetIn(const TextView& text, uint32_t first, TextPos pos) {
  size_t offset = 0;
  for (uint32_t line = first; line < pos.line; ++line) offset += text.LineLength(line) + 1;
  return offset + std::min(pos.column, text.LineLength(pos.line));
}

// The position of `offset` in `window`, lines joined with "\n" from `first_line` on.
TextPos PosAtOffset(std::u16string_view window, uint32_t first_line, size_t offset) {
  TextPos pos{first_line, 0};
  for (size_t i = 0; i < offset && i < window.size(); ++i) {
    if (window[i] == u'\n') {
      ++pos.line;
      pos.column = 0;
    } else {
      ++pos.column;
    }
  }
  return pos;
}

std::u16string JoinLines(const TextView& text, uint32_t first, uint32_t last) {
  std::u16string out;
  for (uint32_t line = first; line <= last && line < text.LineCount(); ++line) {
    if (line > first) out += u'\n';
    out += text.LineText(line);
  }
  return out;
}

// After a block insertion was copied to the block: "I" and "A" end at the block's corner,
// "c" after the text typed on the first line. Returns whether the caret is final.
bool PlaceCaretAfterBlock(TextView& text, const BlockInsertDescription& block,
                          TextPos first_line_end) {
  if (BufferMarks* marks = text.Marks()) {
    TextPos caret = text.GetCaret();
    marks->Set(u']', text.ClampPosition(caret.line, caret.column, true, false));
  }
  if (block.caret_to_corner) {
    text.SetCaret(text.ClampPosition(block.corner.line, block.corner.column, false, false));
    return true;
  }
  text.SetCaret(text.ClampPosition(first_line_end.line, first_line_end.column, true, false));
  return false;
}

}  // namespace

void EnterInsert(ActionContext& context, OpenLine open, bool replace) {
  uint32_t count = std::max<uint32_t>(1, context.remaining_count);
  context.remaining_count = 0;
  if (context.replay) {
    TextView& text = context.text;
    if (BufferMarks* marks = text.Marks()) marks->Set(u'[', text.GetCaret());
    InsertMode& insert = context.engine.Insert();
    insert.Record().open_line = open;
    insert.Replay(context.engine, text, count, true);
    TextPos caret = text.GetCaret();
    if (BufferMarks* marks = text.Marks()) {
      marks->Set(u'^', caret);
      marks->Set(u']', caret);
    }
    const ModeRequest& request = context.mode_request;
    if (request.block_insert) {
      insert.ReplicateBlock(context.engine, text, request.block);
      if (PlaceCaretAfterBlock(text, request.block, caret)) {
        context.caret_placed = true;
        return;
      }
    }
    if (caret.column > 0) text.SetCaret({caret.line, caret.column - 1});
    return;
  }
  context.mode_request.insert = true;
  context.mode_request.replace = replace;
  context.mode_request.insert_repeat = count - 1;
  context.mode_request.open_line = static_cast<uint8_t>(open);
  context.caret_placed = true;
}

void InsertMode::Start(TextView& text, OpenLine open) {
  record_.Reset(open);
  watch_.active = false;
  settled_.valid = false;
  first_key_ = true;
  register_pending_ = false;
  literal_.Cancel();
  completion_active_ = false;
  candidates_.clear();
  OpenLineFor(text, open, true);
}

void InsertMode::Replay(ViewEngine& engine, TextView& text, uint32_t times, bool as_new) {
  const std::vector<InsertOp>& ops = record_.ops;
  // A count as large as the text it would build is refused, as a put of that size is.
  if (static_cast<uint64_t>(ops.size()) * times > kMaxPutUnits) {
    engine.SetMessage(kPutTooLongMessage);
    return;
  }
  // Typed characters alone go in as one text: inserted copy after copy into the same line, each
  // insertion would move the growing rest of the line again.
  const bool chars_only = std::ranges::all_of(
      ops, [](const InsertOp& op) { return op.type == InsertOpType::kInsertChar; });
  if (chars_only && record_.open_line == OpenLine::kNone && times > 1 && text.IsAttached()) {
    run_.clear();
    run_.reserve(ops.size() * times);
    for (uint32_t i = 0; i < times; ++i) {
      for (const InsertOp& op : ops) run_ += op.ch;
    }
    record_.replaying = true;
    const TextPos caret = text.GetCaret();
    text.InsertText(caret, run_);
    text.SetCaret({caret.line, caret.column + static_cast<uint32_t>(run_.size())});
    record_.replaying = false;
    return;
  }
  record_.replaying = true;
  for (uint32_t i = 0; i < times && text.IsAttached(); ++i) {
    OpenLineFor(text, record_.open_line, as_new && i == 0);
    PerformRecord(engine, text);
  }
  record_.replaying = false;
}

void InsertMode::PerformRecord(ViewEngine& engine, TextView& text) {
  const std::vector<InsertOp>& ops = record_.ops;
  for (size_t i = 0; i < ops.size() && text.IsAttached();) {
    size_t end = i;
    while (end < ops.size() && ops[end].type == InsertOpType::kInsertChar) ++end;
    if (end - i > 1) {
      run_.resize(end - i);
      for (size_t k = 0; i < end; ++i, ++k) run_[k] = ops[i].ch;
      TextPos caret = text.GetCaret();
      text.InsertText(caret, run_);
      text.SetCaret({caret.line, caret.column + static_cast<uint32_t>(run_.size())});
      continue;
    }
    PerformInsertOp(engine, text, record_, ops[i]);
    ++i;
  }
}

bool InsertMode::Leave(ViewEngine& engine, TextView& text, uint32_t repeat,
                       const BlockInsertDescription* block) {
  SettleHostKey(text);
  completion_active_ = false;
  register_pending_ = false;
  literal_.Cancel();
  if (repeat > 0) Replay(engine, text, repeat, false);
  if (block == nullptr) return false;
  TextPos first_line_end = text.GetCaret();
  ReplicateBlock(engine, text, *block);
  return PlaceCaretAfterBlock(text, *block, first_line_end);
}

// Notes the text around the caret before the host types a key, to see afterwards what it did.
void InsertMode::WatchHostKey(TextView& text, bool movement, InsertOpType movement_op) {
  watch_.active = true;
  watch_.movement = movement;
  watch_.movement_op = movement_op;
  watch_.caret = text.GetCaret();
  watch_.line_count = text.LineCount();
  if (movement) return;
  watch_.first_line = watch_.caret.line > 0 ? watch_.caret.line - 1 : 0;
  watch_.last_line = std::min(watch_.caret.line + 1, watch_.line_count - 1);
  // The window the last settled key left is still the text when nothing changed since.
  if (settled_.valid && settled_.changes == text.ChangeCount() &&
      settled_.first_line == watch_.first_line && settled_.last_line == watch_.last_line) {
    watch_.window = std::move(settled_.window);
  } else {
    watch_.window = JoinLines(text, watch_.first_line, watch_.last_line);
  }
  settled_.valid = false;
}

// Turns what the host did for the last passed key into operations that make the same text:
// the characters it removed before and after the caret, then the ones it put in.
void InsertMode::SettleHostKey(TextView& text) {
  if (!watch_.active) return;
  watch_.active = false;
  TextPos caret = text.GetCaret();
  if (watch_.movement) {
    if (caret != watch_.caret) {
      record_.Append({watch_.movement_op, 0});
      insert_start_ = caret;  // CTRL-U now stops where the caret went
    }
    NoteCaretLeft(text);
    return;
  }
  int64_t grown = static_cast<int64_t>(text.LineCount()) - watch_.line_count;
  int64_t last = static_cast<int64_t>(watch_.last_line) + grown;
  std::u16string after;
  if (last >= static_cast<int64_t>(watch_.first_line)) {
    after = JoinLines(text, watch_.first_line, static_cast<uint32_t>(last));
  }
  const std::u16string& before = watch_.window;
  // The old caret offset comes from the saved window, not from the changed buffer.
  size_t old_caret = 0;
  {
    uint32_t line = watch_.first_line;
    size_t i = 0;
    while (line < watch_.caret.line && i < before.size()) {
      if (before[i] == u'\n') ++line;
      ++i;
    }
    old_caret = std::min(before.size(), i + watch_.caret.column);
  }
  // Usually the host changed nothing before the caret nor after it: one block compare each
  // settles that, and the character loops only run where the texts differ.
  size_t prefix = 0;
  size_t max_prefix = std::min({before.size(), after.size(), old_caret});
  if (std::equal(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(max_prefix),
                 after.begin())) {
    prefix = max_prefix;
  }
  while (prefix < max_prefix && before[prefix] == after[prefix]) ++prefix;
  size_t suffix = 0;
  size_t max_suffix = std::min(before.size() - old_caret, after.size() - prefix);
  if (std::equal(before.end() - static_cast<std::ptrdiff_t>(max_suffix), before.end(),
                 after.end() - static_cast<std::ptrdiff_t>(max_suffix))) {
    suffix = max_suffix;
  }
  while (suffix < max_suffix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  // Mark "." goes where the host changed the text, as where the engine's own typing would put it.
  if (prefix < old_caret || before.size() - suffix > old_caret || after.size() - suffix > prefix) {
    text.SetDotMark(PosAtOffset(after, watch_.first_line, prefix));
  }
  for (size_t i = prefix; i < old_caret; ++i) record_.Append({InsertOpType::kBackspace, 0});
  for (size_t i = old_caret; i < before.size() - suffix; ++i) {
    record_.Append({InsertOpType::kDelete, 0});
  }
  for (size_t i = prefix; i < after.size() - suffix; ++i) {
    record_.Append(after[i] == u'\n' ? InsertOp{InsertOpType::kNewLine, 0}
                                     : InsertOp{InsertOpType::kInsertChar, after[i]});
  }
  // A host that puts the caret inside what it typed (a closing bracket) moved it back.
  size_t replayed_caret = after.size() - suffix;
  // Typing leaves the caret inside or after what it put in; anywhere else something else moved
  // it (a host command, a click since), and CTRL-U then stops where it went.
  bool typed_here = false;
  if (caret.line >= watch_.first_line && static_cast<int64_t>(caret.line) <= last) {
    size_t new_caret = OffsetIn(text, watch_.first_line, caret);
    typed_here = new_caret >= prefix && new_caret <= replayed_caret;
    for (size_t i = new_caret; i < replayed_caret; ++i) record_.Append({InsertOpType::kLeft, 0});
    for (size_t i = replayed_caret; i < new_caret; ++i) record_.Append({InsertOpType::kRight, 0});
  }
  if (!typed_here) insert_start_ = caret;
  NoteCaretLeft(text);
  if (last >= static_cast<int64_t>(watch_.first_line)) {
    settled_ = {true, text.ChangeCount(), watch_.first_line, static_cast<uint32_t>(last),
                std::move(after)};
  }
}

bool InsertMode::TakesTypedText(const ViewEngine& engine, KeyCode key) const {
  if (!key.IsChar() || key.Has(key_mod::kCtrl) || key.Has(key_mod::kAlt)) return false;
  if (engine.ReplaceFlag() || register_pending_ || completion_active_ || literal_.Active())
    return false;
  const auto c = static_cast<char16_t>(key.code);
  if (c == ch::kTab) return !key.Has(key_mod::kShift);
  return c >= 0x20 && c != 0x7F;
}

void InsertMode::TypeText(TextView& text, std::u16string_view chars) {
  if (chars.empty()) return;
  SettleHostKey(text);
  TakeInsertStart(text);
  TextPos caret = text.GetCaret();
  auto count = static_cast<uint32_t>(chars.size());
  text.InsertText(caret, chars);
  text.SetDotMark({caret.line, caret.column + count - 1});  // as typing the last one alone
  text.SetCaret({caret.line, caret.column + count});
  for (char16_t c : chars) record_.Append({InsertOpType::kInsertChar, c});
  NoteCaretLeft(text);
}

void InsertMode::TakeInsertStart(TextView& text) {
  const TextPos caret = text.GetCaret();
  if (first_key_ || caret != caret_left_) insert_start_ = caret;
  first_key_ = false;
}

void InsertMode::NoteCaretLeft(TextView& text) {
  caret_left_ = text.GetCaret();
  if (caret_left_ < insert_start_) insert_start_ = caret_left_;
}

// Line breaks become the buffer's own; everything else goes in unchanged.
void InsertMode::PasteText(TextView& text, std::u16string_view pasted) {
  SettleHostKey(text);
  completion_active_ = false;
  register_pending_ = false;
  literal_.Cancel();
  TakeInsertStart(text);
  const TextPos caret = text.GetCaret();
  std::u16string body;
  body.reserve(pasted.size());
  for (size_t i = 0; i < pasted.size(); ++i) {
    if (pasted[i] == u'\r' && i + 1 < pasted.size() && pasted[i + 1] == u'\n') continue;
    body += pasted[i] == u'\r' ? u'\n' : pasted[i];
  }
  if (body.empty()) return;
  text.InsertText(caret, body);
  const size_t last_break = body.rfind(u'\n');
  const auto breaks = static_cast<uint32_t>(std::count(body.begin(), body.end(), u'\n'));
  const TextPos end =
      last_break == std::u16string::npos
          ? TextPos{caret.line, caret.column + static_cast<uint32_t>(body.size())}
          : TextPos{caret.line + breaks, static_cast<uint32_t>(body.size() - last_break - 1)};
  text.SetCaret(end);
  if (end.column > 0) text.SetDotMark({end.line, end.column - 1});
  for (char16_t c : body) {
    record_.Append(c == u'\n' ? InsertOp{InsertOpType::kNewLine, 0}
                              : InsertOp{InsertOpType::kInsertChar, c});
  }
  NoteCaretLeft(text);  // a paste is typing of this insert: CTRL-U may take it back
}

}  // namespace tavik
