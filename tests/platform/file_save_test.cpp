// Saving over files on disk: through links, with hard links, keeping owner, mode and extended
// attributes, with writes that fail part way, and with a link planted at a temporary name.
#include "platform/file_save.h"
#include "common/test_temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tavik::platform {
namespace {

namespace fs = std::filesystem;

class FileSaveTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    return folder_.Write(name, bytes);
  }
  static std::string Read(const fs::path& path) {
    return testing_support::TestTempFolder::Read(path);
  }
  static struct stat Stat(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
  }
  size_t FilesInFolder() const { return std::distance(fs::directory_iterator(dir_), {}); }

  // A write that takes `budget` bytes and then fails as a full disk does.
  static SaveHooks FullDiskAfter(size_t budget) {
    auto left = std::make_shared<size_t>(budget);
    SaveHooks hooks;
    hooks.write = [left](int fd, const void* data, size_t size) -> ssize_t {
      if (*left == 0) {
        errno = ENOSPC;
        return -1;
      }
      const size_t n = std::min(size, *left);
      *left -= n;
      return ::write(fd, data, n);
    };
    return hooks;
  }

  testing_support::TestTempFolder folder_{"tavik_file_save"};
  const fs::path& dir_ = folder_.Path();
};

TEST_F(FileSaveTest, ALinkIsWrittenThroughAndStaysALink) {
  const std::string real = Write("real.txt", "old\n");
  fs::create_directories(dir_ / "links");
  // A relative link to a relative link, from another folder.
  fs::create_symlink("../real.txt", dir_ / "links" / "one");
  fs::create_symlink("one", dir_ / "links" / "two");
  const std::string two = (dir_ / "links" / "two").string();
  ASSERT_FALSE(SaveBytes(two, "new\n"));
  EXPECT_TRUE(fs::is_symlink(two));
  EXPECT_TRUE(fs::is_symlink(dir_ / "links" / "one"));
  EXPECT_EQ(Read(real), "new\n");
  std::string target;
  ASSERT_FALSE(FollowLinks(two, target));
  EXPECT_TRUE(fs::equivalent(target, real));
  // A link to a file that does not exist yet creates that file.
  fs::create_symlink("made.txt", dir_ / "dangling");
  ASSERT_FALSE(SaveBytes((dir_ / "dangling").string(), "made\n"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "dangling"));
  EXPECT_EQ(Read((dir_ / "made.txt").string()), "made\n");
  // A loop of links is an error, and nothing is created.
  fs::create_symlink("loop_b", dir_ / "loop_a");
  fs::create_symlink("loop_a", dir_ / "loop_b");
  const size_t files = FilesInFolder();
  const std::optional<std::string> error = SaveBytes((dir_ / "loop_a").string(), "x");
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("loop_a"), std::string::npos);
  EXPECT_EQ(FilesInFolder(), files);
}

TEST_F(FileSaveTest, HardLinksAllSeeTheNewTextAndNoFileIsLeftBehind) {
  const std::string a = Write("a.txt", "shared old text\n");
  fs::create_hard_link(a, dir_ / "b.txt");
  ASSERT_FALSE(SaveBytes(a, "new\n"));
  EXPECT_EQ(Read((dir_ / "b.txt").string()), "new\n");
  EXPECT_EQ(Stat(a).st_ino, Stat((dir_ / "b.txt").string()).st_ino);
  EXPECT_EQ(Stat(a).st_nlink, 2u);
  EXPECT_EQ(FilesInFolder(), 2u);  // the backup copy is gone again
}

TEST_F(FileSaveTest, ARenamedFileKeepsModeOwnerGroupAndExtendedAttributes) {
  const std::string path = Write("kept.txt", "old\n");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const bool have_xattr = ::setxattr(path.c_str(), "user.tavik", "v1", 2, 0) == 0;
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  }
  const struct stat before = Stat(path);
  ASSERT_FALSE(SaveBytes(path, "new\n"));
  const struct stat after = Stat(path);
  EXPECT_EQ(Read(path), "new\n");
  EXPECT_NE(after.st_ino, before.st_ino);  // a new file took the name
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  if (have_xattr) {
    char value[8] = {};
    EXPECT_EQ(::getxattr(path.c_str(), "user.tavik", value, sizeof value), 2);
    EXPECT_STREQ(value, "v1");
  }
  // A new file gets the permissions a new file gets (the umask applies), not the private mode
  // of a temporary file.
  const mode_t mask = ::umask(022);
  ASSERT_FALSE(SaveBytes((dir_ / "fresh.txt").string(), "x"));
  ::umask(mask);
  EXPECT_EQ(Stat((dir_ / "fresh.txt").string()).st_mode & 0777, 0644u);
}

// As a user who cannot give the file back its owner or create files in its folder, the file is
// rewritten in place: it stays the same file with the same owner.
TEST_F(FileSaveTest, AnotherUsersFileIsRewrittenInPlace) {
  if (geteuid() != 0) {
    // Without the superuser there is no second user to be; the choice itself is checked below.
    EXPECT_EQ(ChooseSaveMethod({true, 1, true, false}), SaveMethod::kInPlace);
    return;
  }
  // Owned by root, writable by everyone, in a folder everyone may write to.
  const std::string shared = Write("shared.txt", "root's old text\n");
  ASSERT_EQ(::chmod(shared.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);
  // Owned by nobody, in a folder nobody may not write to.
  fs::create_directories(dir_ / "closed");
  const std::string own = (dir_ / "closed" / "own.txt").string();
  std::ofstream(own) << "nobody's old text\n";
  ASSERT_EQ(::chown(own.c_str(), 65534, 65534), 0);
  const ino_t shared_inode = Stat(shared).st_ino;
  const ino_t own_inode = Stat(own).st_ino;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    const std::string backups = (dir_ / "backups").string();
    const bool ok =
        !SaveBytes(shared, "new\n", {}, backups) && !SaveBytes(own, "mine\n", {}, backups);
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Read(shared), "new\n");
  EXPECT_EQ(Stat(shared).st_uid, 0u);
  EXPECT_EQ(Stat(shared).st_ino, shared_inode);
  EXPECT_EQ(Read(own), "mine\n");
  EXPECT_EQ(Stat(own).st_ino, own_inode);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "closed"), {}), 1);
}

TEST_F(FileSaveTest, TheMethodFollowsLinksFolderAndOwner) {
  EXPECT_EQ(ChooseSaveMethod({false, 0, false, false}), SaveMethod::kRename);
  EXPECT_EQ(ChooseSaveMethod({true, 1, true, true}), SaveMethod::kRename);
  EXPECT_EQ(ChooseSaveMethod({true, 2, true, true}), SaveMethod::kInPlace);
  EXPECT_EQ(ChooseSaveMethod({true, 1, false, true}), SaveMethod::kInPlace);
  EXPECT_EQ(ChooseSaveMethod({true, 1, true, false}), SaveMethod::kInPlace);
}

TEST_F(FileSaveTest, AWriteFailingPartWayLeavesTheFileAsItWas) {
  const std::string old_text(10000, 'o');
  const std::string new_text(30000, 'n');
  const std::string path = Write("full.txt", old_text);
  // Through a new file: the failure leaves neither a changed file nor a temporary one.
  std::optional<std::string> error = SaveBytes(path, new_text, FullDiskAfter(4096));
  ASSERT_TRUE(error);
  EXPECT_NE(error->find(std::strerror(ENOSPC)), std::string::npos) << *error;
  EXPECT_NE(error->find("full.txt"), std::string::npos);
  EXPECT_EQ(Read(path), old_text);
  EXPECT_EQ(FilesInFolder(), 1u);
  // In place (a hard link): the half-written file gets its old text back.
  fs::create_hard_link(path, dir_ / "other.txt");
  error = SaveBytes(path, new_text, FullDiskAfter(4096));
  ASSERT_TRUE(error);
  EXPECT_EQ(Read(path), old_text);
  EXPECT_EQ(Stat(path).st_ino, Stat((dir_ / "other.txt").string()).st_ino);
  EXPECT_EQ(FilesInFolder(), 2u);
  // And the same save without the failure goes through.
  EXPECT_FALSE(SaveBytes(path, new_text));
  EXPECT_EQ(Read((dir_ / "other.txt").string()), new_text);
}

TEST_F(FileSaveTest, ALinkPlantedAtTheTemporaryNameIsNeverFollowed) {
  const std::string victim = Write("victim.txt", "precious\n");
  const std::string path = Write("f.txt", "old\n");
  // The first name the save tries is taken by a link to the victim.
  fs::create_symlink(victim, dir_ / ".f.txt.tavik-planted");
  int calls = 0;
  SaveHooks hooks;
  hooks.unique_part = [&calls] {
    return ++calls == 1 ? "planted" : "free" + std::to_string(calls);
  };
  ASSERT_FALSE(SaveBytes(path, "new\n", hooks));
  EXPECT_EQ(Read(victim), "precious\n");
  EXPECT_TRUE(fs::is_symlink(dir_ / ".f.txt.tavik-planted"));
  EXPECT_EQ(Read(path), "new\n");
  EXPECT_EQ(calls, 2);
  // A unique file is created exclusively, private to its owner.
  std::string made;
  const int fd = CreateUniqueFile(dir_.string(), "u.", made);
  ASSERT_GE(fd, 0);
  ::close(fd);
  EXPECT_EQ(Stat(made).st_mode & 0777, 0600u);
}

TEST_F(FileSaveTest, WhatIsNotARegularFileIsNotWritten) {
  fs::create_directories(dir_ / "folder");
  const std::optional<std::string> error = SaveBytes((dir_ / "folder").string(), "x");
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("not a regular file"), std::string::npos);
  EXPECT_TRUE(SaveBytes((dir_ / "no" / "such.txt").string(), "x"));
  EXPECT_TRUE(fs::is_directory(dir_ / "folder"));
}

}  // namespace
}  // namespace tavik::platform
