// Replacing a run of whole lines as one edit: one undo record and one change notice for the
// run, so that a command that rewrites a million lines does not pay for a million edits.
#include <algorithm>
#include <cassert>

#include "platform/text_buffer.h"

namespace tavik::platform {
namespace {

// Runs up to this many lines are set line by line.
constexpr uint32_t kInPlaceLines = 64;

void InsertInto(LineStore& store, uint32_t at, std::span<const std::u16string_view> lines) {
  store.InsertLines(at, lines);
}
void InsertInto(LineStore& store, uint32_t at, std::span<const std::string_view> lines) {
  store.InsertNarrowLines(at, lines);
}

}  // namespace

bool TextBuffer::ReplaceLines(uint32_t first, uint32_t old_count,
                              std::span<const std::u16string_view> lines) {
  return ReplaceLinesOf(first, old_count, lines);
}

bool TextBuffer::ReplaceNarrowLines(uint32_t first, uint32_t old_count,
                                    std::span<const std::string_view> lines) {
  return ReplaceLinesOf(first, old_count, lines);
}

template <class LineView>
bool TextBuffer::ReplaceLinesOf(uint32_t first, uint32_t old_count,
                                std::span<const LineView> lines) {
  const uint32_t line_count = LineCount();
  if (read_only_ || lines.empty() || old_count == 0 || first >= line_count ||
      old_count > line_count - first) {
    return false;
  }
  assert(std::none_of(lines.begin(), lines.end(),
                      [](const LineView& line) { return line.find('\n') != LineView::npos; }));
  const uint32_t new_count = static_cast<uint32_t>(lines.size());
  const uint32_t old_last = first + old_count - 1;
  const TextPos start{first, 0};
  const TextPos old_end{old_last, LineLength(old_last)};
  const TextPos new_end{first + new_count - 1, static_cast<uint32_t>(lines.back().size())};

  UndoEdit edit;
  const bool record = !history_.Replaying();
  if (record) {
    edit.start = start;
    edit.removed_end = old_end;
    edit.inserted_end = new_end;
    // Only the removed side is kept; undo reads the inserted side back from the buffer.
    edit.removed = CompactRange(start, old_end);
  }
  history_.BeginEdit();

  if (old_count > kInPlaceLines && new_count > kInPlaceLines) {
    // Whole blocks are dropped and built anew at their exact size; setting many lines in place
    // would leave each block holding old and new text until it is compacted.
    lines_.EraseLines(first, old_count);
    InsertInto(lines_, first, lines);
  } else {
    const uint32_t common = std::min(old_count, new_count);
    for (uint32_t i = 0; i < common; ++i) lines_.SetLine(first + i, lines[i]);
    if (old_count > new_count) {
      lines_.EraseLines(first + new_count, old_count - new_count);
    } else if (new_count > old_count) {
      InsertInto(lines_, first + old_count, lines.subspan(common));
    }
  }
  if (record) history_.Record(std::move(edit));

  Changed(start, old_end, new_end);
  return true;
}

}  // namespace tavik::platform
