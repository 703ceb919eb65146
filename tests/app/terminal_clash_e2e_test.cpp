// The clash manager in a real terminal (tmux) on a fresh registry: the first start takes Ctrl+F
// away from the host's find and records it, so CTRL-F scrolls; --keybindings and --setting show
// what was removed; switching the emulation off gives Ctrl+F back to find, and on takes it away.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "terminal_tmux.h"

namespace tavik::app {
namespace {

using testing::NewConfigFolder;
using testing::ProgramCommand;
using testing::TmuxSession;
namespace fs = std::filesystem;

bool Has(const std::vector<std::string>& rows, const std::string& text) {
  for (const std::string& row : rows) {
    if (row.find(text) != std::string::npos) return true;
  }
  return false;
}

bool RowIs(const std::vector<std::string>& rows, size_t row, const std::string& text) {
  return row < rows.size() && rows[row] == text;
}

// The program's standard output for the arguments, with the configuration folder.
std::string RunProgram(const std::string& config, const std::string& arguments) {
  const std::string command =
      "XDG_CONFIG_HOME='" + config + "' " + std::string(TAVIK_BINARY) + " " + arguments;
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer{};
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
      out.append(buffer.data(), n);
    pclose(pipe);
  }
  return out;
}

// The --keybindings line of a command.
std::string BindingsLine(const std::string& listing, const std::string& command) {
  const std::string start = command + "\t";
  for (size_t at = 0; at < listing.size();) {
    size_t end = listing.find('\n', at);
    if (end == std::string::npos) end = listing.size();
    const std::string line = listing.substr(at, end - at);
    if (line.starts_with(start)) return line;
    at = end + 1;
  }
  return "(missing)";
}

TEST(TerminalClashTest, FirstStartRemovesCtrlFAndTheToggleGivesItBack) {
  if (std::system("command -v tmux >/dev/null 2>&1") != 0) GTEST_SKIP() << "tmux is missing";
  const fs::path folder =
      fs::temp_directory_path() / ("tavik_clash_e2e_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string file = (folder / "t.txt").string();
  {
    std::ofstream out(file);
    for (int i = 1; i <= 100; ++i) out << "line " << i << "\n";
  }
  const std::string config = NewConfigFolder();
  EXPECT_EQ(BindingsLine(RunProgram(config, "--keybindings"), "Edit.Find"),
            "Edit.Find\tText Editor::Ctrl+F");
  {
    TmuxSession tmux("sleep 0.5; " + ProgramCommand(file, config));
    ASSERT_TRUE(tmux.Started());
    tmux.Command("set -g extended-keys on");
    ASSERT_TRUE(tmux.WaitForText("-- NORMAL --")) << tmux.ScreenText();
    tmux.Send("C-f");
    EXPECT_TRUE(tmux.WaitFor([](const auto& rows) { return RowIs(rows, 1, "line 23"); }))
        << tmux.ScreenText();
    // A page of 22 rows down. Off: Ctrl+F is the host's find again.
    tmux.Send("C-M-S-v");
    tmux.Send("C-f");
    EXPECT_TRUE(tmux.WaitForText("Find: ")) << tmux.ScreenText();
    tmux.Send("Escape");
    EXPECT_TRUE(tmux.WaitFor([](const auto& rows) { return !Has(rows, "Find: "); }));
    // On again: CTRL-F scrolls on, the host's find stays away.
    tmux.Send("C-M-S-v");
    tmux.Send("C-f");
    EXPECT_TRUE(tmux.WaitFor([](const auto& rows) { return RowIs(rows, 1, "line 45"); }))
        << tmux.ScreenText();
    EXPECT_FALSE(Has(tmux.Screen(), "Find: "));
    tmux.Send("F10");
    ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  }
  EXPECT_EQ(BindingsLine(RunProgram(config, "--keybindings"), "Edit.Find"), "Edit.Find\t");
  const std::string record = RunProgram(config, "--setting RemovedKeySet");
  EXPECT_NE(record.find("Edit.Find=Text Editor::Ctrl+F\r\n"), std::string::npos) << record;
  EXPECT_EQ(RunProgram(config, "--setting KeyboardScanned"), "true\n");
  std::error_code ec;
  fs::remove_all(folder, ec);
}

}  // namespace
}  // namespace tavik::app
