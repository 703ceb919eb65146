// Running the tavik program in a real terminal for end-to-end tests: a detached tmux session on
// a server of its own, keys sent with send-keys, the screen read back with capture-pane, and
// waits that poll the screen until what is expected appears or a time limit passes.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tavik::app::testing {

class TmuxSession {
 public:
  // Starts `command` (run by sh) in a new session of the given size.
  TmuxSession(const std::string& command, int width = 80, int height = 24);
  ~TmuxSession();
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;

  bool Started() const { return started_; }
  // Keys by tmux name ("Escape", "C-w", "F10", "Enter") or, with `literal`, text as typed.
  void Send(const std::string& keys, bool literal = false);
  void SendLiteral(const std::string& text) { Send(text, true); }
  // The visible screen, one string per row; with `escapes`, with colour and attribute codes.
  std::vector<std::string> Screen(bool escapes = false) const;
  std::string ScreenText(bool escapes = false) const;
  // Polls the screen until the predicate holds; false after the time limit.
  bool WaitFor(const std::function<bool(const std::vector<std::string>&)>& ready,
               std::chrono::milliseconds limit = std::chrono::seconds(20)) const;
  bool WaitForText(const std::string& text,
                   std::chrono::milliseconds limit = std::chrono::seconds(20)) const;
  // The process id of the program the session runs (the child of its shell), or -1.
  int ProgramPid() const;
  void Resize(int width, int height);
  // A tmux format expanded for the session, e.g. "#{window_bell_flag}".
  std::string Display(const std::string& format) const;
  // Any tmux command on the session's server (sh words); its output.
  std::string Command(const std::string& arguments) const { return Tmux(arguments); }

 private:
  std::string Tmux(const std::string& arguments) const;

  std::string socket_;
  bool started_ = false;
};

// The folder the program under test keeps its registry in (XDG_CONFIG_HOME), one per test
// process, never the user's.
const std::string& ConfigHome();
// A configuration folder of its own for the program under test (its XDG_CONFIG_HOME), removed
// when the test program ends. The registry in it has the welcome dialog turned off, so that
// only the tests that ask for it see the dialog.
std::string NewConfigFolder(bool show_welcome = false);

// The command line that runs the program under test on the arguments and, when it ends, shows
// "EXIT=<status>" and the terminal's modes, then waits so that the screen can be read. The
// program keeps its configuration in `config_folder`, or in a new one of NewConfigFolder, and
// its recovery files below that folder's "state".
std::string ProgramCommand(const std::string& arguments, const std::string& config_folder = {});

}  // namespace tavik::app::testing
