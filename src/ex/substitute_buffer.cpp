// Held-back edits of a substitution. Lines pass from the view into the current line, from there
// into the finished lines, and go back to the view in runs: when enough have gathered, before a
// question shows the text to the user, and at the end.
#include "ex/substitute_buffer.h"

#include <algorithm>
#include <cassert>
#include <optional>

#include "common/narrow_text.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/text_view.h"

namespace tavik {
namespace {

// Runs written at once: bounded so that the held-back text stays a few megabytes.
constexpr size_t kFlushLines = 65536;
constexpr size_t kFlushUnits = size_t(4) << 20;
// Lines without a match up to this many are carried along; a longer gap is a reason to write.
constexpr uint32_t kCarryLines = 64;

// Lines read from the view at a time when carrying unchanged lines along.
constexpr uint32_t kCarryBatch = 64;

constexpr std::u16string_view kMarkNames = u"abcdefghijklmnopqrstuvwxyz^[].<>";

// Appends the text one byte per unit when all its units are below 256; false (and `out` as it
// was) otherwise. The copy goes through plain pointers: a store through the string's own chars
// might alias the string, which keeps the compiler from turning the loop into vector code.
bool AppendNarrowed(std::string& out, std::u16string_view text) {
  const size_t old = out.size();
  out.resize(old + text.size());
  char* to = out.data() + old;
  const char16_t* from = text.data();
  char16_t all_bits = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    all_bits |= from[i];
    to[i] = static_cast<char>(from[i]);
  }
  if (all_bits < 256) return true;
  out.resize(old);
  return false;
}

// Where a mark goes when the text from `start` to `old_end` is replaced by text ending at
// `new_end`: the rule every edit of the view applies to marks.
bool MoveMark(TextPos& mark, TextPos start, TextPos old_end, TextPos new_end) {
  if (mark <= start) return true;
  if (mark < old_end) return false;
  int64_t line = int64_t(mark.line) + new_end.line - old_end.line;
  if (mark.line == old_end.line) {
    int64_t column = int64_t(mark.column) + new_end.column - old_end.column;
    mark.column = static_cast<uint32_t>(std::max<int64_t>(column, 0));
  }
  mark.line = static_cast<uint32_t>(std::max<int64_t>(line, 0));
  return true;
}

}  // namespace

SubstituteBuffer::SubstituteBuffer(TextView& view, uint32_t first_line)
    : view_(view), view_lines_(view.LineCount()), base_(first_line), next_view_(first_line + 1) {
  LoadCurrent(first_line);
}

uint32_t SubstituteBuffer::LineCount() const {
  return view_lines_ - std::min(next_view_, view_lines_) + CurrentLine() + 1;
}

std::u16string_view SubstituteBuffer::DoneLine(size_t index) const {
  // The matcher never looks above the current line, so this is rare: the finished lines turn to
  // UTF-16 until they are written.
  WidenDone();
  size_t begin = index == 0 ? 0 : done_ends_[index - 1];
  return std::u16string_view(done_text_).substr(begin, done_ends_[index] - begin);
}

size_t SubstituteBuffer::DoneLength(size_t index) const {
  return done_ends_[index] - (index == 0 ? 0 : done_ends_[index - 1]);
}

void SubstituteBuffer::WidenDone() const {
  if (done_wide_) return;
  AssignWidened(done_text_, done_bytes_);
  done_bytes_.clear();
  done_wide_ = true;
}

uint32_t SubstituteBuffer::LineLength(uint32_t line) const {
  const uint32_t current = CurrentLine();
  if (line == current) return CurrentLength();
  if (line >= base_ && line < current) return static_cast<uint32_t>(DoneLength(line - base_));
  const uint32_t view_line = line < base_ ? line : ViewLineOf(line);
  return view_line < view_lines_ ? view_.LineLength(view_line) : 0;
}

uint32_t SubstituteBuffer::NarrowLines(uint32_t first, std::span<std::string_view> out) const {
  const uint32_t count = LineCount();
  if (first <= CurrentLine() || first >= count) return 0;
  return view_.NarrowLines(ViewLineOf(first),
                           out.first(std::min<size_t>(out.size(), count - first)));
}

std::u16string_view SubstituteBuffer::LineText(uint32_t line) const {
  const uint32_t current = CurrentLine();
  if (line == current) return std::u16string_view(work_).substr(work_start_);
  if (line >= base_ && line < current) return DoneLine(line - base_);
  const uint32_t view_line = line < base_ ? line : ViewLineOf(line);
  if (view_line >= view_lines_) return {};
  if (view_line + 1 == view_lines_) {
    // Every search looks at the last line to know where the buffer ends: keep its copy until
    // the view changes.
    if (!last_copy_valid_) last_copy_.assign(view_.LineText(view_line));
    last_copy_valid_ = true;
    return last_copy_;
  }
  for (size_t i = 0; i < copies_used_; ++i) {
    if (copy_lines_[i] == view_line) return copies_[i];
  }
  if (copies_used_ == copies_.size()) {
    copies_.emplace_back();
    copy_lines_.push_back(0);
  }
  copies_[copies_used_].assign(view_.LineText(view_line));
  copy_lines_[copies_used_] = view_line;
  return copies_[copies_used_++];
}

std::u16string_view SubstituteBuffer::Ahead::LineText(uint32_t line) const {
  // The last line comes from the buffer's kept copy: every search reads it, and reading it
  // through the view would push the line being scanned out of the view's one-line cache.
  if (line <= buffer_.CurrentLine() || line + 1 >= LineCount()) return buffer_.LineText(line);
  return buffer_.view_.LineText(buffer_.ViewLineOf(line));
}

uint32_t SubstituteBuffer::Ahead::NarrowLines(uint32_t first,
                                              std::span<std::string_view> out) const {
  return buffer_.NarrowLines(first, out);
}

void SubstituteBuffer::PushDone(std::u16string_view first, std::u16string_view second) {
  if (!done_wide_) {
    const size_t old = done_bytes_.size();
    if (AppendNarrowed(done_bytes_, first) && AppendNarrowed(done_bytes_, second)) {
      done_ends_.push_back(done_bytes_.size());
      return;
    }
    done_bytes_.resize(old);
  }
  WidenDone();
  done_text_.append(first);
  done_text_.append(second);
  done_ends_.push_back(done_text_.size());
}

void SubstituteBuffer::CarryViewLines(uint32_t view_end) {
  narrow_batch_.resize(kCarryBatch);
  while (next_view_ < view_end) {
    const uint32_t want = std::min(view_end - next_view_, kCarryBatch);
    const uint32_t got =
        done_wide_ ? 0 : view_.NarrowLines(next_view_, {narrow_batch_.data(), want});
    for (uint32_t i = 0; i < got; ++i) {
      done_bytes_.append(narrow_batch_[i]);
      done_ends_.push_back(done_bytes_.size());
    }
    next_view_ += got;
    if (got < want) PushDone(view_.LineText(next_view_++));
  }
}

void SubstituteBuffer::LoadCurrent(uint32_t view_line) {
  work_start_ = 0;
  // A copy already handed to the matcher is the line itself: take it over instead of reading
  // the line again.
  for (size_t i = 0; i < copies_used_; ++i) {
    if (copy_lines_[i] != view_line) continue;
    work_.swap(copies_[i]);
    copy_lines_[i] = UINT32_MAX;
    return;
  }
  std::string_view narrow;
  if (view_.NarrowLines(view_line, {&narrow, 1}) == 1) {
    AssignWidened(work_, narrow);
    return;
  }
  work_.assign(view_.LineText(view_line));
}

void SubstituteBuffer::StartChanges() {
  if (changed_) return;
  changed_ = true;
  tracked_.clear();
  BufferMarks* marks = view_.Marks();
  if (marks == nullptr) return;
  for (char16_t name : kMarkNames) {
    std::optional<TextPos> pos = marks->Get(name);
    if (pos && pos->line >= base_) tracked_.push_back({name, pos->line, *pos, true});
  }
}

TextPos SubstituteBuffer::Replace(TextPos start, TextPos end, std::u16string_view text) {
  const uint32_t current = CurrentLine();
  const uint32_t line_count = LineCount();
  assert(start.line == current && start <= end);
  // Copies of view lines stay: the view has not changed, and the next search reads them again.
  StartChanges();
  start.column = std::min(start.column, CurrentLength());
  bool tail_in_scratch = false;
  if (end.line > current) {
    const uint32_t view_line = ViewLineOf(end.line);
    std::u16string_view line = view_.LineText(view_line);
    scratch_.assign(line.substr(std::min<size_t>(end.column, line.size())));
    tail_in_scratch = true;
    next_view_ = view_line + 1;
  } else {
    end.column = std::min(std::max(end.column, start.column), CurrentLength());
  }

  TextPos new_end;
  const size_t first_break = text.find(u'\n');
  if (first_break == std::u16string_view::npos) {
    if (!tail_in_scratch) {
      const size_t at = work_start_ + start.column;
      if (end.column - start.column == text.size()) {
        // As long as what it replaces: written over it, nothing moves.
        std::copy(text.begin(), text.end(), work_.begin() + static_cast<ptrdiff_t>(at));
      } else {
        work_.replace(at, end.column - start.column, text);
      }
    } else {
      work_.resize(work_start_ + start.column);
      work_.append(text);
      work_.append(scratch_);
    }
    new_end = {current, start.column + static_cast<uint32_t>(text.size())};
  } else {
    PushDone(std::u16string_view(work_).substr(work_start_, start.column),
             text.substr(0, first_break));
    size_t from = first_break + 1;
    for (size_t next; (next = text.find(u'\n', from)) != std::u16string_view::npos;
         from = next + 1) {
      PushDone(text.substr(from, next - from));
    }
    const std::u16string_view last = text.substr(from);
    if (tail_in_scratch) {
      work_.assign(last);
      work_.append(scratch_);
      work_start_ = 0;
    } else {
      // The rest of the line stays where it is; the last piece goes just before it when there
      // is room, so splitting a long line again and again copies nothing.
      const size_t tail_start = work_start_ + end.column;
      if (tail_start >= last.size()) {
        std::copy(last.begin(), last.end(), work_.begin() + (tail_start - last.size()));
        work_start_ = tail_start - last.size();
      } else {
        scratch_.assign(last);
        scratch_.append(work_, tail_start);
        work_.swap(scratch_);
        work_start_ = 0;
      }
    }
    new_end = {CurrentLine(), static_cast<uint32_t>(last.size())};
  }
  for (TrackedMark& mark : tracked_) {
    if (mark.alive) mark.alive = MoveMark(mark.pos, start, end, new_end);
  }
  if (LineCount() != line_count) ++generation_;
  FlushIfLarge();
  return new_end;
}

void SubstituteBuffer::MoveTo(uint32_t line) {
  const uint32_t current = CurrentLine();
  assert(line > current && line < LineCount());
  if (changed_ && line - current <= kCarryLines) {
    const uint32_t target = ViewLineOf(line);
    PushDone(LineText(current));
    CarryViewLines(target);
    LoadCurrent(target);
    next_view_ = target + 1;
    ForgetCopies();
    FlushIfLarge();
    return;
  }
  if (changed_) Flush();
  // Nothing is held back now: the buffer's lines are the view's.
  base_ = line;
  next_view_ = line + 1;
  LoadCurrent(line);
  ForgetCopies();
}

void SubstituteBuffer::FlushIfLarge() {
  const size_t units = done_ends_.empty() ? 0 : done_ends_.back();
  if (done_ends_.size() >= kFlushLines || units >= kFlushUnits) Flush();
}

bool SubstituteBuffer::Flush() {
  ForgetCopies();
  if (!changed_) return true;
  ++generation_;
  const std::u16string_view current_text = LineText(CurrentLine());
  HostResult result;
  narrow_current_.clear();
  if (!done_wide_ && AppendNarrowed(narrow_current_, current_text)) {
    // Every line one byte per unit: they go to the view as they are.
    std::vector<std::string_view> lines;
    lines.reserve(done_ends_.size() + 1);
    for (size_t i = 0, begin = 0; i < done_ends_.size(); begin = done_ends_[i++]) {
      lines.push_back(std::string_view(done_bytes_).substr(begin, done_ends_[i] - begin));
    }
    lines.push_back(narrow_current_);
    result = view_.ReplaceNarrowLines(base_, next_view_ - base_, lines);
  } else {
    std::vector<std::u16string_view> lines;
    lines.reserve(done_ends_.size() + 1);
    for (size_t i = 0; i < done_ends_.size(); ++i) lines.push_back(DoneLine(i));
    lines.push_back(current_text);
    result = view_.ReplaceLines(base_, next_view_ - base_, lines);
  }
  // The view unsets the marks inside the rewritten lines; they get the places single edits
  // would have given them. Marks further down the view moved correctly on their own.
  if (BufferMarks* marks = view_.Marks(); marks != nullptr && Succeeded(result)) {
    for (const TrackedMark& mark : tracked_) {
      if (mark.view_line >= next_view_) continue;
      if (mark.alive) {
        marks->Set(mark.name, mark.pos);
      } else {
        marks->Clear(mark.name);
      }
    }
  }
  tracked_.clear();
  view_lines_ = view_.LineCount();
  last_copy_valid_ = false;
  const uint32_t current = CurrentLine();
  base_ = current;
  next_view_ = current + 1;
  done_text_.clear();
  done_bytes_.clear();
  done_wide_ = false;
  done_ends_.clear();
  changed_ = false;
  return Succeeded(result);
}

}  // namespace tavik
