// The search motions compute a target from the engine's search state; each successful search
// is a jump, and each new pattern becomes what "n" repeats and what is highlighted.
#include "engine/motions/motions.h"

#include <string>

#include "common/char_class.h"
#include "engine/search/search_state.h"
#include "engine/state/view_state.h"
#include "engine/text/text_view.h"

namespace tavik::motions {
namespace {

void Fail(MotionResult& result) {
  result.failed = true;
}

// Lands on a search outcome: inclusive after an end offset, else exclusive; always a jump.
void Land(MotionContext& context, MotionResult& result, const SearchOutcome& outcome) {
  result.target = outcome.pos;
  result.kind = outcome.end_offset ? MotionKind::kInclusive : MotionKind::kExclusive;
  context.jump = true;
}

struct WordAt {
  std::u16string word;
  uint32_t start = 0;
};

// The word under the cursor or the first one after it on the line.
std::optional<WordAt> WordUnderOrAfter(const TextView& view, TextPos pos) {
  std::u16string line(view.LineText(pos.line));
  uint32_t length = static_cast<uint32_t>(line.size());
  uint32_t column = std::min(pos.column, length);
  while (column < length && !IsWordChar(line[column])) ++column;
  if (column >= length) return std::nullopt;
  uint32_t start = column;
  while (start > 0 && IsWordChar(line[start - 1])) --start;
  uint32_t end = column;
  while (end < length && IsWordChar(line[end])) ++end;
  return WordAt{line.substr(start, end - start), start};
}

void RepeatLast(MotionContext& context, MotionResult& result, bool reverse) {
  SearchState* search = context.search;
  if (search == nullptr || !search->LastRequest()) return Fail(result);
  SearchRequest request = *search->LastRequest();
  if (request.items.empty()) return Fail(result);
  SearchRunArgs args = search->RunArgs(false);
  args.reverse_first = reverse;
  SearchOutcome outcome = search->Run(context.view, result.target, request, args);
  search->SetHighlightRequest(request);
  bool backward = request.items.front().backward != reverse;
  std::u16string message(1, backward ? u'?' : u'/');
  message += search->LastString();
  context.state.SetMessage(message);
  if (!outcome.found()) return Fail(result);
  Land(context, result, outcome);
}

void SearchWord(MotionContext& context, MotionResult& result, bool backward) {
  SearchState* search = context.search;
  if (search == nullptr) return Fail(result);
  auto word = WordUnderOrAfter(context.view, result.target);
  if (!word) {
    result.failed = true;
    result.no_beep = true;
    return;
  }
  bool bare = context.args.modifier == u'g';
  std::u16string pattern = bare ? word->word : u"\\<" + word->word + u"\\>";
  ParsedSearch parsed = search->Parse(pattern, backward, true);
  if (!parsed.request.valid || parsed.request.items.empty()) return Fail(result);
  TextPos from{result.target.line, backward ? word->start : word->start + 1};
  SearchOutcome outcome = search->Run(context.view, from, parsed.request, search->RunArgs(false));
  search->SetLastSearch(parsed.request, pattern);
  context.state.SetMessage((backward ? u"?" : u"/") + pattern);
  if (!outcome.found()) return Fail(result);
  Land(context, result, outcome);
  result.kind = MotionKind::kExclusive;
}

}  // namespace

void SearchTyped(MotionContext& context, MotionResult& result) {
  SearchState* search = context.search;
  if (search == nullptr) return Fail(result);
  bool backward = context.args.modifier == u'x';
  std::u16string_view typed = context.args.pattern;
  ParsedSearch parsed = search->Parse(typed, backward, false);
  if (!parsed.request.valid) return Fail(result);
  SearchRequest request;
  bool reused = parsed.request.items.empty();
  if (reused) {
    // "/" or "//e" alone: the last search again, in the direction just typed.
    if (!search->LastRequest() || search->LastRequest()->items.empty()) return Fail(result);
    request = *search->LastRequest();
    request.items.front().backward = backward;
  } else {
    request = std::move(parsed.request);
  }
  SearchOutcome outcome = search->Run(context.view, result.target, request, search->RunArgs(false));
  // The direction typed with a reused search also holds for later "n".
  std::u16string text =
      reused ? search->LastString() : std::u16string(typed.substr(0, parsed.pattern_end));
  search->SetLastSearch(request, text);
  if (!outcome.found()) return Fail(result);
  Land(context, result, outcome);
  result.show_search_message = true;
}

void SearchNext(MotionContext& context, MotionResult& result) {
  RepeatLast(context, result, false);
}

void SearchPrevious(MotionContext& context, MotionResult& result) {
  RepeatLast(context, result, true);
}

void SearchWordForward(MotionContext& context, MotionResult& result) {
  SearchWord(context, result, false);
}

void SearchWordBackward(MotionContext& context, MotionResult& result) {
  SearchWord(context, result, true);
}

void GoToDeclaration(MotionContext& context, MotionResult& result) {
  context.remaining_count = 0;
  SearchState* search = context.search;
  if (search == nullptr) return Fail(result);
  TextView& view = context.view;
  TextPos cursor = result.target;
  auto word = WordUnderOrAfter(view, cursor);
  if (!word) {
    context.state.SetMessage(u"No identifier under cursor");
    return Fail(result);
  }
  std::u16string pattern = u"\\V\\<" + word->word + u"\\>";
  ParsedSearch parsed = search->Parse(pattern, false, false);
  if (!parsed.request.valid || parsed.request.items.empty()) return Fail(result);
  // The block starts at the nearest line above that begins with "{"; its declarations are
  // looked for from the line before it.
  uint32_t line = cursor.line;
  while (line > 0 && view.CharAt(line, 0) != u'{') --line;
  uint32_t from_line = view.CharAt(line, 0) == u'{' && line > 0 ? line - 1 : 0;
  SearchRunArgs args = search->RunArgs(true);
  args.wrapscan = false;
  SearchOutcome outcome = search->Run(view, {from_line, 0}, parsed.request, args);
  search->SetLastSearch(parsed.request, pattern);
  if (!outcome.found()) return Fail(result);
  if (outcome.match_start == TextPos{cursor.line, word->start}) return Fail(result);
  result.target = outcome.match_start;
  result.kind = MotionKind::kExclusive;
  context.jump = true;
}

}  // namespace tavik::motions
