// Copying a block insertion: the text typed on the block's first line is replayed on each of
// its other lines at the block's column, padding short lines for "A" and skipping them for
// "I" and "c". Lines the typed text adds or removes move the rest of the block with them.
#include <algorithm>
#include <string>

#include "engine/insert/insert_mode.h"
#include "engine/text/text_view.h"

namespace tavik {
namespace {

// Blanks that take `line` from its display width up to `display_column`: tabs first when the
// view inserts tabs, spaces for the rest.
std::u16string PaddingTo(const TextView& text, uint32_t line, uint32_t display_column) {
  uint32_t width = text.VirtualColumn(line, text.LineLength(line));
  std::u16string pad;
  uint32_t tab = std::max<uint32_t>(1, text.TabSize());
  if (text.InsertTabs()) {
    while ((width / tab + 1) * tab <= display_column) {
      pad += u'\t';
      width = (width / tab + 1) * tab;
    }
  }
  pad.append(display_column - width, u' ');
  return pad;
}

}  // namespace

void InsertMode::ReplicateBlock(ViewEngine& engine, TextView& text,
                                const BlockInsertDescription& block) {
  if (record_.ops.empty() || block.last_line <= block.first_line) return;
  TextView::CompoundScope compound(text);
  record_.replaying = true;
  // Lines typed on the first line (or joined away there) move the rest of the block, and so do
  // the lines each replay adds or removes.
  int64_t shift = static_cast<int64_t>(text.LineCount()) - block.line_count;
  auto view_line = static_cast<uint32_t>(std::max<int64_t>(0, block.first_line + 1 + shift));
  int64_t last_line = block.last_line + shift;
  while (view_line <= last_line && view_line < text.ViewLineCount() && text.IsAttached()) {
    uint32_t line = text.ViewToBuffer({view_line, 0}).line;
    uint32_t length = text.LineLength(line);
    uint32_t target = length;
    if (block.display_column != kBlockColumnLineEnd) {
      auto column = static_cast<uint32_t>(block.display_column);
      if (text.VirtualColumn(line, length) < column) {
        if (!block.pad) {
          ++view_line;
          continue;
        }
        text.InsertText({line, length}, PaddingTo(text, line, column));
        target = text.LineLength(line);
      } else {
        target = std::min(text.ViewColumnOfVirtual(view_line, column), length);
      }
    }
    text.SetCaret({line, target});
    const int64_t remaining = last_line - view_line;
    uint32_t lines_before = text.ViewLineCount();
    PerformRecord(engine, text);
    uint32_t lines_after = text.ViewLineCount();
    uint32_t caret_line = text.BufferToView(text.GetCaret()).line;
    if (lines_after > lines_before) {
      last_line += lines_after - lines_before;
      view_line = caret_line + 1;
    } else if (lines_after < lines_before) {
      if (caret_line > view_line) break;
      last_line -= lines_before - lines_after;
      view_line = caret_line + 1;
    } else if (caret_line != view_line) {
      break;
    } else {
      ++view_line;
    }
    // Each replay must bring the walk nearer the block's end: arrow keys in the record can
    // leave the caret above lines the replay added, and the walk would then go on for ever.
    if (last_line - view_line >= remaining) break;
  }
  record_.replaying = false;
}

}  // namespace tavik
