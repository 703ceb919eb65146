// Paragraphs are separated by empty lines (a line of blanks is not empty); sections start at a
// line whose first character is a brace. Sentences end at ".", "!" or "?" followed by closing
// quotes or brackets, a blank or the end of the line; an empty line also separates them.
#include "engine/motions/motions.h"

#include <string_view>

#include "engine/motions/motions_common.h"

namespace tavik::motions {
namespace {

bool IsSentencePunctuation(char16_t c) {
  return c == u'.' || c == u'!' || c == u'?';
}
bool IsSentenceCloser(char16_t c) {
  return c == u'"' || c == u'\'' || c == u')' || c == u']';
}

// Does the text before `column` on `line` (not included) end a sentence? Looks back over
// blanks and line ends; an empty line or the start of the buffer count as an end too.
bool FollowsSentenceEnd(const TextView& view, uint32_t line, uint32_t column) {
  std::u16string_view text = view.LineText(line);
  size_t i = column;
  bool blank_seen = false;
  for (;;) {
    while (i > 0 && IsBlankChar(text[i - 1])) {
      --i;
      blank_seen = true;
    }
    if (i > 0) break;
    if (line == 0) return true;
    text = view.LineText(--line);
    if (text.empty()) return true;
    i = text.size();
    blank_seen = true;  // the line end is a blank
  }
  size_t end = i;
  while (i > 0 && IsSentenceCloser(text[i - 1])) --i;
  if (i == 0 || !IsSentencePunctuation(text[i - 1])) return false;
  // A closer after the punctuation ends the sentence by itself; otherwise a blank must follow.
  return blank_seen || end > i;
}

// A sentence starts at a non-blank character after a sentence end, and at the first of a run
// of empty lines.
bool IsSentenceStart(const TextView& view, uint32_t line, uint32_t column) {
  std::u16string_view text = view.LineText(line);
  if (text.empty()) return line == 0 || view.LineLength(line - 1) != 0;
  if (column >= text.size() || IsBlankChar(text[column])) return false;
  if (column > 0 && !IsBlankChar(text[column - 1])) {
    // Only a closer directly after the punctuation can end a sentence without a blank.
    size_t i = column;
    while (i > 0 && IsSentenceCloser(text[i - 1])) --i;
    if (i == column || i == 0 || !IsSentencePunctuation(text[i - 1])) return false;
  }
  return FollowsSentenceEnd(view, line, column);
}

void NextSentenceStart(MotionContext& context, MotionResult& result) {
  const TextView& view = context.view;
  const uint32_t last = LastLine(view);
  uint32_t line = result.target.line;
  uint32_t column = result.target.column + 1;
  for (; line <= last; ++line, column = 0) {
    uint32_t length = view.LineLength(line);
    if (length == 0 && column == 0 && IsSentenceStart(view, line, 0)) {
      result.target = {line, 0};
      return;
    }
    for (; column < length; ++column) {
      if (IsSentenceStart(view, line, column)) {
        result.target = {line, column};
        return;
      }
    }
  }
  result.target = {last, view.LineLength(last)};
}

void PreviousSentenceStart(MotionContext& context, MotionResult& result) {
  const TextView& view = context.view;
  uint32_t line = result.target.line;
  uint32_t column = std::min(result.target.column, view.LineLength(line));
  for (;;) {
    while (column > 0) {
      if (IsSentenceStart(view, line, --column)) {
        result.target = {line, column};
        return;
      }
    }
    if (line == 0) break;
    --line;
    column = view.LineLength(line);
    if (column == 0 && IsSentenceStart(view, line, 0)) {
      result.target = {line, 0};
      return;
    }
  }
  result.target = {0, 0};
}

// } and {: past the empty lines at the cursor, then to the next empty line; the buffer ends
// are stops too.
void Paragraph(MotionContext& context, MotionResult& result, int direction) {
  const TextView& view = context.view;
  const uint32_t last = LastLine(view);
  uint32_t line = result.target.line;
  auto at_end = [&] { return direction > 0 ? line == last : line == 0; };
  while (!at_end() && view.LineLength(line) == 0) line += direction;
  while (!at_end() && view.LineLength(line) != 0) line += direction;
  if (view.LineLength(line) == 0) {
    result.target = {line, 0};
  } else if (direction > 0) {
    uint32_t length = view.LineLength(line);
    result.target = {line, length > 0 ? length - 1 : 0};
  } else {
    result.target = {0, 0};
  }
}

// The next line before or after the cursor line whose first character is `brace`; the first
// or last line when there is none.
void Section(MotionContext& context, MotionResult& result, char16_t brace, int direction) {
  const TextView& view = context.view;
  result.kind = MotionKind::kLinewise;
  const uint32_t last = LastLine(view);
  uint32_t line = result.target.line;
  while (direction > 0 ? line < last : line > 0) {
    line += direction;
    if (view.CharAt(line, 0) == brace) break;
  }
  result.target = {line, 0};
}

void ParagraphBackwardStep(MotionContext& c, MotionResult& r) {
  Paragraph(c, r, -1);
}
void ParagraphForwardStep(MotionContext& c, MotionResult& r) {
  Paragraph(c, r, 1);
}
void SectionBackwardStep(MotionContext& c, MotionResult& r) {
  Section(c, r, u'{', -1);
}
void SectionForwardStep(MotionContext& c, MotionResult& r) {
  Section(c, r, u'{', 1);
}
void SectionEndBackwardStep(MotionContext& c, MotionResult& r) {
  Section(c, r, u'}', -1);
}
void SectionEndForwardStep(MotionContext& c, MotionResult& r) {
  Section(c, r, u'}', 1);
}

// Every block motion is a jump and stops repeating at the buffer ends.
template <void (*Step)(MotionContext&, MotionResult&)>
void Block(MotionContext& context, MotionResult& result) {
  context.jump = true;
  ClampStartLine(context.view, result);
  const TextPos before = result.target;
  Step(context, result);
  StopWhenStuck(context, result, before);
}

}  // namespace

bool StartsSentence(const TextView& view, uint32_t line, uint32_t column) {
  return IsSentenceStart(view, line, column);
}

void SentenceForward(MotionContext& c, MotionResult& r) {
  Block<NextSentenceStart>(c, r);
}
void SentenceBackward(MotionContext& c, MotionResult& r) {
  Block<PreviousSentenceStart>(c, r);
}
void ParagraphBackward(MotionContext& c, MotionResult& r) {
  Block<ParagraphBackwardStep>(c, r);
}
void ParagraphForward(MotionContext& c, MotionResult& r) {
  Block<ParagraphForwardStep>(c, r);
}
void SectionBackward(MotionContext& c, MotionResult& r) {
  Block<SectionBackwardStep>(c, r);
}
void SectionForward(MotionContext& c, MotionResult& r) {
  Block<SectionForwardStep>(c, r);
}
void SectionEndBackward(MotionContext& c, MotionResult& r) {
  Block<SectionEndBackwardStep>(c, r);
}
void SectionEndForward(MotionContext& c, MotionResult& r) {
  Block<SectionEndForwardStep>(c, r);
}

}  // namespace tavik::motions
