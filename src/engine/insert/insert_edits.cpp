// The engine's own edits of insert and replace mode: one function performs each recorded
// operation at the caret, for keys the engine types itself and for every replay of the record.
#include <algorithm>
#include <string>

#include "common/utf16_chars.h"
#include "engine/actions/indent.h"
#include "engine/insert/insert_mode.h"
#include "engine/state/register_file.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik {
namespace {

void InsertChar(TextView& text, char16_t c) {
  TextPos caret = text.GetCaret();
  text.InsertText(caret, std::u16string_view(&c, 1));
  text.SetCaret({caret.line, caret.column + 1});
}

// A character beyond the BMP arrives as two units: the first takes the place of the whole
// character under the caret, the second joins it, so one character replaces one.
void OverwriteChar(TextView& text, char16_t c) {
  TextPos caret = text.GetCaret();
  std::u16string_view line = text.LineText(caret.line);
  const bool completes_pair =
      IsLowSurrogate(c) && caret.column > 0 && caret.column <= line.size() &&
      IsHighSurrogate(line[caret.column - 1]) && !InsidePair(line, caret.column);
  if (caret.column >= line.size() || completes_pair) {
    InsertChar(text, c);
    return;
  }
  text.ReplaceChars(caret, CharUnitsAt(line, caret.column), std::u16string_view(&c, 1));
  text.SetDotMark(caret);
  text.SetCaret({caret.line, caret.column + 1});
}

void Backspace(TextView& text) {
  TextPos caret = text.GetCaret();
  if (caret.column > 0) {
    TextPos before{caret.line, text.PrevCharColumn(caret.line, caret.column)};
    text.DeleteRange(before, caret);
    text.SetCaret(before);
  } else if (caret.line > 0) {
    TextPos join{caret.line - 1, text.LineLength(caret.line - 1)};
    text.DeleteRange(join, caret);
    text.SetCaret(join);
  }
}

void DeleteUnder(TextView& text) {
  TextPos caret = text.GetCaret();
  if (caret.column < text.LineLength(caret.line)) {
    text.DeleteRange(caret, {caret.line, text.NextCharColumn(caret.line, caret.column)});
  } else if (caret.line + 1 < text.LineCount()) {
    text.DeleteRange(caret, {caret.line + 1, 0});
  }
  text.SetCaret(caret);
}

// Leading spaces are first cut to a multiple of the indent size, then one unit goes in front.
void IndentLine(TextView& text) {
  TextPos caret = text.GetCaret();
  uint32_t before = text.LineLength(caret.line);
  uint32_t indent = std::max<uint32_t>(1, text.IndentSize());
  std::u16string_view line = text.LineText(caret.line);
  uint32_t spaces = 0;
  while (spaces < line.size() && line[spaces] == u' ') ++spaces;
  {
    TextView::CompoundScope compound(text);
    if (uint32_t extra = spaces % indent; extra > 0) {
      text.DeleteRange({caret.line, spaces - extra}, {caret.line, spaces});
    }
    text.InsertText({caret.line, 0}, IndentUnit(text));
  }
  int64_t column = static_cast<int64_t>(caret.column) + text.LineLength(caret.line) - before;
  text.SetCaret({caret.line, static_cast<uint32_t>(std::max<int64_t>(0, column))});
}

// Removes up to one indent size of leading white space, as "<" does for one line.
void UnindentLine(TextView& text) {
  TextPos caret = text.GetCaret();
  uint32_t n = UnitsToUnindent(text, caret.line);
  if (n == 0) return;
  text.DeleteRange({caret.line, 0}, {caret.line, n});
  text.SetCaret({caret.line, caret.column > n ? caret.column - n : 0});
}

void InsertRegister(ViewEngine& engine, TextView& text, char16_t name, bool overwrite) {
  std::optional<RegisterContent> content = engine.Registers().Read(name);
  if (!content) return;
  for (char16_t c : content->text) {
    if (c == u'\r') continue;  // line breaks are stored as CR LF
    if (c == u'\n') {
      TextPos caret = text.GetCaret();
      text.InsertText(caret, u"\n");
      text.SetCaret({caret.line + 1, 0});
    } else if (overwrite) {
      OverwriteChar(text, c);
    } else {
      InsertChar(text, c);
    }
  }
}

// Caret movement as the host moves it for the same keys.
void Move(TextView& text, InsertOpType type) {
  TextPos caret = text.GetCaret();
  uint32_t last_line = text.LineCount() - 1;
  auto vertical = [&](int64_t delta) {
    uint32_t display = text.VirtualColumn(caret.line, caret.column);
    auto line = static_cast<uint32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(caret.line) + delta, 0, last_line));
    return TextPos{line, text.ColumnOfVirtual(line, display, false)};
  };
  uint32_t page = std::max<uint32_t>(1, text.VisibleLines().line_count - 1);
  TextPos to = caret;
  switch (type) {
    case InsertOpType::kLeft:
      if (caret.column > 0) {
        to.column = text.PrevCharColumn(caret.line, caret.column);
      } else if (caret.line > 0) {
        to = {caret.line - 1, text.LineLength(caret.line - 1)};
      }
      break;
    case InsertOpType::kRight:
      if (caret.column < text.LineLength(caret.line)) {
        to.column = text.NextCharColumn(caret.line, caret.column);
      } else if (caret.line < last_line) {
        to = {caret.line + 1, 0};
      }
      break;
    case InsertOpType::kUp:
      to = vertical(-1);
      break;
    case InsertOpType::kDown:
      to = vertical(1);
      break;
    case InsertOpType::kPageUp:
      to = vertical(-static_cast<int64_t>(page));
      break;
    case InsertOpType::kPageDown:
      to = vertical(page);
      break;
    case InsertOpType::kHome: {
      std::u16string_view line = text.LineText(caret.line);
      uint32_t indent = 0;
      while (indent < line.size() && (line[indent] == u' ' || line[indent] == u'\t')) ++indent;
      to.column = caret.column == indent ? 0 : indent;
      break;
    }
    case InsertOpType::kEnd:
      to.column = text.LineLength(caret.line);
      break;
    default:
      break;
  }
  text.SetCaret(text.ClampPosition(to.line, to.column, true, false));
}

}  // namespace

void PerformInsertOp(ViewEngine& engine, TextView& text, InsertRecord& record, InsertOp op) {
  switch (op.type) {
    case InsertOpType::kInsertChar:
      InsertChar(text, op.ch);
      break;
    case InsertOpType::kOverwriteChar:
      OverwriteChar(text, op.ch);
      break;
    case InsertOpType::kBackspace:
      Backspace(text);
      break;
    case InsertOpType::kDelete:
      DeleteUnder(text);
      break;
    case InsertOpType::kNewLine: {
      TextPos caret = text.GetCaret();
      text.InsertText(caret, u"\n");
      text.SetCaret({caret.line + 1, 0});
      break;
    }
    case InsertOpType::kIndent:
      IndentLine(text);
      break;
    case InsertOpType::kUnindent:
      UnindentLine(text);
      break;
    case InsertOpType::kInsertRegister:
    case InsertOpType::kOverwriteRegister:
      InsertRegister(engine, text, op.ch, op.type == InsertOpType::kOverwriteRegister);
      break;
    default:
      Move(text, op.type);
      break;
  }
  record.Append(op);
}

}  // namespace tavik
