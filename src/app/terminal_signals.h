// Signals of the terminal editor. On a crash or termination signal the saved terminal modes are
// restored and the full-screen and cursor settings undone, with only async-signal-safe calls,
// before the signal takes its default course. A resize (SIGWINCH) writes a byte to a pipe that
// the main loop polls.
#pragma once

namespace tavik::app {

// Saves the terminal modes of standard input as they are now.
void SaveTerminalModes();
// Installs the handlers for SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT and SIGQUIT; for SIGWINCH,
// which writes a byte to `resize_fd`; and for SIGTERM and SIGHUP, which ask the editor to end
// (TakeQuitSignal) and write a byte there too. SIGPIPE is ignored.
void InstallSignalHandlers(int resize_fd);
// The SIGTERM or SIGHUP received since the last call, or 0.
int TakeQuitSignal();
// Restores the saved modes and writes the sequences that leave full-screen mode.
void RestoreTerminalNow();
// Puts the default handlers back and forgets the saved modes.
void RemoveSignalHandlers();

}  // namespace tavik::app
