// Fuzz target of the pattern engine: compiles arbitrary pattern text at any magic level with
// any delimiter and runs searches and match attempts over arbitrary text. It must never crash,
// leak or hang; the work bounds keep every call short.
//
// Input layout: byte 0 chooses level, case rule, delimiter and search options; the pattern runs
// to the first 0x00 byte, the text follows ('\n' separates lines). Bytes 0xF0-0xFF take the
// next byte as the low half of a character above 0xFF, so non-Latin text is reached too.
#include <cstddef>
#include <cstdint>
#include <string>

#include "regex/search.h"

namespace {

std::u16string Decode(const uint8_t* data, size_t size) {
  std::u16string out;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] >= 0xF0 && i + 1 < size) {
      out += char16_t(((data[i] & 0x0F) << 8 | data[i + 1]) + 0x100);
      ++i;
    } else {
      out += char16_t(data[i]);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 4096) return 0;
  const uint8_t options = data[0];
  const uint8_t* rest = data + 1;
  size_t rest_size = size - 1;
  size_t split = 0;
  while (split < rest_size && rest[split] != 0) ++split;
  std::u16string pattern_text = Decode(rest, split);
  std::u16string text = split < rest_size ? Decode(rest + split + 1, rest_size - split - 1) : u"";

  static constexpr char16_t kDelimiters[] = {tavik::kNoDelimiter, u'/', u'?', u'#'};
  tavik::CompileResult r =
      tavik::CompilePattern(pattern_text, options & 3, kDelimiters[(options >> 2) & 3]);
  if (r.pattern_end > pattern_text.size() || r.after_delimiter > pattern_text.size())
    __builtin_trap();
  if (!r.pattern.valid()) return 0;
  tavik::Pattern pattern = r.pattern.WithIgnoreCase((options >> 4) & 1);
  tavik::StringLineSource lines = tavik::StringLineSource::FromText(text);
  tavik::MatchCache cache;
  cache.limits.step_budget = 20000;  // keeps each input fast; the bound itself is exercised
  tavik::MatchResult m;
  tavik::SearchArgs args;
  args.wrapscan = (options >> 5) & 1;
  args.accept_at_start = (options >> 6) & 1;
  args.backward = (options >> 7) & 1;
  args.start = {uint32_t(text.size() % (lines.LineCount() + 1)), uint32_t(size % 7)};
  tavik::Search(pattern, lines, args, cache, &m);
  args.backward = !args.backward;
  tavik::Search(pattern, lines, args, cache, &m);
  for (uint32_t line = 0; line < lines.LineCount() && line < 4; ++line) {
    uint32_t len = uint32_t(lines.LineText(line).size());
    for (uint32_t col = 0; col <= len && col < 16; ++col) {
      if (tavik::MatchAt(pattern, lines, {line, col}, cache, &m) == tavik::MatchStatus::kMatch) {
        for (const tavik::Capture& c : m.captures) {
          if (c.has_start && c.start.line >= lines.LineCount()) __builtin_trap();
        }
      }
    }
  }
  return 0;
}
