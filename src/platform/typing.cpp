// Keys typed into a view when nothing intercepted them: text, Tab, Backspace, Delete, Return
// with indentation, and caret movement with the arrows, Home, End and the page keys.
#include <algorithm>

#include "platform/edit_operations.h"
#include "platform/editor_host.h"

namespace tavik::platform {

namespace {

// Moves the caret to a position; with SHIFT the selection is extended instead.
void MoveCaret(View& view, TextPos to, bool extend) {
  if (extend) {
    view.SetSelection(view.Selection().anchor, to, false);
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

void TypeSpecial(View& view, uint32_t key, bool shift) {
  const TextBuffer& buffer = view.Buffer();
  const TextPos caret = view.Caret();
  switch (key) {
    case vk::kLeft:
      if (caret.column > 0) {
        MoveCaret(view, {caret.line, caret.column - 1}, shift);
      } else if (caret.line > 0) {
        MoveCaret(view, {caret.line - 1, buffer.LineLength(caret.line - 1)}, shift);
      }
      break;
    case vk::kRight:
      if (caret.column < buffer.LineLength(caret.line)) {
        MoveCaret(view, {caret.line, caret.column + 1}, shift);
      } else if (caret.line + 1 < buffer.LineCount()) {
        MoveCaret(view, {caret.line + 1, 0}, shift);
      }
      break;
    case vk::kUp:
      MoveCaret(view, VerticalTarget(view, -1), shift);
      break;
    case vk::kDown:
      MoveCaret(view, VerticalTarget(view, 1), shift);
      break;
    case vk::kHome: {
      // Home goes to the first non-blank, or to column 0 when already there, as editors do.
      const uint32_t indent = static_cast<uint32_t>(LeadingWhitespace(buffer, caret.line).size());
      MoveCaret(view, {caret.line, caret.column == indent ? 0 : indent}, shift);
      break;
    }
    case vk::kEnd:
      MoveCaret(view, {caret.line, buffer.LineLength(caret.line)}, shift);
      break;
    case vk::kPageUp:
    case vk::kPageDown: {
      const int64_t page = std::max<int64_t>(1, view.VisibleLineCount() - 1);
      const int64_t delta = key == vk::kPageUp ? -page : page;
      const int64_t first = std::clamp<int64_t>(view.FirstVisibleLine() + delta, 0,
                                                view.Layout().ViewLineCount() - 1);
      MoveCaret(view, VerticalTarget(view, delta), shift);
      view.SetFirstVisibleLine(static_cast<uint32_t>(first));
      break;
    }
    case vk::kDelete:
      DeleteAtCaret(view, false);
      break;
    default:
      break;
  }
}

}  // namespace

void EditorHost::TypeKey(View& view, KeyCode key) {
  const bool shift = key.Has(key_mod::kShift);
  if (key.IsSpecial()) {
    TypeSpecial(view, key.code, shift);
  } else if (key.IsChar()) {
    const auto c = static_cast<char16_t>(key.code);
    if (c == ch::kReturn || c == ch::kLineFeed) {
      BreakLine(view);
    } else if (c == ch::kBackspace) {
      DeleteAtCaret(view, true);
    } else if (c == ch::kTab) {
      const ViewPreferences& prefs = view.Preferences();
      if (prefs.insert_tabs) {
        InsertAtCaret(view, u"\t", true);
      } else {
        const TextPos caret = view.Selection().Empty() ? view.Caret() : view.Selection().Start();
        const uint32_t column =
            DisplayColumn(view.Buffer().Line(caret.line), caret.column, prefs.tab_size);
        const uint32_t indent = prefs.indent_size == 0 ? 8 : prefs.indent_size;
        InsertAtCaret(view, std::u16string(indent - column % indent, u' '), true);
      }
    } else if (c == ch::kEscape) {
      view.ClearSelection();
    } else if (c >= 0x20 && c != 0x7F && !key.Has(key_mod::kCtrl) && !key.Has(key_mod::kAlt)) {
      InsertAtCaret(view, std::u16string_view(&c, 1), true);
    } else {
      return;  // a control key an editor does not type
    }
  }
  view.ScrollToCaret();
}

}  // namespace tavik::platform
