// A save on a full disk, end to end: a small memory file system filled up, the editor in a real
// terminal. Needs the right to mount; skipped, with the reason, where that is not given.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "terminal_tmux.h"

namespace tavik::app {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool LastRowHas(const std::vector<std::string>& rows, const std::string& text) {
  return !rows.empty() && rows.back().find(text) != std::string::npos;
}

class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v tmux >/dev/null 2>&1") != 0) GTEST_SKIP() << "tmux is missing";
    folder_ = fs::temp_directory_path() / ("tavik_full_disk_" + std::to_string(getpid()));
    fs::create_directories(folder_);
    if (::mount("tavik", folder_.c_str(), "tmpfs", 0, "size=64k") != 0) {
      const std::string reason = std::strerror(errno);
      fs::remove(folder_);
      GTEST_SKIP() << "cannot mount a small file system: " << reason;
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) ::umount(folder_.c_str());
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  fs::path folder_;
  bool mounted_ = false;
};

TEST_F(FullDiskTest, AFailedSaveSaysWhyKeepsTheFileAndTheChange) {
  const fs::path file = folder_ / "full.txt";
  const std::string text = std::string(20000, 'a') + "\n";
  std::ofstream(file, std::ios::binary) << text;
  // Fill what is left, so the new copy of the file cannot be written.
  {
    std::ofstream filler(folder_ / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), block.size())) filler.flush();
  }
  testing::TmuxSession tmux(testing::ProgramCommand(file.string()));
  ASSERT_TRUE(tmux.Started());
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) { return LastRowHas(r, "-- NORMAL --"); }));
  tmux.Send("x");
  tmux.SendLiteral(":w");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([](const auto& r) {
    return LastRowHas(r, "Cannot write") && LastRowHas(r, std::strerror(ENOSPC));
  })) << tmux.ScreenText();
  EXPECT_EQ(ReadFile(file), text);
  // Still a change to keep: the quit key asks instead of leaving.
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("1 document has unsaved changes")) << tmux.ScreenText();
  // With room again, the same save goes through.
  fs::remove(folder_ / "filler");
  tmux.Send("n");
  tmux.SendLiteral(":w");
  tmux.Send("Enter");
  ASSERT_TRUE(tmux.WaitFor([&](const auto&) { return ReadFile(file) == text.substr(1); }))
      << tmux.ScreenText();
  tmux.Send("F10");
  ASSERT_TRUE(tmux.WaitForText("EXIT=0")) << tmux.ScreenText();
}

}  // namespace
}  // namespace tavik::app
