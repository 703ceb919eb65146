// The options form, the colour items and the welcome dialog in a real terminal (tmux): a
// setting changed on the form and a recoloured item are there again after a restart, the
// recoloured item is drawn in its new colour, "UseVSSel" draws visual mode in the host's
// selection colours, and the welcome dialog shows on a fresh registry until "Don't show this
// again" is ticked.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "terminal_tmux.h"

namespace tavik::app {
namespace {

using testing::NewConfigFolder;
using testing::ProgramCommand;
using testing::TmuxSession;
namespace fs = std::filesystem;

class TerminalOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v tmux >/dev/null 2>&1") != 0) GTEST_SKIP() << "tmux is missing";
    folder_ = fs::temp_directory_path() /
              ("tavik_options_e2e_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    file_ = (folder_ / "t.txt").string();
    std::ofstream(file_) << "abc foo\nbar\n";
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  static bool Has(const std::vector<std::string>& rows, const std::string& text) {
    for (const std::string& row : rows) {
      if (row.find(text) != std::string::npos) return true;
    }
    return false;
  }
  // Starts the editor on the file with the configuration folder, in normal mode.
  static void WaitForNormalMode(const TmuxSession& tmux) {
    ASSERT_TRUE(tmux.Started());
    ASSERT_TRUE(tmux.WaitForText("-- NORMAL --")) << tmux.ScreenText();
  }
  static void Quit(TmuxSession& tmux) {
    tmux.Send("F10");
    ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  }
  // A text of the screen drawn with this background (an SGR parameter such as "44"), following
  // the background through the style sequences as the terminal does, also across rows.
  static bool HasBackground(const TmuxSession& tmux, const std::string& text,
                            const std::string& background) {
    const std::string screen = tmux.ScreenText(true);
    std::string now;  // the background in force, empty for the default
    for (size_t i = 0; i < screen.size();) {
      if (screen.compare(i, 2, "\x1b[") == 0) {
        const size_t end = screen.find('m', i);
        if (end == std::string::npos) break;
        std::stringstream params(screen.substr(i + 2, end - i - 2));
        for (std::string p; std::getline(params, p, ';');) {
          const int n = p.empty() ? 0 : std::atoi(p.c_str());
          if (n == 0 || n == 49) now.clear();
          if ((n >= 40 && n <= 47) || (n >= 100 && n <= 107)) now = p;
        }
        i = end + 1;
        continue;
      }
      if (screen.compare(i, text.size(), text) == 0 && now == background) return true;
      ++i;
    }
    return false;
  }

  fs::path folder_;
  std::string file_;
};

TEST_F(TerminalOptionsTest, ASettingChangedOnTheFormSurvivesARestart) {
  const std::string config = NewConfigFolder();
  {
    TmuxSession tmux(ProgramCommand(file_, config));
    WaitForNormalMode(tmux);
    tmux.Send("F2");
    ASSERT_TRUE(tmux.WaitForText("[x] Beep on errors")) << tmux.ScreenText();
    tmux.Send("Down");
    tmux.Send("Down");
    tmux.Send("Space");
    ASSERT_TRUE(tmux.WaitForText("[ ] Beep on errors")) << tmux.ScreenText();
    tmux.Send("Escape");
    ASSERT_TRUE(tmux.WaitForText("-- NORMAL --")) << tmux.ScreenText();
    Quit(tmux);
  }
  TmuxSession again(ProgramCommand(file_, config));
  WaitForNormalMode(again);
  again.Send("F2");
  EXPECT_TRUE(again.WaitForText("[ ] Beep on errors")) << again.ScreenText();
  again.SendLiteral("q");
  ASSERT_TRUE(again.WaitForText("-- NORMAL --")) << again.ScreenText();
  Quit(again);
}

TEST_F(TerminalOptionsTest, ARecolouredItemIsDrawnInItsNewColourAlsoAfterARestart) {
  const std::string config = NewConfigFolder();
  {
    TmuxSession tmux(ProgramCommand(file_, config));
    WaitForNormalMode(tmux);
    tmux.SendLiteral(":set hls");
    tmux.Send("Enter");
    tmux.SendLiteral("/foo");
    tmux.Send("Enter");
    // Black on yellow by default.
    ASSERT_TRUE(tmux.WaitFor([&](const auto&) { return HasBackground(tmux, "foo", "103"); }))
        << tmux.ScreenText(true);
    tmux.Send("F2");
    ASSERT_TRUE(tmux.WaitForText("Options")) << tmux.ScreenText();
    tmux.Send("Tab");
    ASSERT_TRUE(tmux.WaitForText("Tavik hlsearch background: Yellow")) << tmux.ScreenText();
    for (int i = 0; i < 3; ++i) tmux.Send("Down");
    tmux.Send("Space");
    ASSERT_TRUE(tmux.WaitForText("Tavik hlsearch background: Blue")) << tmux.ScreenText();
    tmux.Send("Escape");
    EXPECT_TRUE(tmux.WaitFor([&](const auto&) { return HasBackground(tmux, "foo", "104"); }))
        << tmux.ScreenText(true);
    Quit(tmux);
  }
  TmuxSession again(ProgramCommand(file_, config));
  WaitForNormalMode(again);
  again.SendLiteral(":set hls");
  again.Send("Enter");
  again.SendLiteral("/foo");
  again.Send("Enter");
  EXPECT_TRUE(again.WaitFor([&](const auto&) { return HasBackground(again, "foo", "104"); }))
      << again.ScreenText(true);
  Quit(again);
}

TEST_F(TerminalOptionsTest, UseVSSelShowsTheVisualSelectionInTheHostsSelectionColours) {
  TmuxSession tmux(ProgramCommand(file_));
  WaitForNormalMode(tmux);
  // The selection marker: black on light gray.
  tmux.SendLiteral("vll");
  ASSERT_TRUE(tmux.WaitFor([&](const auto&) { return HasBackground(tmux, "ab", "47"); }))
      << tmux.ScreenText(true);
  // Each Escape is let through before the next key, so that the two do not read as one.
  tmux.Send("Escape");
  ASSERT_TRUE(tmux.WaitFor([](const auto& rows) { return !Has(rows, "VISUAL"); }));
  tmux.Send("F2");
  ASSERT_TRUE(tmux.WaitForText("[ ] Show the visual selection")) << tmux.ScreenText();
  for (int i = 0; i < 12; ++i) tmux.Send("Down");
  tmux.Send("Space");
  ASSERT_TRUE(tmux.WaitForText("[x] Show the visual selection")) << tmux.ScreenText();
  tmux.Send("Escape");
  ASSERT_TRUE(tmux.WaitForText("-- NORMAL --")) << tmux.ScreenText();
  // The host's own selection: white on blue.
  tmux.SendLiteral("0vll");
  EXPECT_TRUE(tmux.WaitFor([&](const auto&) { return HasBackground(tmux, "ab", "44"); }))
      << tmux.ScreenText(true);
  tmux.Send("Escape");
  Quit(tmux);
}

TEST_F(TerminalOptionsTest, TheWelcomeDialogShowsOnAFreshRegistryUntilTurnedOff) {
  const std::string config = NewConfigFolder(true);
  {
    TmuxSession tmux(ProgramCommand(file_, config));
    ASSERT_TRUE(tmux.Started());
    ASSERT_TRUE(tmux.WaitForText("Welcome to Tavik")) << tmux.ScreenText();
    // The key that closes it goes no further: "x" is not typed, Escape closes without a beep.
    tmux.SendLiteral("x");
    tmux.Send("Escape");
    ASSERT_TRUE(tmux.WaitFor([](const auto& rows) { return !Has(rows, "Welcome to Tavik"); }))
        << tmux.ScreenText();
    EXPECT_TRUE(tmux.WaitForText("abc foo"));
    EXPECT_EQ(tmux.Display("#{window_bell_flag}"), "0");
    Quit(tmux);
  }
  {
    TmuxSession tmux(ProgramCommand(file_, config));
    ASSERT_TRUE(tmux.Started());
    ASSERT_TRUE(tmux.WaitForText("Welcome to Tavik")) << tmux.ScreenText();
    tmux.Send("Space");
    ASSERT_TRUE(tmux.WaitForText("[x] Don't show this again")) << tmux.ScreenText();
    tmux.Send("Enter");
    ASSERT_TRUE(tmux.WaitFor([](const auto& rows) { return !Has(rows, "Welcome to Tavik"); }));
    Quit(tmux);
  }
  TmuxSession tmux(ProgramCommand(file_, config));
  WaitForNormalMode(tmux);
  EXPECT_FALSE(Has(tmux.Screen(), "Welcome to Tavik"));
  Quit(tmux);
}

}  // namespace
}  // namespace tavik::app
