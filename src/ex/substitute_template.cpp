// One left-to-right pass over the template. Case changes are applied as characters are produced,
// so a one-shot "\u" or "\l" reaches into the first character of a match or group, and a line
// break counts as the produced item that uses it up.
#include "ex/substitute_template.h"

#include <algorithm>

#include "common/char_class.h"
#include "regex/line_source.h"

namespace tavik {
namespace {

enum class CaseChange : uint8_t { kNone, kUpper, kLower };

class Producer {
 public:
  explicit Producer(std::u16string& out) : out_(out) { out_.clear(); }

  void Char(char16_t c) {
    CaseChange change = one_shot_ != CaseChange::kNone ? one_shot_ : running_;
    one_shot_ = CaseChange::kNone;
    if (change == CaseChange::kUpper) c = ToUpperChar(c);
    if (change == CaseChange::kLower) c = ToLowerChar(c);
    out_.push_back(c);
  }
  void Break() {
    one_shot_ = CaseChange::kNone;
    out_.push_back(u'\n');
    ++breaks_;
  }
  // The text from `start` to `end`, a line break for every line end inside it.
  void Span(const LineSource& source, TextPos start, TextPos end) {
    const uint32_t lines = source.LineCount();
    for (uint32_t line = start.line; line <= end.line && line < lines; ++line) {
      std::u16string_view text = source.LineText(line);
      size_t from = line == start.line ? start.column : 0;
      size_t to = line == end.line ? end.column : text.size();
      to = std::min(to, text.size());
      if (from < to) {
        if (one_shot_ == CaseChange::kNone && running_ == CaseChange::kNone) {
          out_.append(text.substr(from, to - from));
        } else {
          for (size_t i = from; i < to; ++i) Char(text[i]);
        }
      }
      if (line != end.line) Break();
    }
  }
  void OneShot(CaseChange change) { one_shot_ = change; }
  void Running(CaseChange change) { running_ = change; }
  void EndCaseChanges() { one_shot_ = running_ = CaseChange::kNone; }
  uint32_t Breaks() const { return breaks_; }

 private:
  std::u16string& out_;
  CaseChange one_shot_ = CaseChange::kNone;
  CaseChange running_ = CaseChange::kNone;
  uint32_t breaks_ = 0;
};

}  // namespace

size_t FindTemplateEnd(std::u16string_view text, char16_t delimiter) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\') {
      ++i;
    } else if (text[i] == delimiter) {
      return i;
    }
  }
  return text.size();
}

uint32_t ExpandTemplate(std::u16string_view replacement, const MatchResult& match,
                        const LineSource& source, bool magic, std::u16string& out) {
  Producer produce(out);
  const size_t n = replacement.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t c = replacement[i];
    if (c == u'\n') {
      produce.Break();
      continue;
    }
    if (c != u'\\') {
      if (c == u'&' && magic) {
        produce.Span(source, match.start, match.end);
      } else {
        produce.Char(c);
      }
      continue;
    }
    if (i + 1 >= n) {
      produce.Char(u'\\');  // a backslash at the very end stands for itself
      break;
    }
    const char16_t e = replacement[++i];
    switch (e) {
      case u'&':
        if (magic) {
          produce.Char(u'&');
        } else {
          produce.Span(source, match.start, match.end);
        }
        break;
      case u'r':
        produce.Break();
        break;
      case u'u':
        produce.OneShot(CaseChange::kUpper);
        break;
      case u'l':
        produce.OneShot(CaseChange::kLower);
        break;
      case u'U':
        produce.Running(CaseChange::kUpper);
        break;
      case u'L':
        produce.Running(CaseChange::kLower);
        break;
      case u'e':
      case u'E':
        produce.EndCaseChanges();
        break;
      default:
        if (e >= u'1' && e <= u'9') {
          const size_t group = e - u'1';
          if (group < match.captures.size()) {
            const Capture& capture = match.captures[group];
            if (capture.has_start && capture.has_end && capture.start <= capture.end) {
              produce.Span(source, capture.start, capture.end);
            }
          }
        } else {
          // "\0" is a plain "0" and "\n" a plain "n", like any other escaped character.
          produce.Char(e);
        }
        break;
    }
  }
  return produce.Breaks();
}

}  // namespace tavik
