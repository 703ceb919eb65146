// The three kinds of put. Characterwise and linewise text goes in as one host edit however many
// copies are made; a block is one edit per line inside one compound edit.
#include "engine/actions/put_text.h"

#include <algorithm>

#include "common/char_class.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"

namespace tavik {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";

// The column of the last character of a line, 0 on an empty line.
uint32_t LastCharColumn(const TextView& view, uint32_t line) {
  uint32_t length = view.LineLength(line);
  return length > 0 ? length - 1 : 0;
}

std::u16string Repeat(std::u16string_view text, uint32_t count) {
  std::u16string out;
  out.reserve(text.size() * count);
  for (uint32_t i = 0; i < count; ++i) out.append(text);
  return out;
}

bool TooLong(uint64_t units_per_copy, uint32_t count) {
  return units_per_copy != 0 && count > kMaxPutUnits / units_per_copy;
}

PutOutcome PutCharacterwise(TextView& view, const Register& reg, const PutRequest& request,
                            uint32_t count) {
  PutOutcome outcome;
  if (TooLong(reg.Text().size(), count)) {
    outcome.too_long = true;
    return outcome;
  }
  uint32_t line = request.cursor.line;
  uint32_t length = view.LineLength(line);
  uint32_t column = std::min(request.cursor.column, length);
  if (request.after && column < length) column = view.NextCharColumn(line, column);
  std::u16string text = Repeat(reg.Text(), count);

  uint32_t lines_before = view.LineCount();
  view.InsertText({line, column}, text);
  outcome.done = true;
  outcome.lines_added = view.LineCount() - std::min(view.LineCount(), lines_before);

  // The host breaks lines at LF (CR LF being one break); a lone CR stays inside its line.
  size_t breaks = std::count(text.begin(), text.end(), u'\n');
  TextPos end{line, column + static_cast<uint32_t>(text.size())};
  if (breaks > 0) {
    end = {line + static_cast<uint32_t>(breaks),
           static_cast<uint32_t>(text.size() - (text.rfind(u'\n') + 1))};
  }
  outcome.start = {line, column};
  outcome.last = end.column > 0 ? TextPos{end.line, end.column - 1} : end;
  outcome.first_line = line;
  outcome.last_line = end.line;
  if (request.cursor_after) {
    outcome.caret = end;
  } else {
    outcome.caret = breaks == 0 ? outcome.last : outcome.start;
  }
  return outcome;
}

PutOutcome PutLinewise(TextView& view, const Register& reg, const PutRequest& request,
                       uint32_t count) {
  PutOutcome outcome;
  std::u16string_view copy = reg.Text();
  // Text from the clipboard may lack the final line break that yanked lines always have.
  bool add_break = !copy.ends_with(u'\n');
  uint64_t per_copy = copy.size() + (add_break ? kLineBreak.size() : 0);
  if (TooLong(per_copy, count)) {
    outcome.too_long = true;
    return outcome;
  }
  uint32_t lines_before = view.LineCount();
  uint32_t cursor_line = std::min(request.cursor.line, lines_before - 1);
  uint32_t at =
      request.after ? view.EndOfLine(cursor_line).line + 1 : view.StartOfLine(cursor_line).line;
  bool below_last = at >= lines_before;

  if (count == 1 && !add_break && !below_last) {
    view.InsertText({at, 0}, copy);  // the register's own text, not a copy of it
  } else {
    std::u16string text;
    text.reserve(per_copy * count + kLineBreak.size());
    if (below_last) text.append(kLineBreak);
    for (uint32_t i = 0; i < count; ++i) {
      text.append(copy);
      if (add_break) text.append(kLineBreak);
    }
    if (below_last) {
      // Appending below the last line: the break goes before the lines instead of after them.
      text.resize(text.size() - (text.ends_with(kLineBreak) ? 2 : 1));
      view.InsertText({at - 1, view.LineLength(at - 1)}, text);
    } else {
      view.InsertText({at, 0}, text);
    }
  }
  outcome.done = true;
  uint32_t lines_after = view.LineCount();
  outcome.lines_added = lines_after - std::min(lines_after, lines_before);
  outcome.first_line = at;
  outcome.last_line = at + std::max<uint32_t>(outcome.lines_added, 1) - 1;
  outcome.start = {at, 0};
  outcome.last = {outcome.last_line, LastCharColumn(view, outcome.last_line)};
  if (request.cursor_after) {
    outcome.caret = {std::min(outcome.last_line + 1, lines_after - 1), 0};
  } else {
    outcome.caret = {at, FirstNonBlankColumn(view, at)};
  }
  return outcome;
}

// Blanks that bring an empty or short line out to a display column.
std::u16string Padding(const TextView& view, bool line_empty, uint32_t from, uint32_t to) {
  if (to <= from) return {};
  if (line_empty && view.InsertTabs()) {
    uint32_t tab = view.TabSize();
    return std::u16string(to / tab, u'\t') + std::u16string(to % tab, u' ');
  }
  return std::u16string(to - from, u' ');
}

PutOutcome PutBlockwise(TextView& view, const Register& reg, const PutRequest& request,
                        uint32_t count) {
  PutOutcome outcome;
  const size_t pieces = reg.Lines().size();
  if (pieces == 0 || TooLong(reg.Text().size(), count)) {
    outcome.too_long = pieces != 0;
    return outcome;
  }
  uint32_t first = std::min(request.cursor.line, view.LineCount() - 1);
  uint32_t length = view.LineLength(first);
  uint32_t cursor_column = std::min(request.cursor.column, length);
  if (request.after && cursor_column < length) {
    cursor_column = view.NextCharColumn(first, cursor_column);
  }
  const uint32_t display = view.VirtualColumn(first, cursor_column);

  uint32_t lines_before = view.LineCount();
  {
    TextView::CompoundScope compound(view);
    uint64_t needed = uint64_t{first} + pieces;
    if (needed > lines_before) {
      std::u16string breaks;
      for (uint64_t i = lines_before; i < needed; ++i) breaks.append(kLineBreak);
      view.InsertText({lines_before - 1, view.LineLength(lines_before - 1)}, breaks);
    }
    for (size_t i = 0; i < pieces; ++i) {
      uint32_t line = first + static_cast<uint32_t>(i);
      std::u16string piece = Repeat(reg.LineText(i), count);
      uint32_t line_length = view.LineLength(line);
      uint32_t column = view.ColumnOfVirtual(line, display, false);
      uint32_t column_display = view.VirtualColumn(line, column);
      uint32_t piece_column = column;
      if (column >= line_length) {
        if (!piece.empty()) {
          std::u16string text =
              Padding(view, line_length == 0, view.VirtualColumn(line, line_length), display);
          piece_column = line_length + static_cast<uint32_t>(text.size());
          text += piece;
          view.InsertText({line, line_length}, text);
        }
      } else if (column_display < display) {
        // A tab spans the column: it becomes blanks on both sides of the piece.
        uint32_t tab_end = view.VirtualColumn(line, column + 1);
        std::u16string text(display - column_display, u' ');
        piece_column = column + static_cast<uint32_t>(text.size());
        text += piece;
        text.append(tab_end - display, u' ');
        view.ReplaceRange({line, column}, {line, column + 1}, text);
      } else if (!piece.empty()) {
        view.InsertText({line, column}, piece);
      }
      TextPos piece_end{line, piece_column + static_cast<uint32_t>(piece.size())};
      if (i == 0) outcome.start = {line, piece_column};
      if (i + 1 == pieces) {
        outcome.last =
            piece_end.column > piece_column ? TextPos{line, piece_end.column - 1} : piece_end;
        if (request.cursor_after) outcome.caret = piece_end;
      }
    }
  }
  outcome.done = true;
  uint32_t lines_after = view.LineCount();
  outcome.lines_added = lines_after - std::min(lines_after, lines_before);
  outcome.first_line = first;
  outcome.last_line = first + static_cast<uint32_t>(pieces) - 1;
  if (!request.cursor_after) outcome.caret = outcome.start;
  return outcome;
}

}  // namespace

PutOutcome PutRegister(TextView& view, const Register& reg, const PutRequest& request) {
  if (!reg.IsSet() || reg.Text().empty()) return {};
  uint32_t count = std::max<uint32_t>(request.count, 1);
  switch (reg.Kind()) {
    case RegisterKind::kCharacterwise:
      return PutCharacterwise(view, reg, request, count);
    case RegisterKind::kLinewise:
      return PutLinewise(view, reg, request, count);
    case RegisterKind::kBlockwise:
      return PutBlockwise(view, reg, request, count);
  }
  return {};
}

PutOutcome PutRegisterLinewise(TextView& view, const Register& reg, const PutRequest& request) {
  if (!reg.IsSet() || reg.Text().empty()) return {};
  return PutLinewise(view, reg, request, std::max<uint32_t>(request.count, 1));
}

std::u16string MoreLinesMessage(uint32_t lines_added) {
  if (lines_added <= 2) return {};
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + lines_added % 10));
    lines_added /= 10;
  } while (lines_added != 0);
  return digits + u" more lines";
}

}  // namespace tavik
