// Sentence text objects: `as` runs from the start of the sentence around the cursor to the start
// of the next one, so it takes the blanks after it; `is` stops at the end of the sentence's text,
// and on the blanks between two sentences it takes just those blanks.
#include <algorithm>

#include "engine/motions/motions.h"
#include "engine/motions/motions_common.h"
#include "engine/motions/text_objects.h"

namespace tavik::motions {
namespace {

// The end of the buffer, one past its last character.
TextPos BufferEnd(const TextView& view) {
  uint32_t last = LastLine(view);
  return {last, view.LineLength(last)};
}

// A line end counts as a blank.
bool BlankAt(const TextView& view, TextPos pos) {
  return pos.column >= view.LineLength(pos.line) || IsBlankChar(view.CharAt(pos.line, pos.column));
}

// The first sentence start after `pos`, or the end of the buffer.
TextPos NextStart(const TextView& view, TextPos pos) {
  const uint32_t last = LastLine(view);
  uint32_t column = pos.column + 1;
  for (uint32_t line = pos.line; line <= last; ++line, column = 0) {
    uint32_t length = view.LineLength(line);
    if (length == 0 && column == 0 && StartsSentence(view, line, 0)) return {line, 0};
    for (; column < length; ++column) {
      if (StartsSentence(view, line, column)) return {line, column};
    }
  }
  return BufferEnd(view);
}

// The last sentence start at or before `pos`; the buffer's start when there is none.
TextPos StartAtOrBefore(const TextView& view, TextPos pos) {
  uint32_t line = pos.line;
  int64_t column = std::min(pos.column, view.LineLength(line));
  for (;;) {
    for (; column >= 0; --column) {
      if (StartsSentence(view, line, static_cast<uint32_t>(column))) {
        return {line, static_cast<uint32_t>(column)};
      }
    }
    if (line == 0) return {0, 0};
    --line;
    column = view.LineLength(line);
  }
}

// Back over blanks and line ends from `pos`, not before `floor`.
TextPos TrimBack(const TextView& view, TextPos pos, TextPos floor) {
  while (floor < pos) {
    if (pos.column == 0) {
      pos = {pos.line - 1, view.LineLength(pos.line - 1)};
    } else if (IsBlankChar(view.CharAt(pos.line, pos.column - 1))) {
      --pos.column;
    } else {
      break;
    }
  }
  return std::max(pos, floor);
}

// Forward over blanks and line ends from `pos` to the next non-blank character.
TextPos SkipBlanks(const TextView& view, TextPos pos) {
  const uint32_t last = LastLine(view);
  for (;;) {
    uint32_t length = view.LineLength(pos.line);
    while (pos.column < length && IsBlankChar(view.CharAt(pos.line, pos.column))) ++pos.column;
    if (pos.column < length || pos.line == last) return pos;
    pos = {pos.line + 1, 0};
  }
}

// The position before `pos`, across a line end; the buffer's start stays.
TextPos Before(const TextView& view, TextPos pos) {
  if (pos.column > 0) return {pos.line, pos.column - 1};
  if (pos.line == 0) return pos;
  return {pos.line - 1, view.LineLength(pos.line - 1)};
}

// A count or a repeated object adds the next piece at the selection's moving end: a whole
// sentence with its blanks for `as`; for `is` a sentence's text or a run of blanks.
void Grow(const TextView& view, MotionResult& result, bool around) {
  TextPos end = result.target;
  if (result.anchor <= end) {
    if (around) {
      result.target = NextStart(view, end);
    } else if (BlankAt(view, end)) {
      result.target = SkipBlanks(view, end);
    } else {
      result.target = TrimBack(view, NextStart(view, end), end);
    }
    return;
  }
  TextPos before = Before(view, end);
  if (around || !BlankAt(view, before)) {
    result.target = StartAtOrBefore(view, before);
  } else {
    result.target = TrimBack(view, end, {0, 0});
  }
}

void SentenceObject(MotionContext& context, MotionResult& result, bool around) {
  const TextView& view = context.view;
  result.kind = MotionKind::kExclusive;
  result.to_characterwise_visual = true;
  ClampStartLine(view, result);
  if (HasSelection(context, result)) {
    TextPos before = result.target;
    Grow(view, result, around);
    StopWhenStuck(context, result, before);
    result.explicit_start = true;
    return;
  }
  TextPos cursor = result.target;
  cursor.column = std::min(cursor.column, view.LineLength(cursor.line));
  TextPos start = StartAtOrBefore(view, cursor);
  TextPos next = NextStart(view, cursor);
  result.anchor = start;
  result.target = next;
  if (!around) {
    TextPos text_end = TrimBack(view, next, start);
    if (text_end <= cursor) {
      // On the blanks after the sentence: just those blanks, up to the next text.
      result.anchor = text_end;
      result.target = SkipBlanks(view, text_end);
    } else {
      result.target = text_end;
    }
  }
  result.explicit_start = true;
}

}  // namespace

void InnerSentence(MotionContext& c, MotionResult& r) {
  SentenceObject(c, r, false);
}
void ASentence(MotionContext& c, MotionResult& r) {
  SentenceObject(c, r, true);
}

}  // namespace tavik::motions
