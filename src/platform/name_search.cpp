// Name lookups for the navigation commands. A line is scanned once for the part of it that can
// lead up to a defined name, so a long line with many occurrences stays linear.
#include "platform/name_search.h"

#include <algorithm>
#include <array>

namespace tavik::platform {

namespace {

// Words that start statements or expressions, not definitions: "return foo;" uses foo.
constexpr std::array<std::u16string_view, 26> kNotDefining = {
    u"return", u"else",   u"case",  u"goto",  u"throw",    u"new",      u"delete",
    u"sizeof", u"if",     u"while", u"for",   u"switch",   u"do",       u"not",
    u"and",    u"or",     u"in",    u"is",    u"await",    u"co_await", u"co_return",
    u"yield",  u"import", u"from",  u"raise", u"co_yield",
};

bool IsLineBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

bool IsNonAsciiSign(char16_t c) {
  if (c >= 0x80 && c <= 0xBF) return c != 0xAA && c != 0xB5 && c != 0xBA;  // ª µ º are letters
  return c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x3003) ||
         c == 0xFEFF || c == 0xFFFC;
}

size_t SkipBlanks(std::u16string_view line, size_t i) {
  while (i < line.size() && IsLineBlank(line[i])) ++i;
  return i;
}

size_t WordEnd(std::u16string_view line, size_t i) {
  while (i < line.size() && IsNameUnit(line[i])) ++i;
  return i;
}

// The part of a line that may stand before a defined name: its first word, and the end of the
// run of words, blanks and declarator signs ("*", "&", "<", ">", ",", "::") that follows.
struct DefinitionPrefix {
  size_t first_word = std::u16string_view::npos;
  size_t end = 0;
  bool directive = false;  // "#define NAME": whatever follows the name is its value
};

DefinitionPrefix ScanPrefix(std::u16string_view line) {
  DefinitionPrefix prefix;
  size_t i = SkipBlanks(line, 0);
  if (i < line.size() && line[i] == u'#') {
    const size_t word = SkipBlanks(line, i + 1);
    const size_t word_end = WordEnd(line, word);
    if (line.substr(word, word_end - word) == u"define") {
      prefix.first_word = word;
      prefix.end = SkipBlanks(line, word_end);
      prefix.directive = true;
    }
    return prefix;
  }
  while (i < line.size()) {
    const char16_t c = line[i];
    const bool after_word = prefix.first_word != std::u16string_view::npos;
    if (IsNameUnit(c)) {
      const size_t end = WordEnd(line, i);
      const std::u16string_view word = line.substr(i, end - i);
      if (std::find(kNotDefining.begin(), kNotDefining.end(), word) != kNotDefining.end()) break;
      if (!after_word) prefix.first_word = i;
      i = end;
    } else if (IsLineBlank(c)) {
      ++i;
    } else if (after_word && (c == u'*' || c == u'&' || c == u'<' || c == u'>' || c == u',')) {
      ++i;
    } else if (after_word && c == u':' && i + 1 < line.size() && line[i + 1] == u':') {
      i += 2;
    } else {
      break;
    }
  }
  prefix.end = i;
  return prefix;
}

bool EndsDefinition(std::u16string_view line, size_t after_name) {
  const size_t i = SkipBlanks(line, after_name);
  if (i == line.size()) return true;
  const char16_t next = i + 1 < line.size() ? line[i + 1] : u'\0';
  switch (line[i]) {
    case u'(':
    case u'{':
    case u';':
    case u'[':
      return true;
    case u'=':
      return next != u'=';
    case u':':
      return next != u':';
    default:
      return false;
  }
}

bool QualifiesAt(std::u16string_view line, const DefinitionPrefix& prefix, size_t at,
                 size_t length) {
  if (prefix.first_word == std::u16string_view::npos || prefix.first_word >= at) return false;
  if (prefix.directive) return at == prefix.end;
  return at <= prefix.end && EndsDefinition(line, at + length);
}

bool IsWholeWordAt(std::u16string_view line, size_t at, std::u16string_view name) {
  if (IsNameUnit(name.front()) && at > 0 && IsNameUnit(line[at - 1])) return false;
  const size_t end = at + name.size();
  return !(IsNameUnit(name.back()) && end < line.size() && IsNameUnit(line[end]));
}

template <typename Pred>
std::u16string_view RunAt(std::u16string_view line, uint32_t column, Pred in_run) {
  if (column >= line.size() || !in_run(line[column])) return {};
  size_t start = column;
  while (start > 0 && in_run(line[start - 1])) --start;
  size_t end = column;
  while (end < line.size() && in_run(line[end])) ++end;
  return line.substr(start, end - start);
}

}  // namespace

bool IsNameUnit(char16_t c) {
  if (c < 0x80) {
    return c == u'_' || (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') ||
           (c >= u'A' && c <= u'Z');
  }
  return !IsNonAsciiSign(c);
}

bool IsFileNameUnit(char16_t c) {
  return IsNameUnit(c) || c == u'-' || c == u'.' || c == u'/' || c == u'\\' || c == u'~' ||
         c == u':';
}

bool LooksLikeDefinition(std::u16string_view line, size_t at, size_t length) {
  if (length == 0 || at + length > line.size()) return false;
  return QualifiesAt(line, ScanPrefix(line), at, length);
}

std::optional<TextPos> FindDefinition(const TextBuffer& buffer, std::u16string_view name) {
  if (name.empty()) return std::nullopt;
  std::optional<TextPos> first;
  std::u16string text;
  for (uint32_t line = 0; line < buffer.LineCount(); ++line) {
    buffer.ReadLine(line, text);
    const std::u16string_view view = text;
    std::optional<DefinitionPrefix> prefix;  // scanned once, on the first occurrence
    for (size_t at = view.find(name); at != std::u16string_view::npos;
         at = view.find(name, at + 1)) {
      if (!IsWholeWordAt(view, at, name)) continue;
      const TextPos pos{line, static_cast<uint32_t>(at)};
      if (!first) first = pos;
      if (!prefix) prefix = ScanPrefix(view);
      // Past the prefix no later occurrence on this line can qualify.
      if (at > prefix->end) break;
      if (QualifiesAt(view, *prefix, at, name.size())) return pos;
    }
  }
  return first;
}

std::u16string_view WordAt(std::u16string_view line, uint32_t column) {
  return RunAt(line, column, IsNameUnit);
}

std::u16string_view FileNameAt(std::u16string_view line, uint32_t column) {
  return RunAt(line, column, IsFileNameUnit);
}

}  // namespace tavik::platform
