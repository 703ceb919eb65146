// The welcome dialog's keys and drawing.
#include "app/terminal_welcome_dialog.h"

#include <algorithm>
#include <array>
#include <string>

namespace tavik::app {

namespace {

constexpr std::u16string_view kTitle = u"Welcome to Tavik";
constexpr std::array<std::u16string_view, 6> kText = {
    u"Keys typed in the editor are now read as vi commands:",
    u"i inserts text, Escape goes back to normal mode, :w saves",
    u"and :q closes the document.",
    u"Ctrl+Shift+Alt+V switches the emulation off and on;",
    u"the options are on F2 (Tools.Options).",
    u"",
};
constexpr std::u16string_view kHint = u"Space: tick   Enter: OK";

}  // namespace

bool WelcomeDialog::HandleKey(KeyCode key) {
  if (!open_) return false;
  if (key.IsChar(ch::kReturn) || key.IsChar(ch::kEscape)) {
    open_ = false;
    return false;
  }
  if (key.IsChar(u' ')) dont_show_again_ = !dont_show_again_;
  return true;
}

void WelcomeDialog::Draw(ScreenGrid& grid, int& cursor_row, int& cursor_col) const {
  const int rows = grid.Rows();
  const int cols = grid.Cols();
  int width = static_cast<int>(kTitle.size());
  for (std::u16string_view line : kText) width = std::max(width, ScreenGrid::TextWidth(line));
  width = std::min(cols, width + 4);
  const int height = std::min(rows, static_cast<int>(kText.size()) + 6);
  const int top = std::max(0, (rows - height) / 2);
  const int left = std::max(0, (cols - width) / 2);
  const int right = left + width;
  auto blank_row = [&](int row) {
    for (int c = left; c < right; ++c) grid.Put(row, c, Cell{U' ', 0, 1, CellStyle::kPaneText});
  };
  int row = top;
  // Title bar, text, check box, hint; what does not fit is left out.
  auto next_row = [&]() { return row < top + height ? row++ : -1; };
  if (int r = next_row(); r >= 0) {
    blank_row(r);
    grid.PutText(r, left + 2, kTitle, CellStyle::kDialogTitle, right);
  }
  if (int r = next_row(); r >= 0) blank_row(r);
  for (std::u16string_view line : kText) {
    if (int r = next_row(); r >= 0) {
      blank_row(r);
      grid.PutText(r, left + 2, line, CellStyle::kPaneText, right);
    }
  }
  if (int r = next_row(); r >= 0) {
    blank_row(r);
    const std::u16string box = dont_show_again_ ? u"[x]" : u"[ ]";
    grid.PutText(r, left + 2, box + u" Don't show this again", CellStyle::kPaneText, right);
    cursor_row = r;
    cursor_col = std::min(cols - 1, left + 3);
  }
  if (int r = next_row(); r >= 0) blank_row(r);
  if (int r = next_row(); r >= 0) {
    for (int c = left; c < right; ++c) grid.Put(r, c, Cell{U' ', 0, 1, CellStyle::kStatus});
    grid.PutText(r, left + 2, kHint, CellStyle::kStatus, right);
  }
}

}  // namespace tavik::app
