// Word motions walk the buffer one character at a time, crossing line ends, and compare
// character classes. Each step reads only the lines it passes, so the cost does not depend on
// the size of the buffer.
#include "engine/motions/motions.h"

#include <algorithm>
#include <string_view>

#include "common/utf16_chars.h"
#include "engine/motions/motions_common.h"

namespace tavik::motions {
namespace {

// The class of a character for word (big = false) or WORD (big = true) motions; the end of a
// line is blank. Both halves of a surrogate pair have the class of the pair's character.
CharClass ClassAt(std::u16string_view text, uint32_t column, bool big) {
  if (column >= text.size()) return CharClass::kBlank;
  CharClass c = ClassOfCodePoint(CodePointAt(text, column));
  return big && c != CharClass::kBlank ? CharClass::kWord : c;
}

void Forward(MotionContext& context, MotionResult& result, bool big) {
  const TextView& view = context.view;
  const uint32_t last = LastLine(view);
  uint32_t line = std::min(result.target.line, last);
  std::u16string_view text = view.LineText(line);
  uint32_t column = std::min<uint32_t>(result.target.column, static_cast<uint32_t>(text.size()));

  CharClass start_class = ClassAt(text, column, big);
  if (start_class != CharClass::kBlank) {
    while (column < text.size() && ClassAt(text, column, big) == start_class) {
      column = NextCharColumn(text, column);
    }
  }
  if (!(context.args.change_word && context.last_iteration)) {
    for (;;) {
      while (column < text.size() && ClassAt(text, column, big) == CharClass::kBlank) ++column;
      if (column < text.size() || line == last) break;
      ++line;
      column = 0;
      text = view.LineText(line);
      if (text.empty()) break;  // an empty line is a word of its own
    }
  }
  result.target = {line, column};
  result.line_changed = line != result.start.line;
}

// Steps one position back; the end of a line is a position. False at the start of the buffer.
bool StepBack(const TextView& view, uint32_t& line, uint32_t& column, std::u16string_view& text) {
  if (column > 0) {
    column = PrevCharColumn(text, column);
    return true;
  }
  if (line == 0) return false;
  --line;
  text = view.LineText(line);
  column = static_cast<uint32_t>(text.size());
  return true;
}

void Backward(MotionContext& context, MotionResult& result, bool big) {
  const TextView& view = context.view;
  uint32_t line = std::min(result.target.line, LastLine(view));
  std::u16string_view text = view.LineText(line);
  uint32_t column = std::min<uint32_t>(result.target.column, static_cast<uint32_t>(text.size()));

  if (!StepBack(view, line, column, text)) return;
  while (ClassAt(text, column, big) == CharClass::kBlank) {
    if (text.empty()) break;  // an empty line stops the motion
    if (!StepBack(view, line, column, text)) break;
  }
  CharClass cls = ClassAt(text, column, big);
  if (cls != CharClass::kBlank) {
    while (column > 0 && ClassAt(text, column - 1, big) == cls)
      column = PrevCharColumn(text, column);
  }
  result.target = {line, column};
}

void End(MotionContext& context, MotionResult& result, bool big) {
  const TextView& view = context.view;
  const uint32_t last = LastLine(view);
  uint32_t line = std::min(result.target.line, last);
  std::u16string_view text = view.LineText(line);
  uint32_t column = std::min<uint32_t>(result.target.column, static_cast<uint32_t>(text.size()));

  if (ClassAt(text, column, big) != CharClass::kBlank) column = NextCharColumn(text, column);
  for (;;) {
    while (column < text.size() && ClassAt(text, column, big) == CharClass::kBlank) ++column;
    if (column < text.size()) break;
    if (line == last) {
      // Only blanks up to the end of the buffer: stay on its last character.
      result.target = {line, PrevCharColumn(text, static_cast<uint32_t>(text.size()))};
      return;
    }
    ++line;
    column = 0;
    text = view.LineText(line);
  }
  CharClass cls = ClassAt(text, column, big);
  for (uint32_t next = NextCharColumn(text, column);
       next < text.size() && ClassAt(text, next, big) == cls; next = NextCharColumn(text, next)) {
    column = next;
  }
  result.target = {line, column};
}

void PreviousEnd(MotionContext& context, MotionResult& result, bool big) {
  const TextView& view = context.view;
  uint32_t line = std::min(result.target.line, LastLine(view));
  std::u16string_view text = view.LineText(line);
  uint32_t column = std::min<uint32_t>(result.target.column, static_cast<uint32_t>(text.size()));

  for (;;) {
    if (!StepBack(view, line, column, text)) {
      result.failed = true;
      return;
    }
    if (text.empty()) break;  // an empty line stops the motion
    CharClass cls = ClassAt(text, column, big);
    if (cls != CharClass::kBlank && ClassAt(text, NextCharColumn(text, column), big) != cls) break;
  }
  result.target = {line, column};
}

// One step of a motion that never fails; at a buffer edge the repetition stops.
template <void (*Step)(MotionContext&, MotionResult&, bool)>
void EdgeSafe(MotionContext& context, MotionResult& result, bool big) {
  ClampStartLine(context.view, result);
  TextPos before = result.target;
  Step(context, result, big);
  StopWhenStuck(context, result, before);
}

}  // namespace

void WordForward(MotionContext& c, MotionResult& r) {
  EdgeSafe<Forward>(c, r, false);
}
void BigWordForward(MotionContext& c, MotionResult& r) {
  EdgeSafe<Forward>(c, r, true);
}
void WordBackward(MotionContext& c, MotionResult& r) {
  EdgeSafe<Backward>(c, r, false);
}
void BigWordBackward(MotionContext& c, MotionResult& r) {
  EdgeSafe<Backward>(c, r, true);
}
void WordEnd(MotionContext& c, MotionResult& r) {
  r.kind = MotionKind::kInclusive;
  EdgeSafe<End>(c, r, false);
}
void BigWordEnd(MotionContext& c, MotionResult& r) {
  r.kind = MotionKind::kInclusive;
  EdgeSafe<End>(c, r, true);
}
void PreviousWordEnd(MotionContext& c, MotionResult& r) {
  r.kind = MotionKind::kInclusive;
  PreviousEnd(c, r, false);
}
void PreviousBigWordEnd(MotionContext& c, MotionResult& r) {
  r.kind = MotionKind::kInclusive;
  PreviousEnd(c, r, true);
}

}  // namespace tavik::motions
