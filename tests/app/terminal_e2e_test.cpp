// The terminal editor end to end: the tavik program in a real terminal (tmux), driven by keys
// and read back from the screen and from the files it writes. Tests that need a command the
// engine does not have yet ask batch mode first and are skipped, with the reason, until then.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "terminal_tmux.h"

namespace tavik::app {
namespace {

using testing::ConfigHome;
using testing::ProgramCommand;
using testing::TmuxSession;
namespace fs = std::filesystem;

class TerminalEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v tmux >/dev/null 2>&1") != 0) GTEST_SKIP() << "tmux is missing";
    folder_ = fs::temp_directory_path() /
              ("tavik_e2e_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  std::string WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static bool LastRowHas(const std::vector<std::string>& rows, const std::string& text) {
    return !rows.empty() && rows.back().find(text) != std::string::npos;
  }
  static bool RowIs(const std::vector<std::string>& rows, size_t row, const std::string& text) {
    if (row >= rows.size()) return false;
    std::string r = rows[row];
    while (!r.empty() && r.back() == ' ') r.pop_back();
    return r == text;
  }

  fs::path folder_;
};

TEST_F(TerminalEditorTest, OpensAFileShowsModeCaretAndCommandLineAndQuitsWithF10) {
  const std::string file = WriteFile("a.txt", "alpha\n\tbeta \xe4\xb8\xad\nGamma\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& rows) { return LastRowHas(rows, "-- NORMAL --"); }))
      << tmux.ScreenText();
  std::vector<std::string> rows = tmux.Screen();
  EXPECT_NE(rows[0].find("a.txt"), std::string::npos);
  EXPECT_TRUE(RowIs(rows, 1, "alpha"));
  EXPECT_TRUE(RowIs(rows, 2, "        beta \xe4\xb8\xad"));
  EXPECT_TRUE(RowIs(rows, 4, "~"));
  EXPECT_NE(rows.back().find("a.txt  1,1"), std::string::npos);

  tmux.Send("j");
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "a.txt  2,1-8"); }))
      << tmux.ScreenText();
  // Escape in normal mode beeps: the terminal bell rings.
  EXPECT_EQ(tmux.Display("#{window_bell_flag}"), "0");
  tmux.Send("Escape");
  EXPECT_TRUE(
      tmux.WaitFor([&](const auto&) { return tmux.Display("#{window_bell_flag}") == "1"; }));
  // A pending command shows in the status text.
  tmux.Send("d");
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL -- d"); }));
  tmux.Send("Escape");
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return !LastRowHas(r, "-- NORMAL -- d"); }));

  // The command line is typed on the status line; its messages show there too.
  tmux.SendLiteral(":set nosuchthing");
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, ":set nosuchthing"); }));
  tmux.Send("Enter");
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "Unknown option"); }))
      << tmux.ScreenText();
  // F10 leaves an unmodified document at once and gives the terminal back as it was.
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_TRUE(tmux.WaitForText("modes: icanon echo")) << tmux.ScreenText();
}

TEST_F(TerminalEditorTest, SeveralFilesAMissingOneAndAnUnreadableOne) {
  const std::string a = WriteFile("a.txt", "first file\n");
  const std::string b = WriteFile("b.txt", "second file\n");
  fs::create_directories(Path("folder.txt"));
  TmuxSession tmux(ProgramCommand(a + " " + Path("new.txt") + " " + Path("folder.txt") + " " + b));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitForText("Cannot read /")) << tmux.ScreenText();
  std::vector<std::string> rows = tmux.Screen();
  EXPECT_EQ(rows[0].rfind(" a.txt | new.txt | b.txt |", 0), 0u) << rows[0];
  EXPECT_TRUE(RowIs(rows, 1, "first file"));
  // The editor stays up: keys still work, and the message gives way to the status text.
  tmux.Send("j");
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_FALSE(fs::exists(Path("new.txt")));  // a missing file is not created by looking at it
}

TEST_F(TerminalEditorTest, StartupFileErrorsShowInTheOutputPaneAndAMissingOneOnTheStatusLine) {
  const std::string file = WriteFile("a.txt", "text\n");
  const std::string rc = WriteFile("rc", "frobnicate\n");
  TmuxSession tmux(ProgramCommand("--rc " + rc + " " + file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitForText("Error processing /")) << tmux.ScreenText();  // the path is long
  EXPECT_NE(tmux.ScreenText().find("Output (F9 hides)"), std::string::npos);
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();

  TmuxSession missing(ProgramCommand("--rc " + Path("no_rc") + " " + file));
  ASSERT_TRUE(missing.Started());
  // The message, wider than the screen, shows whole: its end is on the last row.
  ASSERT_TRUE(missing.WaitFor([&](const auto& r) { return LastRowHas(r, "no_rc"); }))
      << missing.ScreenText();
  EXPECT_TRUE(missing.WaitForText("Cannot read /")) << missing.ScreenText();
  EXPECT_TRUE(RowIs(missing.Screen(), 1, "text"));
  missing.Send("F10");
  ASSERT_TRUE(missing.WaitForText("EXIT=0")) << missing.ScreenText();
}

TEST_F(TerminalEditorTest, SplitAndCloseAWindow) {
  const std::string file = WriteFile("s.txt", "one\ntwo\nthree\n");
  TmuxSession tmux(ProgramCommand(file), 60, 12);
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Send("C-w");
  tmux.Send("s");
  // Two views of the file with the separator between them.
  ASSERT_TRUE(tmux.WaitFor([&](const auto& r) {
    return RowIs(r, 1, "one") && RowIs(r, 6, "one") && r[5].find("s.txt") != std::string::npos;
  })) << tmux.ScreenText();
  tmux.Send("C-w");
  tmux.Send("c");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "one") && RowIs(r, 4, "~"); }))
      << tmux.ScreenText();
  EXPECT_TRUE(RowIs(tmux.Screen(), 6, "~"));
  // Closing the last window closes the document, and the editor ends.
  tmux.Send("C-w");
  tmux.Send("c");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file), "one\ntwo\nthree\n");
}

TEST_F(TerminalEditorTest, NormalModeEditsUndoAndZZSaveByteForByte) {
  // CR LF breaks, no final line break, a byte that is not UTF-8: all written back as they were.
  const std::string file = WriteFile("e.txt",
                                     "one\r\ntwo\r\nthr\xff"
                                     "ee");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  EXPECT_TRUE(RowIs(tmux.Screen(), 3, "thr<ff>ee"));
  tmux.Send("x");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "ne"); })) << tmux.ScreenText();
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "e.txt [+]  1,1"); }));
  tmux.Send("u");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "one"); })) << tmux.ScreenText();
  tmux.Send("x");
  tmux.Send("j");
  tmux.SendLiteral("dd");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 2, "thr<ff>ee"); }))
      << tmux.ScreenText();
  // CTRL-C is the engine's Escape in every mode: it cancels, it does not end the editor.
  tmux.Send("d");
  tmux.Send("C-c");
  tmux.Send("k");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "e.txt [+]  1,1"); }))
      << tmux.ScreenText();
  EXPECT_TRUE(RowIs(tmux.Screen(), 1, "ne"));
  tmux.SendLiteral("ZZ");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file),
            "ne\r\nthr\xff"
            "ee");
}

TEST_F(TerminalEditorTest, SavingOverAFileChangedOnDiskAsksOnTheStatusLine) {
  const std::string file = WriteFile("c.txt", "mine\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  WriteFile("c.txt", "theirs, longer\n");
  tmux.Send("x");
  tmux.SendLiteral("ZZ");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    return LastRowHas(r, "The file changed on disk since it was loaded. Overwrite it? (y/n)");
  })) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file), "theirs, longer\n");
  tmux.Send("q");  // not an answer: the question stays
  tmux.Send("y");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file), "ine\n");
}

TEST_F(TerminalEditorTest, AMillionLinesOpenAtOnceAndScrollWithCtrlFAndG) {
  const std::string file = Path("big.txt");
  {
    std::ofstream out(file, std::ios::binary);
    for (int i = 1; i <= 1000000; ++i) out << "row " << i << '\n';
  }
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "row 1"); }))
      << tmux.ScreenText();
  tmux.Send("C-f");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    return r.size() > 1 && r[1].rfind("row ", 0) == 0 && !RowIs(r, 1, "row 1");
  })) << tmux.ScreenText();
  tmux.Send("G");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "1000000,1"); }))
      << tmux.ScreenText();
  std::vector<std::string> rows = tmux.Screen();
  EXPECT_TRUE(RowIs(rows, rows.size() - 2, "row 1000000")) << tmux.ScreenText();
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
}

TEST_F(TerminalEditorTest, ResizeAndOutputPaneAndCrashRestoreTheTerminal) {
  const std::string file = WriteFile("r.txt", "resize me\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Resize(50, 10);
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    return r.size() == 10 && LastRowHas(r, "-- NORMAL --") && LastRowHas(r, "r.txt  1,1");
  })) << tmux.ScreenText();
  // F9 shows and hides the output pane.
  tmux.Send("F9");
  ASSERT_TRUE(tmux.WaitForText("Output (F9 hides)")) << tmux.ScreenText();
  tmux.Send("F9");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    for (const auto& row : r) {
      if (row.find("Output (F9 hides)") != std::string::npos) return false;
    }
    return true;
  }));
  // A termination signal: the terminal modes come back before the program dies.
  const int pid = tmux.ProgramPid();
  ASSERT_GT(pid, 0);
  kill(pid, SIGTERM);
  ASSERT_TRUE(tmux.WaitForText("EXIT=143")) << tmux.ScreenText();
  EXPECT_TRUE(tmux.WaitForText("modes: icanon echo")) << tmux.ScreenText();
}

TEST_F(TerminalEditorTest, InsertModeShowsInTheStatusLineAndTypedTextIsSaved) {
  const std::string file = WriteFile("i.txt", "foo bar\nbaz foo\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Send("i");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- INSERT --"); }));
  tmux.SendLiteral("new \xc3\xa9 ");  // typed text, one key a character, UTF-8 included
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "new \xc3\xa9 foo bar"); }))
      << tmux.ScreenText();
  // CTRL-C leaves insert mode as Escape does.
  tmux.Send("C-c");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }))
      << tmux.ScreenText();
  // F10 with unsaved changes asks first; "n" keeps the editor up.
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("1 document has unsaved changes. Quit anyway? (y/n)"))
      << tmux.ScreenText();
  tmux.Send("n");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral("ZZ");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file), "new \xc3\xa9 foo bar\nbaz foo\n");
}

TEST_F(TerminalEditorTest, AKeyTheEngineLeavesRunsItsBoundCommandWhichAsksOnTheStatusLine) {
  const std::string file = WriteFile("g.txt", "one\n  two\nthree\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  // CTRL-G in insert mode is no command of the engine: the host's go-to-line runs.
  tmux.Send("i");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- INSERT --"); }));
  tmux.Send("C-g");
  ASSERT_TRUE(tmux.WaitForText("Go to line: ")) << tmux.ScreenText();
  tmux.SendLiteral("2");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "2,3"); }))
      << tmux.ScreenText();
  tmux.SendLiteral("X");
  tmux.Send("Escape");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral("ZZ");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file), "one\n  Xtwo\nthree\n");
}

TEST_F(TerminalEditorTest, VisualSelectionAndSearchMatchesAreDrawnInTheirColours) {
  // A selection lies between caret positions: "vl" selects one character.
  const std::string file = WriteFile("v.txt", "foo bar\nbaz foo\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Send("v");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- VISUAL --"); }));
  tmux.Send("l");
  // The selected "f" in black on light gray (the tab line uses the same colours, but not on "f").
  EXPECT_TRUE(tmux.WaitFor([&](const auto&) {
    const std::string screen = tmux.ScreenText(true);
    return screen.find("\x1b[30m\x1b[47mf\x1b[39m") != std::string::npos;
  })) << tmux.ScreenText(true);
  tmux.Send("d");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "oo bar"); }))
      << tmux.ScreenText();
  tmux.SendLiteral(":set hls");
  tmux.Send("Enter");
  tmux.SendLiteral("/foo");
  tmux.Send("Enter");
  // Every match in black on yellow.
  EXPECT_TRUE(tmux.WaitFor([&](const auto&) {
    return tmux.ScreenText(true).find("103m") != std::string::npos;
  })) << tmux.ScreenText(true);
  // The incremental-search match, while the pattern is typed, in white on black.
  tmux.SendLiteral(":set is");
  tmux.Send("Enter");
  tmux.SendLiteral("/baz");
  EXPECT_TRUE(tmux.WaitFor([&](const auto&) {
    return tmux.ScreenText(true).find("40mbaz") != std::string::npos;
  })) << tmux.ScreenText(true);
  tmux.Send("Enter");
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("Quit anyway? (y/n)")) << tmux.ScreenText();
  tmux.Send("y");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
}

TEST_F(TerminalEditorTest, ColonWWritesTheFile) {
  const std::string file = WriteFile("w.txt", "abc\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Send("x");
  tmux.SendLiteral(":w");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([&](const auto&) { return ReadFile(file) == "bc\n"; }))
      << tmux.ScreenText();
  // What was written shows on the status line until the next key.
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "1L, 3B written"); }))
      << tmux.ScreenText();
  tmux.Send("F10");  // saved: no question
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
}

TEST_F(TerminalEditorTest, CopiesReachTheTerminalClipboardOnceKeysPause) {
  if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr) {
    GTEST_SKIP() << "a desktop clipboard tool may take the copies instead of the terminal";
  }
  const std::string file = WriteFile("c.txt", "one\ntwo\nthree\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  tmux.Command("set -g set-clipboard on");  // each clipboard sequence becomes a tmux buffer
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  // Two copies typed at once: only the last reaches the terminal, after the keys.
  tmux.SendLiteral("yyjyy");
  auto buffers = [&] { return tmux.Command("list-buffers -F '#{buffer_name}'"); };
  ASSERT_TRUE(tmux.WaitFor([&](const auto&) { return !buffers().empty(); })) << tmux.ScreenText();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const std::string names = buffers();
  EXPECT_EQ(std::count(names.begin(), names.end(), '\n'), 1) << names;
  EXPECT_EQ(tmux.Command("show-buffer"), "two\r\n");
  tmux.SendLiteral("jx");
  ASSERT_TRUE(tmux.WaitFor([&](const auto&) { return tmux.Command("show-buffer") == "t"; }))
      << tmux.Command("show-buffer");
  tmux.Send("F10");
  tmux.Send("y");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
}

TEST_F(TerminalEditorTest, SeveralDocumentsEditSwitchAndQuitOneByOne) {
  const std::string a = WriteFile("a.txt", "first\n");
  const std::string b = WriteFile("b.txt", "second\n");
  WriteFile("c.txt", "third\n");
  // Started in the files' folder, where a name typed on the command line is read.
  TmuxSession tmux("cd " + folder_.string() + " && " + ProgramCommand(a + " " + b));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "first"); }));
  // Ctrl+PageDown goes to the next document as a tab would.
  tmux.Send("C-PageDown");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "second"); }))
      << tmux.ScreenText();
  tmux.SendLiteral("x:e c.txt");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "third"); }))
      << tmux.ScreenText();
  EXPECT_NE(tmux.Screen()[0].find("c.txt"), std::string::npos);
  // The documents typed in are in the list; :bn wraps round it.
  tmux.SendLiteral(":ls");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([&](const auto& rows) {
    for (const auto& row : rows) {
      if (row.rfind("   2 /", 0) == 0 && row.find("b.txt") != std::string::npos) return true;
    }
    return false;
  })) << tmux.ScreenText();
  tmux.SendLiteral(":bn");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "first"); }))
      << tmux.ScreenText();
  // Back in the first document, CTRL-^ goes to the one used before the last: the second.
  tmux.Send("C-^");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "econd"); }))
      << tmux.ScreenText();
  // :q of a document with changes asks; "n" keeps it.
  tmux.SendLiteral(":q");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitForText("\"b.txt\" has unsaved changes. Close it anyway? (y/n)"))
      << tmux.ScreenText();
  tmux.Send("n");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "econd"); }));
  tmux.SendLiteral(":wq");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([&](const auto&) { return ReadFile(b) == "econd\n"; }));
  tmux.SendLiteral(":qa");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(a), "first\n");
}

TEST_F(TerminalEditorTest, MakeShowsItsOutputCnGoesToTheErrorAndCtrlCStopsALongBuild) {
  const std::string file = WriteFile("main.txt", "main\n");
  WriteFile("a.txt", "one\ntwo\nthree\n");
  // make adds a line naming the recipe that failed: a place, but not another error.
  WriteFile("Makefile", "all:\n\t@echo 'a.txt:2:3: error: wrong'; exit 1\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral(":make");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitForText("a.txt:2:3: error: wrong")) << tmux.ScreenText();
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    return LastRowHas(r, "Build failed: exit code 2, 1 error");
  })) << tmux.ScreenText();
  tmux.SendLiteral(":cn");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "a.txt  2,3"); }))
      << tmux.ScreenText();
  // A build that would run for a minute stops on CTRL-C, and the keys after it still count.
  WriteFile("Makefile", "all:\n\t@echo slow build; sleep 60\n");
  tmux.SendLiteral(":make");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitForText("slow build")) << tmux.ScreenText();
  tmux.Send("C-c");
  tmux.Send("x");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 2, "tw"); })) << tmux.ScreenText();
  EXPECT_NE(tmux.ScreenText().find("Build stopped"), std::string::npos) << tmux.ScreenText();
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("Quit anyway? (y/n)")) << tmux.ScreenText();
  tmux.Send("y");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(Path("a.txt")), "one\ntwo\nthree\n");
}

TEST_F(TerminalEditorTest, CnOntoMakesOwnLineShowsItAndTheMessageStays) {
  const std::string file = WriteFile("main.txt", "main\n");
  WriteFile("a.txt", "one\ntwo\nthree\n");
  WriteFile("Makefile", "all:\n\t@echo 'a.txt:2:3: error: wrong'; exit 1\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral(":make");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    return LastRowHas(r, "Build failed: exit code 2, 1 error");
  })) << tmux.ScreenText();
  tmux.SendLiteral(":cn");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "a.txt  2,3"); }))
      << tmux.ScreenText();
  tmux.SendLiteral(":cn");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    return LastRowHas(r, "(2 of 2) make: *** [Makefile:2: all] Error 1");
  })) << tmux.ScreenText();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // past the mapping time-out
  EXPECT_TRUE(LastRowHas(tmux.Screen(), "(2 of 2) make")) << tmux.ScreenText();
}

TEST_F(TerminalEditorTest, SubstituteConfirmationIsAskedOnTheStatusLineWithFiveChoices) {
  const std::string file = WriteFile("s.txt", "a a a a\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral(":s/a/b/gc");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitForText("y/n/a/q/l")) << tmux.ScreenText();
  tmux.Send("y");
  tmux.Send("n");
  tmux.Send("l");  // the last one: this replacement, then stop
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "b a b a"); }))
      << tmux.ScreenText();
  EXPECT_FALSE(tmux.ScreenText().find("y/n/a/q/l") != std::string::npos);
}

TEST_F(TerminalEditorTest, TheMappingTimeoutFiresAfterTimeoutlen) {
  const std::string file = WriteFile("m.txt", "abc\ndef\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral(":set timeoutlen=200");
  tmux.Send("Enter");
  tmux.SendLiteral(":map jj x");
  tmux.Send("Enter");
  // "j" waits for a second "j"; with none, the time-out takes it as it is and the caret moves.
  tmux.Send("j");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "m.txt  2,1"); }))
      << tmux.ScreenText();
  tmux.SendLiteral("jj");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 2, "ef"); })) << tmux.ScreenText();
}

TEST_F(TerminalEditorTest, ALongLineIsDrawnWrappedWithWordWrapOn) {
  // A registry of the test's own, in a configuration folder of its own.
  const std::string registry = Path("registry.reg");
  const std::string env = "XDG_CONFIG_HOME=" + Path("config") + " ";
  const std::string tavik = env + TAVIK_BINARY + " --registry " + registry;
  const std::string put =
      tavik + " --setting WinWordWrap=true && " + tavik + " --setting DontShowWelcome2=true";
  ASSERT_EQ(std::system(put.c_str()), 0);
  const std::string file =
      WriteFile("long.txt", "aaaaaaaaa bbbbbbbbb ccccccccc ddddddddd eeeeeeeee fffffffff\nnext\n");
  TmuxSession tmux(env + ProgramCommand("--registry " + registry + " " + file), 40, 10);
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& rows) { return LastRowHas(rows, "-- NORMAL --"); }))
      << tmux.ScreenText();
  std::vector<std::string> rows = tmux.Screen();
  EXPECT_TRUE(RowIs(rows, 1, "aaaaaaaaa bbbbbbbbb ccccccccc ddddddddd")) << tmux.ScreenText();
  EXPECT_TRUE(RowIs(rows, 2, "eeeeeeeee fffffffff")) << tmux.ScreenText();
  EXPECT_TRUE(RowIs(rows, 3, "next")) << tmux.ScreenText();
  // gj goes down a row of the same line, j to the next line.
  tmux.Send("g");
  tmux.Send("j");
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "1,41"); }))
      << tmux.ScreenText();
  tmux.Send("j");
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "2,1"); }))
      << tmux.ScreenText();
  tmux.Send("F10");
}

}  // namespace
}  // namespace tavik::app

namespace tavik::app {
namespace {

// Ctrl+Shift+Alt+V reaches the editor through the terminal's extended key reporting (tmux's
// extended-keys), switches the emulation off so that typed keys are text, and on again.
TEST_F(TerminalEditorTest, TheGlobalToggleSwitchesTheEmulationOffAndOn) {
  const std::string file = WriteFile("t.txt", "one\ntwo\n");
  // The server's option is set before the program starts and asks for extended keys.
  TmuxSession tmux("sleep 0.5; " + ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  tmux.Command("set -g extended-keys on");
  ASSERT_TRUE(tmux.WaitFor([](const auto& rows) { return LastRowHas(rows, "-- NORMAL --"); }))
      << tmux.ScreenText();
  tmux.Send("C-M-S-v");
  tmux.SendLiteral("dd");
  EXPECT_TRUE(tmux.WaitFor([](const auto& rows) { return RowIs(rows, 1, "ddone"); }))
      << tmux.ScreenText();
  tmux.Send("C-M-S-v");
  tmux.SendLiteral("jdd");
  EXPECT_TRUE(tmux.WaitFor([](const auto& rows) { return RowIs(rows, 2, "~"); }))
      << tmux.ScreenText();
  EXPECT_TRUE(RowIs(tmux.Screen(), 1, "ddone"));
}

TEST_F(TerminalEditorTest, UndoingBackToTheSavedTextClearsTheModifiedMark) {
  const std::string file = WriteFile("m.txt", "abc\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Send("x");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "m.txt [+]"); }))
      << tmux.ScreenText();
  tmux.Send("u");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    return RowIs(r, 1, "abc") && !LastRowHas(r, "[+]");
  })) << tmux.ScreenText();
  tmux.Send("C-r");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "m.txt [+]"); }))
      << tmux.ScreenText();
  tmux.Send("u");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return !LastRowHas(r, "[+]"); }));
  // Nothing to lose: the quit key does not ask.
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file), "abc\n");
}

TEST_F(TerminalEditorTest, TypedTextSurvivesKillMinusNineAndIsRecoveredOnTheNextStart) {
  const std::string file = WriteFile("r.txt", "first\n");
  const std::string config = testing::NewConfigFolder();
  const fs::path recovery = fs::path(config) / "state" / "tavik" / "recovery";
  auto recovery_files = [&recovery] {
    std::error_code ec;
    return fs::exists(recovery, ec) ? std::distance(fs::directory_iterator(recovery), {}) : 0;
  };
  {
    TmuxSession tmux(ProgramCommand(file, config));
    ASSERT_TRUE(tmux.Started());
    ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
    tmux.Send("A");
    tmux.SendLiteral(" typed");
    ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "first typed"); }))
        << tmux.ScreenText();
    // Keys pause: the recovery file is written within about a second.
    const auto start = std::chrono::steady_clock::now();
    while (recovery_files() == 0 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_EQ(recovery_files(), 1);
    struct stat st {};
    ASSERT_EQ(::stat(fs::directory_iterator(recovery)->path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // A second editor on the same file is told it is being edited.
    {
      TmuxSession second(ProgramCommand(file, config));
      ASSERT_TRUE(second.Started());
      ASSERT_TRUE(second.WaitForText("is being edited by process")) << second.ScreenText();
      second.Send("o");
      ASSERT_TRUE(second.WaitFor([](const auto& r) { return RowIs(r, 1, "first"); }));
    }
    const int pid = tmux.ProgramPid();
    ASSERT_GT(pid, 0);
    kill(pid, SIGKILL);
    ASSERT_TRUE(tmux.WaitForText("EXIT=137")) << tmux.ScreenText();
  }
  EXPECT_EQ(ReadFile(file), "first\n");
  TmuxSession again(ProgramCommand(file, config));
  ASSERT_TRUE(again.Started());
  ASSERT_TRUE(again.WaitForText("recovery file found (newer than the file)")) << again.ScreenText();
  again.Send("r");
  // The recovered text is a change the file does not have yet.
  ASSERT_TRUE(again.WaitFor([](const auto& r) {
    return RowIs(r, 1, "first typed") && r[0].find("r.txt +") != std::string::npos;
  })) << again.ScreenText();
  // Written: the text is in the file and the recovery file is gone.
  again.SendLiteral(":w");
  again.Send("Enter");
  ASSERT_TRUE(again.WaitFor([](const auto& r) {
    return r[0].find("r.txt +") == std::string::npos;
  })) << again.ScreenText();
  EXPECT_EQ(ReadFile(file), "first typed\n");
  EXPECT_EQ(recovery_files(), 0);
  // A termination signal writes the recovery file at once and gives the terminal back.
  again.Send("$");
  again.Send("x");
  ASSERT_TRUE(again.WaitFor([](const auto& r) { return RowIs(r, 1, "first type"); }));
  kill(again.ProgramPid(), SIGTERM);
  ASSERT_TRUE(again.WaitForText("EXIT=143")) << again.ScreenText();
  EXPECT_TRUE(again.WaitForText("modes: icanon echo")) << again.ScreenText();
  EXPECT_EQ(recovery_files(), 1);
}

}  // namespace
}  // namespace tavik::app

namespace tavik::app {
namespace {

// Keys written to the terminal in one go, as fast typing or a paste without markers gives them.
TEST_F(TerminalEditorTest, EscapeAndTheKeysAfterItInOneWriteAreAllTyped) {
  const std::string file = WriteFile("k.txt", "one\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Command("send-keys -t main i X Escape A Y Escape");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 1, "XoneY"); }))
      << tmux.ScreenText();
  EXPECT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral("ZZ");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file), "XoneY\n");
}

TEST_F(TerminalEditorTest, NoFrameShowsTextOfAnotherFileAndCtrlLDrawsEverythingAgain) {
  const std::string file = WriteFile("tabs.txt", "\tindented line one\n\tindented two\n");
  WriteFile("other.txt", "hello\nworld\n");
  WriteFile("Makefile", "all:\n\t@echo 'tabs.txt:1:1: error: made'; exit 1\n");
  TmuxSession tmux("cd " + folder_.string() + " && " + ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral(":e other.txt");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 2, "world"); }))
      << tmux.ScreenText();
  EXPECT_TRUE(RowIs(tmux.Screen(), 1, "hello")) << tmux.ScreenText();
  // The build's output pane comes and goes; the rows it leaves show the file again.
  tmux.SendLiteral(":e Makefile");
  tmux.Send("Enter");
  tmux.SendLiteral(":make");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitForText("Build failed")) << tmux.ScreenText();
  tmux.Send("F9");
  // Row 5 shows "~" with the pane still open too: wait until the pane's title is gone.
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    return RowIs(r, 5, "~") && std::none_of(r.begin(), r.end(), [](const std::string& row) {
             return row.find("Output (F9 hides)") != std::string::npos;
           });
  })) << tmux.ScreenText();
  std::vector<std::string> rows = tmux.Screen();
  for (size_t r = 3; r + 1 < rows.size(); ++r)
    EXPECT_TRUE(RowIs(rows, r, "~")) << tmux.ScreenText();
  // Something else writes to the terminal; CTRL-L clears it away.
  const std::string tty = tmux.Display("#{pane_tty}");
  std::ofstream(tty) << "\x1b[8;1Hstray output";
  ASSERT_TRUE(tmux.WaitForText("stray output")) << tmux.ScreenText();
  tmux.Send("C-l");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 7, "~"); })) << tmux.ScreenText();
  EXPECT_EQ(tmux.ScreenText().find("stray"), std::string::npos) << tmux.ScreenText();
}

TEST_F(TerminalEditorTest, APasteGoesInAsPastedWithoutIndentOrMappingsAndUndoesAtOnce) {
  const std::string file = WriteFile("p.txt", "start\n");
  const std::string snippet = WriteFile("snippet", "  if (a) {\n    b();\n      c();\n  }\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral(":imap ( X");
  tmux.Send("Enter");
  tmux.Send("A");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- INSERT --"); }));
  tmux.Command("load-buffer " + snippet);
  tmux.Command("paste-buffer -p -t main");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 5, "  }"); })) << tmux.ScreenText();
  tmux.Send("Escape");
  tmux.SendLiteral(":w");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([&](const auto&) {
    return ReadFile(file) == "start\n  if (a) {\n    b();\n      c();\n  }\n\n";
  })) << ReadFile(file);
  tmux.Send("u");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 2, "~"); })) << tmux.ScreenText();
  EXPECT_TRUE(RowIs(tmux.Screen(), 1, "start"));
}

TEST_F(TerminalEditorTest, CtrlVTypesATabAndCharacterCodes) {
  const std::string file = WriteFile("Makefile", "all:\n");
  TmuxSession tmux(ProgramCommand(file));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Send("o");
  tmux.Send("C-v");
  tmux.Send("Tab");
  tmux.SendLiteral("echo ");
  tmux.Send("C-v");
  tmux.SendLiteral("065");
  tmux.Send("C-v");
  tmux.SendLiteral("u20ac");
  tmux.Send("Escape");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral("ZZ");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file), "all:\n\techo A\xe2\x82\xac\n");
}

TEST_F(TerminalEditorTest, AMessageWiderThanTheScreenShowsWholeUntilAKey) {
  const std::string file = WriteFile("m.txt", "one\ntwo\n");
  TmuxSession tmux(ProgramCommand(file), 60, 12);
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.SendLiteral(":set all");
  tmux.Send("Enter");
  // The listing's end, past the screen's width, is on the last row.
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "nohidestatus"); }))
      << tmux.ScreenText();
  EXPECT_EQ(tmux.Screen()[tmux.Screen().size() - 3].rfind("---Options---", 0), 0u);
  // The next key is a command as usual, and the rows under the message show the file again.
  tmux.Send("j");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return RowIs(r, 9, "~") && RowIs(r, 2, "two"); }))
      << tmux.ScreenText();
  EXPECT_FALSE(LastRowHas(tmux.Screen(), "nohidestatus"));
}

}  // namespace
}  // namespace tavik::app
