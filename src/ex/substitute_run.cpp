// The substitution loop. A search runs on from the current position over the following lines
// instead of stopping at the end of the line and starting again on the next: the scan visits
// the same positions in the same order, so it finds the same next match with fewer searches.
#include "ex/substitute_run.h"

#include <algorithm>
#include <optional>
#include <string>

#include "engine/text_view.h"
#include "engine/view_engine.h"
#include "ex/substitute_buffer.h"
#include "ex/substitute_template.h"
#include "regex/matcher.h"

namespace tavik {
namespace {

constexpr std::u16string_view kNotFoundMessage = u"Pattern not found";
// Lines below the current one that the first search of a step also looks at, through copies
// that become the current line when the match is there; beyond them the lines are scanned
// straight from the view.
constexpr uint32_t kNearLines = 1;

SearchRunArgs MatchArgs(ViewEngine& engine, const SubstituteFlags& flags) {
  SearchRunArgs args = engine.Search().RunArgs(true);
  args.wrapscan = false;
  if (flags.ignore_case) {
    args.ignorecase = true;
    args.smartcase = false;
  } else if (flags.match_case) {
    args.ignorecase = false;
    args.smartcase = false;
  }
  return args;
}

std::u16string CountMessage(uint32_t substitutions, uint32_t lines) {
  std::string text = std::to_string(substitutions) + " substitutions on " + std::to_string(lines) +
                     " line" + (lines > 1 ? "s" : "");
  return std::u16string(text.begin(), text.end());
}

std::u16string Widen(std::string_view text) {
  return std::u16string(text.begin(), text.end());
}

// Asks about one match with the matched text selected; the held-back edits are written first so
// the user sees the text as it now is.
std::optional<ConfirmAnswer> Ask(ExContext& context, SubstituteBuffer& buffer, TextPos start,
                                 TextPos end) {
  TextView& view = context.text;
  if (!buffer.Flush()) return std::nullopt;
  view.SetCaret(start);
  view.SetSelection(start, end, SelectionKind::kCharacter);
  ConfirmAnswer answer = context.engine.Host().AskConfirm(kSubstituteQuestion);
  if (!view.IsAttached()) return std::nullopt;
  view.ClearSelection();
  return answer;
}

}  // namespace

void RunSubstitution(ExContext& context, const SearchRequest& request,
                     std::u16string_view replacement, ExRange range, const SubstituteFlags& flags) {
  TextView& view = context.text;
  ViewEngine& engine = context.engine;
  const uint32_t last_line = view.LineCount() - 1;
  const uint32_t first = std::min(range.first, last_line);
  int64_t end = std::min(range.last, last_line);
  if (end < first) {
    context.Message(kNotFoundMessage);
    return;
  }
  const bool magic = engine.GlobalOptions().Bool(OptionId::kMagic);
  SearchRunArgs args = MatchArgs(engine, flags);
  SubstituteBuffer buffer(view, first);
  SubstituteBuffer::Ahead ahead(buffer);
  MatchCache cache;
  std::u16string expansion;

  TextPos pos{first, 0};
  uint32_t substitutions = 0;
  uint32_t lines = 0;
  std::optional<uint32_t> counted_line;
  std::optional<TextPos> cursor;
  bool ask = flags.confirm;
  bool too_complex = false;
  while (pos.line <= end) {
    // The rest of this line and the next one, then the unchanged lines up to the range end.
    const uint32_t end_line = static_cast<uint32_t>(end);
    const uint32_t near_line = std::min(end_line, pos.line + kNearLines);
    args.stop = TextPos{near_line, static_cast<uint32_t>(buffer.LineText(near_line).size())};
    SearchOutcome found = SearchChained(buffer, pos, request, args, cache);
    if (found.status == MatchStatus::kNoMatch && near_line < end_line) {
      args.stop = TextPos{end_line, static_cast<uint32_t>(ahead.LineText(end_line).size())};
      found = SearchChained(ahead, {near_line + 1, 0}, request, args, cache);
    }
    if (found.status == MatchStatus::kNoMatch) break;
    if (found.status == MatchStatus::kTooComplex) {
      too_complex = true;
      break;
    }
    if (found.match_start.line > pos.line) {
      buffer.MoveTo(found.match_start.line);
      pos = {found.match_start.line, 0};
    }
    const TextPos start = found.match_start;
    const TextPos match_end =
        std::min(found.match_end, TextPos{buffer.LineCount() - 1, UINT32_MAX});
    cursor = start;

    ConfirmAnswer answer = ConfirmAnswer::kYes;
    if (ask) {
      std::optional<ConfirmAnswer> asked = Ask(context, buffer, start, match_end);
      if (!asked || *asked == ConfirmAnswer::kQuit) break;
      answer = *asked;
      if (answer == ConfirmAnswer::kAll) {
        ask = false;
        answer = ConfirmAnswer::kYes;
      }
    }
    if (answer == ConfirmAnswer::kNo) {
      pos = match_end;
      if (pos.line > buffer.CurrentLine()) buffer.MoveTo(pos.line);
    } else {
      const uint32_t breaks = ExpandTemplate(replacement, found.match, buffer, magic, expansion);
      pos = buffer.Replace(start, match_end, expansion);
      ++substitutions;
      if (!counted_line || *counted_line != pos.line) {
        ++lines;
        counted_line = pos.line;
      }
      end += int64_t{breaks} - int64_t{match_end.line - start.line};
      end = std::min<int64_t>(end, buffer.LineCount() - 1);
      if (end < pos.line || answer == ConfirmAnswer::kLast) break;
    }

    bool next_line = false;
    if (start == match_end) {
      // An empty match: one character further, so the same place is not matched again.
      if (pos.column < buffer.CurrentLength()) {
        ++pos.column;
      } else {
        if (pos.line >= end) break;
        next_line = true;
      }
    }
    if (!flags.global && !next_line) {
      if (pos.line >= end) break;
      next_line = true;
    }
    if (next_line) {
      buffer.MoveTo(pos.line + 1);
      pos = {pos.line + 1, 0};
    }
  }
  buffer.Flush();

  if (cursor && view.IsAttached()) view.SetCaret(*cursor);
  if (too_complex) {
    context.Message(Widen(kPatternTooComplexMessage));
  } else if (substitutions == 0) {
    context.Message(kNotFoundMessage);
  } else if (substitutions >= 3) {
    context.Message(CountMessage(substitutions, lines));
  }
}

}  // namespace tavik
