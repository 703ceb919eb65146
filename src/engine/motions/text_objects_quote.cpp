// Quoted-string text objects, on the cursor line only; a quote preceded by a backslash does not
// count. `a` objects take the blanks after the closing quote, or else those before the opening.
#include <optional>
#include <vector>

#include "engine/motions/motions_common.h"
#include "engine/motions/text_objects.h"

namespace tavik::motions {
namespace {

struct Quotes {
  uint32_t open;
  uint32_t close;
};

std::vector<uint32_t> QuotePositions(std::u16string_view line, char16_t quote) {
  std::vector<uint32_t> at;
  for (uint32_t i = 0; i < line.size(); ++i) {
    if (line[i] == quote && (i == 0 || line[i - 1] != u'\\')) at.push_back(i);
  }
  return at;
}

std::optional<Quotes> FindString(std::u16string_view line, uint32_t cursor, char16_t quote) {
  std::vector<uint32_t> at = QuotePositions(line, quote);
  for (size_t i = 0; i < at.size(); ++i) {
    if (at[i] != cursor) continue;
    // On a quote: an odd count up to it makes it an opening one.
    if (i % 2 == 0) {
      if (i + 1 < at.size()) return Quotes{at[i], at[i + 1]};
      return std::nullopt;
    }
    return Quotes{at[i - 1], at[i]};
  }
  // Between quotes: the first pair that encloses the cursor, else the first string after it.
  for (size_t i = 1; i < at.size(); ++i) {
    if (at[i - 1] < cursor && cursor < at[i]) return Quotes{at[i - 1], at[i]};
  }
  for (size_t i = 0; i + 1 < at.size(); ++i) {
    if (at[i] > cursor) return Quotes{at[i], at[i + 1]};
  }
  return std::nullopt;
}

}  // namespace

void QuoteObject(MotionContext& context, MotionResult& result, char16_t quote, bool around) {
  const TextView& view = context.view;
  ClampStartLine(view, result);
  uint32_t line_number = result.target.line;
  std::u16string_view line = view.LineText(line_number);
  std::optional<Quotes> found = FindString(
      line, std::min<uint32_t>(result.target.column, static_cast<uint32_t>(line.size())), quote);
  if (!found) {
    result.failed = true;
    return;
  }
  uint32_t start = found->open + 1;
  uint32_t end = found->close;
  TextPos sel_start = std::min(result.anchor, result.target);
  TextPos sel_end = std::max(result.anchor, result.target);
  bool grow = HasSelection(context, result) && sel_start == TextPos{line_number, start} &&
              sel_end == TextPos{line_number, end};
  if (around || grow) {
    start = found->open;
    end = found->close + 1;
  }
  if (around) {
    uint32_t after = end;
    while (after < line.size() && IsBlankChar(line[after])) ++after;
    if (after > end) {
      end = after;
    } else {
      while (start > 0 && IsBlankChar(line[start - 1])) --start;
    }
  }
  result.anchor = {line_number, start};
  result.target = {line_number, end};
  result.explicit_start = true;
  result.kind = MotionKind::kExclusive;
  result.to_characterwise_visual =
      !(context.args.visual_active && context.args.visual_kind == VisualKind::kBlockwise);
  IgnoreCount(context);
}

}  // namespace tavik::motions
