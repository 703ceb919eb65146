// Compact storage of a buffer's lines: blocks of a few hundred lines, each holding its lines'
// units in one byte array (one byte per unit when every unit is below 256, two otherwise).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::platform {

// A line as stored: `length` units at `data`, as bytes (narrow) or as char16_t (wide). Valid
// until the next edit of the store.
struct RawLine {
  const void* data = nullptr;
  uint32_t length = 0;
  bool wide = false;

  std::string_view Narrow() const { return {static_cast<const char*>(data), length}; }
  std::u16string_view Wide() const { return {static_cast<const char16_t*>(data), length}; }
};

class LineStore {
 public:
  // A store of one empty line.
  LineStore();
  LineStore(LineStore&&) noexcept;
  LineStore& operator=(LineStore&&) noexcept;
  ~LineStore();

  uint32_t LineCount() const { return line_count_; }
  uint32_t LineLength(uint32_t line) const;
  RawLine Raw(uint32_t line) const;
  // Replaces `out` by the line, widened to UTF-16.
  void ReadLine(uint32_t line, std::u16string& out) const;
  void AppendLineTo(uint32_t line, std::u16string& out) const;
  // Views of the lines from `first` on as stored, as many as fit in `out`, up to the first line
  // held two bytes per unit or the last line; returns how many. Valid until the next edit.
  uint32_t ReadNarrow(uint32_t first, std::span<std::string_view> out) const;

  void SetLine(uint32_t line, std::u16string_view text);
  // The same for a line whose units are all below 256, given one byte per unit.
  void SetLine(uint32_t line, std::string_view narrow);
  // Inserts lines before line `at` (`at` == LineCount() appends).
  void InsertLines(uint32_t at, std::span<const std::u16string_view> lines);
  // The same for lines whose units are all below 256, given one byte per unit.
  void InsertNarrowLines(uint32_t at, std::span<const std::string_view> lines);
  // Erases lines; the store may be left with no line, which only a following insert may do.
  void EraseLines(uint32_t first, uint32_t count);

  // Bulk filling for loaders: ClearForAppend() leaves no line, then lines are appended in order.
  void ClearForAppend();
  void AppendNarrowLine(const char* data, size_t length);
  // Appends lines of one byte per unit, each block's room taken at once.
  void AppendNarrowLines(std::span<const std::string_view> lines);
  void AppendLine(std::u16string_view text);
  // Drops the last unit of each of the lines [0, count) (used to strip CRs of CR LF files).
  void DropLastUnitOfLines(uint32_t count);

  size_t BlockCount() const { return blocks_.size(); }

 private:
  // Both forms of SetLine: the text of one line, stored as it comes.
  template <class Text>
  void SetLineText(uint32_t line, Text text);
  struct Block;
  struct Location {
    size_t block;
    uint32_t index;
  };

  Location Locate(uint32_t line) const;
  void CountChanged(size_t block);
  void BlocksMoved(size_t from);
  void SplitIfLarge(size_t block);
  // Opens a new last block when the last one is full, for appending.
  void MakeRoomToAppend();
  void SplitAt(size_t block, uint32_t index);
  template <class LineView>
  void InsertFew(uint32_t at, std::span<const LineView> lines);
  template <class LineView>
  void InsertBlocks(uint32_t at, std::span<const LineView> lines);

  std::vector<std::unique_ptr<Block>> blocks_;
  uint32_t line_count_ = 0;
  // Blocks [0, indexed_) have a valid first line number; later ones are recomputed on demand, so
  // a run of edits moving forward through the buffer costs O(1) each for the index.
  mutable size_t indexed_ = 1;
  // The block the last lookup found: reads that walk the lines in order (drawing, searching,
  // saving) find their line there or in the next block without a binary search.
  mutable size_t last_block_ = 0;
  // The block found before it: a reader that goes back and forth between two places (a scan
  // and a look at the last line) finds both without a search.
  mutable size_t other_block_ = 0;
};

}  // namespace tavik::platform
