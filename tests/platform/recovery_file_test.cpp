// Recovery files: the text comes back byte for byte whatever its format, files are private and
// never written or read through a link, and a file cut short or written by a live editor is
// told apart.
#include "platform/recovery_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/test_temp_folder.h"
#include "platform/editor_host.h"

namespace tavik::platform {
namespace {

namespace fs = std::filesystem;

class RecoveryFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    return folder_.Write(name, bytes);
  }
  static std::string Read(const fs::path& path) {
    return testing_support::TestTempFolder::Read(path);
  }

  testing_support::TestTempFolder folder_{"tavik_recovery"};
  const fs::path& dir_ = folder_.Path();
  EditorHost host_;
};

TEST_F(RecoveryFileTest, TheTextComesBackExactlyIntoTheDocument) {
  const std::string cases[] = {
      "one\ntwo\n",
      "one\r\ntwo",
      "\xEF\xBB\xBFmark\r\n",
      "mixed\r\nbreaks\n",
      "cr\r\ncr\r",
      std::string("nul\0\xff\n", 6),
      "\n",
      "",
  };
  for (const std::string& bytes : cases) {
    Document* doc = host_.OpenFile(Write("f.txt", bytes));
    ASSERT_NE(doc, nullptr);
    doc->buffer.Insert({0, 0}, u"edited ");
    const RecoveryRecord record = RecordOf(*doc);
    const std::string path = RecoveryPath((dir_ / "rec").string(), doc->path);
    ASSERT_FALSE(WriteRecovery(path, record));
    const std::string edited = EncodeText(doc->buffer.Lines(), doc->SaveFormat());
    host_.Close(*doc);

    // A fresh start: the file as it was, then the recovered text over it.
    Document* again = host_.OpenFile((dir_ / "f.txt").string());
    const std::optional<RecoveryRecord> read = ReadRecovery(path);
    ASSERT_TRUE(read) << bytes;
    EXPECT_EQ(read->file, again->path);
    EXPECT_EQ(read->pid, getpid());
    Recover(*again, *read);
    EXPECT_EQ(EncodeText(again->buffer.Lines(), again->SaveFormat()), edited) << bytes;
    EXPECT_TRUE(again->Modified());
    again->buffer.Undo();  // the file's own text again
    EXPECT_EQ(EncodeText(again->buffer.Lines(), again->SaveFormat()), bytes);
    host_.Close(*again);
  }
  // An emptied document stays empty, not one line break.
  Document* doc = host_.OpenFile(Write("g.txt", "a\nb\n"));
  doc->buffer.Replace({0, 0}, doc->buffer.End(), u"");
  const std::optional<RecoveryRecord> emptied = DecodeRecovery(EncodeRecovery(RecordOf(*doc)));
  ASSERT_TRUE(emptied);
  host_.Close(*doc);
  doc = host_.OpenFile((dir_ / "g.txt").string());
  Recover(*doc, *emptied);
  EXPECT_EQ(EncodeText(doc->buffer.Lines(), doc->SaveFormat()), "");
}

TEST_F(RecoveryFileTest, FilesArePrivateAndLinksAreNeverFollowed) {
  Document* doc = host_.OpenFile(Write("f.txt", "text\n"));
  const RecoveryRecord record = RecordOf(*doc);
  const fs::path folder = dir_ / "rec";
  const std::string path = RecoveryPath(folder.string(), doc->path);
  ASSERT_FALSE(WriteRecovery(path, record));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // A link planted at the name is replaced, never written through, and never read through.
  const std::string victim = Write("victim.txt", "precious\n");
  fs::remove(path);
  fs::create_symlink(victim, path);
  EXPECT_FALSE(ReadRecovery(path));
  ASSERT_FALSE(WriteRecovery(path, record));
  EXPECT_EQ(Read(victim), "precious\n");
  EXPECT_FALSE(fs::is_symlink(path));
  EXPECT_TRUE(ReadRecovery(path));
  // A folder that is a link is refused.
  fs::create_directories(dir_ / "elsewhere");
  fs::create_directory_symlink(dir_ / "elsewhere", dir_ / "linked");
  EXPECT_TRUE(WriteRecovery(RecoveryPath((dir_ / "linked").string(), doc->path), record));
  EXPECT_TRUE(fs::is_empty(dir_ / "elsewhere"));
}

TEST_F(RecoveryFileTest, CutFilesAndNamesOfOtherFilesAreToldApart) {
  RecoveryRecord record;
  record.file = "/some/where/a b%.txt";
  record.pid = 42;
  record.host = "h";
  record.bytes = "abc\n";
  const std::string encoded = EncodeRecovery(record);
  EXPECT_TRUE(DecodeRecovery(encoded));
  EXPECT_FALSE(DecodeRecovery(encoded.substr(0, encoded.size() - 1)));  // cut short
  EXPECT_FALSE(DecodeRecovery("not a recovery file\n\nabc\n"));
  // Different files, and the slots of one file, never share a name.
  EXPECT_NE(RecoveryPath("/r", "/a/b.txt"), RecoveryPath("/r", "/a_b.txt"));
  EXPECT_NE(RecoveryPath("/r", "/a/b.txt"), RecoveryPath("/r", "/a/b.txt", 1));
  EXPECT_LT(fs::path(RecoveryPath("/r", std::string(1000, 'x'))).filename().string().size(), 255u);
}

TEST_F(RecoveryFileTest, OnlyAnotherRunningEditorCountsAsLive) {
  RecoveryRecord record;
  record.host = ThisHostName();
  record.pid = getpid();
  EXPECT_FALSE(WrittenByAnotherLiveEditor(record));  // this process
  record.pid = getppid();
  EXPECT_TRUE(WrittenByAnotherLiveEditor(record));
  record.host += "-elsewhere";
  EXPECT_FALSE(WrittenByAnotherLiveEditor(record));
  record.host = ThisHostName();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(0);
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  record.pid = child;
  EXPECT_FALSE(WrittenByAnotherLiveEditor(record));  // ended
}

}  // namespace
}  // namespace tavik::platform
