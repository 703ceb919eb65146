// Conditionals are matched by depth, one line at a time; nothing else about the preprocessor
// (strings, comments, continuation lines) is looked at.
#include "engine/motions/motions.h"

#include "common/char_class.h"
#include "engine/text/text_view.h"

namespace tavik::motions {

Conditional ClassifyConditional(std::u16string_view line) {
  // Only the first six non-blank characters decide ("#endif" is the longest keyword).
  char16_t head[6] = {};
  size_t n = 0;
  for (char16_t c : line) {
    if (IsBlankChar(c)) continue;
    head[n++] = c;
    if (n == 6) break;
  }
  std::u16string_view text(head, n);
  if (text.starts_with(u"#if")) return Conditional::kOpening;
  if (text.starts_with(u"#el")) return Conditional::kAlternative;
  if (text.starts_with(u"#endif")) return Conditional::kClosing;
  return Conditional::kNone;
}

std::optional<uint32_t> MatchConditional(const TextView& view, uint32_t line) {
  Conditional at = ClassifyConditional(view.LineText(line));
  if (at == Conditional::kNone) return std::nullopt;
  int64_t depth = 0;
  if (at == Conditional::kClosing) {
    for (uint32_t l = line; l-- > 0;) {
      Conditional c = ClassifyConditional(view.LineText(l));
      if (c == Conditional::kClosing) ++depth;
      if (c == Conditional::kOpening && depth-- == 0) return l;
    }
    return std::nullopt;
  }
  const uint32_t count = view.LineCount();
  for (uint32_t l = line + 1; l < count; ++l) {
    Conditional c = ClassifyConditional(view.LineText(l));
    if (c == Conditional::kOpening) ++depth;
    if (c == Conditional::kAlternative && depth == 0) return l;
    if (c == Conditional::kClosing && --depth < 0) return l;
  }
  return std::nullopt;
}

}  // namespace tavik::motions
