// Word text objects: a run of characters of one class (word, punctuation or blanks) on a line,
// and for the `a` forms the blanks beside it. A count or a repeated object adds the next run.
#include <algorithm>

#include "common/utf16_chars.h"
#include "engine/motions/motions_common.h"
#include "engine/motions/text_objects.h"

namespace tavik::motions {
namespace {

// With big words every non-blank belongs to one class.
CharClass ClassAt(std::u16string_view line, uint32_t column, bool big) {
  CharClass c = ClassOfCodePoint(CodePointAt(line, column));
  return big && c == CharClass::kOther ? CharClass::kWord : c;
}

// The end (exclusive) of the run that starts at `column`.
uint32_t RunEnd(std::u16string_view line, uint32_t column, bool big) {
  if (column >= line.size()) return column;
  CharClass c = ClassAt(line, column, big);
  while (column < line.size() && ClassAt(line, column, big) == c) ++column;
  return column;
}

// The start of the run that ends just before `column`.
uint32_t RunStart(std::u16string_view line, uint32_t column, bool big) {
  if (column == 0) return 0;
  CharClass c = ClassAt(line, column - 1, big);
  while (column > 0 && ClassAt(line, column - 1, big) == c) --column;
  return column;
}

uint32_t SkipBlanksForward(std::u16string_view line, uint32_t column) {
  while (column < line.size() && IsBlankChar(line[column])) ++column;
  return column;
}

uint32_t SkipBlanksBackward(std::u16string_view line, uint32_t column) {
  while (column > 0 && IsBlankChar(line[column - 1])) --column;
  return column;
}

// Grows a selection by one run (with `around`, by blanks and a run) at its moving end.
void Grow(MotionContext& context, MotionResult& result, bool big, bool around) {
  const TextView& view = context.view;
  TextPos end = result.target;
  bool forward = result.anchor <= end;
  if (forward) {
    if (end.column >= view.LineLength(end.line) && end.line + 1 < view.LineCount()) {
      end = {end.line + 1, 0};
    }
    std::u16string_view line = view.LineText(end.line);
    uint32_t column = std::min<uint32_t>(end.column, static_cast<uint32_t>(line.size()));
    if (around) column = SkipBlanksForward(line, column);
    result.target = {end.line, RunEnd(line, column, big)};
  } else {
    if (end.column == 0 && end.line > 0) end = {end.line - 1, view.LineLength(end.line - 1)};
    std::u16string_view line = view.LineText(end.line);
    uint32_t column = std::min<uint32_t>(end.column, static_cast<uint32_t>(line.size()));
    if (around) column = SkipBlanksBackward(line, column);
    result.target = {end.line, RunStart(line, column, big)};
  }
}

void WordObject(MotionContext& context, MotionResult& result, bool big, bool around) {
  result.kind = MotionKind::kExclusive;
  result.to_characterwise_visual = true;
  if (HasSelection(context, result)) {
    TextPos before = result.target;
    Grow(context, result, big, around);
    StopWhenStuck(context, result, before);
    result.explicit_start = true;
    return;
  }
  const TextView& view = context.view;
  ClampStartLine(view, result);
  TextPos cursor = result.target;
  std::u16string_view line = view.LineText(cursor.line);
  auto length = static_cast<uint32_t>(line.size());
  uint32_t column = std::min(cursor.column, length);
  if (column == length && column > 0) --column;  // past the end: the last character's run
  uint32_t start = RunStart(line, column, big);
  if (column < length && ClassAt(line, column, big) != ClassAt(line, start, big)) start = column;
  uint32_t end = RunEnd(line, column, big);
  if (around) {
    if (column < length && IsBlankChar(line[column])) {
      // On blanks: the blanks from the cursor and the run after them.
      start = column;
      end = RunEnd(line, end, big);
    } else {
      uint32_t after = SkipBlanksForward(line, end);
      if (after > end) {
        end = after;
      } else {
        start = SkipBlanksBackward(line, start);
      }
    }
  }
  result.anchor = {cursor.line, start};
  result.target = {cursor.line, end};
  result.explicit_start = true;
}

}  // namespace

bool HasSelection(const MotionContext& context, const MotionResult& result) {
  if (result.explicit_start) return true;
  return context.args.visual_active && result.anchor != result.start;
}

void InnerWord(MotionContext& c, MotionResult& r) {
  WordObject(c, r, false, false);
}
void AWord(MotionContext& c, MotionResult& r) {
  WordObject(c, r, false, true);
}
void InnerBigWord(MotionContext& c, MotionResult& r) {
  WordObject(c, r, true, false);
}
void ABigWord(MotionContext& c, MotionResult& r) {
  WordObject(c, r, true, true);
}

}  // namespace tavik::motions
