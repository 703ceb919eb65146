// The startup file as the tavik program runs it in batch mode: the search through HOME, the
// HOMEDRIVE and HOMEPATH pair, --rc FILE instead of the search, --no-rc, and error lines on
// the output pane.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

class StartupFileTest : public ::testing::Test {
 protected:
  StartupFileTest() {
    std::string pattern = (fs::temp_directory_path() / "tavik-rc-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (char* made = ::mkdtemp(buffer.data())) dir_ = made;
    fs::create_directories(dir_ / "home");
    fs::create_directories(dir_ / "drive" / "me");
    Write("f.txt", "abc\n");
  }
  ~StartupFileTest() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  void Write(const fs::path& name, const std::string& bytes) {
    std::ofstream out(dir_ / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  // `environment` is a list of NAME=VALUE words; the home variables are unset otherwise.
  Result Run(const std::string& environment, const std::string& arguments) {
    std::string command =
        "cd " + Quote(dir_.string()) + " && env -u HOME -u HOMEDRIVE -u HOMEPATH XDG_CONFIG_HOME=" +
        Quote((dir_ / "config").string()) + " " + environment + " " + Quote(TAVIK_BINARY) +
        " --batch " + arguments + " >out.bin 2>err.txt </dev/null";
    int raw = std::system(command.c_str());
    Result r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadAll(dir_ / "out.bin");
    r.err = ReadAll(dir_ / "err.txt");
    return r;
  }

  std::string Home() const { return Quote("HOME=" + (dir_ / "home").string()); }

  fs::path dir_;
};

TEST_F(StartupFileTest, TheSearchFindsDotFileBeforeUnderscoreAndTheDrivePairBeforeHome) {
  Write("home/_tavikrc", "nmap Q dd\n");
  EXPECT_EQ(Run(Home(), "--keys Q f.txt").out, "\n");
  Write("home/.tavikrc", "nmap Q x\n");
  EXPECT_EQ(Run(Home(), "--keys Q f.txt").out, "bc\n");
  // HOMEDRIVE and HOMEPATH run together come first, but only when both are set.
  Write("drive/me/.tavikrc", "nmap Q ~\n");
  std::string drive = Quote("HOMEDRIVE=" + (dir_ / "drive").string()) + " HOMEPATH=/me";
  EXPECT_EQ(Run(Home() + " " + drive, "--keys Q f.txt").out, "Abc\n");
  EXPECT_EQ(Run(Home() + " HOMEPATH=/me", "--keys Q f.txt").out, "bc\n");
  // --no-rc skips the search; --rc runs the given file instead.
  EXPECT_EQ(Run(Home(), "--no-rc --keys Q f.txt").out, "abc\n");
  Write("other.rc", "nmap Q $\n");
  Result r = Run(Home(), "--rc other.rc --keys Q --state f.txt");
  EXPECT_EQ(r.out, "abc\n");
  EXPECT_NE(r.err.find("cursor 1 2\n"), std::string::npos) << r.err;
}

TEST_F(StartupFileTest, NoStartupFileAnywhereIsNoError) {
  Result r = Run(Home(), "--keys x f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "bc\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(StartupFileTest, FailedLinesGoToThePaneWithTheirNumbers) {
  Write("bad.rc", "set ic\n#one\n\"fine\n1,5d\nset nosuch\n");
  Result r = Run(Home(), "--rc bad.rc --state f.txt");
  EXPECT_EQ(r.status, 0);
  std::string path = fs::absolute(dir_ / "bad.rc").string();
  EXPECT_NE(r.err.find("pane: Error processing " + path + ": line 2\n"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("pane: Error processing " + path + ": line 4\n"), std::string::npos);
  EXPECT_EQ(r.err.find("line 5"), std::string::npos);
  EXPECT_NE(r.err.find("status Unknown option\n"), std::string::npos);
}

TEST_F(StartupFileTest, AGivenFileThatCannotBeReadStopsTheRun) {
  Result r = Run(Home(), "--rc missing.rc f.txt");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "tavik: cannot read missing.rc\n");
}

TEST_F(StartupFileTest, HugeAndBinaryFilesLoadAndAHugeMappingRuns) {
  std::string rc = "map Q " + std::string(65529, 'l') + "\n";  // 65536 bytes with its line feed
  for (int i = 0; i < 10000; ++i) rc += "set ic\n";
  rc += std::string(100000, 'z') + "\n";
  for (int i = 0; i < 4096; ++i) rc.push_back(static_cast<char>(i * 37 % 256));
  Write("big.rc", rc);
  Result r = Run(Home(), "--rc big.rc --keys Q --state f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "abc\n");
  EXPECT_NE(r.err.find(": line 10002\n"), std::string::npos) << r.err.substr(0, 2000);
  EXPECT_NE(r.err.find("cursor 1 2\n"), std::string::npos);
}

}  // namespace
