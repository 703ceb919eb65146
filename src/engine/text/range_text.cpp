// Register text of an operated range and the per-line columns of a block.
#include "engine/text/range_text.h"

#include <algorithm>

#include "engine/text/text_view.h"

namespace tavik {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";

// A position with "end of line" and out-of-range columns resolved against the buffer.
TextPos Resolve(const TextView& view, TextPos pos) {
  uint32_t last = view.LineCount() - 1;
  if (pos.line > last) return {last, view.LineLength(last)};
  pos.column = std::min(pos.column, view.LineLength(pos.line));
  return pos;
}

void AppendCharacterwise(const TextView& view, TextPos start, TextPos end, std::u16string& out) {
  start = Resolve(view, start);
  end = Resolve(view, end);
  if (end < start) std::swap(start, end);
  for (uint32_t line = start.line; line <= end.line; ++line) {
    std::u16string_view text = view.LineText(line);
    size_t from = line == start.line ? start.column : 0;
    size_t to = line == end.line ? end.column : text.size();
    out.append(text.substr(from, to - from));
    if (line != end.line) out.append(kLineBreak);
  }
}

}  // namespace

BlockColumns BlockColumnsOf(const TextView& view, const OperatedRange& range) {
  BlockColumns block;
  bool start_at_end = range.start.column == kEndOfLineColumn;
  bool end_at_end = range.end.column == kEndOfLineColumn;
  if (start_at_end || end_at_end) {
    // The block starts at the end that has a column; with none, at the shorter line's end.
    auto display = [&view](TextPos pos) {
      uint32_t column = pos.column == kEndOfLineColumn ? view.LineLength(pos.line) : pos.column;
      return view.VirtualColumn(pos.line, column);
    };
    block.to_line_end = true;
    if (start_at_end && end_at_end) {
      block.left = std::min(display(range.start), display(range.end));
    } else {
      block.left = display(start_at_end ? range.end : range.start);
    }
    return block;
  }
  uint32_t a = view.VirtualColumn(range.start.line, range.start.column);
  uint32_t b = view.VirtualColumn(range.end.line, range.end.column);
  block.left = std::min(a, b);
  block.right = std::max(a, b);
  return block;
}

BlockSpan BlockSpanOnLine(const TextView& view, uint32_t line, const BlockColumns& block) {
  uint32_t length = view.LineLength(line);
  // The character holding display column `left` starts the span, even when it begins earlier.
  uint32_t start = view.ColumnOfVirtual(line, block.left, false);
  start = std::min(start, length);
  if (block.to_line_end) return {start, length};
  if (block.right <= block.left) return {start, start};
  uint32_t end = view.ColumnOfVirtual(line, block.right, false);
  end = std::min(end, length);
  // A character that begins before `right` and reaches past it is in the block too.
  if (end < length && view.VirtualColumn(line, end) < block.right) {
    end = view.NextCharColumn(line, end);
  }
  return {start, std::max(start, end)};
}

std::u16string RangeText(const TextView& view, const OperatedRange& range) {
  std::u16string out;
  TextPos first = std::min(range.start, range.end);
  TextPos last = std::max(range.start, range.end);
  switch (range.kind) {
    case RangeKind::kCharacterwise:
      AppendCharacterwise(view, range.start, range.end, out);
      break;
    case RangeKind::kLinewise: {
      uint32_t end_line = std::min(last.line, view.LineCount() - 1);
      // Sized once: a deleted buffer of a million lines is not regrown and copied as it fills.
      size_t size = 0;
      for (uint32_t line = first.line; line <= end_line; ++line) {
        size += view.LineLength(line) + kLineBreak.size();
      }
      out.reserve(size);
      for (uint32_t line = first.line; line <= end_line; ++line) {
        out.append(view.LineText(line));
        out.append(kLineBreak);
      }
      break;
    }
    case RangeKind::kBlockwise: {
      BlockColumns block = BlockColumnsOf(view, range);
      uint32_t end_line = std::min(last.line, view.LineCount() - 1);
      for (uint32_t line = first.line; line <= end_line; ++line) {
        BlockSpan span = BlockSpanOnLine(view, line, block);
        out.append(view.LineText(line).substr(span.start, span.end - span.start));
        out.append(kLineBreak);
      }
      break;
    }
  }
  return out;
}

uint32_t RangeLineCount(const OperatedRange& range) {
  uint32_t a = range.start.line;
  uint32_t b = range.end.line;
  return (a > b ? a - b : b - a) + 1;
}

BlockSpan RangeSpanOnLine(const TextView& view, const OperatedRange& resolved,
                          const BlockColumns& block, uint32_t line) {
  if (resolved.kind == RangeKind::kBlockwise) return BlockSpanOnLine(view, line, block);
  BlockSpan span{0, view.LineLength(line)};
  if (resolved.kind == RangeKind::kCharacterwise) {
    if (line == resolved.start.line) span.start = resolved.start.column;
    if (line == resolved.end.line) span.end = std::min(span.end, resolved.end.column);
  }
  return span;
}

}  // namespace tavik
