// Replacing runs of whole lines: fewer, as many and more lines, both the in-place and the
// rebuilt-block way, CRs kept as they are, one change notice, and exact undo and redo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_buffer.h"

namespace tavik::platform {
namespace {

std::vector<std::u16string_view> Views(const std::vector<std::u16string>& lines) {
  return {lines.begin(), lines.end()};
}

std::u16string Numbered(std::u16string_view prefix, int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += u'\n';
    text += prefix;
    for (char c : std::to_string(i)) text += static_cast<char16_t>(c);
  }
  return text;
}

TEST(TextBufferLinesTest, FewerAsManyAndMoreLines) {
  TextBuffer buffer(u"a\nb\nc\nd");
  std::vector<std::u16string> two{u"X", u"Y"};
  ASSERT_TRUE(buffer.ReplaceLines(1, 2, Views(two)));
  EXPECT_EQ(buffer.Text(), u"a\nX\nY\nd");
  std::vector<std::u16string> one{u"Z"};
  ASSERT_TRUE(buffer.ReplaceLines(0, 3, Views(one)));
  EXPECT_EQ(buffer.Text(), u"Z\nd");
  std::vector<std::u16string> three{u"1", u"", u"3"};
  ASSERT_TRUE(buffer.ReplaceLines(1, 1, Views(three)));
  EXPECT_EQ(buffer.Text(), u"Z\n1\n\n3");
  // Every line at once.
  ASSERT_TRUE(buffer.ReplaceLines(0, 4, Views(one)));
  EXPECT_EQ(buffer.Text(), u"Z");
}

TEST(TextBufferLinesTest, RejectsLinesThatDoNotExist) {
  TextBuffer buffer(u"a\nb");
  std::vector<std::u16string> one{u"x"};
  EXPECT_FALSE(buffer.ReplaceLines(2, 1, Views(one)));
  EXPECT_FALSE(buffer.ReplaceLines(1, 2, Views(one)));
  EXPECT_FALSE(buffer.ReplaceLines(0, 0, Views(one)));
  EXPECT_FALSE(buffer.ReplaceLines(0, 1, {}));
  EXPECT_EQ(buffer.Text(), u"a\nb");
  EXPECT_EQ(buffer.History().UndoCount(), 0u);
}

// A CR at the end of a line is text and must stay, also through undo and redo.
TEST(TextBufferLinesTest, CarriageReturnsStayAsGiven) {
  TextBuffer buffer(u"a\nb");
  std::vector<std::u16string> lines{u"x\r", u"\ry\r", u"z"};
  ASSERT_TRUE(buffer.ReplaceLines(0, 1, Views(lines)));
  EXPECT_EQ(buffer.Text(), u"x\r\n\ry\r\nz\nb");
  EXPECT_EQ(buffer.LineCount(), 4u);
  ASSERT_TRUE(buffer.Undo().done);
  EXPECT_EQ(buffer.Text(), u"a\nb");
  ASSERT_TRUE(buffer.Redo().done);
  EXPECT_EQ(buffer.Text(), u"x\r\n\ry\r\nz\nb");
}

// Undo and redo read text back from the buffer with "\n" between lines: a line's own CR before
// that break is not a CR LF pair and stays in its line.
TEST(TextBufferLinesTest, UndoOfAnyEditKeepsACarriageReturnAtALineEnd) {
  TextBuffer buffer(u"a\nb\nc");
  buffer.Replace({0, 1}, {0, 1}, u"\r");
  EXPECT_EQ(buffer.Line(0), u"a\r");
  buffer.Replace({0, 0}, {2, 0}, u"Z");
  EXPECT_EQ(buffer.Text(), u"Zc");
  ASSERT_TRUE(buffer.Undo().done);
  EXPECT_EQ(buffer.Text(), u"a\r\nb\nc");
  EXPECT_EQ(buffer.LineCount(), 3u);
  ASSERT_TRUE(buffer.Redo().done);
  ASSERT_TRUE(buffer.Undo().done);
  EXPECT_EQ(buffer.Line(0), u"a\r");
}

TEST(TextBufferLinesTest, OneNoticeSpanningTheReplacedLines) {
  TextBuffer buffer(u"a\nbb\nccc\nd");
  std::vector<BufferChange> seen;
  buffer.AddListener([&seen](const BufferChange& c) { seen.push_back(c); });
  std::vector<std::u16string> lines{u"1", u"22", u"333", u"4444"};
  ASSERT_TRUE(buffer.ReplaceLines(1, 2, Views(lines)));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].first_line, 1u);
  EXPECT_EQ(seen[0].old_line_count, 2u);
  EXPECT_EQ(seen[0].new_line_count, 4u);
  EXPECT_EQ(seen[0].start, (TextPos{1, 0}));
  EXPECT_EQ(seen[0].old_end, (TextPos{2, 3}));
  EXPECT_EQ(seen[0].new_end, (TextPos{4, 4}));
}

// Large runs go the rebuilt-block way, across block boundaries and with wide text; every state
// comes back exactly over repeated undo and redo.
TEST(TextBufferLinesTest, LargeRunsUndoAndRedoExactly) {
  TextBuffer buffer(Numbered(u"line ", 3000));
  std::vector<std::u16string> states{buffer.Text()};
  std::vector<std::u16string> wide;
  for (int i = 0; i < 1500; ++i) wide.push_back(i % 7 == 0 ? u"\u4e2d" : Numbered(u"w", 1));
  ASSERT_TRUE(buffer.ReplaceLines(100, 1000, Views(wide)));
  states.push_back(buffer.Text());
  EXPECT_EQ(buffer.LineCount(), 3500u);
  EXPECT_EQ(buffer.Line(99), u"line 99");
  EXPECT_EQ(buffer.Line(100), u"\u4e2d");
  EXPECT_EQ(buffer.Line(1600), u"line 1100");
  std::vector<std::u16string> shorter(200, u"s");
  ASSERT_TRUE(buffer.ReplaceLines(0, 3500, Views(shorter)));
  states.push_back(buffer.Text());
  EXPECT_EQ(buffer.LineCount(), 200u);
  // A small run among them, set in place.
  std::vector<std::u16string> few{u"p", u"q"};
  ASSERT_TRUE(buffer.ReplaceLines(199, 1, Views(few)));
  states.push_back(buffer.Text());
  for (int cycle = 0; cycle < 2; ++cycle) {
    for (size_t i = states.size() - 1; i > 0; --i) {
      ASSERT_TRUE(buffer.Undo().done);
      EXPECT_EQ(buffer.Text(), states[i - 1]) << "undo to state " << i - 1;
    }
    for (size_t i = 1; i < states.size(); ++i) {
      ASSERT_TRUE(buffer.Redo().done);
      EXPECT_EQ(buffer.Text(), states[i]) << "redo to state " << i;
    }
  }
}

// Lines given one byte per unit leave the same text, notices and undo as the same lines given
// as UTF-16, in place and as whole blocks; units from 128 to 255 included.
TEST(TextBufferLinesTest, OneBytePerUnitLinesActAsTheirUtf16Form) {
  for (const int count : {3, 500}) {
    std::vector<std::u16string> wide;
    std::vector<std::string> narrow;
    for (int i = 0; i < count; ++i) {
      narrow.push_back(i % 3 == 0 ? std::string("\xe9t\xff") + std::to_string(i) : "n");
      wide.emplace_back(narrow.back().begin(), narrow.back().end());
      for (char16_t& c : wide.back()) c &= 0xff;
    }
    const std::vector<std::string_view> narrow_views(narrow.begin(), narrow.end());
    TextBuffer by_units(Numbered(u"line ", 1000));
    TextBuffer by_bytes(Numbered(u"line ", 1000));
    std::vector<BufferChange> units_seen;
    std::vector<BufferChange> bytes_seen;
    by_units.AddListener([&](const BufferChange& c) { units_seen.push_back(c); });
    by_bytes.AddListener([&](const BufferChange& c) { bytes_seen.push_back(c); });
    ASSERT_TRUE(by_units.ReplaceLines(10, 300, Views(wide)));
    ASSERT_TRUE(by_bytes.ReplaceNarrowLines(10, 300, narrow_views));
    EXPECT_EQ(by_bytes.Text(), by_units.Text());
    EXPECT_EQ(by_bytes.Line(10), u"\u00e9t\u00ff0");
    ASSERT_EQ(bytes_seen.size(), 1u);
    EXPECT_EQ(bytes_seen[0].new_end, units_seen[0].new_end);
    ASSERT_TRUE(by_bytes.Undo().done);
    EXPECT_EQ(by_bytes.Text(), Numbered(u"line ", 1000));
    ASSERT_TRUE(by_bytes.Redo().done);
    EXPECT_EQ(by_bytes.Text(), by_units.Text());
  }
}

TEST(TextBufferLinesTest, InsideACompoundEditItIsPartOfOneUnit) {
  TextBuffer buffer(u"a\nb\nc");
  buffer.OpenCompound();
  std::vector<std::u16string> one{u"x"};
  buffer.ReplaceLines(0, 1, Views(one));
  buffer.ReplaceLines(2, 1, Views(one));
  buffer.CloseCompound();
  EXPECT_EQ(buffer.Text(), u"x\nb\nx");
  EXPECT_EQ(buffer.History().UndoCount(), 1u);
  ASSERT_TRUE(buffer.Undo().done);
  EXPECT_EQ(buffer.Text(), u"a\nb\nc");
}

}  // namespace
}  // namespace tavik::platform
