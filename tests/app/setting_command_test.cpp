// The registry contract of the tavik program, run as a separate process: --setting prints and
// puts, its exit statuses, --registry instead of the user's file, registration, and a batch run
// that follows the stored settings.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class SettingCommandTest : public ::testing::Test {
 protected:
  SettingCommandTest() {
    std::string pattern = (fs::temp_directory_path() / "tavik-setting-XXXXXX").string();
    if (char* made = ::mkdtemp(pattern.data())) dir_ = made;
    std::ofstream(dir_ / "f.txt") << "one\ntwo\n";
  }
  ~SettingCommandTest() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // Runs the program in the folder, its user registry below the folder too.
  RunResult Run(const std::string& arguments) {
    const std::string command = "cd '" + dir_.string() + "' && XDG_CONFIG_HOME='" +
                                (dir_ / "config").string() + "' '" + TAVIK_BINARY + "' " +
                                arguments + " >out.txt 2>err.txt </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(dir_ / "out.txt"),
            ReadAll(dir_ / "err.txt")};
  }
  fs::path UserFile() const { return dir_ / "config" / "tavik" / "registry.reg"; }

  fs::path dir_;
};

TEST_F(SettingCommandTest, PrintPutAndRefuse) {
  RunResult r = Run("--setting Enable");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "true\n");
  EXPECT_EQ(Run("--setting FileTabCaption").out, " - vi\n");

  r = Run("--setting IgnoreCase=0");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out + r.err, "");
  EXPECT_EQ(Run("--setting IgnoreCase").out, "false\n");
  EXPECT_NE(ReadAll(UserFile()).find("\"IgnoreCase\"=dword:00000000\n"), std::string::npos);
  ASSERT_EQ(Run("--setting IgnoreCase=true").status, 0);
  EXPECT_EQ(Run("--setting IgnoreCase").out, "true\n");
  ASSERT_EQ(Run("--setting 'FileTabCaption= - \"\xC3\xA9\\'").status, 0);
  EXPECT_EQ(Run("--setting FileTabCaption").out, " - \"\xC3\xA9\\\n");

  // Refused: one line, exit 1, the old value stays.
  const std::string before = ReadAll(UserFile());
  r = Run("--setting FileTabCaption=" + std::string(300, 'x'));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "tavik: FileTabCaption takes at most 256 characters\n");
  EXPECT_EQ(ReadAll(UserFile()), before);

  r = Run("--setting NoSuchSetting");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "tavik: unknown setting NoSuchSetting\n");
  EXPECT_EQ(Run("--setting enable").status, 2);  // names are exact
  r = Run("--setting Beep=yes");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "tavik: Beep takes true, false, 1 or 0\n");
  EXPECT_EQ(Run("--setting Beep f.txt").status, 2);

  // A registry whose folder is missing refuses every put.
  r = Run("--registry gone/r.reg --setting Beep=0");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "tavik: cannot write Beep to gone/r.reg\n");
  EXPECT_EQ(ReadAll(UserFile()), before);
}

TEST_F(SettingCommandTest, BatchRunsFollowTheRegistryTheyAreGiven) {
  // Off in a given file: batch mode types the keys; the user's file is not touched.
  ASSERT_EQ(Run("--registry r.reg --setting Enable=false").status, 0);
  RunResult r = Run("--registry r.reg --batch --keys dd f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "ddone\ntwo\n");
  EXPECT_FALSE(fs::exists(dir_ / "config"));
  // The user's registry is read like the editor reads it.
  EXPECT_EQ(Run("--batch --keys dd f.txt").out, "two\n");
  ASSERT_TRUE(fs::exists(UserFile()));
  ASSERT_EQ(Run("--setting Enable=0").status, 0);
  EXPECT_EQ(Run("--batch --keys dd f.txt").out, "ddone\ntwo\n");
  ASSERT_EQ(Run("--setting Enable=1").status, 0);

  // Unregistered, the package does not load; registered again, it does.
  ASSERT_EQ(Run("--unregister").status, 0);
  EXPECT_EQ(Run("--batch --keys dd f.txt").out, "ddone\ntwo\n");
  EXPECT_NE(ReadAll(UserFile()).find("[HKEY_LOCAL_MACHINE\\Software\\Tavik\\Host\\1.0\\Packages]"),
            std::string::npos);
  ASSERT_EQ(Run("--register").status, 0);
  EXPECT_NE(ReadAll(UserFile()).find("\"InprocServer32\"=\"" + std::string(TAVIK_BINARY) + "\""),
            std::string::npos);
  EXPECT_EQ(Run("--batch --keys dd f.txt").out, "two\n");

  // A file that does not parse: kept aside, one pane line, defaults apply.
  std::ofstream(dir_ / "r.reg", std::ios::app) << "not a registry line\n";
  r = Run("--registry r.reg --batch --keys dd f.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "two\n");
  EXPECT_TRUE(r.err.starts_with("pane: The registry file r.reg does not parse")) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
  EXPECT_TRUE(fs::exists(dir_ / "r.reg.bad"));
}

}  // namespace
