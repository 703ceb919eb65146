// Parsing the range in front of an ex command. Each component is an address (or "%" or "*"),
// optionally followed by offsets; "," and ";" separate components, and only the last two
// addresses written count.
#include "ex/ex_range.h"

#include <algorithm>
#include <optional>

#include "common/char_class.h"
#include "engine/search/search_state.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik {
namespace {

struct Address {
  TextPos pos;
  bool is_zero = false;
};

class RangeParser {
 public:
  RangeParser(const ExContext& context, std::u16string_view text, size_t start)
      : context_(context), text_(text), i_(start), current_(context.cursor) {
    last_line_ = context.text.LineCount() - 1;
  }

  RangeParse Run();

 private:
  bool AtEnd() const { return i_ >= text_.size(); }
  char16_t Peek() const { return AtEnd() ? 0 : text_[i_]; }
  void SkipBlanks() {
    while (!AtEnd() && IsBlankChar(text_[i_])) ++i_;
  }
  std::optional<uint32_t> ReadNumber();
  // An address at the cursor, or nullopt when there is none (error_ set on failure).
  std::optional<Address> ReadAddress();
  std::optional<TextPos> MarkLine(char16_t name);
  // "/pattern/" or "?pattern?": the line of the next match from the current position.
  std::optional<Address> PatternAddress(char16_t delimiter);

  const ExContext& context_;
  std::u16string_view text_;
  size_t i_;
  TextPos current_;
  uint32_t last_line_ = 0;
  RangeError error_ = RangeError::kNone;
};

std::optional<uint32_t> RangeParser::ReadNumber() {
  if (AtEnd() || text_[i_] < u'0' || text_[i_] > u'9') return std::nullopt;
  uint64_t n = 0;
  while (!AtEnd() && text_[i_] >= u'0' && text_[i_] <= u'9') {
    n = std::min<uint64_t>(n * 10 + (text_[i_] - u'0'), 0xFFFFFFFFu);
    ++i_;
  }
  return static_cast<uint32_t>(n);
}

std::optional<TextPos> RangeParser::MarkLine(char16_t name) {
  BufferMarks* marks = context_.text.Marks();
  std::optional<TextPos> pos = marks != nullptr ? marks->Get(name) : std::nullopt;
  if (!pos) error_ = RangeError::kMarkNotSet;
  return pos;
}

std::optional<Address> RangeParser::PatternAddress(char16_t delimiter) {
  SearchState& search = context_.engine.Search();
  bool backward = delimiter == u'?';
  std::u16string_view rest = text_.substr(i_ + 1);
  ParsedSearch parsed = search.Parse(rest, backward, false, delimiter);
  i_ += 1 + parsed.end;
  if (!parsed.request.valid) {
    error_ = RangeError::kInvalidRegex;
    return std::nullopt;
  }
  SearchRequest request = std::move(parsed.request);
  if (request.items.empty()) {
    // An empty pattern means the last search again, in the direction written.
    if (!search.LastRequest() || search.LastRequest()->items.empty()) {
      error_ = RangeError::kPatternNotFound;
      return std::nullopt;
    }
    request = *search.LastRequest();
    request.items.front().backward = backward;
  }
  SearchOutcome outcome = search.Run(context_.text, current_, request, search.RunArgs(false));
  if (!outcome.found()) {
    error_ = RangeError::kPatternNotFound;
    return std::nullopt;
  }
  return Address{{outcome.pos.line, 0}};
}

std::optional<Address> RangeParser::ReadAddress() {
  char16_t c = Peek();
  if (c == u'.') {
    ++i_;
    return Address{current_};
  }
  if (c == u'$') {
    ++i_;
    return Address{{last_line_, 0}};
  }
  if (c == u'\'') {
    if (i_ + 1 >= text_.size()) {
      error_ = RangeError::kOther;
      return std::nullopt;
    }
    char16_t name = text_[i_ + 1];
    i_ += 2;
    auto pos = MarkLine(name);
    if (!pos) return std::nullopt;
    return Address{*pos};
  }
  if (c == u'/' || c == u'?') return PatternAddress(c);
  if (auto n = ReadNumber()) {
    if (*n == 0) return Address{{0, 0}, true};
    if (*n > last_line_ + 1) {
      error_ = RangeError::kInvalidRange;
      return std::nullopt;
    }
    return Address{{*n - 1, 0}};
  }
  return std::nullopt;
}

RangeParse RangeParser::Run() {
  RangeParse out;
  ExRange& r = out.range;
  bool earlier_address = false;
  bool ended_with_comma = false;
  for (;;) {
    SkipBlanks();
    if (AtEnd()) break;
    ended_with_comma = false;
    // Each component starts from the current position: the cursor, or the address before ";".
    uint32_t running = current_.line;
    bool has_address = false;
    bool whole_range = false;
    bool is_zero = false;
    std::optional<TextPos> parsed_pos;
    if (Peek() == u'%' || Peek() == u'*') {
      bool whole = Peek() == u'%';
      ++i_;
      std::optional<TextPos> start = whole ? TextPos{0, 0} : MarkLine(u'<');
      std::optional<TextPos> end =
          whole ? TextPos{last_line_, 0} : (start ? MarkLine(u'>') : std::nullopt);
      if (!start || !end) break;
      r.first = start->line;
      r.last = end->line;
      r.first_given = r.second_given = true;
      running = r.last;
      whole_range = true;
    } else if (auto address = ReadAddress()) {
      running = address->pos.line;
      parsed_pos = address->pos;
      is_zero = address->is_zero;
      has_address = true;
    }
    if (error_ != RangeError::kNone) break;

    // Offsets: "+n" and "-n". After an address a sign without digits adds 0 and a sign at the
    // very end is ignored. Offsets with no address in front of them count from the current line,
    // and there a bare sign means one line, as "-" alone goes one line up.
    bool implied_address = !has_address && !whole_range;
    bool has_offset = false;
    SkipBlanks();
    while (Peek() == u'+' || Peek() == u'-') {
      bool down = Peek() == u'+';
      ++i_;
      if (AtEnd() && !implied_address) break;
      uint32_t n = ReadNumber().value_or(implied_address ? 1 : 0);
      // Counted from the current line alone, a line outside the buffer is no line to act on:
      // ":+1d" on the last line must not delete the last line instead.
      if (implied_address && (down ? n > last_line_ - running : n > running)) {
        error_ = RangeError::kInvalidRange;
        break;
      }
      running = down ? std::min(last_line_, running + std::min(n, last_line_))
                     : (n > running ? 0 : running - n);
      has_offset = true;
      SkipBlanks();
    }
    if (error_ != RangeError::kNone) break;

    if (whole_range) {
      r.last = running;
      earlier_address = true;
    } else if (has_address || has_offset) {
      if (earlier_address) {
        r.first = r.last;
        r.last = running;
        r.second_given = true;
      } else {
        r.first = r.last = running;
        r.first_given = true;
        r.first_is_zero = is_zero;
      }
      r.last_is_zero = has_address && is_zero;
      earlier_address = true;
    }

    if (Peek() == u',') {
      ++i_;
      ended_with_comma = true;
      continue;
    }
    if (Peek() == u';') {
      ++i_;
      if (parsed_pos) current_ = *parsed_pos;
      continue;
    }
    break;
  }
  if (error_ == RangeError::kNone && ended_with_comma) {
    if (earlier_address) {
      r.first = r.last;
      r.last = current_.line;
    } else {
      r.first = r.last = current_.line;
      r.first_given = true;
    }
    r.second_given = true;
    r.last_is_zero = false;
  }
  out.any_address = r.first_given || r.second_given;
  out.end = i_;
  out.error = error_;
  return out;
}

}  // namespace

RangeParse ParseRange(const ExContext& context, std::u16string_view text, size_t start) {
  return RangeParser(context, text, start).Run();
}

std::u16string_view RangeErrorMessage(RangeError error) {
  switch (error) {
    case RangeError::kNone:
      return u"";
    case RangeError::kInvalidRegex:
      return u"Invalid regex";
    case RangeError::kMarkNotSet:
      return u"Mark not set";
    case RangeError::kPatternNotFound:
      return u"Pattern not found";
    case RangeError::kInvalidRange:
      return u"Invalid range";
    case RangeError::kOther:
      return u"Error parsing ex command range";
  }
  return u"";
}

}  // namespace tavik
