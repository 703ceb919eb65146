// The editor commands of the host's own editor.
#include "platform/view_editor.h"

#include <algorithm>
#include <cwctype>
#include "common/utf16_chars.h"
#include "platform/edit_operations.h"
#include "platform/editor_host.h"

namespace tavik::platform {

namespace {

// Moves the caret to a position; extending moves the selection's active end instead.
void MoveCaret(View& view, TextPos to, bool extend) {
  if (extend) {
    view.SetSelection(view.Selection().Empty() ? view.Caret() : view.Selection().anchor, to, false);
  } else {
    view.SetCaret(to);
  }
}

TextPos VerticalTarget(const View& view, int64_t delta) {
  const ViewLayout layout = view.Layout();
  const ViewPos here = layout.BufferToView(view.Caret());
  const int64_t last = static_cast<int64_t>(layout.ViewLineCount()) - 1;
  const int64_t line = std::clamp<int64_t>(here.line + delta, 0, last);
  const TextPos target = layout.ViewToBuffer({static_cast<uint32_t>(line), here.column});
  return view.Buffer().Clamp(target);
}

enum class Unit : uint8_t { kBlank, kWord, kOther };

Unit ClassOf(char16_t c) {
  if (c == u' ' || c == u'\t') return Unit::kBlank;
  return c == u'_' || std::iswalnum(static_cast<wint_t>(c)) != 0 ? Unit::kWord : Unit::kOther;
}

// The start of the word before the caret, or of the next word after it.
TextPos WordTarget(const View& view, bool forward) {
  const TextBuffer& buffer = view.Buffer();
  TextPos pos = view.Caret();
  const std::u16string line = buffer.Line(pos.line);
  uint32_t c = pos.column;
  if (forward) {
    if (c >= line.size()) {
      return pos.line + 1 < buffer.LineCount() ? TextPos{pos.line + 1, 0} : pos;
    }
    const Unit start = ClassOf(line[c]);
    while (c < line.size() && ClassOf(line[c]) == start) ++c;
    while (c < line.size() && ClassOf(line[c]) == Unit::kBlank) ++c;
    return {pos.line, c};
  }
  if (c == 0) return pos.line > 0 ? TextPos{pos.line - 1, buffer.LineLength(pos.line - 1)} : pos;
  while (c > 0 && ClassOf(line[c - 1]) == Unit::kBlank) --c;
  if (c == 0) return {pos.line, 0};
  const Unit start = ClassOf(line[c - 1]);
  while (c > 0 && ClassOf(line[c - 1]) == start) --c;
  return {pos.line, c};
}

uint32_t LastNonBlankEnd(const TextBuffer& buffer, uint32_t line) {
  const std::u16string text = buffer.Line(line);
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == u' ' || text[end - 1] == u'\t')) --end;
  return static_cast<uint32_t>(end);
}

bool IsExtend(uint32_t id) {
  switch (id) {
    case cmd2k::kLeftExtend:
    case cmd2k::kRightExtend:
    case cmd2k::kUpExtend:
    case cmd2k::kDownExtend:
    case cmd2k::kDocumentStartExtend:
    case cmd2k::kDocumentEndExtend:
    case cmd2k::kHomeExtend:
    case cmd2k::kFirstCharExtend:
    case cmd2k::kEndExtend:
    case cmd2k::kLastCharExtend:
    case cmd2k::kPageUpExtend:
    case cmd2k::kPageDownExtend:
    case cmd2k::kTopLineExtend:
    case cmd2k::kBottomLineExtend:
    case cmd2k::kWordPreviousExtend:
    case cmd2k::kWordNextExtend:
      return true;
    default:
      return false;
  }
}

// The plain movement of an extending one.
uint32_t PlainMovement(uint32_t id) {
  if (id == cmd2k::kWordNextExtend) return cmd2k::kWordNext;
  return IsExtend(id) ? id - 1 : id;
}

}  // namespace

ViewEditor::ViewEditor(EditorHost& host, View& view) : host_(host), view_(view) {}
ViewEditor::~ViewEditor() = default;

CommandStatus ViewEditor::QueryStatus(const EditorCommand& command) {
  if (command.group == CommandGroup::kStandard97) {
    return command.id == cmd97::kDelete ? CommandStatus::kSupported : CommandStatus::kUnsupported;
  }
  if (command.group != CommandGroup::kStandard2K) return CommandStatus::kUnsupported;
  switch (command.id) {
    case cmd2k::kTypeChar:
    case cmd2k::kBackspace:
    case cmd2k::kReturn:
    case cmd2k::kTab:
    case cmd2k::kDelete:
    case cmd2k::kToggleOvertype:
    case cmd2k::kCancel:
    case cmd2k::kIncrementalSearch:
    case cmd2k::kSecondModalInput:
    case cmd2k::kScrollUp:
    case cmd2k::kScrollDown:
      return CommandStatus::kSupported;
    default: {
      const uint32_t plain = PlainMovement(command.id);
      const bool movement = (plain >= cmd2k::kLeft && plain <= cmd2k::kTopLine + 2) ||
                            plain == cmd2k::kWordPrevious || plain == cmd2k::kWordNext;
      return movement ? CommandStatus::kSupported : CommandStatus::kUnsupported;
    }
  }
}

HResult ViewEditor::Exec(const EditorCommand& command) {
  if (command.group == CommandGroup::kStandard97 && command.id == cmd97::kDelete) {
    return Exec({CommandGroup::kStandard2K, cmd2k::kDelete, 0});
  }
  if (command.group != CommandGroup::kStandard2K) return HResult::kUnsupported;
  if (modal_ && ModalCommand(command)) return HResult::kOk;
  bool done = false;
  switch (command.id) {
    case cmd2k::kIncrementalSearch:
    case cmd2k::kSecondModalInput:
      modal_ = std::make_unique<HostModalInput>(host_, view_,
                                                command.id == cmd2k::kIncrementalSearch
                                                    ? HostModalInput::Kind::kIncrementalSearch
                                                    : HostModalInput::Kind::kCharacterCode);
      return HResult::kOk;
    case cmd2k::kToggleOvertype:
      overtype_ = !overtype_;
      return HResult::kOk;
    case cmd2k::kCancel:
      view_.ClearSelection();
      return HResult::kOk;
    case cmd2k::kScrollUp:
    case cmd2k::kScrollDown: {
      const uint32_t first = view_.FirstVisibleLine();
      const uint32_t last_line = view_.Layout().ViewLineCount() - 1;
      view_.SetFirstVisibleLine(command.id == cmd2k::kScrollUp ? (first > 0 ? first - 1 : 0)
                                                               : std::min(first + 1, last_line));
      return HResult::kOk;
    }
    case cmd2k::kTypeChar:
    case cmd2k::kBackspace:
    case cmd2k::kReturn:
    case cmd2k::kTab:
    case cmd2k::kDelete:
      done = Edit(command);
      break;
    default:
      if (QueryStatus(command) != CommandStatus::kSupported) return HResult::kUnsupported;
      done = Move(command.id);
      break;
  }
  view_.ScrollToCaret();
  return done ? HResult::kOk : HResult::kFail;
}

bool ViewEditor::ModalCommand(const EditorCommand& command) {
  HostModalInput& input = *modal_;
  switch (command.id) {
    case cmd2k::kTypeChar:
      if (command.typed == ch::kReturn) {
        input.Accept();
        break;
      }
      if (command.typed < 32 || command.typed == 0x7F) return true;  // not text
      input.Type(command.typed);
      return true;
    case cmd2k::kBackspace:
      input.Erase();
      return true;
    case cmd2k::kIncrementalSearch:
      if (input.GetKind() != HostModalInput::Kind::kIncrementalSearch) return true;
      input.Next();
      return true;
    case cmd2k::kReturn:
      input.Accept();
      break;
    case cmd2k::kCancel:
      input.Cancel();
      break;
    default:
      // Any other command ends the input as it stands and then runs.
      input.Accept();
      modal_.reset();
      return false;
  }
  modal_.reset();
  return true;
}

bool ViewEditor::Edit(const EditorCommand& command) {
  const char16_t c = command.typed;
  const bool text =
      c >= 0x20 ? c != 0x7F
                : c == ch::kTab || c == ch::kReturn || c == ch::kLineFeed || c == ch::kBackspace;
  if (command.id == cmd2k::kTypeChar && !text) return false;
  if (!host_.QueryEdit(view_.Buffer())) return false;
  switch (command.id) {
    case cmd2k::kTypeChar:
      TypeText(command.typed);
      return true;
    case cmd2k::kBackspace:
      return DeleteAtCaret(view_, true);
    case cmd2k::kReturn:
      BreakLine(view_);
      return true;
    case cmd2k::kTab:
      TypeText(ch::kTab);
      return true;
    case cmd2k::kDelete:
      return DeleteAtCaret(view_, false);
    default:
      return false;
  }
}

// A typed character: Return breaks the line, Backspace deletes, Tab indents to the next stop;
// other control characters are not text.
void ViewEditor::TypeText(char16_t c) {
  if (c == ch::kReturn || c == ch::kLineFeed) {
    BreakLine(view_);
  } else if (c == ch::kBackspace) {
    DeleteAtCaret(view_, true);
  } else if (c == ch::kTab) {
    const ViewPreferences& prefs = view_.Preferences();
    if (prefs.insert_tabs) {
      InsertAtCaret(view_, u"\t", true);
    } else {
      const TextPos caret = view_.Selection().Empty() ? view_.Caret() : view_.Selection().Start();
      const uint32_t column =
          DisplayColumn(view_.Buffer().Line(caret.line), caret.column, prefs.tab_size);
      const uint32_t indent = prefs.indent_size == 0 ? 8 : prefs.indent_size;
      InsertAtCaret(view_, std::u16string(indent - column % indent, u' '), true);
    }
  } else if (c >= 0x20 && c != 0x7F) {
    const TextPos caret = view_.Caret();
    // Overtype replaces the character under the caret, never the line break.
    if (overtype_ && view_.Selection().Empty() &&
        caret.column < view_.Buffer().LineLength(caret.line)) {
      view_.SetSelection(caret, {caret.line, caret.column + 1}, false);
    }
    InsertAtCaret(view_, std::u16string_view(&c, 1), true);
  }
}

bool ViewEditor::Move(uint32_t id) {
  const bool extend = IsExtend(id);
  const TextBuffer& buffer = view_.Buffer();
  const TextPos caret = view_.Caret();
  const uint32_t last = buffer.LineCount() - 1;
  TextPos to = caret;
  switch (PlainMovement(id)) {
    case cmd2k::kLeft:
      // A selection collapses to its start, as editors do.
      if (!extend && !view_.Selection().Empty()) {
        to = view_.Selection().Start();
      } else if (caret.column > 0) {
        // A surrogate pair is passed over whole.
        to = {caret.line, PrevCharColumn(buffer.Line(caret.line), caret.column)};
      } else if (caret.line > 0) {
        to = {caret.line - 1, buffer.LineLength(caret.line - 1)};
      }
      break;
    case cmd2k::kRight:
      if (!extend && !view_.Selection().Empty()) {
        to = view_.Selection().End();
      } else if (caret.column < buffer.LineLength(caret.line)) {
        to = {caret.line, NextCharColumn(buffer.Line(caret.line), caret.column)};
      } else if (caret.line < last) {
        to = {caret.line + 1, 0};
      }
      break;
    case cmd2k::kUp:
      to = VerticalTarget(view_, -1);
      break;
    case cmd2k::kDown:
      to = VerticalTarget(view_, 1);
      break;
    case cmd2k::kDocumentStart:
      to = {0, 0};
      break;
    case cmd2k::kDocumentEnd:
      to = buffer.End();
      break;
    case cmd2k::kHome: {
      // Home goes to the first non-blank, or to column 0 when already there.
      const auto indent = static_cast<uint32_t>(LeadingWhitespace(buffer, caret.line).size());
      to = {caret.line, caret.column == indent ? 0 : indent};
      break;
    }
    case cmd2k::kFirstChar:
      to = {caret.line, static_cast<uint32_t>(LeadingWhitespace(buffer, caret.line).size())};
      break;
    case cmd2k::kEnd:
      to = {caret.line, buffer.LineLength(caret.line)};
      break;
    case cmd2k::kLastChar:
      to = {caret.line, LastNonBlankEnd(buffer, caret.line)};
      break;
    case cmd2k::kPageUp:
    case cmd2k::kPageDown: {
      const int64_t page = std::max<int64_t>(1, view_.VisibleLineCount() - 1);
      const int64_t delta = PlainMovement(id) == cmd2k::kPageUp ? -page : page;
      const int64_t first = std::clamp<int64_t>(view_.FirstVisibleLine() + delta, 0,
                                                view_.Layout().ViewLineCount() - 1);
      MoveCaret(view_, VerticalTarget(view_, delta), extend);
      view_.SetFirstVisibleLine(static_cast<uint32_t>(first));
      return true;
    }
    case cmd2k::kTopLine:
    case cmd2k::kBottomLine: {
      const ViewLayout layout = view_.Layout();
      const uint32_t top = view_.FirstVisibleLine();
      const uint32_t bottom =
          std::min(top + view_.VisibleLineCount() - 1, layout.ViewLineCount() - 1);
      const uint32_t line = PlainMovement(id) == cmd2k::kTopLine ? top : bottom;
      to = buffer.Clamp(layout.ViewToBuffer({line, 0}));
      break;
    }
    case cmd2k::kWordPrevious:
      to = WordTarget(view_, false);
      break;
    case cmd2k::kWordNext:
      to = WordTarget(view_, true);
      break;
    default:
      return false;
  }
  MoveCaret(view_, to, extend);
  return true;
}

}  // namespace tavik::platform
