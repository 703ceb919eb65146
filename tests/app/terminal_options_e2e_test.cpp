// The options form, the colour items and the welcome dialog in a real terminal (tmux): a
// setting changed on the form and a recoloured item are there again after a restart, the
// recoloured item is drawn in its new colour, and the welcome dialog shows on a fresh registry
// until "Don't show this again" is ticked.
#include <gtest/gtest.h>
#include <unistd.h>

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
  // The "foo" of the file drawn with this background (an SGR parameter such as "44"): one of
  // the style sequences right before it sets it.
  static bool FooHasBackground(const TmuxSession& tmux, const std::string& background) {
    const std::string screen = tmux.ScreenText(true);
    for (size_t at = screen.find("foo"); at != std::string::npos; at = screen.find("foo", at + 1)) {
      size_t end = at;
      while (end > 0 && screen[end - 1] == 'm') {
        const size_t start = screen.rfind("\x1b[", end - 1);
        if (start == std::string::npos) break;
        const std::string inner = screen.substr(start + 2, end - 1 - (start + 2));
        if (inner.find_first_not_of("0123456789;") != std::string::npos) break;
        const std::string params = ";" + inner + ";";
        if (params.find(";" + background + ";") != std::string::npos) return true;
        end = start;
      }
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
    ASSERT_TRUE(tmux.WaitFor([&](const auto&) { return FooHasBackground(tmux, "103"); }))
        << tmux.ScreenText(true);
    tmux.Send("F2");
    ASSERT_TRUE(tmux.WaitForText("Options")) << tmux.ScreenText();
    tmux.Send("Tab");
    ASSERT_TRUE(tmux.WaitForText("Tavik hlsearch background: Yellow")) << tmux.ScreenText();
    for (int i = 0; i < 3; ++i) tmux.Send("Down");
    tmux.Send("Space");
    ASSERT_TRUE(tmux.WaitForText("Tavik hlsearch background: Blue")) << tmux.ScreenText();
    tmux.Send("Escape");
    EXPECT_TRUE(tmux.WaitFor([&](const auto&) { return FooHasBackground(tmux, "104"); }))
        << tmux.ScreenText(true);
    Quit(tmux);
  }
  TmuxSession again(ProgramCommand(file_, config));
  WaitForNormalMode(again);
  again.SendLiteral(":set hls");
  again.Send("Enter");
  again.SendLiteral("/foo");
  again.Send("Enter");
  EXPECT_TRUE(again.WaitFor([&](const auto&) { return FooHasBackground(again, "104"); }))
      << again.ScreenText(true);
  Quit(again);
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
