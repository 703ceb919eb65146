// The substitution loop. A search runs on from the current position over the following lines
// instead of stopping at the end of the line and starting again on the next: the scan visits
// the same positions in the same order, so it finds the same next match with fewer searches.
#include "ex/substitute_run.h"

#include <algorithm>
#include <optional>
#include <string>

#include "engine/search/search_request.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/substitute_buffer.h"
#include "ex/substitute_template.h"
#include "regex/matcher.h"
#include "regex/search.h"

namespace tavik {
namespace {

constexpr std::u16string_view kNotFoundMessage = u"Pattern not found";

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

std::u16string MatchCountMessage(uint32_t matches, uint32_t lines) {
  std::string text = std::to_string(matches) + (matches == 1 ? " match" : " matches") + " on " +
                     std::to_string(lines) + " line" + (lines > 1 ? "s" : "");
  return std::u16string(text.begin(), text.end());
}

// The buffer with one line shown as it was before this substitution changed it. The rest of
// that line after the resume position is the same in both, so a column there maps by the
// difference of the two lengths. Matching reads this, so that inserted text is never matched
// and never serves as the context of a match ("\<", "^" and the character before a match).
// The lines after the current one are read straight from the view, without keeping copies: a
// scan over many lines holds none of them.
class OldLineSource : public LineSource {
 public:
  explicit OldLineSource(const SubstituteBuffer& buffer) : buffer_(buffer), ahead_(buffer) {}

  // Whether `line` of the buffer is the line kept in its old form.
  bool Holds(uint32_t line) const { return held_ && line == line_; }
  // Keeps `old_text` (taken over) as the old form of `line`.
  void Keep(uint32_t line, std::u16string& old_text) {
    old_.swap(old_text);
    line_ = line;
    held_ = true;
  }
  // The held line's rest now stands on `line` (line breaks were inserted before it).
  void MoveTo(uint32_t line) { line_ = line; }
  // The buffer moved on to a line this substitution has not changed.
  void Drop() { held_ = false; }
  // Old minus new length of the held line: added to a column after the resume position.
  int64_t Shift() const { return int64_t(old_.size()) - int64_t(buffer_.LineText(line_).size()); }
  TextPos ToOld(TextPos pos) const {
    if (!Holds(pos.line)) return pos;
    return {pos.line, static_cast<uint32_t>(int64_t(pos.column) + Shift())};
  }
  TextPos ToNew(TextPos pos) const {
    if (!Holds(pos.line)) return pos;
    return {pos.line, static_cast<uint32_t>(std::max<int64_t>(int64_t(pos.column) - Shift(), 0))};
  }

  uint32_t LineCount() const override { return buffer_.LineCount(); }
  std::u16string_view LineText(uint32_t line) const override {
    return Holds(line) ? std::u16string_view(old_) : ahead_.LineText(line);
  }
  // The held line is the current one, before every line the buffer hands out narrow.
  uint32_t NarrowLines(uint32_t first, std::span<std::string_view> out) const override {
    return Holds(first) ? 0 : buffer_.NarrowLines(first, out);
  }
  uint32_t LineLength(uint32_t line) const {
    return Holds(line) ? static_cast<uint32_t>(old_.size()) : buffer_.LineLength(line);
  }

 private:
  const SubstituteBuffer& buffer_;
  SubstituteBuffer::Ahead ahead_;
  std::u16string old_;
  uint32_t line_ = 0;
  bool held_ = false;
};

// Finds the substitution's matches one after another. A single forward pattern keeps one scanner
// across the searches, so that the unchanged lines it read ahead serve the next search; what it
// read is forgotten whenever the buffer's lines may have changed under it. Any other request
// runs as a chained search each time.
class MatchFinder {
 public:
  MatchFinder(const SearchRequest& request, const SearchRunArgs& args, const OldLineSource& source,
              const SubstituteBuffer& buffer, MatchCache& cache)
      : request_(request), args_(args), source_(source), buffer_(buffer), cache_(cache) {
    const SearchItem& item = request.items.back();
    if (request.items.size() == 1 && !item.backward && !args.reverse_first &&
        item.offset_kind != SearchOffsetKind::kStart &&
        item.offset_kind != SearchOffsetKind::kEnd) {
      single_.emplace(ItemPattern(request, item, args), source, cache, args.accept_at_start);
    }
    generation_ = buffer.Generation();
  }

  // The first match from `from` (in the old line's columns) up to `stop`.
  MatchStatus Next(TextPos from, TextPos stop) {
    if (!single_) {
      args_.stop = stop;
      chained_ = SearchChained(source_, from, request_, args_, cache_);
      return chained_.status;
    }
    if (buffer_.Generation() != generation_) {
      single_->Forget();
      generation_ = buffer_.Generation();
    }
    return single_->Find(from, stop);
  }
  // The text changed in a way the buffer does not record.
  void Forget() {
    if (single_) single_->Forget();
  }
  const MatchResult& match() const { return single_ ? single_->match() : chained_.match; }

 private:
  const SearchRequest& request_;
  SearchRunArgs args_;
  const OldLineSource& source_;
  const SubstituteBuffer& buffer_;
  MatchCache& cache_;
  std::optional<ForwardSearch> single_;
  SearchOutcome chained_;
  uint32_t generation_ = 0;
};

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
  SubstituteBuffer buffer(view, first);
  MatchCache cache;
  std::u16string expansion;

  OldLineSource old(buffer);
  std::u16string old_text;
  MatchFinder finder(request, MatchArgs(engine, flags), old, buffer, cache);

  TextPos pos{first, 0};
  uint32_t substitutions = 0;
  uint32_t lines = 0;
  std::optional<uint32_t> counted_line;
  std::optional<TextPos> cursor;
  const bool counting = flags.count_only;
  bool ask = flags.confirm && !counting;
  bool too_complex = false;
  // Where the searches stop, in the text as it was: the range's last line keeps its old length
  // until an edit changes the line count, which moves `end`.
  std::optional<TextPos> stop;
  while (pos.line <= end) {
    // The rest of this line, then the unchanged lines up to the range end.
    const uint32_t end_line = static_cast<uint32_t>(end);
    if (!stop || stop->line != end_line) stop = TextPos{end_line, old.LineLength(end_line)};
    const MatchStatus status = finder.Next(old.ToOld(pos), *stop);
    if (status == MatchStatus::kNoMatch) break;
    if (status == MatchStatus::kTooComplex) {
      too_complex = true;
      break;
    }
    const MatchResult& found = finder.match();
    if (found.start.line > pos.line) {
      buffer.MoveTo(found.start.line);
      old.Drop();
      pos = {found.start.line, 0};
    }
    const TextPos start = old.ToNew(found.start);
    const TextPos match_end =
        std::min(old.ToNew(found.end), TextPos{buffer.LineCount() - 1, UINT32_MAX});

    ConfirmAnswer answer = ConfirmAnswer::kYes;
    if (counting) {
      answer = ConfirmAnswer::kNo;
      ++substitutions;
      if (!counted_line || *counted_line != start.line) {
        ++lines;
        counted_line = start.line;
      }
    } else {
      cursor = start;
    }
    if (ask) {
      std::optional<ConfirmAnswer> asked = Ask(context, buffer, start, match_end);
      finder.Forget();
      if (!asked || *asked == ConfirmAnswer::kQuit) break;
      answer = *asked;
      if (answer == ConfirmAnswer::kAll) {
        ask = false;
        answer = ConfirmAnswer::kYes;
      }
    }
    if (answer == ConfirmAnswer::kNo) {
      pos = match_end;
      if (pos.line > buffer.CurrentLine()) {
        buffer.MoveTo(pos.line);
        old.Drop();
      }
    } else {
      const uint32_t breaks = ExpandTemplate(replacement, found, old, magic, expansion);
      // The line the match ends on, as it was, becomes the old form of the line the inserted
      // text ends on.
      const bool held = old.Holds(match_end.line);
      if (!held) old_text.assign(buffer.LineText(match_end.line));
      pos = buffer.Replace(start, match_end, expansion);
      if (held) {
        old.MoveTo(pos.line);
      } else {
        old.Keep(pos.line, old_text);
      }
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
      old.Drop();
      pos = {pos.line + 1, 0};
    }
  }
  buffer.Flush();

  if (cursor && view.IsAttached()) view.SetCaret(*cursor);
  if (too_complex) {
    context.Message(Widen(kPatternTooComplexMessage));
  } else if (substitutions == 0) {
    context.Message(kNotFoundMessage);
  } else if (counting) {
    context.Message(MatchCountMessage(substitutions, lines));
  } else if (substitutions >= 3) {
    context.Message(CountMessage(substitutions, lines));
  }
}

}  // namespace tavik
