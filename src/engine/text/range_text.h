// The text of an operated range as registers hold it, and the columns a block covers on each of
// its lines. Yank, the deleting operators and the block commands share these.
#pragma once

#include <cstdint>
#include <string>

#include "engine/motions/operated_range.h"

namespace tavik {

class TextView;

// The display columns of a block: from `left` up to `right`, `right` not included. With
// `to_line_end` the block reaches the end of every line and `right` is not used.
struct BlockColumns {
  uint32_t left = 0;
  uint32_t right = 0;
  bool to_line_end = false;
};

// UTF-16 columns of one line inside a block: from `start` up to `end`, `end` not included.
// Both are at most the line length; a line too short for the block gives start == end.
struct BlockSpan {
  uint32_t start = 0;
  uint32_t end = 0;
};

// The block of a blockwise range: the smaller and the larger display column of its two ends.
// An end column of kEndOfLineColumn makes the block reach the end of every line.
BlockColumns BlockColumnsOf(const TextView& view, const OperatedRange& range);

// The characters of `line` that lie in the block. A character counts when any of its display
// columns does, so a tab reaching into the block is taken whole.
BlockSpan BlockSpanOnLine(const TextView& view, uint32_t line, const BlockColumns& block);

// The characters of `line` that a resolved range covers: a whole line for linewise ranges, the
// part from the start or up to the end on the first and last line of a characterwise range, and
// the block's span for a blockwise one (`block` from BlockColumnsOf).
BlockSpan RangeSpanOnLine(const TextView& view, const OperatedRange& resolved,
                          const BlockColumns& block, uint32_t line);

// The range's text in register form: characterwise with CR LF at each line break, linewise with
// every line followed by CR LF, blockwise with each line's part of the block followed by CR LF.
std::u16string RangeText(const TextView& view, const OperatedRange& range);

// Number of lines the range touches (end line - start line + 1).
uint32_t RangeLineCount(const OperatedRange& range);

}  // namespace tavik
