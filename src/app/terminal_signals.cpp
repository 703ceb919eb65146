// A signal handler can only reach static storage, so the saved terminal modes and the resize
// pipe live in one function-local static record here and nowhere else.
#include "app/terminal_signals.h"

#include <termios.h>
#include <unistd.h>

#include <csignal>

namespace tavik::app {

namespace {

struct SignalState {
  struct termios modes {};
  volatile sig_atomic_t saved = 0;
  volatile sig_atomic_t resize_fd = -1;
  volatile sig_atomic_t quit_signal = 0;
};

SignalState& State() {
  static SignalState state;
  return state;
}

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGQUIT};
// Asked to end: the main loop writes the recovery files and gives the terminal back.
constexpr int kQuitSignals[] = {SIGTERM, SIGHUP};

// Reset colours, the terminal's default cursor shape, cursor shown, normal cursor keys and
// keypad, the plain key encoding and no keyboard mode pushed, pastes unmarked, and back from the
// alternate screen.
constexpr char kLeaveSequence[] =
    "\x1b[0m\x1b[0 q\x1b[?25h\x1b[?1l\x1b>\x1b[>4m\x1b[<u\x1b[?2004l\x1b[?1049l\r\n";

void OnFatalSignal(int signal_number) {
  RestoreTerminalNow();
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

void OnResize(int) {
  const int fd = State().resize_fd;
  if (fd >= 0) {
    const char byte = 'r';
    const ssize_t written = write(fd, &byte, 1);
    (void)written;
  }
}

void OnQuitSignal(int signal_number) {
  State().quit_signal = signal_number;
  OnResize(signal_number);  // wakes the main loop
}

}  // namespace

int TakeQuitSignal() {
  const int signal_number = State().quit_signal;
  State().quit_signal = 0;
  return signal_number;
}

void SaveTerminalModes() {
  SignalState& state = State();
  if (tcgetattr(STDIN_FILENO, &state.modes) == 0) state.saved = 1;
}

void RestoreTerminalNow() {
  SignalState& state = State();
  if (state.saved == 0) return;
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &state.modes);
  const ssize_t written = write(STDOUT_FILENO, kLeaveSequence, sizeof kLeaveSequence - 1);
  (void)written;
}

void InstallSignalHandlers(int resize_fd) {
  State().resize_fd = resize_fd;
  for (int s : kFatalSignals) std::signal(s, OnFatalSignal);
  // A clipboard tool that ends before reading its input must not end the editor.
  std::signal(SIGPIPE, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = OnResize;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGWINCH, &action, nullptr);
  action.sa_handler = OnQuitSignal;
  for (int s : kQuitSignals) sigaction(s, &action, nullptr);
}

void RemoveSignalHandlers() {
  for (int s : kFatalSignals) std::signal(s, SIG_DFL);
  for (int s : kQuitSignals) std::signal(s, SIG_DFL);
  std::signal(SIGWINCH, SIG_DFL);
  std::signal(SIGPIPE, SIG_DFL);
  State().resize_fd = -1;
  State().saved = 0;
}

}  // namespace tavik::app
