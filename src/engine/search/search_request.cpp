// Parsing typed search text into a request and running it. An offset after a pattern moves the
// landing place; a repeated search first takes the offset back so it does not find the same
// match again.
#include "engine/search/search_request.h"

#include <algorithm>

#include "common/char_class.h"
#include "common/utf16_chars.h"
#include "regex/search.h"

namespace tavik {
namespace {

// Reads an offset at `i`; returns the index after it.
size_t ReadOffset(std::u16string_view text, size_t i, SearchItem& item) {
  if (i >= text.size()) return i;
  char16_t c = text[i];
  int32_t amount = 0;
  if (c == u'+' || c == u'-' || IsAsciiDigit(c)) {
    item.offset_kind = SearchOffsetKind::kLine;
    amount = 1;
  } else if (c == u'b' || c == u's' || c == u'e') {
    item.offset_kind = c == u'e' ? SearchOffsetKind::kEnd : SearchOffsetKind::kStart;
    ++i;
  } else {
    return i;
  }
  int32_t sign = 1;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    sign = text[i] == u'-' ? -1 : 1;
    amount = 1;
    ++i;
  }
  if (i < text.size() && IsAsciiDigit(text[i])) {
    int64_t n = 0;
    while (i < text.size() && IsAsciiDigit(text[i])) {
      n = std::min<int64_t>(n * 10 + (text[i] - u'0'), INT32_MAX);
      ++i;
    }
    amount = static_cast<int32_t>(n);
  }
  item.offset_count = sign * amount;
  return i;
}

TextPos StepForward(const LineSource& source, TextPos p) {
  std::u16string_view text = source.LineText(p.line);
  if (p.column < text.size()) return {p.line, NextCharColumn(text, p.column)};
  if (p.line + 1 < source.LineCount()) return {p.line + 1, 0};
  return p;
}

TextPos StepBackward(const LineSource& source, TextPos p) {
  if (p.column > 0) return {p.line, PrevCharColumn(source.LineText(p.line), p.column)};
  if (p.line > 0) {
    return {p.line - 1, static_cast<uint32_t>(source.LineText(p.line - 1).size())};
  }
  return p;
}

// Moves by `n` characters, counting a line break as one.
TextPos MoveChars(const LineSource& source, TextPos p, int64_t n) {
  for (; n > 0; --n) {
    TextPos next = StepForward(source, p);
    if (next == p) break;
    p = next;
  }
  for (; n < 0; ++n) {
    TextPos prev = StepBackward(source, p);
    if (prev == p) break;
    p = prev;
  }
  return p;
}

MatchStatus SearchItemFrom(const LineSource& source, const SearchItem& item, TextPos from,
                           bool backward, const SearchRequest& request, const SearchRunArgs& args,
                           MatchCache& cache, MatchResult* match) {
  SearchArgs search{from, args.stop, backward, args.wrapscan, args.accept_at_start};
  return Search(ItemPattern(request, item, args), source, search, cache, match);
}

}  // namespace

Pattern ItemPattern(const SearchRequest& request, const SearchItem& item,
                    const SearchRunArgs& args) {
  return DecideCase(item.pattern, {args.ignorecase, args.smartcase, request.no_smartcase});
}

ParsedSearch ParseSearchRequest(std::u16string_view text, const SearchParseArgs& args) {
  ParsedSearch out;
  SearchRequest& request = out.request;
  request.no_smartcase = args.no_smartcase;
  request.magic = args.magic;
  request.valid = true;
  bool backward = args.backward;
  char16_t delimiter = args.delimiter != 0 ? args.delimiter : (backward ? u'?' : u'/');
  size_t g = 0;
  for (;;) {
    SearchItem item;
    item.backward = backward;
    item.delimiter = delimiter;
    std::u16string_view rest = text.substr(std::min(g, text.size()), kSearchSourceCapacity);
    CompileResult compiled = CompilePattern(rest, args.magic ? 2 : 1, delimiter);
    if (!compiled.pattern.valid()) {
      request.valid = false;
      request.items.clear();
      out.pattern_end = out.end = g + compiled.pattern_end;
      return out;
    }
    item.source.assign(rest.substr(0, compiled.pattern_end));
    item.pattern = compiled.pattern;
    out.pattern_end = g + compiled.pattern_end;
    bool first = request.items.empty();
    if (item.source.empty() && !first) {
      item.source = request.items.back().source;
      item.pattern = request.items.back().pattern;
    }
    size_t i = g + compiled.after_delimiter;
    if (args.allow_offsets && compiled.after_delimiter > compiled.pattern_end) {
      i = ReadOffset(text, i, item);
    }
    bool chained = i < text.size() && text[i] == u';';
    if (chained) {
      if (i + 1 >= text.size() || (text[i + 1] != u'/' && text[i + 1] != u'?')) {
        request.valid = false;
        request.items.clear();
        out.end = i;
        return out;
      }
    }
    if (!(first && item.source.empty() && !chained)) {
      request.items.push_back(std::move(item));
    } else {
      request.starts_empty = true;
    }
    if (!chained) {
      out.end = i;
      return out;
    }
    delimiter = text[i + 1];
    backward = delimiter == u'?';
    g = i + 2;
  }
}

TextPos ApplySearchOffset(const LineSource& source, const SearchItem& item, TextPos start,
                          TextPos end, bool* end_offset) {
  switch (item.offset_kind) {
    case SearchOffsetKind::kNone:
      return start;
    case SearchOffsetKind::kLine: {
      if (item.offset_count == 0) return start;
      int64_t line = int64_t(start.line) + item.offset_count;
      int64_t last = int64_t(source.LineCount()) - 1;
      return {static_cast<uint32_t>(std::clamp<int64_t>(line, 0, std::max<int64_t>(last, 0))), 0};
    }
    case SearchOffsetKind::kStart:
      return MoveChars(source, start, item.offset_count);
    case SearchOffsetKind::kEnd:
      if (end_offset != nullptr) *end_offset = true;
      return MoveChars(source, StepBackward(source, end), item.offset_count);
  }
  return start;
}

SearchOutcome SearchChained(const LineSource& source, TextPos start, const SearchRequest& request,
                            const SearchRunArgs& args, MatchCache& cache) {
  SearchOutcome out;
  if (!request.valid || request.items.empty()) return out;
  TextPos pos = start;
  for (size_t k = 0; k < request.items.size(); ++k) {
    const SearchItem& item = request.items[k];
    if (item.offset_kind == SearchOffsetKind::kStart ||
        item.offset_kind == SearchOffsetKind::kEnd) {
      // Take the offset back within the line, so that a repeat does not land on the same match.
      uint32_t length = static_cast<uint32_t>(source.LineText(pos.line).size());
      int64_t column = int64_t(pos.column) - item.offset_count;
      pos.column = static_cast<uint32_t>(std::clamp<int64_t>(column, 0, length));
    }
    bool backward = item.backward != (k == 0 && args.reverse_first);
    out.status = SearchItemFrom(source, item, pos, backward, request, args, cache, &out.match);
    if (out.status != MatchStatus::kMatch) return out;
    out.match_start = out.match.start;
    out.match_end = out.match.end;
    out.end_offset = false;
    pos = ApplySearchOffset(source, item, out.match.start, out.match.end, &out.end_offset);
  }
  out.pos = pos;
  return out;
}

SearchOutcome SearchPlain(const LineSource& source, TextPos start, const SearchRequest& request,
                          const SearchRunArgs& args, MatchCache& cache) {
  SearchOutcome out;
  if (!request.valid || request.items.empty()) return out;
  const SearchItem& item = request.items.back();
  out.status = SearchItemFrom(source, item, start, item.backward, request, args, cache, &out.match);
  if (out.status != MatchStatus::kMatch) return out;
  out.match_start = out.match.start;
  out.match_end = out.match.end;
  out.pos = ApplySearchOffset(source, item, out.match.start, out.match.end, &out.end_offset);
  return out;
}

}  // namespace tavik
