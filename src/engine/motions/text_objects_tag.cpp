// Tag text objects: the markup block around the cursor from an opening tag to its closing tag
// of the same name (names compared ignoring case), `it` without the tags and `at` with them.
// Tags are found by scanning: backward for the enclosing opening tag, counting the closing tags
// passed, then forward for its partner, counting nested tags of the same name.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "engine/motions/motions_common.h"
#include "engine/motions/text_objects.h"

namespace tavik::motions {
namespace {

struct Tag {
  TextPos start;  // the "<"
  TextPos end;    // just after the ">" (the line's end for an opening tag left open there)
  bool closing = false;
  std::u16string name;
};

bool EndsName(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'>' || c == u'/' || c == u'!';
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ToLowerChar(a[i]) != ToLowerChar(b[i])) return false;
  }
  return true;
}

// The first ">" at or after `pos`, across lines.
std::optional<TextPos> NextGreater(const TextView& view, TextPos pos) {
  const uint32_t last = LastLine(view);
  for (uint32_t line = pos.line; line <= last; ++line) {
    std::u16string_view text = view.LineText(line);
    size_t from = line == pos.line ? pos.column : 0;
    if (from > text.size()) continue;
    size_t found = text.find(u'>', from);
    if (found != std::u16string_view::npos) return TextPos{line, static_cast<uint32_t>(found)};
  }
  return std::nullopt;
}

// The end of an opening tag whose name ends with a blank at `blank`: the first ">" after it,
// which must follow a character of its own line other than "/" (a self-closing tag is no block).
// With `bare_close`, a ">" right after the blank also ends the tag.
std::optional<TextPos> OpeningEnd(const TextView& view, TextPos blank, bool bare_close) {
  std::optional<TextPos> gt = NextGreater(view, {blank.line, blank.column + 1});
  if (!gt) return std::nullopt;
  if (*gt == TextPos{blank.line, blank.column + 1}) {
    if (!bare_close) return std::nullopt;
    return TextPos{gt->line, gt->column + 1};
  }
  if (gt->column == 0 || view.CharAt(gt->line, gt->column - 1) == u'/') return std::nullopt;
  return TextPos{gt->line, gt->column + 1};
}

// Any tag whose "<" is at `pos`: "</name>" on one line, or "<name" followed by ">", by the line's
// end, or by a blank and attributes up to a ">" not preceded by "/". Names starting with "!"
// (comments, declarations) are no tags.
std::optional<Tag> TagAt(const TextView& view, TextPos pos) {
  std::u16string line(view.LineText(pos.line));
  uint32_t c = pos.column + 1;
  Tag tag;
  tag.start = pos;
  if (c < line.size() && line[c] == u'/') {
    size_t gt = line.find(u'>', c + 1);
    if (gt == std::u16string::npos) return std::nullopt;
    tag.closing = true;
    tag.name = line.substr(c + 1, gt - c - 1);
    tag.end = {pos.line, static_cast<uint32_t>(gt + 1)};
    return tag;
  }
  uint32_t k = c;
  while (k < line.size() && !EndsName(line[k])) ++k;
  if (k == c) return std::nullopt;
  tag.name = line.substr(c, k - c);
  if (k == line.size()) {
    // Left open at the line's end: the attributes follow on the next lines.
    std::optional<TextPos> gt = NextGreater(view, {pos.line, k});
    tag.end = gt ? TextPos{gt->line, gt->column + 1} : TextPos{pos.line, k};
    return tag;
  }
  if (line[k] == u'>') {
    tag.end = {pos.line, k + 1};
    return tag;
  }
  if (line[k] != u' ' && line[k] != u'\t') return std::nullopt;
  std::optional<TextPos> end = OpeningEnd(view, {pos.line, k}, true);
  if (!end) return std::nullopt;
  tag.end = *end;
  return tag;
}

// A tag of the given name at `pos`: "</name>", or "<name" followed by ">" or by a blank and
// attributes up to a ">" not preceded by "/".
std::optional<Tag> NamedTagAt(const TextView& view, TextPos pos, std::u16string_view name) {
  std::u16string_view line = view.LineText(pos.line);
  uint32_t c = pos.column + 1;
  Tag tag;
  tag.start = pos;
  tag.closing = c < line.size() && line[c] == u'/';
  if (tag.closing) ++c;
  if (line.size() < c + name.size() + 1 || !SameName(line.substr(c, name.size()), name)) {
    return std::nullopt;
  }
  auto k = static_cast<uint32_t>(c + name.size());
  if (line[k] == u'>') {
    tag.end = {pos.line, k + 1};
    return tag;
  }
  if (tag.closing || (line[k] != u' ' && line[k] != u'\t')) return std::nullopt;
  std::optional<TextPos> end = OpeningEnd(view, {pos.line, k}, false);
  if (!end) return std::nullopt;
  tag.end = *end;
  return tag;
}

// The closing tag that ends the block opened by `open`, counting nested blocks of its name.
// The search gives up at `limit`: an opening tag of the same name there is known to have no
// partner, and then no earlier one can find its partner beyond it either.
std::optional<Tag> ClosingPartner(const TextView& view, const Tag& open, TextPos limit) {
  const uint32_t last = LastLine(view);
  uint32_t depth = 0;
  TextPos at = open.end;
  for (uint32_t line = at.line; line <= last && line <= limit.line; ++line) {
    size_t column = line == at.line ? at.column : 0;
    for (;;) {
      std::u16string_view text = view.LineText(line);
      if (column >= text.size()) break;
      size_t lt = text.find(u'<', column);
      if (lt == std::u16string_view::npos) break;
      if (TextPos{line, static_cast<uint32_t>(lt)} >= limit) return std::nullopt;
      column = lt + 1;
      std::optional<Tag> tag = NamedTagAt(view, {line, static_cast<uint32_t>(lt)}, open.name);
      if (!tag) continue;
      if (!tag->closing) {
        ++depth;
      } else if (depth == 0) {
        return tag;
      } else {
        --depth;
      }
    }
  }
  return std::nullopt;
}

struct TagBlock {
  Tag open;
  Tag close;
};

std::u16string LowerName(std::u16string_view name) {
  std::u16string lower(name);
  for (char16_t& c : lower) c = ToLowerChar(c);
  return lower;
}

// The `nth` tag block (1 the innermost) that encloses `cursor`.
std::optional<TagBlock> EnclosingBlock(const TextView& view, TextPos cursor, uint32_t nth) {
  uint32_t depth = 0;
  uint32_t found = 0;
  // For each name, the opening tag nearest the cursor found without a partner: the searches of
  // the tags before it stop there, so many unclosed tags ("<br>") cost one pass, not one each.
  std::map<std::u16string, TextPos> unclosed;
  const TextPos no_limit{UINT32_MAX, UINT32_MAX};
  for (int64_t line = cursor.line; line >= 0; --line) {
    auto l = static_cast<uint32_t>(line);
    std::u16string text(view.LineText(l));
    int64_t column = l == cursor.line ? std::min<int64_t>(cursor.column, text.size()) : text.size();
    for (; column >= 0; --column) {
      if (column >= static_cast<int64_t>(text.size()) || text[column] != u'<') continue;
      std::optional<Tag> tag = TagAt(view, {l, static_cast<uint32_t>(column)});
      if (!tag) continue;
      if (tag->closing) {
        // A closing tag the cursor stands in still belongs to the block around the cursor.
        if (tag->end <= cursor) ++depth;
        continue;
      }
      if (depth > 0) {
        --depth;
        continue;
      }
      std::u16string name = LowerName(tag->name);
      auto known = unclosed.find(name);
      std::optional<Tag> close =
          ClosingPartner(view, *tag, known == unclosed.end() ? no_limit : known->second);
      if (!close) {
        unclosed[name] = tag->start;
        continue;
      }
      if (close->end <= cursor) continue;
      if (++found == nth) return TagBlock{*tag, *close};
    }
  }
  return std::nullopt;
}

void TagObject(MotionContext& context, MotionResult& result, bool around) {
  const TextView& view = context.view;
  uint32_t nth = ConsumeCount(context);
  result.kind = MotionKind::kExclusive;
  result.to_characterwise_visual =
      !(context.args.visual_active && context.args.visual_kind == VisualKind::kBlockwise);
  ClampStartLine(view, result);
  bool selection = HasSelection(context, result);
  TextPos first = std::min(result.anchor, result.target);
  TextPos last = std::max(result.anchor, result.target);
  TextPos cursor = selection ? first : result.target;
  // Grown from a selection, the object must cover it and be larger: the next block outward.
  for (uint32_t n = nth;; ++n) {
    std::optional<TagBlock> block = EnclosingBlock(view, cursor, n);
    if (!block) {
      result.failed = true;
      return;
    }
    TextPos start = around ? block->open.start : block->open.end;
    TextPos end = around ? block->close.end : block->close.start;
    if (end < start) end = start;
    if (selection && !(start <= first && last <= end && (start < first || last < end))) continue;
    result.anchor = start;
    result.target = end;
    result.explicit_start = true;
    return;
  }
}

}  // namespace

void InnerTag(MotionContext& c, MotionResult& r) {
  TagObject(c, r, false);
}
void ATag(MotionContext& c, MotionResult& r) {
  TagObject(c, r, true);
}

}  // namespace tavik::motions
