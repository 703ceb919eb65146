// The buffer as a substitution sees it while it runs: its edits are held back and written to the
// view in runs of whole lines, so that a substitution over a million lines costs a few host
// edits instead of one per match. Matching reads this buffer, so every search sees the text as
// the edits so far left it.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_pos.h"
#include "regex/line_source.h"

namespace tavik {

class TextView;

// Lines before `base_` are final in the view. The finished lines after them are held in
// `done_`, then comes the current line, and after it the view's lines from `next_view_` on.
// Positions are those of the buffer as edited so far.
class SubstituteBuffer : public LineSource {
 public:
  // Starts with `first_line` as the current line.
  SubstituteBuffer(TextView& view, uint32_t first_line);
  SubstituteBuffer(const SubstituteBuffer&) = delete;
  SubstituteBuffer& operator=(const SubstituteBuffer&) = delete;

  uint32_t LineCount() const override;
  // Views stay valid until the next edit or move.
  std::u16string_view LineText(uint32_t line) const override;
  bool StableLines() const override { return true; }
  // The view's narrow lines, for the lines after the current one.
  uint32_t NarrowLines(uint32_t first, std::span<std::string_view> out) const override;
  // The length of a line, without copying it.
  uint32_t LineLength(uint32_t line) const;

  uint32_t CurrentLine() const { return base_ + static_cast<uint32_t>(done_ends_.size()); }
  uint32_t CurrentLength() const { return static_cast<uint32_t>(work_.size() - work_start_); }

  // Replaces the text from `start` (on the current line) to `end` by `text`, in which '\n' breaks
  // the line. The line the inserted text ends on becomes the current line; returns the position
  // just after the inserted text.
  TextPos Replace(TextPos start, TextPos end, std::u16string_view text);
  // Makes a later line the current one.
  void MoveTo(uint32_t line);
  // Writes the held-back edits to the view; false when the view refused them.
  bool Flush();
  // Changes whenever lines handed out before may have changed or moved: when the held-back
  // edits are written, and when an edit changes the line count. Unchanged lines after the
  // current one keep their numbers and their text until then.
  uint32_t Generation() const { return generation_; }

  // The lines after the current one read straight from the view, without copies: for scanning
  // ahead to the next line with a match.
  class Ahead : public LineSource {
   public:
    explicit Ahead(const SubstituteBuffer& buffer) : buffer_(buffer) {}
    uint32_t LineCount() const override { return buffer_.LineCount(); }
    std::u16string_view LineText(uint32_t line) const override;
    // The view's narrow lines, for the lines after the current one.
    uint32_t NarrowLines(uint32_t first, std::span<std::string_view> out) const override;

   private:
    const SubstituteBuffer& buffer_;
  };

 private:
  // A mark on or below the first held-back line, moved as each edit would have moved it in the
  // view, so that it is where single edits would have left it once the lines are written.
  struct TrackedMark {
    char16_t name;
    uint32_t view_line;  // its line before the held-back edits
    TextPos pos;
    bool alive;
  };

  uint32_t ViewLineOf(uint32_t line) const { return next_view_ + (line - CurrentLine() - 1); }
  std::u16string_view DoneLine(size_t index) const;
  size_t DoneLength(size_t index) const;
  void PushDone(std::u16string_view first, std::u16string_view second = {});
  // The view's lines from `next_view_` up to `view_end` as finished lines, as they are.
  void CarryViewLines(uint32_t view_end);
  // Turns the finished lines held one byte per unit into UTF-16.
  void WidenDone() const;
  void LoadCurrent(uint32_t view_line);
  void StartChanges();
  void ForgetCopies() { copies_used_ = 0; }
  void FlushIfLarge();

  TextView& view_;
  uint32_t view_lines_;  // the view's line count, which changes only when edits are written
  uint32_t base_;
  uint32_t next_view_;
  bool changed_ = false;
  uint32_t generation_ = 0;

  // The finished lines, one byte per unit while every one of them fits (`done_bytes_`), else
  // UTF-16 (`done_text_`); `done_ends_` ends each line in the one in use.
  mutable bool done_wide_ = false;
  mutable std::string done_bytes_;
  mutable std::u16string done_text_;
  std::vector<size_t> done_ends_;
  std::vector<std::string_view> narrow_batch_;
  std::string narrow_current_;
  // The current line is work_[work_start_, end): a line split at its start needs no copy of the
  // rest.
  std::u16string work_;
  size_t work_start_ = 0;
  std::u16string scratch_;

  std::vector<TrackedMark> tracked_;

  // Copies of view lines handed to the matcher, kept until the current line moves on or the
  // view changes.
  mutable std::deque<std::u16string> copies_;
  mutable std::vector<uint32_t> copy_lines_;
  mutable size_t copies_used_ = 0;
  mutable std::u16string last_copy_;  // the view's last line
  mutable bool last_copy_valid_ = false;
};

}  // namespace tavik
