// Highlight markers on a buffer (merging, queries by line, following edits) and the question
// before saving over a file that changed on disk.
#include "platform/markers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
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

// The changes since a version as (first, old count, new count); nothing when not known.
using Changes = std::vector<std::array<uint32_t, 3>>;
std::optional<Changes> Since(const HighlightMarkers& m, uint64_t version) {
  const auto changes = m.ChangesSince(version);
  if (!changes) return std::nullopt;
  Changes out;
  for (const auto& c : *changes) out.push_back({c.first, c.old_count, c.new_count});
  return out;
}

TEST(HighlightMarkers, SetChangesOnlyWhatDiffersAndTellsWhichLines) {
  HighlightMarkers m;
  auto on = [](uint32_t line) { return HighlightSpan{{line, 2}, {line, 5}}; };
  const Spans lines_10_to_30 = [&] {
    Spans spans;
    for (uint32_t line = 10; line <= 30; ++line) spans.push_back(on(line));
    return spans;
  }();
  m.Set(HighlightKind::kSearch, lines_10_to_30);
  EXPECT_EQ(m.Of(HighlightKind::kSearch), lines_10_to_30);
  const uint64_t placed = m.Version();
  m.Set(HighlightKind::kSearch, lines_10_to_30);
  EXPECT_EQ(m.Version(), placed);  // the same spans: no change at all

  // The window of matches slides down by two lines: lines 10, 11 go, 31, 32 come.
  Spans slid(lines_10_to_30.begin() + 2, lines_10_to_30.end());
  slid.push_back(on(31));
  slid.push_back(on(32));
  m.Set(HighlightKind::kSearch, slid);
  EXPECT_EQ(m.Of(HighlightKind::kSearch), slid);
  EXPECT_EQ(Since(m, placed), (Changes{{10, 2, 2}, {31, 2, 2}}));
  // Two spans in the middle replaced by one across their lines.
  const uint64_t before_middle = m.Version();
  slid[5] = HighlightSpan{{17, 0}, {18, 1}};
  slid.erase(slid.begin() + 6);
  m.Set(HighlightKind::kSearch, slid);
  EXPECT_EQ(m.Of(HighlightKind::kSearch), slid);
  EXPECT_EQ(Since(m, before_middle), (Changes{{17, 2, 2}}));
  EXPECT_EQ(Since(m, placed), (Changes{{10, 2, 2}, {31, 2, 2}, {17, 2, 2}}));

  // Spans out of order or overlapping are merged as added one by one.
  m.Set(HighlightKind::kSearch, Spans{on(4), {{1, 0}, {1, 3}}, {{1, 2}, {1, 8}}});
  EXPECT_EQ(m.Of(HighlightKind::kSearch), (Spans{{{1, 0}, {1, 8}}, on(4)}));
  // Clearing changes the lines the spans were on; after many changes, what changed is no
  // longer known.
  const uint64_t before_clear = m.Version();
  m.Clear(HighlightKind::kSearch);
  EXPECT_EQ(Since(m, before_clear), (Changes{{1, 4, 4}}));
  const uint64_t before_many = m.Version();
  for (uint32_t i = 0; i < 40; ++i)
    m.Add(HighlightKind::kSelection, on(100 + i).start, on(100 + i).end);
  EXPECT_EQ(Since(m, before_many), std::nullopt);
  EXPECT_EQ(Since(m, m.Version()), Changes{});
}

TEST(HighlightMarkers, EditsOfTheTextAreChangesOfTheirLines) {
  TextBuffer buffer(u"a foo\nb foo\nc foo\nd");
  const HighlightMarkers& m = buffer.Markers();
  const uint64_t before = m.Version();
  buffer.Insert({3, 0}, u"x");          // within a line
  buffer.Insert({1, 0}, u"new\n");      // a whole line put in: line 1 moves down unchanged
  buffer.Replace({2, 0}, {3, 0}, u"");  // and taken out again
  buffer.Replace({0, 3}, {1, 1}, u"");  // a line break: both lines become one
  EXPECT_EQ(Since(m, before), (Changes{{3, 1, 1}, {1, 0, 1}, {2, 1, 0}, {0, 2, 1}}));
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
