// Highlight markers on a buffer (merging, queries by line, following edits) and the question
// before saving over a file that changed on disk.
#include "platform/markers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/editor_host.h"
#include "platform/text_buffer.h"

namespace tavik::platform {
namespace {

using Spans = std::vector<HighlightSpan>;

TEST(HighlightMarkers, AddMergesAndQueriesByLine) {
  HighlightMarkers m;
  m.Add(HighlightKind::kSearch, {5, 0}, {5, 3});
  m.Add(HighlightKind::kSearch, {1, 2}, {1, 4});
  m.Add(HighlightKind::kSearch, {1, 4}, {1, 6});  // touching: merged
  m.Add(HighlightKind::kSearch, {2, 0}, {2, 0});  // empty: ignored
  m.Add(HighlightKind::kSearch, {3, 5}, {3, 1});  // reversed: put in order
  EXPECT_EQ(m.Of(HighlightKind::kSearch),
            (Spans{{{1, 2}, {1, 6}}, {{3, 1}, {3, 5}}, {{5, 0}, {5, 3}}}));
  m.Add(HighlightKind::kSearch, {1, 5}, {3, 2});  // overlapping two: one span
  EXPECT_EQ(m.Of(HighlightKind::kSearch), (Spans{{{1, 2}, {3, 5}}, {{5, 0}, {5, 3}}}));
  EXPECT_TRUE(m.Of(HighlightKind::kSelection).empty());

  Spans found;
  m.Overlapping(HighlightKind::kSearch, 2, 4, found);  // a span from before reaches in
  EXPECT_EQ(found, (Spans{{{1, 2}, {3, 5}}}));
  found.clear();
  m.Overlapping(HighlightKind::kSearch, 4, 4, found);
  EXPECT_TRUE(found.empty());
  const uint64_t version = m.Version();
  m.Clear(HighlightKind::kSearch);
  EXPECT_TRUE(m.Of(HighlightKind::kSearch).empty());
  EXPECT_NE(m.Version(), version);
}

TEST(HighlightMarkers, FollowEditsOfTheBuffer) {
  TextBuffer buffer(u"one foo\ntwo foo\nthree foo");
  HighlightMarkers& m = buffer.Markers();
  for (uint32_t line = 0; line < 3; ++line) {
    const uint32_t at = static_cast<uint32_t>(buffer.Line(line).find(u"foo"));
    m.Add(HighlightKind::kSearch, {line, at}, {line, at + 3});
  }
  buffer.Insert({0, 0}, u">> ");    // same line: moves right
  buffer.Insert({1, 0}, u"new\n");  // a line above: moves down
  EXPECT_EQ(m.Of(HighlightKind::kSearch),
            (Spans{{{0, 7}, {0, 10}}, {{2, 4}, {2, 7}}, {{3, 6}, {3, 9}}}));
  buffer.Replace({2, 5}, {2, 6}, u"");  // inside a match: it shrinks
  buffer.Replace({3, 0}, {3, 9}, u"");  // the whole match deleted: it goes
  EXPECT_EQ(m.Of(HighlightKind::kSearch), (Spans{{{0, 7}, {0, 10}}, {{2, 4}, {2, 6}}}));
  buffer.Undo();
  buffer.Undo();
  // Undo restores text, not markers: the searcher places them again.
  EXPECT_EQ(buffer.Line(3), u"three foo");
  // Text typed at the start of a span pushes it right and does not join it.
  buffer.Insert({0, 7}, u"X");
  EXPECT_EQ(m.Of(HighlightKind::kSearch).front(), (HighlightSpan{{0, 8}, {0, 11}}));
}

class ChangedOnDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("tavik_stamp_" + std::to_string(getpid()) + ".txt");
    Write("original\n");
  }
  void TearDown() override { std::filesystem::remove(path_); }
  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string Read() {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::filesystem::path path_;
  EditorHost host_;
};

TEST_F(ChangedOnDiskTest, SavingOverAChangedFileAsksFirst) {
  Document* doc = host_.OpenFile(path_.string());
  ASSERT_NE(doc, nullptr);
  EXPECT_FALSE(host_.ChangedOnDisk(*doc));
  doc->buffer.Insert({0, 0}, u"mine ");
  // An unchanged file is saved without a question.
  EXPECT_EQ(host_.Save(*doc), std::nullopt);
  EXPECT_EQ(host_.dialogs().AskedCount(), 0);
  EXPECT_EQ(Read(), "mine original\n");

  Write("someone else's longer text\n");
  EXPECT_TRUE(host_.ChangedOnDisk(*doc));
  doc->buffer.Insert({0, 0}, u"again ");
  std::u16string asked;
  host_.dialogs().SetYesNoAnswerer([&](std::u16string_view q) {
    asked = q;
    return YesNoAnswer::kNo;
  });
  EXPECT_EQ(host_.Save(*doc), std::string("File changed on disk; not saved"));
  EXPECT_EQ(asked, u"The file changed on disk since it was loaded. Overwrite it?");
  EXPECT_EQ(Read(), "someone else's longer text\n");
  EXPECT_TRUE(doc->Modified());

  host_.dialogs().SetYesNoAnswerer([](std::u16string_view) { return YesNoAnswer::kYes; });
  EXPECT_EQ(host_.Save(*doc), std::nullopt);
  EXPECT_EQ(Read(), "again mine original\n");
  EXPECT_FALSE(host_.ChangedOnDisk(*doc));
  EXPECT_FALSE(doc->Modified());
}

TEST_F(ChangedOnDiskTest, ANewFileCreatedMeanwhileCountsAsChanged) {
  std::filesystem::remove(path_);
  Document* doc = host_.OpenFile(path_.string());
  ASSERT_NE(doc, nullptr);
  EXPECT_FALSE(host_.ChangedOnDisk(*doc));
  Write("created by another program\n");
  EXPECT_TRUE(host_.ChangedOnDisk(*doc));
  // Without an answerer the question is answered no.
  EXPECT_TRUE(host_.Save(*doc).has_value());
  EXPECT_EQ(Read(), "created by another program\n");
}

}  // namespace
}  // namespace tavik::platform
