// The terminal editor: the host editor with the package, shown full screen. The main loop waits
// for input with a time-out, decodes keys and feeds them to the package, fires the views'
// mapping timers when `timeoutlen` has passed, follows terminal resizes, asks the host's
// questions on the status line and gives the terminal back on exit and on a crash.
#pragma once

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "app/terminal_clipboard.h"
#include "app/terminal_draw.h"
#include "app/terminal_grid.h"
#include "app/terminal_keys.h"
#include "app/terminal_options_form.h"
#include "app/terminal_recovery.h"
#include "app/terminal_screen.h"
#include "app/terminal_welcome_dialog.h"
#include "host/package.h"
#include "host/settings_object.h"
#include "platform/editor_host.h"

namespace tavik::app {

// How long bytes after an Escape may take to arrive and still belong to its sequence.
inline constexpr int kEscapeDelayMs = 25;
// Copies go to the desktop once keys have paused this long, so that a run of deletes or a
// register replay sends the clipboard once, and never holds up drawing a key's effect.
inline constexpr int kClipboardDelayMs = 30;
// Recovery files are written once keys have paused this long.
inline constexpr int kRecoveryDelayMs = 1000;

class TerminalEditor {
 public:
  TerminalEditor();
  ~TerminalEditor();
  TerminalEditor(const TerminalEditor&) = delete;
  TerminalEditor& operator=(const TerminalEditor&) = delete;

  // Runs the startup file, opens the files and runs until the last document is closed or the
  // quit key is confirmed; the exit status.
  int Run(const ProgramOptions& options);

 private:
  void RunStartupFile(const ProgramOptions& options);
  void OpenFiles(const std::vector<std::string>& files);
  void HandleKey(KeyCode key);
  // Text pasted in the terminal: to the engine as text, or typed by the host without it.
  void HandlePaste(std::u16string_view text);
  void Redraw();
  // Waits for input or the next timer, then decodes what came; false when input ended.
  bool WaitAndRead(bool with_timers);
  void AdvanceClock();
  int MillisecondsToNextTimer() const;
  void Resize();
  void RequestQuit();
  // While a build runs: true when CTRL-C was typed; other keys wait their turn.
  bool BuildCancelRequested();
  KeyCode ReadKeyForQuestion();
  std::optional<std::u16string> AskText(std::u16string_view prompt);
  platform::YesNoAnswer AskYesNo(std::u16string_view question);
  platform::ConfirmAnswer AskConfirm(std::u16string_view prompt);
  // The options form, full screen, until it is closed.
  // Opens the options form; the argument "Keyboard" opens it at the keyboard manager.
  bool RunOptionsForm(std::u16string_view argument = {});
  // The welcome dialog over the editor, when the user has not turned it off.
  void ShowWelcome();
  // One of the keys in `keys` typed in answer; Escape and CTRL-C give the first.
  char16_t AskChoice(std::u16string_view question, std::u16string_view keys);
  // Asks what to do with the recovery files of documents opened since the last time.
  void AskAboutRecoveries();
  bool CommandLineOpen() const;
  // Writes the recovery files once keys have paused long enough.
  void UpdateRecoveryWhenDue();

  std::unique_ptr<platform::EditorHost> editor_;
  std::unique_ptr<host::Package> package_;
  const OptionsForm* form_ = nullptr;       // shown instead of the editor while open
  const WelcomeDialog* welcome_ = nullptr;  // shown over the editor while open
  uint64_t colours_seen_ = UINT64_MAX;      // the display items' version the screen shows
  std::unique_ptr<DesktopClipboard> clipboard_;
  TerminalScreen screen_;
  ScreenComposer composer_;
  ScreenGrid grid_;
  TerminalKeyDecoder decoder_;
  std::deque<KeyCode> keys_;
  int rows_ = 24;
  int cols_ = 80;
  int resize_pipe_[2] = {-1, -1};
  std::chrono::steady_clock::time_point last_tick_;
  uint64_t carried_us_ = 0;  // clock time not yet handed to the host, below a millisecond
  std::optional<std::u16string> question_;
  // The status text the last frame showed; a key makes a long one give way to its first row.
  std::u16string status_shown_;
  bool status_dismissed_ = false;
  std::u16string open_errors_;
  std::string working_folder_;
  bool pane_visible_ = false;
  int pane_shows_seen_ = 0;
  size_t pane_lines_seen_ = 0;
  int beeps_ = 0;
  bool quit_ = false;
  bool input_closed_ = false;
  std::unique_ptr<RecoveryKeeper> recovery_;  // none without a state folder
  std::optional<std::chrono::steady_clock::time_point> recovery_due_;
  int quit_signal_ = 0;  // SIGTERM or SIGHUP asked the editor to end
};

// The terminal editor of the tavik program; the process exit status.
int RunTerminalEditor(const ProgramOptions& options);

}  // namespace tavik::app
