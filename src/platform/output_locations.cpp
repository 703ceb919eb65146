// Reading places out of build output lines.
#include "platform/output_locations.h"

#include "common/char_class.h"

namespace tavik::platform {

namespace {

// Characters that cannot end a line number: a place is followed by these or by the line's end.
bool EndsNumber(char16_t c) {
  return c == u':' || c == u',' || c == u' ' || c == u'\t' || c == u')' || c == u']';
}

// Characters that come before a file name in output text rather than inside it.
bool BeforeFileName(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'(' || c == u'[' || c == u'"' || c == u'\'' ||
         c == u'<' || c == u'{' || c == u'`' || c == u'=';
}

// Up to nine digits from `at`; the index after them, or `at` when there are none or too many.
size_t ReadNumber(std::u16string_view text, size_t at, uint32_t& value) {
  size_t end = at;
  uint32_t v = 0;
  while (end < text.size() && IsAsciiDigit(text[end])) {
    if (end - at == 9) return at;
    v = v * 10 + static_cast<uint32_t>(text[end] - u'0');
    ++end;
  }
  value = v;
  return end;
}

bool SpeaksOfError(std::u16string_view rest) {
  static constexpr std::u16string_view kWord = u"error";
  if (rest.size() < kWord.size()) return false;
  for (size_t i = 0; i + kWord.size() <= rest.size(); ++i) {
    bool same = true;
    for (size_t k = 0; k < kWord.size() && same; ++k) {
      char16_t c = rest[i + k];
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
      same = c == kWord[k];
    }
    if (same) return true;
  }
  return false;
}

// The text before the place ends in make's "*** [" (after "make: " or "make[2]: ").
bool IsMakeReport(std::u16string_view before) {
  return before.ends_with(u"*** [");
}

}  // namespace

std::optional<OutputLocation> ParseLocation(std::u16string_view text) {
  for (size_t colon = text.find(u':'); colon != std::u16string_view::npos;
       colon = text.find(u':', colon + 1)) {
    uint32_t line = 0;
    const size_t line_end = ReadNumber(text, colon + 1, line);
    if (line_end == colon + 1 || line == 0) continue;
    size_t end = line_end;
    uint32_t column = 0;
    if (end < text.size() && text[end] == u':') {
      const size_t column_end = ReadNumber(text, end + 1, column);
      if (column_end != end + 1) end = column_end;
    }
    if (end < text.size() && !EndsNumber(text[end])) continue;
    size_t start = colon;
    while (start > 0 && !BeforeFileName(text[start - 1])) --start;
    const std::u16string_view file = text.substr(start, colon - start);
    bool all_digits = true;
    for (char16_t c : file) all_digits = all_digits && (IsAsciiDigit(c) || c == u':');
    if (file.empty() || all_digits) continue;  // a time of day, not a place
    OutputLocation location;
    location.file = std::u16string(file);
    location.line = line;
    location.column = column;
    // make reports a failed recipe as "make: *** [Makefile:4: all] Error 2": the compiler's
    // error before it is the one to count, so make's own line is a place but not an error.
    location.error = SpeaksOfError(text.substr(end)) && !IsMakeReport(text.substr(0, start));
    return location;
  }
  return std::nullopt;
}

void BuildLog::Start(std::string folder) {
  folder_ = std::move(folder);
  lines_.clear();
  locations_.clear();
  current_.reset();
}

void BuildLog::AddLine(std::u16string_view line) {
  lines_.emplace_back(line);
  locations_.push_back(ParseLocation(line));
}

bool BuildLog::Counts(size_t index, bool errors_only) const {
  const std::optional<OutputLocation>& location = locations_[index];
  return location && (!errors_only || location->error);
}

size_t BuildLog::CountLocations(bool errors_only) const {
  size_t count = 0;
  for (size_t i = 0; i < lines_.size(); ++i) count += Counts(i, errors_only) ? 1 : 0;
  return count;
}

size_t BuildLog::OrdinalOf(size_t index, bool errors_only) const {
  size_t ordinal = 0;
  for (size_t i = 0; i <= index && i < lines_.size(); ++i)
    ordinal += Counts(i, errors_only) ? 1 : 0;
  return ordinal;
}

}  // namespace tavik::platform
