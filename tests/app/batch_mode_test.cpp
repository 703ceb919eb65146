// The batch contract of the tavik program, run as a separate process: the buffer printed byte
// for byte, the exit statuses, the usage text for bad arguments and the --state lines.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Single-quotes a text for the shell.
std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class BatchModeTest : public ::testing::Test {
 protected:
  BatchModeTest() {
    std::string pattern = (fs::temp_directory_path() / "tavik-batch-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    char* made = ::mkdtemp(buffer.data());
    EXPECT_NE(made, nullptr);
    if (made != nullptr) dir_ = made;
  }
  ~BatchModeTest() override {
    std::error_code ignored;
    if (!dir_.empty()) {
      fs::permissions(dir_ / "locked.txt", fs::perms::owner_all, ignored);
      fs::remove_all(dir_, ignored);
    }
  }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream out(dir_ / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  // Runs the program in the temporary folder with the arguments, already quoted.
  RunResult Run(const std::string& arguments) {
    // The registry lives in the temporary folder, never the user's.
    std::string command = "cd " + Quote(dir_.string()) +
                          " && XDG_CONFIG_HOME=" + Quote((dir_ / "config").string()) +
                          " XDG_STATE_HOME=" + Quote((dir_ / "state").string()) + " " +
                          Quote(TAVIK_BINARY) + " " + arguments + " >out.bin 2>err.txt </dev/null";
    int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadAll(dir_ / "out.bin");
    result.err = ReadAll(dir_ / "err.txt");
    return result;
  }

  fs::path dir_;
};

TEST_F(BatchModeTest, PrintsFilesByteForByte) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"lf", "one\ntwo\n"},
      {"crlf", "one\r\ntwo\r\n"},
      {"mixed", "one\r\ntwo\nthree\r\n\n"},
      {"no final newline", "one\ntwo"},
      {"NUL bytes", std::string("a\0b\n\0\n", 6)},
      {"invalid UTF-8", "caf\xc3\n\xff\xfe x \xed\xa0\x80\n\xe2\x82"},
      {"lone CR", "a\rb\r\n"},
      {"only a line break", "\n"},
      {"two line breaks", "\r\n\r\n"},
      {"empty", ""},
      {"byte-order mark", "\xEF\xBB\xBFone\r\ntwo\r\n"},
  };
  for (const auto& [name, bytes] : cases) {
    Write("f.txt", bytes);
    RunResult r = Run("--batch f.txt");
    EXPECT_EQ(r.status, 0) << name;
    EXPECT_EQ(r.out, bytes) << name;
    EXPECT_EQ(r.err, "") << name;
  }
}

// Saving from batch mode: names relative to the working folder, an emptied buffer against one
// empty line, a byte-order mark that is not text, and a failed save that says why.
TEST_F(BatchModeTest, SavesWriteWhatTheBufferHoldsOrSayWhyNot) {
  fs::create_directories(dir_ / "sub");
  Write("sub/f.txt", "one\ntwo\n");
  RunResult r = Run("--batch --keys " + Quote("dG:w<CR>:w copy.txt<CR>") + " sub/f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadAll(dir_ / "sub" / "f.txt"), "");
  EXPECT_EQ(ReadAll(dir_ / "copy.txt"), "");
  EXPECT_FALSE(fs::exists(dir_ / "sub" / "copy.txt"));
  Write("blank.txt", "\n");
  r = Run("--batch --keys " + Quote("ix<Esc>x:w<CR>") + " blank.txt");
  EXPECT_EQ(ReadAll(dir_ / "blank.txt"), "\n");
  Write("bom.txt",
        "\xEF\xBB\xBF"
        "ab\n");
  r = Run("--batch --state --keys " + Quote("x:w<CR>") + " bom.txt");
  EXPECT_EQ(ReadAll(dir_ / "bom.txt"),
            "\xEF\xBB\xBF"
            "b\n");
  EXPECT_NE(r.err.find("cursor 1 0\n"), std::string::npos) << r.err;
  r = Run("--batch --state --keys " + Quote("x:w no/such.txt<CR>") + " bom.txt");
  const std::string reason = "status Cannot write \"" + (dir_ / "no" / "such.txt").string() +
                             "\": No such file or directory\n";
  EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
  // Batch mode keeps no recovery files, whatever it leaves modified.
  EXPECT_FALSE(fs::exists(dir_ / "state"));
}

TEST_F(BatchModeTest, KeysThatDoNotEditKeepTheBytes) {
  const std::string bytes = "x\r\n\xff\xfe\ny\r\n";
  Write("f.txt", bytes);
  RunResult r = Run("--batch --keys " + Quote("jjk:set ts=4<CR>") + " f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, bytes);
}

TEST_F(BatchModeTest, AMissingFileStartsEmptyAndIsNotCreated) {
  RunResult r = Run("--batch --state new.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "cursor 1 0\nmode NORMAL\nstatus -- NORMAL -- \nbeeps 0\n");
  EXPECT_FALSE(fs::exists(dir_ / "new.txt"));
}

TEST_F(BatchModeTest, NoFileStartsEmpty) {
  RunResult r = Run("--batch");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
}

TEST_F(BatchModeTest, AnUnreadableFileFailsWithItsName) {
  fs::create_directory(dir_ / "folder");
  RunResult r = Run("--batch folder");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("folder"), std::string::npos) << r.err;

  // The same when it is not the first file; nothing is printed for the readable one.
  Write("ok.txt", "fine\n");
  r = Run("--batch ok.txt folder");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("folder"), std::string::npos) << r.err;
}

TEST_F(BatchModeTest, AFileWithoutReadPermissionFails) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  Write("locked.txt", "secret\n");
  fs::permissions(dir_ / "locked.txt", fs::perms::none);
  RunResult r = Run("--batch locked.txt");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("locked.txt"), std::string::npos) << r.err;
}

TEST_F(BatchModeTest, BadArgumentsGiveStatusTwoAndTheUsage) {
  Write("f.txt", "abc\n");
  for (const std::string& arguments :
       {std::string("--batch --bogus f.txt"), std::string("--batch f.txt --keys"),
        std::string("--batch --rc x.rc --no-rc f.txt"), std::string("--batch --answer"),
        std::string("--keys x f.txt")}) {
    RunResult r = Run(arguments);
    EXPECT_EQ(r.status, 2) << arguments;
    EXPECT_EQ(r.out, "") << arguments;
    EXPECT_NE(r.err.find("usage: tavik"), std::string::npos) << arguments << "\n" << r.err;
  }
  RunResult r = Run("--batch --bogus f.txt");
  EXPECT_NE(r.err.find("--bogus"), std::string::npos) << r.err;
}

TEST_F(BatchModeTest, StatePrintsFourLines) {
  Write("f.txt", "abc\ndef\n");
  RunResult r = Run("--batch --keys 2d --state f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "abc\ndef\n");
  EXPECT_EQ(r.err, "cursor 1 0\nmode NORMAL\nstatus -- NORMAL -- 2d\nbeeps 0\n");

  r = Run("--batch --keys jll --state f.txt");
  EXPECT_EQ(r.err, "cursor 2 2\nmode NORMAL\nstatus -- NORMAL -- \nbeeps 0\n");

  r = Run("--batch --keys " + Quote(":set ts") + " --state f.txt");
  EXPECT_EQ(r.err, "cursor 1 0\nmode NORMAL\nstatus :set ts\nbeeps 0\n");
}

TEST_F(BatchModeTest, WithoutStateNothingGoesToStderr) {
  Write("f.txt", "abc\n");
  RunResult r = Run("--batch --keys 2d f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

TEST_F(BatchModeTest, KeysTextsAreJoinedBeforeParsing) {
  Write("f.txt", "abc\n");
  RunResult r = Run("--batch --keys '<E' --keys 'sc>' --state f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "abc\n");
  EXPECT_NE(r.err.find("\nbeeps 1\n"), std::string::npos) << r.err;

  r = Run("--batch --keys 2 --keys d --state f.txt");
  EXPECT_NE(r.err.find("status -- NORMAL -- 2d\n"), std::string::npos) << r.err;
}

TEST_F(BatchModeTest, AnswersAreAccepted) {
  Write("f.txt", "abc\n");
  RunResult r = Run("--batch --answer y --answer n --answer q --state f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "abc\n");
}

TEST_F(BatchModeTest, TheFirstOfSeveralFilesIsShown) {
  Write("a.txt", "first\nfile\n");
  Write("b.txt", "second\r\n");
  RunResult r = Run("--batch --keys j --state a.txt b.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "first\nfile\n");
  EXPECT_NE(r.err.find("cursor 2 0\n"), std::string::npos) << r.err;

  r = Run("--batch b.txt a.txt");
  EXPECT_EQ(r.out, "second\r\n");
}

TEST_F(BatchModeTest, FilesAfterTheDoubleDash) {
  Write("-k", "dash\n");
  RunResult r = Run("--batch -- -k");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "dash\n");
}

}  // namespace

// Keys go through the keyboard of the chosen layout: <C-S-A-v> switches the emulation off (the
// keys after it are typed as text), and Ctrl+Alt+Q types "@" only where AltGr+Q does.
TEST_F(BatchModeTest, KeysArePressedOnTheChosenKeyboardAndTheToggleKeyWorks) {
  Write("f.txt", "one\n");
  EXPECT_EQ(Run("--batch --keys " + Quote("<C-S-A-v>dd") + " f.txt").out, "ddone\n");
  EXPECT_EQ(Run("--batch --keys " + Quote("<C-S-A-v>x<C-S-A-v>x") + " f.txt").out, "xne\n");
  EXPECT_EQ(Run("--batch --keyboard de --keys " + Quote("i<C-A-q>") + " f.txt").out, "@one\n");
  EXPECT_EQ(Run("--batch --keys " + Quote("i<C-A-q>") + " f.txt").out, "one\n");
  const RunResult bad = Run("--batch --keyboard fr f.txt");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("unknown keyboard layout fr"), std::string::npos);
}
