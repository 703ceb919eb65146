// The curses side of the terminal editor. Input is not read through curses (the editor decodes
// the bytes itself), so curses only owns output and the terminal modes.
#include "app/terminal_screen.h"

#include <curses.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <term.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tavik::app {

namespace {

// Colours and attributes per cell style, and the attributes used on a terminal without
// colours.
struct StyleLook {
  CellStyle style;
  short foreground;  // -1: the terminal's default
  short background;
  attr_t attributes;
  attr_t monochrome;
};
constexpr std::array<StyleLook, kCellStyleCount> kLooks = {{
    {CellStyle::kText, -1, -1, A_NORMAL, A_NORMAL},
    {CellStyle::kSpecialChar, COLOR_BLUE, -1, A_BOLD, A_BOLD},
    {CellStyle::kPlaceholder, COLOR_CYAN, -1, A_NORMAL, A_UNDERLINE},
    {CellStyle::kEmptyLine, COLOR_BLUE, -1, A_BOLD, A_BOLD},
    {CellStyle::kSelection, COLOR_BLACK, COLOR_WHITE, A_NORMAL, A_REVERSE},
    {CellStyle::kSearch, COLOR_BLACK, COLOR_YELLOW, A_NORMAL, A_UNDERLINE | A_BOLD},
    {CellStyle::kIncSearch, COLOR_WHITE, COLOR_MAGENTA, A_BOLD, A_REVERSE | A_BOLD},
    {CellStyle::kTabLine, COLOR_WHITE, COLOR_BLUE, A_NORMAL, A_UNDERLINE},
    {CellStyle::kTabActive, COLOR_BLACK, COLOR_WHITE, A_BOLD, A_REVERSE | A_BOLD},
    {CellStyle::kStatus, -1, -1, A_REVERSE, A_REVERSE},
    {CellStyle::kSeparator, -1, -1, A_REVERSE, A_REVERSE},
    {CellStyle::kPaneTitle, -1, -1, A_REVERSE | A_BOLD, A_REVERSE | A_BOLD},
    {CellStyle::kPaneText, -1, -1, A_NORMAL, A_NORMAL},
}};

// Terminals known to take the cursor-style sequence even when their description lacks it.
bool TerminalNameTakesCursorStyle(const char* term) {
  if (term == nullptr) return false;
  for (const char* name : {"xterm", "tmux", "screen", "rxvt", "alacritty", "kitty", "foot",
                           "wezterm", "vte", "gnome", "konsole", "st-"}) {
    if (std::strncmp(term, name, std::strlen(name)) == 0) return true;
  }
  return false;
}

}  // namespace

std::string_view CursorShapeSequence(CursorShape shape) {
  switch (shape) {
    case CursorShape::kBlock:
      return "\x1b[2 q";
    case CursorShape::kUnderline:
      return "\x1b[4 q";
    case CursorShape::kBar:
      return "\x1b[6 q";
  }
  return "\x1b[2 q";
}

TerminalScreen::~TerminalScreen() {
  Stop();
}

bool TerminalScreen::Start() {
  if (started_) return true;
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) return false;
  // newterm, unlike initscr, reports an unknown terminal type instead of ending the program.
  screen_ = newterm(nullptr, stdout, stdin);
  if (screen_ == nullptr) return false;
  set_term(screen_);
  started_ = true;
  raw();  // CTRL-C, CTRL-Z, CTRL-S and CTRL-Q reach the editor as keys
  noecho();
  nonl();
  intrflush(stdscr, FALSE);
  keypad(stdscr, FALSE);
  leaveok(stdscr, FALSE);
  typeahead(-1);  // the editor reads input itself: curses must not look at it
  scrollok(stdscr, FALSE);
  InitColours();
  char capability[] = "Ss";
  const char* ss = tigetstr(capability);
  shape_supported_ = (ss != nullptr && ss != reinterpret_cast<char*>(-1)) ||
                     TerminalNameTakesCursorStyle(std::getenv("TERM"));
  capture_fd_ = memfd_create("tavik-screen", MFD_CLOEXEC);
  terminal_fd_ = capture_fd_ >= 0 ? fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3) : -1;
  if (terminal_fd_ < 0 && capture_fd_ >= 0) {
    close(capture_fd_);
    capture_fd_ = -1;
  }
  return true;
}

void TerminalScreen::InitColours() {
  const bool colour = has_colors() && start_color() == OK;
  if (colour) use_default_colors();
  short next_pair = 1;
  for (const StyleLook& look : kLooks) {
    const auto index = static_cast<size_t>(look.style);
    pairs_[index] = 0;
    attributes_[index] = static_cast<uint32_t>(colour ? look.attributes : look.monochrome);
    if (colour && (look.foreground >= 0 || look.background >= 0) && next_pair < COLOR_PAIRS) {
      init_pair(next_pair, look.foreground, look.background);
      pairs_[index] = next_pair++;
    }
  }
}

void TerminalScreen::Stop() {
  if (!started_) return;
  started_ = false;
  if (shape_supported_ && has_last_shape_) WriteRaw("\x1b[0 q");
  endwin();
  delscreen(screen_);
  screen_ = nullptr;
  for (int* fd : {&capture_fd_, &terminal_fd_}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}

void TerminalScreen::RefreshInOneWrite(std::string_view after) {
  if (capture_fd_ < 0 || lseek(capture_fd_, 0, SEEK_SET) != 0 ||
      dup2(capture_fd_, STDOUT_FILENO) < 0) {
    refresh();
    if (!after.empty()) WriteRaw(after);
    return;
  }
  refresh();
  const off_t size = lseek(capture_fd_, 0, SEEK_CUR);
  dup2(terminal_fd_, STDOUT_FILENO);
  frame_.resize(static_cast<size_t>(std::max<off_t>(size, 0)));
  const ssize_t got = size > 0 ? pread(capture_fd_, frame_.data(), frame_.size(), 0) : 0;
  frame_.resize(static_cast<size_t>(std::max<ssize_t>(got, 0)));
  frame_ += after;
  if (!frame_.empty()) WriteRaw(frame_);
}

void TerminalScreen::QuerySize(int& rows, int& cols) const {
  struct winsize size {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    rows = size.ws_row;
    cols = size.ws_col;
    return;
  }
  rows = LINES;
  cols = COLS;
}

void TerminalScreen::Resize(int rows, int cols) {
  if (started_ && (rows != LINES || cols != COLS)) resizeterm(rows, cols);
  shown_.Resize(0, 0);
}

void TerminalScreen::Show(const ScreenGrid& grid, int cursor_row, int cursor_col,
                          CursorShape shape) {
  if (!started_) return;
  const int rows = std::min(grid.Rows(), LINES);
  const int cols = std::min(grid.Cols(), COLS);
  // Only cells that changed since the last frame are handed to curses.
  const bool all = shown_.Rows() != grid.Rows() || shown_.Cols() != grid.Cols();
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      const Cell& cell = grid.At(r, c);
      if (cell.width == 0) continue;
      if (!all && shown_.At(r, c) == cell &&
          (cell.width != 2 || c + 1 >= cols || shown_.At(r, c + 1) == grid.At(r, c + 1))) {
        continue;
      }
      const auto index = static_cast<size_t>(cell.style);
      wchar_t text[3] = {static_cast<wchar_t>(cell.ch), static_cast<wchar_t>(cell.mark), 0};
      cchar_t cc;
      setcchar(&cc, text, static_cast<attr_t>(attributes_[index]), pairs_[index], nullptr);
      mvadd_wch(r, c, &cc);  // the bottom-right cell reports an error but is written
    }
  }
  shown_ = grid;
  move(std::clamp(cursor_row, 0, std::max(0, rows - 1)),
       std::clamp(cursor_col, 0, std::max(0, cols - 1)));
  std::string_view shape_sequence;
  if (shape_supported_ && (!has_last_shape_ || shape != last_shape_)) {
    shape_sequence = CursorShapeSequence(shape);
    last_shape_ = shape;
    has_last_shape_ = true;
  }
  RefreshInOneWrite(shape_sequence);
}

void TerminalScreen::Bell() {
  if (started_) beep();
}

void TerminalScreen::WriteRaw(std::string_view bytes) const {
  std::fflush(stdout);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
}

}  // namespace tavik::app
