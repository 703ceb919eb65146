// The tavik program in batch mode with commands that write files and switch documents: :w writes
// byte for byte, :ls prints on stderr as pane lines, :e and :bn move between documents.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tavik::app {
namespace {

namespace fs = std::filesystem;

class BatchDocumentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tavik_batch_docs_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Runs the program in the folder; keys and files as written on a shell command line.
  int Run(const std::string& arguments) {
    // The registry lives in the temporary folder, never the user's.
    const std::string command = "cd '" + dir_.string() + "' && XDG_CONFIG_HOME='" +
                                (dir_ / "config").string() + "' '" + TAVIK_BINARY +
                                "' --batch --no-rc " + arguments + " >out.bin 2>err.txt </dev/null";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  fs::path dir_;
};

TEST_F(BatchDocumentsTest, ColonWWritesTheFileByteForByteAndStdoutShowsTheSameText) {
  const std::string bytes = std::string("\xef\xbb\xbfone\r\ntwo\r\n\r\nthr\xc3\xa9\xfe", 21);
  Write("w.txt", bytes);
  ASSERT_EQ(Run("--keys 'x:w<CR>' w.txt"), 0) << Read("err.txt");
  // The byte order mark is not text: the first character is the "o" after it, and the mark
  // itself is written back with everything else as it was.
  const std::string expected = bytes.substr(0, 3) + bytes.substr(4);
  EXPECT_EQ(Read("w.txt"), expected);
  EXPECT_EQ(Read("out.bin"), expected);
}

TEST_F(BatchDocumentsTest, LsPrintsPaneLinesAndEAndBnSwitchDocuments) {
  Write("a.txt", "alpha\n");
  Write("b.txt", "bravo\n");
  ASSERT_EQ(Run("--keys ':e b.txt<CR>:ls<CR>:bn<CR>x' a.txt"), 0);
  EXPECT_EQ(Read("out.bin"), "lpha\n");
  const std::string err = Read("err.txt");
  EXPECT_NE(err.find("pane:    1 " + (dir_ / "a.txt").string() + "\n"), std::string::npos) << err;
  EXPECT_NE(err.find("pane:    2 " + (dir_ / "b.txt").string() + "\n"), std::string::npos) << err;
  EXPECT_EQ(Read("a.txt"), "alpha\n");  // nothing written without :w
}

}  // namespace
}  // namespace tavik::app
