// Edits, undo replay and notification of a text buffer.
#include "platform/text_buffer.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace tavik::platform {

namespace {

// Splits at "\n"; a CR right before a break belongs to the break ("\r\n" is one break), any
// other CR stays in its line and must come back as it was. The pieces view `text`, so a
// multi-megabyte put is never copied on its way into the line store. Text read back from the
// buffer for undo and redo joins its lines with "\n" alone: there every CR is the line's own.
std::vector<std::u16string_view> SplitLines(std::u16string_view text,
                                            bool cr_lf_is_one_break = true) {
  const char16_t* units = text.data();
  size_t breaks = 0;
  for (size_t i = 0; i < text.size(); ++i) breaks += units[i] == u'\n';  // vector code
  std::vector<std::u16string_view> pieces;
  pieces.reserve(breaks + 1);
  size_t begin = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (units[i] != u'\n') continue;
    const size_t end = cr_lf_is_one_break && i > begin && units[i - 1] == u'\r' ? i - 1 : i;
    pieces.emplace_back(units + begin, end - begin);
    begin = i + 1;
  }
  pieces.emplace_back(units + begin, text.size() - begin);
  return pieces;
}

}  // namespace

TextBuffer::TextBuffer(std::u16string_view text) {
  const std::vector<std::u16string_view> lines = SplitLines(text);
  lines_.ClearForAppend();
  for (std::u16string_view line : lines) lines_.AppendLine(line);
}

std::u16string TextBuffer::Line(uint32_t line) const {
  std::u16string out;
  lines_.ReadLine(line, out);
  return out;
}

std::u16string TextBuffer::GetText(TextPos start, TextPos end) const {
  if (!Resolve(start) || !Resolve(end)) return {};
  if (end < start) std::swap(start, end);
  std::u16string out;
  std::u16string line;
  for (uint32_t l = start.line; l <= end.line; ++l) {
    // Lines taken whole are appended straight from the store; lines contributing nothing (the
    // end of a range that stops at column 0) are not read at all.
    const size_t length = lines_.LineLength(l);
    const size_t from = l == start.line ? start.column : 0;
    const size_t to = l == end.line ? end.column : length;
    if (from == 0 && to == length) {
      lines_.AppendLineTo(l, out);
    } else if (to > from) {
      lines_.ReadLine(l, line);
      out.append(line, from, to - from);
    }
    if (l != end.line) out.push_back(u'\n');
  }
  return out;
}

std::u16string TextBuffer::Text() const {
  return GetText({0, 0}, End());
}

// The undo text between two positions, read straight from the store: when every line is held
// one byte per unit, the bytes are copied as they are, with no UTF-16 copy in between.
CompactText TextBuffer::CompactRange(TextPos start, TextPos end) const {
  // The lines are looked up a batch at a time, so that a range of a million lines is walked
  // block by block rather than line by line.
  constexpr uint32_t kBatch = 256;
  std::array<std::string_view, kBatch> batch;
  size_t total = 0;
  for (uint32_t l = start.line; l <= end.line;) {
    const uint32_t want = std::min<uint32_t>(kBatch, end.line - l + 1);
    const uint32_t got = lines_.ReadNarrow(l, {batch.data(), want});
    if (got < want) return CompactText(GetText(start, end));
    for (uint32_t i = 0; i < got; ++i) total += batch[i].size() + 1;
    l += got;
  }
  std::string bytes;
  bytes.reserve(total);
  for (uint32_t l = start.line; l <= end.line;) {
    const uint32_t got =
        lines_.ReadNarrow(l, {batch.data(), std::min<uint32_t>(kBatch, end.line - l + 1)});
    for (uint32_t i = 0; i < got; ++i, ++l) {
      const std::string_view line = batch[i];
      const size_t from = l == start.line ? start.column : 0;
      const size_t to = l == end.line ? end.column : line.size();
      bytes.append(line.data() + from, to - from);
      if (l != end.line) bytes.push_back('\n');
    }
  }
  return CompactText::FromNarrowBytes(std::move(bytes));
}

TextPos TextBuffer::End() const {
  const uint32_t last = LineCount() - 1;
  return {last, LineLength(last)};
}

bool TextBuffer::Resolve(TextPos& pos) const {
  if (pos.line >= LineCount()) return false;
  const uint32_t length = LineLength(pos.line);
  if (pos.column == kEndOfLineColumn) pos.column = length;
  return pos.column <= length;
}

TextPos TextBuffer::Clamp(TextPos pos) const {
  if (pos.line >= LineCount()) return End();
  pos.column = std::min(pos.column, LineLength(pos.line));
  return pos;
}

std::optional<TextPos> TextBuffer::Replace(TextPos start, TextPos end, std::u16string_view text,
                                           bool typing) {
  if (read_only_ || !Resolve(start) || !Resolve(end)) return std::nullopt;
  if (end < start) std::swap(start, end);
  if (start == end && text.empty()) return start;
  UndoEdit edit;
  if (!history_.Replaying()) {
    edit.start = start;
    edit.removed_end = end;
    if (start != end) edit.removed = CompactRange(start, end);
  }
  history_.BeginEdit();
  const TextPos new_end = Apply(start, end, text);
  if (!history_.Replaying()) {
    edit.inserted_end = new_end;
    history_.Record(std::move(edit), typing);
  }
  return new_end;
}

// Whole lines taken out with their line breaks: from the start of a line to the start of a
// later one, or from the end of a line to the end of a later one. Neither the line before nor
// the line after changes, so the lines are only erased. False for every other edit.
bool TextBuffer::EraseWholeLines(TextPos start, TextPos end, std::u16string_view text) {
  if (!text.empty() || end.line == start.line) return false;
  if (start.column == 0 && end.column == 0) {
    lines_.EraseLines(start.line, end.line - start.line);
    return true;
  }
  if (start.column == lines_.LineLength(start.line) && end.column == lines_.LineLength(end.line)) {
    lines_.EraseLines(start.line + 1, end.line - start.line);
    return true;
  }
  return false;
}

TextPos TextBuffer::Apply(TextPos start, TextPos end, std::u16string_view text) {
  if (EraseWholeLines(start, end, text)) return Changed(start, end, start);
  std::u16string first;
  lines_.ReadLine(start.line, first);
  std::u16string last_line;
  if (end.line != start.line) lines_.ReadLine(end.line, last_line);
  const std::u16string_view end_line = end.line == start.line ? first : last_line;
  const std::u16string suffix(end_line.substr(end.column));
  first.resize(start.column);

  TextPos new_end;
  if (text.find(u'\n') == std::u16string_view::npos && start.line == end.line) {
    first.append(text);
    new_end = {start.line, static_cast<uint32_t>(first.size())};
    first.append(suffix);
    lines_.SetLine(start.line, first);
  } else {
    const std::vector<std::u16string_view> pieces = SplitLines(text, !history_.Replaying());
    const uint32_t new_extra = static_cast<uint32_t>(pieces.size() - 1);
    const uint32_t old_extra = end.line - start.line;
    first.append(pieces.front());
    std::u16string last(pieces.back());
    new_end = {start.line + new_extra, static_cast<uint32_t>(last.size())};
    if (new_extra == 0) {
      new_end.column = static_cast<uint32_t>(first.size());
      first.append(suffix);
    } else {
      last.append(suffix);
    }
    // The new lines after the first, in order.
    std::vector<std::u16string_view> rest(pieces.begin() + 1, pieces.end());
    if (!rest.empty()) rest.back() = last;
    lines_.SetLine(start.line, first);
    const uint32_t common = std::min(old_extra, new_extra);
    for (uint32_t i = 0; i < common; ++i) lines_.SetLine(start.line + 1 + i, rest[i]);
    if (old_extra > new_extra) {
      lines_.EraseLines(start.line + 1 + new_extra, old_extra - new_extra);
    } else if (new_extra > old_extra) {
      lines_.InsertLines(start.line + 1 + old_extra,
                         std::span<const std::u16string_view>(rest).subspan(common));
    }
  }
  return Changed(start, end, new_end);
}

TextPos TextBuffer::Changed(TextPos start, TextPos old_end, TextPos new_end) {
  ++version_;
  BufferChange change;
  change.first_line = start.line;
  change.old_line_count = old_end.line - start.line + 1;
  change.new_line_count = new_end.line - start.line + 1;
  change.start = start;
  change.old_end = old_end;
  change.new_end = new_end;
  markers_.OnChange(change);
  Notify(change);
  return new_end;
}

// Puts an undo text back. A narrow text of many lines goes into the store as bytes: only its
// first and last piece, which join the lines around them, are widened.
TextPos TextBuffer::ApplyUndoText(TextPos start, TextPos end, const CompactText& text) {
  constexpr size_t kNarrowPathUnits = 4096;
  if (text.wide() || text.size() < kNarrowPathUnits) return Apply(start, end, text.ToU16());
  const std::string_view bytes = text.NarrowBytes();
  std::vector<std::string_view> pieces;
  size_t begin = 0;
  for (size_t i = bytes.find('\n'); i != std::string_view::npos; i = bytes.find('\n', begin)) {
    pieces.push_back(bytes.substr(begin, i - begin));
    begin = i + 1;
  }
  pieces.push_back(bytes.substr(begin));
  if (pieces.size() < 3) return Apply(start, end, text.ToU16());
  // Replace the range by the first piece, a break and the last piece; then the middle lines go
  // in between as they are.
  const std::u16string outer = WidenNarrow(pieces.front()) + u'\n' + WidenNarrow(pieces.back());
  const TextPos outer_end = Apply(start, end, outer);
  const std::span<const std::string_view> middle(pieces.data() + 1, pieces.size() - 2);
  lines_.InsertNarrowLines(start.line + 1, middle);
  // Told as the insertion of the middle lines' text at the start of the line after the first.
  const uint32_t below = start.line + 1;
  Changed({below, 0}, {below, 0}, {below + static_cast<uint32_t>(middle.size()), 0});
  return {outer_end.line + static_cast<uint32_t>(middle.size()), outer_end.column};
}

TextBuffer::ReplayResult TextBuffer::Undo() {
  if (read_only_) return {};
  UndoUnit* unit = history_.TakeNewestForUndo();
  if (unit == nullptr) return {};
  ReplayResult result{true, std::nullopt};
  history_.SetReplaying(true);
  for (auto it = unit->edits.rbegin(); it != unit->edits.rend(); ++it) {
    if (it->start != it->inserted_end) it->inserted = CompactRange(it->start, it->inserted_end);
    ApplyUndoText(it->start, it->inserted_end, it->removed);
    it->removed = CompactText();
  }
  history_.SetReplaying(false);
  if (!unit->edits.empty()) result.where = unit->edits.front().start;
  return result;
}

TextBuffer::ReplayResult TextBuffer::Redo() {
  std::optional<TextPos> where;
  ReplayResult result{RedoUnit(where), std::nullopt};
  if (where) result.where = Clamp(*where);
  return result;
}

// The first redone edit's start is where the change begins; later edits carry it along, so that
// it names the same place in the text they leave.
bool TextBuffer::RedoUnit(std::optional<TextPos>& where) {
  if (read_only_) return false;
  UndoUnit* unit = history_.TakeNextForRedo();
  if (unit == nullptr) return false;
  history_.SetReplaying(true);
  for (UndoEdit& edit : unit->edits) {
    if (edit.start != edit.removed_end) edit.removed = CompactRange(edit.start, edit.removed_end);
    ApplyUndoText(edit.start, edit.removed_end, edit.inserted);
    edit.inserted = CompactText();
    if (!where) {
      where = edit.start;
    } else {
      BufferChange change;
      change.start = edit.start;
      change.old_end = edit.removed_end;
      change.new_end = edit.inserted_end;
      where = MovePastChange(*where, change);
    }
  }
  history_.SetReplaying(false);
  return true;
}

bool TextBuffer::RedoThrough(uint64_t unit_id, std::optional<TextPos>* where) {
  const std::optional<size_t> index = history_.RedoIndexOf(unit_id);
  if (!index || read_only_) return false;
  std::optional<TextPos> first;
  for (size_t i = 0; i <= *index; ++i) RedoUnit(first);
  if (first && where != nullptr) *where = Clamp(*first);
  return true;
}

uint64_t TextBuffer::AddListener(ChangeListener listener) {
  const uint64_t id = next_listener_id_++;
  listeners_.push_back({id, std::make_shared<ChangeListener>(std::move(listener))});
  return id;
}

void TextBuffer::RemoveListener(uint64_t id) {
  for (auto it = listeners_.begin(); it != listeners_.end(); ++it) {
    if (it->id != id) continue;
    if (notifying_ > 0) {
      it->fn = nullptr;  // erased once the notification is over
    } else {
      listeners_.erase(it);
    }
    return;
  }
}

void TextBuffer::Notify(const BufferChange& change) {
  ++notifying_;
  // Listeners may add or remove listeners: walk by index over the ones present at the start.
  const size_t count = listeners_.size();
  for (size_t i = 0; i < count && i < listeners_.size(); ++i) {
    // Held by a shared pointer: a listener that removes itself keeps running to its end.
    if (std::shared_ptr<ChangeListener> fn = listeners_[i].fn) (*fn)(change);
  }
  if (--notifying_ == 0) {
    std::erase_if(listeners_, [](const Listener& l) { return !l.fn; });
  }
}

}  // namespace tavik::platform
