// Loading and saving files: byte-exact round trips and the lines a file turns into.
#include "platform/file_io.h"
#include "platform/file_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/utf8_codec.h"

namespace tavik::platform {
namespace {

std::vector<std::u16string> LinesOf(const LineStore& store) {
  std::vector<std::u16string> lines(store.LineCount());
  for (uint32_t i = 0; i < store.LineCount(); ++i) store.ReadLine(i, lines[i]);
  return lines;
}

const std::string kRoundTripCases[] = {
    "",
    "\n",
    "\n\n",
    "one\ntwo\n",
    "one\ntwo",
    "one\r\ntwo\r\n",
    "one\r\ntwo",
    "mixed\r\nbreaks\nhere\r\n",
    "cr only\rin line\n",
    "trailing cr\r",
    std::string("nul\0byte\n\0", 11),
    "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\n",  // 2-, 3- and 4-byte sequences
    "bad \xFF\xFE lead\n",
    "truncated \xE2\x82\n",
    "overlong \xC0\xAF and \xE0\x80\xAF\n",
    "surrogate \xED\xA0\x80\n",
    "too big \xF4\x90\x80\x80\n",
    "lone continuation \x80\xBF\n",
    "latin1 \xE9t\xE9\r\n",
};

TEST(FileIoTest, LoadThenWriteGivesBackTheBytes) {
  for (const std::string& bytes : kRoundTripCases) {
    LineStore lines;
    const FileFormat format = LoadBytes(bytes, lines);
    EXPECT_EQ(EncodeText(lines, format), bytes) << "case: " << bytes;
  }
}

TEST(FileIoTest, ChunkBoundariesAnywhereGiveTheSameLines) {
  const std::string bytes = "ab\r\ncaf\xC3\xA9\r\n\xF0\x9F\x98\x80x\r\n\r\nend";
  LineStore whole;
  const FileFormat expected = LoadBytes(bytes, whole);
  for (size_t chunk = 1; chunk <= bytes.size(); ++chunk) {
    LineStore lines;
    FileLoader loader(lines);
    for (size_t i = 0; i < bytes.size(); i += chunk) {
      loader.Feed(bytes.data() + i, std::min(chunk, bytes.size() - i));
    }
    const FileFormat format = loader.Finish();
    EXPECT_EQ(LinesOf(lines), LinesOf(whole)) << "chunk " << chunk;
    EXPECT_EQ(EncodeText(lines, format), bytes) << "chunk " << chunk;
    EXPECT_EQ(format.line_break, expected.line_break);
  }
}

TEST(FileIoTest, LineBreaksAndFinalBreak) {
  LineStore lines;
  FileFormat f = LoadBytes("", lines);
  EXPECT_EQ(LinesOf(lines), std::vector<std::u16string>{u""});
  EXPECT_FALSE(f.final_line_break);

  f = LoadBytes("\n", lines);
  EXPECT_EQ(LinesOf(lines), std::vector<std::u16string>{u""});
  EXPECT_TRUE(f.final_line_break);

  f = LoadBytes("a\r\nb\r\n", lines);
  EXPECT_EQ(LinesOf(lines), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(f.line_break, LineBreak::kCrLf);

  // Not every break is CR LF: the CRs stay in their lines.
  f = LoadBytes("a\r\nb\nc", lines);
  EXPECT_EQ(LinesOf(lines), (std::vector<std::u16string>{u"a\r", u"b", u"c"}));
  EXPECT_EQ(f.line_break, LineBreak::kLf);
  EXPECT_FALSE(f.final_line_break);
}

TEST(FileIoTest, DecodingOfCharactersAndInvalidBytes) {
  LineStore lines;
  LoadBytes("\xC3\xA9\xF0\x9F\x98\x80\xFF\xED\xA0\x80", lines);
  const std::u16string expected = {0xE9, 0xD83D, 0xDE00, 0xDCFF, 0xDCED, 0xDCA0, 0xDC80};
  EXPECT_EQ(LinesOf(lines)[0], expected);
  // Latin-1 range text stays one byte per unit; the raw-byte units need two.
  LoadBytes("\xC3\xA9t\xC3\xA9\n\xFF", lines);
  EXPECT_FALSE(lines.Raw(0).wide);
  EXPECT_TRUE(lines.Raw(1).wide);
}

TEST(FileIoTest, EditedTextEncodesAsUtf8) {
  LineStore lines;
  const FileFormat format = LoadBytes("x\r\n", lines);
  const std::u16string text = u"\u00e9\u20ac\U0001F600";
  lines.SetLine(0, text);
  EXPECT_EQ(EncodeText(lines, format), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n");
}

class FileOnDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tavik_file_io_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::filesystem::path dir_;
};

TEST_F(FileOnDiskTest, SaveReplacesTheFileAndLeavesNoTemporary) {
  const std::string bytes = "one\r\ntwo\xFF\r\n";
  const std::string path = Write("a.txt", bytes);
  LineStore lines;
  FileFormat format;
  ASSERT_FALSE(LoadFile(path, lines, format));
  EXPECT_FALSE(SaveFile(path, lines, format));
  EXPECT_EQ(Read(path), bytes);
  lines.SetLine(1, u"2");
  EXPECT_FALSE(SaveFile(path, lines, format));
  EXPECT_EQ(Read(path), "one\r\n2\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

TEST_F(FileOnDiskTest, MissingFileAndMissingFolderReportErrors) {
  LineStore lines;
  FileFormat format;
  const std::optional<std::string> error = LoadFile((dir_ / "none.txt").string(), lines, format);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("none.txt"), std::string::npos);
  EXPECT_TRUE(SaveFile((dir_ / "no" / "such.txt").string(), lines, format));
}

TEST_F(FileOnDiskTest, LargeFileRoundTripsAcrossChunks) {
  std::string bytes;
  for (int i = 0; i < 60000; ++i) {
    bytes += "line " + std::to_string(i) + (i % 1000 == 0 ? " \xC3\xA9" : "") + "\n";
  }
  const std::string path = Write("big.txt", bytes);
  LineStore lines;
  FileFormat format;
  ASSERT_FALSE(LoadFile(path, lines, format));
  EXPECT_EQ(lines.LineCount(), 60000u);
  std::u16string line;
  lines.ReadLine(59999, line);
  EXPECT_EQ(line, u"line 59999");
  std::ostringstream out;
  ASSERT_TRUE(WriteText(lines, format, out));
  EXPECT_EQ(out.str(), bytes);
}

}  // namespace
}  // namespace tavik::platform
