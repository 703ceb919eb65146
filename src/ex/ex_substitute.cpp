// ":substitute", ":&" and the normal-mode "&": reading the pattern, the replacement template and
// the flags, keeping them as the last substitution, and repeating it.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "engine/attached_view.h"
#include "engine/search/search_request.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"
#include "ex/substitute_run.h"
#include "ex/substitute_template.h"

namespace tavik {
namespace {

constexpr std::u16string_view kSyntaxMessage = u"substitute: regex syntax error";
constexpr std::u16string_view kEmptyMessage = u"substitute: empty regex";
constexpr std::u16string_view kLastSearchSyntaxMessage =
    u"substitute: last search string: regex syntax error";
constexpr std::u16string_view kLastSearchEmptyMessage =
    u"substitute: last search string: empty regex";

// Stored pattern texts are parsed as they are: without a delimiter, so they end with the text.
ParsedSearch ParseWhole(std::u16string_view text, bool magic) {
  SearchParseArgs args;
  args.magic = magic;
  args.delimiter = kNoDelimiter;
  return ParseSearchRequest(text, args);
}

// "g" toggles (so with gdefault on a single "g" turns it off), the others only set. The first
// run of digits is a count: the substitution then covers that many lines from the range's last
// line (0 counts as 1). Any other character is ignored.
void ReadFlags(const ExContext& context, std::u16string_view text, SubstituteFlags& flags,
               ExRange& range) {
  std::optional<uint32_t> count;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9' && !count) {
      uint64_t n = 0;
      for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        n = std::min<uint64_t>(n * 10 + (text[i] - u'0'), UINT32_MAX);
      }
      --i;
      count = static_cast<uint32_t>(std::max<uint64_t>(n, 1));
    }
    if (c == u'g') flags.global = !flags.global;
    if (c == u'c') flags.confirm = true;
    if (c == u'i') flags.ignore_case = true;
    if (c == u'I') flags.match_case = true;
    if (c == u'n') flags.count_only = true;
  }
  if (count) {
    const uint32_t last_line = context.text.LineCount() - 1;
    range.first = std::min(range.last, last_line);
    range.last =
        static_cast<uint32_t>(std::min<uint64_t>(uint64_t{range.first} + *count - 1, last_line));
  }
}

// The last substitution's pattern as a request; nothing (and the message shown) when there is
// none or it does not compile.
std::optional<SearchRequest> StoredRequest(ExContext& context, const LastSubstitution& last) {
  if (last.pattern.empty()) {
    context.Message(kEmptyMessage);
    return std::nullopt;
  }
  ParsedSearch parsed = ParseWhole(last.pattern, last.magic);
  if (!parsed.request.valid || parsed.request.items.empty()) {
    context.Message(kSyntaxMessage);
    return std::nullopt;
  }
  return std::move(parsed.request);
}

// False when there was nothing to repeat.
bool RepeatLast(ExContext& context, ExRange range, const SubstituteFlags& flags) {
  LastSubstitution& last = context.engine.Search().Substitution();
  std::optional<SearchRequest> request = StoredRequest(context, last);
  if (!request) return false;
  const std::u16string replacement = last.replacement;
  RunSubstitution(context, *request, replacement, range, flags);
  return true;
}

}  // namespace

namespace ex_commands {

void Substitute(ExContext& context, std::u16string_view argument, ExRange range, bool bang) {
  SearchState& search = context.engine.Search();
  LastSubstitution& last = search.Substitution();
  if (argument.empty() && !bang) {
    RepeatLast(context, range, last.flags);
    return;
  }
  // A bang was the delimiter "!"; a delimiter outside ASCII counts as none, so the pattern runs
  // to the end of the text.
  char16_t delimiter = bang ? u'!' : argument.front();
  std::u16string_view text = bang ? argument : argument.substr(1);
  if (delimiter >= 128) delimiter = kNoDelimiter;
  const OptionSet& options = context.engine.GlobalOptions();
  const bool magic = options.Bool(OptionId::kMagic);

  CompileResult compiled = CompilePattern(text, magic ? 2 : 1, delimiter);
  if (!compiled.pattern.valid()) {
    context.Message(kSyntaxMessage);
    return;
  }
  std::u16string pattern(text.substr(0, compiled.pattern_end));
  SearchRequest request;
  if (pattern.empty()) {
    pattern = search.LastString();
    ParsedSearch previous = ParseWhole(pattern, magic);
    if (!previous.request.valid) {
      context.Message(kLastSearchSyntaxMessage);
      return;
    }
    if (previous.request.items.empty()) {
      context.Message(kLastSearchEmptyMessage);
      return;
    }
    request = std::move(previous.request);
  } else {
    // Only the pattern and its delimiter: what follows is the template, never a chained search.
    SearchParseArgs args;
    args.magic = magic;
    args.delimiter = delimiter;
    args.allow_offsets = false;
    ParsedSearch parsed = ParseSearchRequest(text.substr(0, compiled.after_delimiter), args);
    if (!parsed.request.valid || parsed.request.items.empty()) {
      context.Message(kSyntaxMessage);
      return;
    }
    request = std::move(parsed.request);
  }
  search.SetLastSearch(request, pattern);
  last.pattern = pattern;
  last.magic = magic;

  std::u16string_view rest = text.substr(compiled.after_delimiter);
  const bool closed = compiled.after_delimiter > compiled.pattern_end;
  const size_t template_end = closed ? FindTemplateEnd(rest, delimiter) : rest.size();
  last.replacement.assign(rest.substr(0, template_end));
  SubstituteFlags flags;
  flags.global = options.Bool(OptionId::kGDefault);
  if (template_end < rest.size()) ReadFlags(context, rest.substr(template_end + 1), flags, range);
  last.flags = flags;
  const std::u16string replacement = last.replacement;
  RunSubstitution(context, request, replacement, range, flags);
}

void RepeatSubstitute(ExContext& context, std::u16string_view argument, ExRange range, bool) {
  SubstituteFlags flags;
  ReadFlags(context, argument, flags, range);
  if (RepeatLast(context, range, flags)) context.engine.Search().Substitution().flags = flags;
}

void RepeatSubstitutionOnCursorLine(ExContext& context) {
  ExRange range;
  range.first = range.last = context.cursor.line;
  RepeatLast(context, range, SubstituteFlags{});
}

}  // namespace ex_commands
}  // namespace tavik
