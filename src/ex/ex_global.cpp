// ":global" and ":vglobal": mark the lines of the range that contain a match of the pattern (or
// that do not), then run an ex command line on each marked line that is still there. The marks
// follow the edits the commands make, so deleted lines are skipped and inserted lines are not
// visited.
#include <algorithm>
#include <string>
#include <vector>

#include "common/char_class.h"
#include "engine/search/search_request.h"
#include "engine/search/search_state.h"
#include "engine/state/register_file.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"
#include "ex/ex_line.h"
#include "ex/marked_lines.h"

namespace tavik::ex_commands {
namespace {

using namespace std::string_view_literals;

constexpr std::u16string_view kMissingMessage = u"Regular expression missing from global";
constexpr std::u16string_view kSyntaxMessage = u"substitute: regex syntax error";
constexpr std::u16string_view kNoPreviousMessage = u"No previous regular expression";
constexpr std::u16string_view kNestedMessage = u"Cannot run :g inside :g";
constexpr std::u16string_view kTooComplexMessage = u"Pattern too complex";
constexpr std::u16string_view kDelimiterMessage = u"Invalid delimiter for :g";

// Letters, digits and the backslash would read as part of the pattern, and half of a
// surrogate pair is no character.
bool IsDelimiter(char16_t c) {
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  return !surrogate && c != u'\\' && !IsAlphaChar(c) && !IsDigitChar(c);
}

struct GlobalPattern {
  SearchRequest request;
  std::u16string text;  // the pattern text, when newly given
  bool newly_given = false;
  std::u16string_view command;
};

// Reads the pattern and the command text; nothing (and the message shown) on an error.
std::optional<GlobalPattern> ReadPattern(ExContext& context, std::u16string_view argument) {
  if (argument.empty()) {
    context.Message(kMissingMessage);
    return std::nullopt;
  }
  SearchState& search = context.engine.Search();
  const char16_t delimiter = argument.front();
  if (!IsDelimiter(delimiter)) {
    context.Message(kDelimiterMessage);
    return std::nullopt;
  }
  GlobalPattern out;
  if (argument.size() > 1 && argument[1] != delimiter) {
    std::u16string_view rest = argument.substr(1);
    SearchParseArgs args;
    args.magic = context.engine.GlobalOptions().Bool(OptionId::kMagic);
    args.delimiter = delimiter;
    // The command follows the closing delimiter at once: "+1d" and "s/a/b/" are commands here,
    // not search offsets.
    args.allow_offsets = false;
    ParsedSearch parsed = ParseSearchRequest(rest, args);
    if (!parsed.request.valid || parsed.request.items.empty()) {
      context.Message(kSyntaxMessage);
      return std::nullopt;
    }
    out.request = std::move(parsed.request);
    out.text.assign(rest.substr(0, parsed.pattern_end));
    out.newly_given = true;
    out.command = rest.substr(std::min(parsed.end, rest.size()));
    return out;
  }
  // An empty pattern: the last search, always forward.
  const std::optional<SearchRequest>& last = search.LastRequest();
  if (!last || !last->valid || last->items.empty()) {
    context.Message(kNoPreviousMessage);
    return std::nullopt;
  }
  out.request = *last;
  for (SearchItem& item : out.request.items) item.backward = false;
  out.command = argument.substr(std::min<size_t>(2, argument.size()));
  return out;
}

// Marks the lines [first, last] that have a match (or have none, when `inverted`). False when
// the pattern proved too complex.
bool MarkLines(ExContext& context, const SearchRequest& request, uint32_t first, uint32_t last,
               bool inverted, MarkedLines& marks) {
  TextView& view = context.text;
  SearchState& search = context.engine.Search();
  SearchRunArgs args = search.RunArgs(true);
  args.wrapscan = false;
  if (request.items.size() > 1) {
    // A chained request is run from the start of every line on its own.
    for (uint32_t line = first; line <= last; ++line) {
      args.stop = TextPos{line, view.LineLength(line)};
      SearchOutcome outcome = search.Run(view, {line, 0}, request, args);
      if (outcome.status == MatchStatus::kTooComplex) return false;
      if (outcome.found() != inverted) marks.Add(line);
    }
    return true;
  }
  // One pattern: one scan finds every line with a match, so that lines without one cost only
  // the matcher's skipping.
  std::vector<uint32_t> hits;
  if (search.MatchingLines(view, request, first, last, args, &hits) == MatchStatus::kTooComplex) {
    return false;
  }
  if (!inverted) {
    for (uint32_t hit : hits) marks.Add(hit);
    return true;
  }
  uint32_t line = first;
  for (uint32_t hit : hits) {
    for (; line < hit; ++line) marks.Add(line);
    line = hit + 1;
  }
  for (; line <= last; ++line) marks.Add(line);
  return true;
}

// A bare ":d" (any abbreviation of "delete", with nothing after it).
bool IsPlainDelete(std::u16string_view command) {
  const size_t begin = command.find_first_not_of(u" \t");
  if (begin == std::u16string_view::npos) return false;
  command = command.substr(begin);
  command = command.substr(0, command.find_last_not_of(u" \t") + 1);
  return u"delete"sv.starts_with(command);
}

// ":d" on every marked line, with each run of neighbouring marked lines deleted in one edit:
// where most lines are marked this is a few thousand edits instead of a million, with the same
// text, register, caret and undo step as one deletion per line.
void DeleteMarkedLines(ExContext& context, MarkedLines& marks) {
  TextView& view = context.text;
  while (view.IsAttached()) {
    std::optional<uint32_t> first = marks.Next();
    if (!first) break;
    if (*first >= view.LineCount()) continue;
    uint32_t last = *first;
    while (last + 1 < view.LineCount() && marks.Peek() == last + 1) last = *marks.Next();
    if (last > *first && last + 1 == view.LineCount()) {
      // The last line of the buffer goes with the line break before it, a change of another
      // shape, which undo would place the caret by: it gets its own edit, as it would.
      DeleteLinesOneByOne(context, *first, last - 1, false);
      last = *first;
    }
    DeleteLinesOneByOne(context, *first, last, !marks.Peek());
  }
}

// Removes the change listener however the run ends.
class ListenerGuard {
 public:
  ListenerGuard(TextView& view, MarkedLines& marks)
      : view_(view), id_(view.AddChangeListener([&marks](const TextChange& change) {
          marks.OnChange(change);
        })) {}
  ~ListenerGuard() { view_.RemoveChangeListener(id_); }
  ListenerGuard(const ListenerGuard&) = delete;
  ListenerGuard& operator=(const ListenerGuard&) = delete;

 private:
  TextView& view_;
  int id_;
};

// Holds the clipboard register's trips to the system clipboard for the run: only the last
// text written goes out.
class ClipboardHold {
 public:
  explicit ClipboardHold(RegisterFile& registers) : registers_(registers) {
    registers_.HoldClipboard();
  }
  ~ClipboardHold() { registers_.ReleaseClipboard(); }
  ClipboardHold(const ClipboardHold&) = delete;
  ClipboardHold& operator=(const ClipboardHold&) = delete;

 private:
  RegisterFile& registers_;
};

void RunGlobal(ExContext& context, std::u16string_view argument, ExRange range, bool inverted) {
  if (context.in_global) {
    context.Message(kNestedMessage);
    return;
  }
  std::optional<GlobalPattern> pattern = ReadPattern(context, argument);
  if (!pattern) return;
  SearchState& search = context.engine.Search();
  if (pattern->newly_given) {
    // A new pattern is also what ":s" and ":&" reuse with an empty pattern of their own.
    search.SetLastSearch(pattern->request, pattern->text);
    search.Substitution().pattern = pattern->text;
    search.Substitution().magic = pattern->request.magic;
  }
  std::u16string_view command = pattern->command;
  if (command.find_first_not_of(u" \t") == std::u16string_view::npos) command = u"p";

  TextView& view = context.text;
  const uint32_t last = std::min(range.last, view.LineCount() - 1);
  const uint32_t first = std::min(range.first, last);
  MarkedLines marks;
  if (!MarkLines(context, pattern->request, first, last, inverted, marks)) {
    context.Message(kTooComplexMessage);
    return;
  }
  marks.Finish();
  {
    ListenerGuard guard(view, marks);
    // One compound edit for every command run: the host records one unit instead of one per
    // edit.
    TextView::CompoundScope compound(view);
    ClipboardHold hold(context.engine.Registers());
    if (IsPlainDelete(command)) {
      DeleteMarkedLines(context, marks);
    }
    while (view.IsAttached()) {
      std::optional<uint32_t> line = marks.Next();
      if (!line) break;
      if (*line >= view.LineCount()) continue;
      ExContext each{context.engine, context.view, view, {*line, 0}};
      each.in_global = true;
      view.SetCaret(each.cursor);
      ExecuteExLine(each, command);
    }
  }
  if (pattern->newly_given) search.SetHighlightRequest(pattern->request);
}

}  // namespace

void Global(ExContext& context, std::u16string_view argument, ExRange range, bool bang) {
  RunGlobal(context, argument, range, bang);
}

void InverseGlobal(ExContext& context, std::u16string_view argument, ExRange range, bool) {
  RunGlobal(context, argument, range, true);
}

}  // namespace tavik::ex_commands
