// tmux driving for the end-to-end tests.
#include "terminal_tmux.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

#include "host/registry_settings_store.h"
#include "platform/registry_root.h"
#include "platform/registry_store.h"

namespace tavik::app::testing {

namespace {

std::string Run(const std::string& command) {
  std::string out;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char chunk[4096];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
    pclose(pipe);
  }
  return out;
}

// Single quotes for sh.
std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

}  // namespace

// One configuration folder per test process, so the program never reads or writes the user's
// registry; removed when the process ends.
const std::string& ConfigHome() {
  struct Folder {
    std::string path =
        (std::filesystem::temp_directory_path() / ("tavik-e2e-config-" + std::to_string(getpid())))
            .string();
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  };
  static const Folder folder;
  return folder.path;
}

namespace {

// Removes the configuration folders made for the program when the test program ends.
struct ConfigFolders {
  std::vector<std::filesystem::path> made;
  ~ConfigFolders() {
    std::error_code ec;
    for (const auto& folder : made) std::filesystem::remove_all(folder, ec);
  }
};

ConfigFolders& Folders() {
  static ConfigFolders folders;
  return folders;
}

}  // namespace

std::string NewConfigFolder(bool show_welcome) {
  namespace fs = std::filesystem;
  const fs::path folder =
      fs::temp_directory_path() / ("tavik_e2e_config_" + std::to_string(getpid()) + "_" +
                                   std::to_string(Folders().made.size()));
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder / "tavik", ec);
  Folders().made.push_back(folder);
  platform::RegistryStore registry;
  registry.SetBackingFile((folder / "tavik" / "registry.reg").string());
  registry.SetDword(host::SettingsKey(platform::LocalRegistryRoot(registry)), "DontShowWelcome2",
                    show_welcome ? 0 : 1);
  return folder.string();
}

std::string ProgramCommand(const std::string& arguments, const std::string& config_folder) {
  const std::string folder = config_folder.empty() ? NewConfigFolder() : config_folder;
  // Recovery files go beside the configuration, never into the user's state folder.
  return "XDG_CONFIG_HOME=" + Quote(folder) + " XDG_STATE_HOME=" + Quote(folder + "/state") + " " +
         std::string(TAVIK_BINARY) + " " + arguments +
         "; echo EXIT=$?; echo modes: $(stty -a | tr -s ' ;' '\\n\\n' | "
         "grep -x -- '-*icanon\\|-*echo'); sleep 60";
}

TmuxSession::TmuxSession(const std::string& command, int width, int height) {
  // The process and the moment make the server's name unique among tests running at once.
  socket_ = "tavik-e2e-" + std::to_string(getpid()) + "-" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::string out =
      Tmux("-f /dev/null new-session -d -s main -x " + std::to_string(width) + " -y " +
           std::to_string(height) + " " + Quote(command) + " 2>&1; echo started=$?");
  started_ = out.find("started=0") != std::string::npos;
}

TmuxSession::~TmuxSession() {
  Tmux("kill-server 2>/dev/null");
}

std::string TmuxSession::Tmux(const std::string& arguments) const {
  return Run("tmux -L " + socket_ + " " + arguments);
}

void TmuxSession::Send(const std::string& keys, bool literal) {
  Tmux(std::string("send-keys -t main ") + (literal ? "-l " : "") + Quote(keys));
}

std::vector<std::string> TmuxSession::Screen(bool escapes) const {
  std::vector<std::string> rows;
  std::istringstream in(Tmux(std::string("capture-pane -p ") + (escapes ? "-e " : "") + "-t main"));
  for (std::string line; std::getline(in, line);) rows.push_back(line);
  return rows;
}

std::string TmuxSession::ScreenText(bool escapes) const {
  std::string text;
  for (const std::string& row : Screen(escapes)) text += row + "\n";
  return text;
}

bool TmuxSession::WaitFor(const std::function<bool(const std::vector<std::string>&)>& ready,
                          std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (ready(Screen())) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
  }
}

bool TmuxSession::WaitForText(const std::string& text, std::chrono::milliseconds limit) const {
  return WaitFor(
      [&](const std::vector<std::string>& rows) {
        for (const std::string& row : rows) {
          if (row.find(text) != std::string::npos) return true;
        }
        return false;
      },
      limit);
}

int TmuxSession::ProgramPid() const {
  const std::string shell = Tmux("display-message -p -t main '#{pane_pid}'");
  if (shell.empty()) return -1;
  const std::string child = Run("ps -o pid= --ppid " + std::to_string(std::stoi(shell)));
  try {
    return std::stoi(child);
  } catch (...) {
    return -1;
  }
}

std::string TmuxSession::Display(const std::string& format) const {
  std::string out = Tmux("display-message -p -t main " + Quote(format));
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

void TmuxSession::Resize(int width, int height) {
  Tmux("resize-window -t main -x " + std::to_string(width) + " -y " + std::to_string(height));
}

}  // namespace tavik::app::testing
