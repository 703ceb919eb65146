// The terminal itself, through the wide-character curses library: entering and leaving the
// full-screen mode, showing the screen model with colours, placing the cursor in the caret's
// shape, the bell, the size and resizing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/terminal_grid.h"

struct screen;

namespace tavik::app {

// The cursor shapes the engine asks for, with the terminal's cursor-style numbers (DECSCUSR).
enum class CursorShape : uint8_t { kBlock = 2, kUnderline = 4, kBar = 6 };

// The control sequence that sets the cursor shape: "ESC [ n SP q".
std::string_view CursorShapeSequence(CursorShape shape);

class TerminalScreen {
 public:
  TerminalScreen() = default;
  ~TerminalScreen();
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  // Takes over the terminal; false with nothing changed when standard input or output is not a
  // terminal.
  bool Start();
  // Gives the terminal back as it was; safe to call twice.
  void Stop();

  // The size the terminal has now (asked of the terminal, so it is right after a resize).
  void QuerySize(int& rows, int& cols) const;
  // Tells the curses library the new size.
  void Resize(int rows, int cols);

  // Shows the screen model and puts the cursor at the place, in the shape.
  void Show(const ScreenGrid& grid, int cursor_row, int cursor_col, CursorShape shape);
  void Bell();
  // Writes a control sequence to the terminal after what the screen has shown.
  void WriteRaw(std::string_view bytes) const;

 private:
  void InitColours();
  // Lets curses update the terminal and sends its output and then `after` in one write.
  void RefreshInOneWrite(std::string_view after);

  ::screen* screen_ = nullptr;
  bool started_ = false;
  bool shape_supported_ = false;
  bool has_last_shape_ = false;
  CursorShape last_shape_ = CursorShape::kBlock;
  ScreenGrid shown_;  // what the terminal shows now
  // Curses writes each update in many pieces; they are gathered in a memory file that stands in
  // for standard output during the update (-1 when there is none) and sent to the terminal,
  // kept open as `terminal_fd_`, at once.
  int capture_fd_ = -1;
  int terminal_fd_ = -1;
  std::string frame_;
  short pairs_[kCellStyleCount] = {};
  uint32_t attributes_[kCellStyleCount] = {};
};

}  // namespace tavik::app
