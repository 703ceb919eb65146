// % tries, in order: a preprocessor conditional when the cursor is at the start of such a line,
// a C comment delimiter under the cursor, the bracket under or after the cursor on its line,
// and finally the conditional of the line. Bracket partners are found by plain counting.
#include "engine/motions/motions.h"

#include <string_view>

#include "engine/motions/motions_common.h"

namespace tavik::motions {
namespace {

// The partner searched for from a bracket, and whether it lies forward.
struct BracketPair {
  char16_t bracket;
  char16_t partner;
  bool forward;
};

constexpr BracketPair kBracketPairs[] = {
    {u'(', u')', true}, {u')', u'(', false}, {u'[', u']', true}, {u']', u'[', false},
    {u'{', u'}', true}, {u'}', u'{', false}, {u'<', u'>', true}, {u'>', u'<', false},
};

const BracketPair* PairOf(char16_t c, bool with_angles) {
  if (!with_angles && (c == u'<' || c == u'>')) return nullptr;
  for (const BracketPair& pair : kBracketPairs) {
    if (pair.bracket == c) return &pair;
  }
  return nullptr;
}

// "*/" after the opener at `open`, or "/*" before the closer at `close`, on any line.
std::optional<TextPos> FindCommentEnd(const TextView& view, TextPos open) {
  const uint32_t count = view.LineCount();
  size_t from = static_cast<size_t>(open.column) + 2;
  for (uint32_t line = open.line; line < count; ++line, from = 0) {
    std::u16string_view text = view.LineText(line);
    size_t at = from < text.size() ? text.find(u"*/", from) : std::u16string_view::npos;
    if (at != std::u16string_view::npos) return TextPos{line, static_cast<uint32_t>(at + 1)};
  }
  return std::nullopt;
}

std::optional<TextPos> FindCommentStart(const TextView& view, TextPos close) {
  for (uint32_t line = close.line + 1; line-- > 0;) {
    std::u16string_view text = view.LineText(line);
    if (line == close.line) text = text.substr(0, close.column);
    size_t at = text.rfind(u"/*");
    if (at != std::u16string_view::npos) return TextPos{line, static_cast<uint32_t>(at)};
  }
  return std::nullopt;
}

// The comment delimiter the cursor is on: its partner, or nothing when the cursor is on none.
std::optional<std::optional<TextPos>> MatchComment(const TextView& view, TextPos at) {
  std::u16string_view text = view.LineText(at.line);
  const size_t c = at.column;
  auto char_at = [&](size_t i) { return i < text.size() ? text[i] : char16_t{0}; };
  if (c >= text.size()) return std::nullopt;
  if (char_at(c) == u'/' && char_at(c + 1) == u'*') return FindCommentEnd(view, at);
  if (char_at(c) == u'*' && c > 0 && char_at(c - 1) == u'/') {
    return FindCommentEnd(view, {at.line, at.column - 1});
  }
  if (char_at(c) == u'*' && char_at(c + 1) == u'/') return FindCommentStart(view, at);
  if (char_at(c) == u'/' && c > 0 && char_at(c - 1) == u'*') {
    return FindCommentStart(view, {at.line, at.column - 1});
  }
  return std::nullopt;
}

void MatchConditionalLine(MotionContext& context, MotionResult& result) {
  std::optional<uint32_t> line = MatchConditional(context.view, result.target.line);
  if (!line) {
    result.failed = true;
    return;
  }
  result.kind = MotionKind::kLinewise;
  result.target = {*line, 0};
}

void SetFound(MotionResult& result, std::optional<TextPos> found) {
  if (found) {
    result.target = *found;
  } else {
    result.failed = true;
  }
}

}  // namespace

void Unmatched(MotionContext& context, MotionResult& result, char16_t wanted, char16_t other,
               bool forward) {
  context.jump = true;
  SetFound(result, FindUnmatched(context.view, result.target, wanted, other, forward));
}

std::optional<TextPos> FindUnmatched(const TextView& view, TextPos from, char16_t wanted,
                                     char16_t other, bool forward) {
  uint64_t depth = 0;
  auto visit = [&](char16_t c) {
    if (c == wanted) {
      if (depth == 0) return true;
      --depth;
    } else if (c == other) {
      ++depth;
    }
    return false;
  };
  if (forward) {
    const uint32_t count = view.LineCount();
    size_t column = static_cast<size_t>(from.column) + 1;
    for (uint32_t line = from.line; line < count; ++line, column = 0) {
      std::u16string_view text = view.LineText(line);
      for (size_t i = column; i < text.size(); ++i) {
        if (visit(text[i])) return TextPos{line, static_cast<uint32_t>(i)};
      }
    }
    return std::nullopt;
  }
  for (uint32_t line = from.line + 1; line-- > 0;) {
    std::u16string_view text = view.LineText(line);
    size_t end = line == from.line ? std::min<size_t>(from.column, text.size()) : text.size();
    for (size_t i = end; i-- > 0;) {
      if (visit(text[i])) return TextPos{line, static_cast<uint32_t>(i)};
    }
  }
  return std::nullopt;
}

void Match(MotionContext& context, MotionResult& result) {
  context.jump = true;
  if (context.remaining_count != 0) {
    Percentage(context, result);
    return;
  }
  const TextView& view = context.view;
  TextPos at = result.target;
  result.kind = MotionKind::kInclusive;

  if (ClassifyConditional(view.LineText(at.line)) != Conditional::kNone &&
      at.column <= FirstNonBlankColumn(view, at.line)) {
    MatchConditionalLine(context, result);
    return;
  }
  if (auto comment = MatchComment(view, at)) {
    SetFound(result, *comment);
    return;
  }
  std::u16string_view text = view.LineText(at.line);
  for (size_t i = at.column; i < text.size(); ++i) {
    const BracketPair* pair = PairOf(text[i], i == at.column);
    if (pair == nullptr) continue;
    TextPos bracket{at.line, static_cast<uint32_t>(i)};
    SetFound(result, FindUnmatched(view, bracket, pair->partner, pair->bracket, pair->forward));
    return;
  }
  MatchConditionalLine(context, result);
}

}  // namespace tavik::motions
