// The terminal itself: the wide-character curses library enters and leaves the full-screen mode
// and reads the terminal's description; the screen model goes out through the painter, with
// colours, the cursor in the caret's shape, in one write per update. Also the bell, the size
// and resizing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/terminal_colours.h"
#include "app/terminal_grid.h"
#include "app/terminal_paint.h"

struct screen;

namespace tavik::app {

// The cursor shapes the engine asks for, with the terminal's cursor-style numbers (DECSCUSR).
enum class CursorShape : uint8_t { kBlock = 2, kUnderline = 4, kBar = 6 };

// xterm's modifyOtherKeys level 2, which tmux offers with its extended-keys option, and the
// reset to the plain encoding.
inline constexpr std::string_view kExtendedKeysOn = "\x1b[>4;2m";
inline constexpr std::string_view kExtendedKeysOff = "\x1b[>4m";
// The progressive keyboard mode that reports Escape and ALT with keys as sequences of their
// own ("CSI > 1 u" pushes it, "CSI < u" pops it), and the question whether it is on, which a
// terminal that has it answers with "CSI ? flags u".
inline constexpr std::string_view kKeyReportsOn = "\x1b[>1u\x1b[?u";
inline constexpr std::string_view kKeyReportsOff = "\x1b[<u";
// Pasted text comes between "CSI 200 ~" and "CSI 201 ~" while bracketed paste is on.
inline constexpr std::string_view kBracketedPasteOn = "\x1b[?2004h";
inline constexpr std::string_view kBracketedPasteOff = "\x1b[?2004l";

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

  // Shows the screen model and puts the cursor at the place, in the shape. Only the rows the
  // grid marks as changed are looked at, and their marks are cleared: the grid is meant to be
  // drawn over for the next frame, changing only what changes.
  void Show(ScreenGrid& grid, int cursor_row, int cursor_col, CursorShape shape);
  // Shows the cell styles so from now on (the whole screen is drawn again when they changed).
  void SetLooks(const CellLooks& looks);
  // The next update clears the terminal and writes every cell, whatever it holds now.
  void RepaintAll() { repaint_all_ = true; }
  void Bell();
  // Writes a control sequence to the terminal after what the screen has shown.
  void WriteRaw(std::string_view bytes) const;

 private:
  // The painter's codes from the terminal's description, the styles in the looks set.
  TerminalCodes ReadCodes();

  ::screen* screen_ = nullptr;
  bool started_ = false;
  bool shape_supported_ = false;
  bool has_last_shape_ = false;
  CursorShape last_shape_ = CursorShape::kBlock;
  std::unique_ptr<TerminalPainter> painter_;
  CellLooks looks_ = LooksFromItems(platform::ColourItems{});
  StyleCapabilities style_capabilities_;
  ScreenGrid shown_;          // what the terminal shows now
  std::vector<int> origins_;  // scratch: where each row of an update came from
  bool repaint_all_ = true;   // the terminal's contents are unknown (start, resize)
  std::string frame_;         // the update being written, kept to reuse its memory
  int last_cursor_row_ = -1;  // where the last update left the cursor
  int last_cursor_col_ = -1;
};

}  // namespace tavik::app
