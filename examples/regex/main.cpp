// The pattern library on its own: compiles the pattern given as argument and prints every match
// in the text read from standard input, one per output line as LINE:COLUMN (both from 1, the
// column in UTF-16 units) and the matched text, or reports why the pattern does not compile.
//   Usage: regex [-i] PATTERN < TEXT      (-i ignores case unless the pattern has upper case)
#include <tavik/regex.h>

#include <iostream>
#include <string>
#include <string_view>

namespace {

// UTF-8 to UTF-16; a byte that starts no valid sequence becomes U+FFFD.
std::u16string Widen(std::string_view in) {
  std::u16string out;
  for (size_t i = 0, n = 0; i < in.size(); i += n + 1) {
    const unsigned char b = in[i];
    n = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : 4;
    char32_t c = n == 4 ? 0xFFFD : b & (0x7F >> n);
    for (size_t k = 1; k <= n && c != 0xFFFD; ++k) {
      c = i + k < in.size() && (in[i + k] & 0xC0) == 0x80 ? (c << 6) | (in[i + k] & 0x3F) : 0xFFFD;
    }
    if (c == 0xFFFD) n = 0;
    if (c >= 0x10000) out += {char16_t(0xD7C0 + (c >> 10)), char16_t(0xDC00 | (c & 0x3FF))};
    if (c < 0x10000) out += char16_t(c);
  }
  return out;
}

// UTF-16 to UTF-8.
std::string Narrow(std::u16string_view in) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t c = in[i];
    if ((c & 0xFC00) == 0xD800 && i + 1 < in.size() && (in[i + 1] & 0xFC00) == 0xDC00) {
      c = 0x10000 + ((c - 0xD800) << 10) + (in[++i] - 0xDC00);
    }
    const int n = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += char(n == 0 ? c : (0xFF & ~(0xFF >> (n + 1))) | (c >> (6 * n)));
    for (int k = n - 1; k >= 0; --k) out += char(0x80 | ((c >> (6 * k)) & 0x3F));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const bool ignore_case = argc == 3 && std::string_view(argv[1]) == "-i";
  if (argc != 2 + int(ignore_case)) {
    std::cerr << "usage: regex [-i] PATTERN < TEXT\n";
    return 2;
  }
  // Magic level 2, as with the `magic` option on; no delimiter ends the pattern.
  const tavik::CompileResult compiled =
      tavik::CompilePattern(Widen(argv[argc - 1]), 2, tavik::kNoDelimiter);
  if (!compiled.pattern.valid()) {
    std::cerr << "regex: invalid pattern (error " << int(compiled.error) << " near character "
              << compiled.pattern_end + 1 << ")\n";
    return 2;
  }
  const tavik::Pattern pattern = tavik::DecideCase(compiled.pattern, {ignore_case, ignore_case});

  tavik::StringLineSource text;
  for (std::string line; std::getline(std::cin, line);) text.lines().push_back(Widen(line));
  tavik::MatchCache cache;
  tavik::MatchResult match;
  tavik::SearchArgs args;  // forward from the start, a match at the start counts, no wrapping
  args.accept_at_start = true;
  while (args.start.line < text.LineCount()) {
    const tavik::MatchStatus status = tavik::Search(pattern, text, args, cache, &match);
    if (status == tavik::MatchStatus::kTooComplex) {
      std::cerr << "regex: " << tavik::kPatternTooComplexMessage << '\n';
      return 1;
    }
    if (status == tavik::MatchStatus::kNoMatch) break;
    std::u16string matched;
    for (uint32_t line = match.start.line; line <= match.end.line; ++line) {
      const std::u16string_view whole = text.LineText(line);
      const size_t from = line == match.start.line ? match.start.column : 0;
      const size_t to = line == match.end.line ? match.end.column : whole.size();
      if (line != match.start.line) matched += u'\n';
      matched += whole.substr(from, to - from);
    }
    std::cout << match.start.line + 1 << ':' << match.start.column + 1 << ": " << Narrow(matched)
              << '\n';
    // The next search starts at the match's end, or one further after an empty match.
    args.start =
        match.end > match.start ? match.end : tavik::TextPos{match.end.line, match.end.column + 1};
    if (args.start.column > text.LineText(args.start.line).size())
      args.start = {args.start.line + 1, 0};
  }
  return 0;
}
