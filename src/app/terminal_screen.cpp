// The curses side of the terminal editor. Input is not read through curses (the editor decodes
// the bytes itself), and output goes out through the painter, so curses only owns the terminal
// modes and the terminal's description.
#include "app/terminal_screen.h"

#include <curses.h>
#include <sys/ioctl.h>
#include <term.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace tavik::app {

namespace {

// A capability's string, empty when the terminal has none.
std::string Capability(const char* name) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%s", name);
  const char* value = tigetstr(buffer);
  if (value == nullptr || value == reinterpret_cast<char*>(-1)) return {};
  return value;
}

// Drops the padding delays ("$<5>") of a capability: they are for terminals at low baud rates
// and are not sent as text.
std::string WithoutPadding(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '$' && i + 1 < text.size() && text[i + 1] == '<') {
      const size_t close = text.find('>', i);
      if (close != std::string_view::npos) {
        i = close;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// A capability with its parameters filled in, without padding.
std::string Filled(const std::string& capability, int a, int b = 0) {
  if (capability.empty()) return {};
  const char* text = tiparm(capability.c_str(), a, b);
  return text == nullptr ? std::string() : WithoutPadding(text);
}

void AppendNumber(int n, std::string& out) {
  char digits[12];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, n);
  out.append(digits, end);
}

// A capability with two numbers (cursor position, scroll region) as a function that fills them
// in; none when the terminal lacks the capability. The common form "ESC [ a ; b X" is written
// without the capability interpreter.
std::function<void(int, int, std::string&)> TwoNumberSequence(const std::string& capability,
                                                              char final) {
  if (capability == std::string("\x1b[%i%p1%d;%p2%d") + final) {
    return [final](int a, int b, std::string& out) {
      out += "\x1b[";
      AppendNumber(a + 1, out);
      out += ';';
      AppendNumber(b + 1, out);
      out += final;
    };
  }
  if (capability.empty()) return nullptr;
  return [capability](int a, int b, std::string& out) { out += Filled(capability, a, b); };
}

// A capability with one number (a count of characters) as a function that fills it in; none
// when the terminal lacks it. The common form "ESC [ n X" is written without the interpreter.
std::function<void(int, std::string&)> OneNumberSequence(const std::string& capability,
                                                         char final) {
  if (capability == std::string("\x1b[%p1%d") + final) {
    return [final](int n, std::string& out) {
      out += "\x1b[";
      AppendNumber(n, out);
      out += final;
    };
  }
  if (capability.empty()) return nullptr;
  return [capability](int n, std::string& out) { out += Filled(capability, n); };
}

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
  refresh();  // enters the full-screen mode; everything after goes out through the painter
  // Keys with modifiers the plain encoding cannot tell apart (Ctrl+Shift+Alt+V) come as
  // "CSI 27 ; modifiers ; code ~" where the terminal offers it.
  WriteRaw(kExtendedKeysOn);
  // Where the terminal has it, Escape followed by a key is never ALT with that key; pastes come
  // marked, so that they are taken as text.
  WriteRaw(kKeyReportsOn);
  WriteRaw(kBracketedPasteOn);
  char capability[] = "Ss";
  const char* ss = tigetstr(capability);
  shape_supported_ = (ss != nullptr && ss != reinterpret_cast<char*>(-1)) ||
                     TerminalNameTakesCursorStyle(std::getenv("TERM"));
  painter_ = std::make_unique<TerminalPainter>(ReadCodes());
  repaint_all_ = true;
  return true;
}

TerminalCodes TerminalScreen::ReadCodes() {
  TerminalCodes codes;
  char am[] = "am";
  char xenl[] = "xenl";
  char colors[] = "colors";
  codes.auto_margin = tigetflag(am) > 0;
  codes.wrap_is_delayed = tigetflag(xenl) > 0;
  codes.clear = WithoutPadding(Capability("clear"));
  if (codes.clear.empty()) codes.clear = "\x1b[H\x1b[2J";
  codes.clear_to_line_end = WithoutPadding(Capability("el"));
  codes.move_to = TwoNumberSequence(Capability("cup"), 'H');
  if (!codes.move_to) codes.move_to = TwoNumberSequence("\x1b[%i%p1%d;%p2%dH", 'H');
  codes.set_scroll_region = TwoNumberSequence(Capability("csr"), 'r');
  codes.scroll_up = WithoutPadding(Capability("ind"));
  codes.scroll_down = WithoutPadding(Capability("ri"));
  if (codes.scroll_up.empty() || codes.scroll_down.empty()) codes.set_scroll_region = nullptr;
  codes.delete_chars = OneNumberSequence(Capability("dch"), 'P');
  codes.insert_chars = OneNumberSequence(Capability("ich"), '@');
  const std::string setaf = Capability("setaf");
  const std::string setab = Capability("setab");
  StyleCapabilities& style = style_capabilities_;
  style.colours = setaf.empty() || setab.empty() ? 0 : tigetnum(colors);
  style.reset = WithoutPadding(Capability("sgr0"));
  style.bold = WithoutPadding(Capability("bold"));
  style.reverse = WithoutPadding(Capability("rev"));
  style.underline = WithoutPadding(Capability("smul"));
  style.foreground_code = [setaf](int n) { return Filled(setaf, n); };
  style.background_code = [setab](int n) { return Filled(setab, n); };
  for (size_t i = 0; i < kCellStyleCount; ++i) codes.styles[i] = StyleSequence(looks_[i], style);
  return codes;
}

void TerminalScreen::SetLooks(const CellLooks& looks) {
  if (looks == looks_) return;
  looks_ = looks;
  if (painter_ == nullptr) return;
  TerminalCodes codes = painter_->Codes();
  for (size_t i = 0; i < kCellStyleCount; ++i)
    codes.styles[i] = StyleSequence(looks_[i], style_capabilities_);
  painter_ = std::make_unique<TerminalPainter>(std::move(codes));
  repaint_all_ = true;
}

void TerminalScreen::Stop() {
  if (!started_) return;
  started_ = false;
  std::string leave;
  if (shown_.Rows() > 0 && painter_ != nullptr) {
    // Curses does not know where the painter left the cursor: put it on the last row.
    painter_->Codes().move_to(shown_.Rows() - 1, 0, leave);
  }
  if (shape_supported_ && has_last_shape_) leave += "\x1b[0 q";
  leave += kExtendedKeysOff;
  leave += kKeyReportsOff;
  leave += kBracketedPasteOff;
  WriteRaw(leave);
  endwin();
  delscreen(screen_);
  screen_ = nullptr;
  painter_.reset();
  shown_.Resize(0, 0);
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
  repaint_all_ = true;
}

void TerminalScreen::Show(ScreenGrid& grid, int cursor_row, int cursor_col, CursorShape shape) {
  if (!started_) return;
  const bool shape_changes = shape_supported_ && (!has_last_shape_ || shape != last_shape_);
  const bool resized = grid.Rows() != shown_.Rows() || grid.Cols() != shown_.Cols();
  // Only the rows the grid marks as changed can differ from what the terminal shows.
  bool rows_differ = false;
  for (int r = 0; r < grid.Rows() && !rows_differ && !resized; ++r) {
    if (!grid.RowChanged(r)) continue;
    const std::span<const Cell> now = grid.Row(r);
    const std::span<const Cell> was = shown_.Row(r);
    rows_differ = !std::equal(now.begin(), now.end(), was.begin(), was.end());
  }
  // An update after a timer or a clipboard copy often changes nothing: it sends nothing.
  if (!repaint_all_ && !resized && !shape_changes && !rows_differ &&
      cursor_row == last_cursor_row_ && cursor_col == last_cursor_col_) {
    grid.ClearChanges();
    return;
  }
  last_cursor_row_ = cursor_row;
  last_cursor_col_ = cursor_col;
  frame_.clear();
  const bool full = repaint_all_ || resized;
  painter_->Paint(shown_, grid, std::clamp(cursor_row, 0, std::max(0, grid.Rows() - 1)),
                  std::clamp(cursor_col, 0, std::max(0, grid.Cols() - 1)), full, frame_);
  // What the terminal shows now: rows the grid moved move along, written rows are copied.
  if (resized) shown_.Resize(grid.Rows(), grid.Cols());
  origins_.resize(static_cast<size_t>(grid.Rows()));
  for (int r = 0; r < grid.Rows(); ++r)
    origins_[static_cast<size_t>(r)] = full ? -1 : grid.RowOrigin(r);
  shown_.MoveRows(0, origins_);
  for (int r = 0; r < grid.Rows(); ++r) {
    if (origins_[static_cast<size_t>(r)] < 0) shown_.SetRow(r, grid.Row(r));
  }
  grid.ClearChanges();
  repaint_all_ = false;
  if (shape_changes) {
    frame_ += CursorShapeSequence(shape);
    last_shape_ = shape;
    has_last_shape_ = true;
  }
  WriteRaw(frame_);
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
