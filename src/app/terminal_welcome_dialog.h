// The welcome dialog the terminal editor shows once after it starts, until the user ticks
// "Don't show this again": a bold title, a short text and the check box, in a box over the
// editor. Space toggles the check box; Enter or Escape closes the dialog as OK.
#pragma once

#include "app/terminal_grid.h"
#include "common/key_code.h"

namespace tavik::app {

class WelcomeDialog {
 public:
  // Handles a key; false once the dialog is closed. No key goes past the dialog.
  bool HandleKey(KeyCode key);
  bool Open() const { return open_; }
  // The check box "Don't show this again".
  bool DontShowAgain() const { return dont_show_again_; }

  // Draws the dialog over the middle of the grid; the cursor's place is on the check box.
  void Draw(ScreenGrid& grid, int& cursor_row, int& cursor_col) const;

 private:
  bool open_ = true;
  bool dont_show_again_ = false;
};

}  // namespace tavik::app
