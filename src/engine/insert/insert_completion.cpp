// Word completion of insert mode: CTRL-N and CTRL-P offer the words near the caret that start
// with the word before it, and cycle through them while they are typed again.
#include <algorithm>

#include "common/char_class.h"
#include "engine/insert/insert_mode.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik {
namespace {

constexpr uint32_t kLinesAbove = 100;
constexpr uint32_t kLinesBelow = 30;

uint32_t WordStartBefore(std::u16string_view line, uint32_t column) {
  uint32_t start = std::min<uint32_t>(column, static_cast<uint32_t>(line.size()));
  while (start > 0 && IsWordChar(line[start - 1])) --start;
  return start;
}

}  // namespace

std::vector<std::u16string> CompletionCandidates(const TextView& text, TextPos caret,
                                                 std::u16string_view prefix, size_t* start_forward,
                                                 size_t* start_backward) {
  std::vector<std::u16string> words;
  uint32_t first = caret.line > kLinesAbove ? caret.line - kLinesAbove : 0;
  uint32_t last = std::min(text.LineCount() - 1, caret.line + kLinesBelow);
  bool have_forward = false;
  bool have_backward = false;
  *start_forward = 0;
  *start_backward = 0;
  uint32_t prefix_start = WordStartBefore(text.LineText(caret.line), caret.column);
  for (uint32_t l = first; l <= last; ++l) {
    std::u16string_view line = text.LineText(l);
    size_t i = 0;
    while (i < line.size()) {
      if (!IsWordChar(line[i])) {
        ++i;
        continue;
      }
      size_t end = i;
      while (end < line.size() && IsWordChar(line[end])) ++end;
      std::u16string_view word = line.substr(i, end - i);
      // The word being typed is not its own candidate.
      bool typing = l == caret.line && i == prefix_start;
      if (!typing && word.size() > prefix.size() && word.substr(0, prefix.size()) == prefix &&
          std::find(words.begin(), words.end(), word) == words.end()) {
        TextPos at{l, static_cast<uint32_t>(i)};
        if (caret < at && !have_forward) {
          *start_forward = words.size();
          have_forward = true;
        }
        if (at < caret) {
          *start_backward = words.size();
          have_backward = true;
        }
        words.emplace_back(word);
      }
      i = end;
    }
  }
  if (!have_backward && !words.empty()) *start_backward = words.size() - 1;
  return words;
}

void InsertMode::StartCompletion(TextView& text, bool forward) {
  TextPos caret = text.GetCaret();
  std::u16string_view line = text.LineText(caret.line);
  uint32_t start = WordStartBefore(line, caret.column);
  std::u16string prefix(line.substr(start, caret.column - start));
  size_t forward_index = 0;
  size_t backward_index = 0;
  candidates_ = CompletionCandidates(text, caret, prefix, &forward_index, &backward_index);
  completion_active_ = !candidates_.empty();
  candidate_index_ = forward ? forward_index : backward_index;
}

bool InsertMode::HandleCompletionKey(ViewEngine& engine, TextView& text, KeyCode key) {
  if (!key.IsChar(ch::kCtrlN) && !key.IsChar(ch::kCtrlP)) {
    completion_active_ = false;
    return false;
  }
  if (key.IsChar(ch::kCtrlN)) {
    candidate_index_ = (candidate_index_ + 1) % candidates_.size();
  } else {
    candidate_index_ = candidate_index_ == 0 ? candidates_.size() - 1 : candidate_index_ - 1;
  }
  ReplaceWordBefore(engine, text, candidates_[candidate_index_]);
  return true;
}

// The candidate replaces the word before the caret; the record gets the same edits.
void InsertMode::ReplaceWordBefore(ViewEngine& engine, TextView& text, std::u16string_view word) {
  TextPos caret = text.GetCaret();
  uint32_t start = WordStartBefore(text.LineText(caret.line), caret.column);
  // A Backspace takes a whole character, so the caret is followed rather than the units counted.
  while (start < text.GetCaret().column) {
    TextPos at = text.GetCaret();
    PerformInsertOp(engine, text, record_, {InsertOpType::kBackspace, 0});
    if (text.GetCaret() == at) break;
  }
  for (char16_t c : word) PerformInsertOp(engine, text, record_, {InsertOpType::kInsertChar, c});
}

}  // namespace tavik
