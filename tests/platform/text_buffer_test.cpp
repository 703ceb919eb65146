// Edits, notifications and the undo history of a text buffer.
#include "platform/text_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavik::platform {
namespace {

TEST(TextBufferTest, ReplaceAcrossLines) {
  TextBuffer buffer(u"one\ntwo\nthree");
  EXPECT_EQ(buffer.Replace({0, 1}, {2, 2}, u"X\nY"), (TextPos{1, 1}));
  EXPECT_EQ(buffer.Text(), u"oX\nYree");
  // Positions in either order; CR LF in the text is one break, a lone CR stays.
  EXPECT_EQ(buffer.Replace({1, 1}, {0, 1}, u"a\r\nb\rc"), (TextPos{1, 3}));
  EXPECT_EQ(buffer.Text(), u"oa\nb\rcree");
  EXPECT_EQ(buffer.Replace({0, kEndOfLineColumn}, {1, 0}, u""), (TextPos{0, 2}));
  EXPECT_EQ(buffer.Text(), u"oab\rcree");
  EXPECT_FALSE(buffer.Replace({0, 99}, {0, 99}, u"x"));
  EXPECT_FALSE(buffer.Replace({5, 0}, {5, 0}, u"x"));
  EXPECT_EQ(buffer.Text(), u"oab\rcree");
}

// Undo and redo read one side of each edit back from the buffer, so every state must come back
// exactly, over several cycles, for narrow and wide text, CR LF and compound units.
TEST(TextBufferTest, UndoAndRedoRestoreEveryStateOverRepeatedCycles) {
  TextBuffer buffer(u"alpha\nbeta\ngamma\ndelta");
  std::vector<std::u16string> states{buffer.Text()};
  buffer.Replace({1, 0}, {1, 0}, u"x\r\ny\nz");
  states.push_back(buffer.Text());
  buffer.Replace({0, 2}, {3, 1}, u"\u00e9\u4e2d");
  states.push_back(buffer.Text());
  buffer.OpenCompound();
  buffer.Replace({0, 0}, {0, 0}, u"head\n");
  buffer.Replace({1, 1}, {1, 3}, u"");
  buffer.Replace({1, kEndOfLineColumn}, {1, kEndOfLineColumn}, u"\ntail");
  buffer.CloseCompound();
  states.push_back(buffer.Text());
  buffer.Replace({0, 0}, buffer.End(), u"");
  states.push_back(buffer.Text());
  for (int cycle = 0; cycle < 3; ++cycle) {
    for (size_t i = states.size() - 1; i > 0; --i) {
      ASSERT_TRUE(buffer.Undo().done);
      EXPECT_EQ(buffer.Text(), states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(buffer.Undo().done);
    for (size_t i = 1; i < states.size(); ++i) {
      ASSERT_TRUE(buffer.Redo().done);
      EXPECT_EQ(buffer.Text(), states[i]) << "redo to state " << i;
    }
    EXPECT_FALSE(buffer.Redo().done);
  }
}

// A large narrow undo text goes back into the store as bytes: partial first and last lines,
// a CR kept at a line end, and listeners told of every line it adds.
TEST(TextBufferTest, LargeNarrowUndoTextComesBackExactly) {
  std::u16string text;
  for (int i = 0; i < 3000; ++i) {
    text += u"line " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
    text += i == 1500 ? u"\r\n" : u"\n";
  }
  text += u"tail \u00e9";
  TextBuffer buffer(text);
  const std::u16string before = buffer.Text();
  ASSERT_EQ(buffer.LineCount(), 3001u);
  int64_t line_delta = 0;
  buffer.AddListener([&](const BufferChange& change) {
    line_delta += int64_t(change.new_line_count) - int64_t(change.old_line_count);
  });
  buffer.Replace({10, 2}, {2990, 3}, u"");
  const std::u16string after = buffer.Text();
  EXPECT_EQ(buffer.LineCount(), 21u);
  for (int cycle = 0; cycle < 2; ++cycle) {
    ASSERT_TRUE(buffer.Undo().done);
    EXPECT_EQ(buffer.Text(), before);
    EXPECT_EQ(buffer.LineCount(), 3001u);
    EXPECT_EQ(line_delta, 0);
    ASSERT_TRUE(buffer.Redo().done);
    EXPECT_EQ(buffer.Text(), after);
    EXPECT_EQ(line_delta, -2980);
  }
}

TEST(TextBufferTest, ListenersHearEveryEditIncludingUndo) {
  TextBuffer buffer(u"a\nb\nc");
  std::vector<BufferChange> seen;
  const uint64_t id = buffer.AddListener([&seen](const BufferChange& c) { seen.push_back(c); });
  buffer.Replace({0, 1}, {2, 0}, u"X");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].first_line, 0u);
  EXPECT_EQ(seen[0].old_line_count, 3u);
  EXPECT_EQ(seen[0].new_line_count, 1u);
  EXPECT_EQ(seen[0].old_end, (TextPos{2, 0}));
  EXPECT_EQ(seen[0].new_end, (TextPos{0, 2}));
  buffer.Undo();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].old_line_count, 1u);
  EXPECT_EQ(seen[1].new_line_count, 3u);
  buffer.RemoveListener(id);
  buffer.Redo();
  EXPECT_EQ(seen.size(), 2u);
}

TEST(TextBufferTest, CompoundEditIsOneUnitAndUndoesInReverse) {
  TextBuffer buffer(u"abc");
  buffer.OpenCompound();
  buffer.Replace({0, 0}, {0, 1}, u"1\n2");
  buffer.OpenCompound();  // nested: still the same unit
  buffer.Replace({1, 1}, {1, 2}, u"");
  EXPECT_TRUE(buffer.CloseCompound());
  buffer.Replace({1, 1}, {1, 1}, u"!");
  EXPECT_TRUE(buffer.CloseCompound());
  EXPECT_FALSE(buffer.CloseCompound());
  EXPECT_EQ(buffer.Text(), u"1\n2!c");
  ASSERT_EQ(buffer.History().UndoCount(), 1u);
  const TextBuffer::ReplayResult undo = buffer.Undo();
  EXPECT_TRUE(undo.done);
  EXPECT_EQ(undo.where, (TextPos{0, 0}));
  EXPECT_EQ(buffer.Text(), u"abc");
  buffer.Redo();
  EXPECT_EQ(buffer.Text(), u"1\n2!c");
  EXPECT_FALSE(buffer.Redo().done);
}

TEST(TextBufferTest, MarkersAreUnitsThatUndoAsNothing) {
  TextBuffer buffer(u"x");
  const int tag = 0;
  buffer.Insert({0, 1}, u"1");
  buffer.PushMarker(&tag);
  buffer.Insert({0, 2}, u"2");
  const UndoHistory& h = buffer.History();
  ASSERT_EQ(h.UndoCount(), 3u);
  EXPECT_EQ(h.UndoAt(1).marker_tag, &tag);
  EXPECT_EQ(h.UndoAt(0).marker_tag, nullptr);
  EXPECT_LT(h.UndoAt(0).id, h.UndoAt(1).id);
  buffer.Undo();
  const TextBuffer::ReplayResult marker = buffer.Undo();
  EXPECT_TRUE(marker.done);
  EXPECT_FALSE(marker.where);
  EXPECT_EQ(buffer.Text(), u"x1");
  EXPECT_EQ(h.RedoCount(), 2u);
  EXPECT_EQ(h.RedoAt(0).marker_tag, &tag);  // the next to redo first
}

TEST(TextBufferTest, RedoThroughAUnitAndANewEditClearsRedo) {
  TextBuffer buffer(u"");
  for (char16_t c : std::u16string(u"abcd")) buffer.Insert(buffer.End(), std::u16string(1, c));
  for (int i = 0; i < 4; ++i) buffer.Undo();
  EXPECT_EQ(buffer.Text(), u"");
  const uint64_t third = buffer.History().RedoAt(2).id;
  std::optional<TextPos> where;
  EXPECT_TRUE(buffer.RedoThrough(third, &where));
  EXPECT_EQ(buffer.Text(), u"abc");
  EXPECT_EQ(where, (TextPos{0, 0}));  // where the first redone unit began
  EXPECT_FALSE(buffer.RedoThrough(third));
  buffer.Insert({0, 0}, u"new");
  EXPECT_EQ(buffer.History().RedoCount(), 0u);
}

// Redo tells where the change began in the text it leaves: later edits of the same units that
// add lines above that place carry it down with the text.
TEST(TextBufferTest, RedoGivesWhereTheChangeBeganAfterItsLaterEdits) {
  TextBuffer buffer(u"one\ntwo");
  buffer.OpenCompound();
  buffer.Insert({1, 3}, u"!");
  buffer.Insert({0, 0}, u"a\nb\n");
  buffer.CloseCompound();
  buffer.Insert({0, 0}, u"c\n");
  const TextBuffer::ReplayResult first = buffer.Undo();
  EXPECT_EQ(first.where, (TextPos{0, 0}));
  const TextBuffer::ReplayResult second = buffer.Undo();
  EXPECT_EQ(second.where, (TextPos{1, 3}));
  EXPECT_EQ(buffer.Redo().where, (TextPos{3, 3}));
  buffer.Undo();
  std::optional<TextPos> where;
  EXPECT_TRUE(buffer.RedoThrough(buffer.History().RedoAt(1).id, &where));
  EXPECT_EQ(buffer.Text(), u"c\na\nb\none\ntwo!");
  EXPECT_EQ(where, (TextPos{4, 3}));
}

TEST(TextBufferTest, TypedTextJoinsOneUnitUntilSomethingElseHappens) {
  TextBuffer buffer(u"");
  buffer.Replace({0, 0}, {0, 0}, u"a", true);
  buffer.Replace({0, 1}, {0, 1}, u"b", true);
  buffer.Replace({0, 2}, {0, 2}, u"c", true);
  EXPECT_EQ(buffer.History().UndoCount(), 1u);
  buffer.Replace({0, 0}, {0, 0}, u"x", true);  // not where typing left off
  EXPECT_EQ(buffer.History().UndoCount(), 2u);
  buffer.Undo();
  buffer.Undo();
  EXPECT_EQ(buffer.Text(), u"");
}

TEST(TextBufferTest, UndoOfALargeCompoundEditRestoresEveryLine) {
  std::u16string text;
  for (int i = 0; i < 20000; ++i) text += u"line\n";
  TextBuffer buffer(text);
  buffer.OpenCompound();
  for (uint32_t l = 0; l < 20000; l += 2) buffer.Replace({l, 0}, {l, 4}, u"\u20ac");
  buffer.Replace({100, 0}, {19000, 0}, u"");
  buffer.CloseCompound();
  EXPECT_EQ(buffer.LineCount(), 20001u - 18900u);
  buffer.Undo();
  EXPECT_EQ(buffer.Text(), text);
  buffer.Redo();
  EXPECT_EQ(buffer.Line(0), u"\u20ac");
  EXPECT_EQ(buffer.LineCount(), 20001u - 18900u);
}

// Whole lines deleted with their breaks, as ":d" and "dd" do, in the middle, at the top and at
// the end (where the break before them goes), and a line that is only emptied: the text, what
// undo brings back, what the listeners hear and a listener removing itself while it is told.
TEST(TextBufferTest, WholeLineDeletionsKeepTheirNeighboursAndUndoExactly) {
  TextBuffer buffer(u"one\n\u4e2dtwo\nthree\n\nfive\nsix");
  std::vector<BufferChange> seen;
  uint64_t once = 0;
  once = buffer.AddListener([&](const BufferChange&) { buffer.RemoveListener(once); });
  buffer.AddListener([&seen](const BufferChange& c) { seen.push_back(c); });
  std::vector<std::u16string> states{buffer.Text()};
  buffer.Replace({1, 0}, {3, 0}, u"");  // lines 2 and 3
  EXPECT_EQ(buffer.Text(), u"one\n\nfive\nsix");
  states.push_back(buffer.Text());
  buffer.Replace({0, 0}, {1, 0}, u"");  // the first line
  EXPECT_EQ(buffer.Text(), u"\nfive\nsix");
  states.push_back(buffer.Text());
  buffer.Replace({1, 4}, {2, 3}, u"");  // the last line, with the break before it
  EXPECT_EQ(buffer.Text(), u"\nfive");
  states.push_back(buffer.Text());
  buffer.Replace({0, 0}, {1, 0}, u"");  // an empty first line
  EXPECT_EQ(buffer.Text(), u"five");
  states.push_back(buffer.Text());
  buffer.Replace({0, 0}, {0, 4}, u"");  // emptied, not removed
  EXPECT_EQ(buffer.LineCount(), 1u);
  states.push_back(buffer.Text());
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].first_line, 1u);
  EXPECT_EQ(seen[0].old_line_count, 3u);
  EXPECT_EQ(seen[0].new_line_count, 1u);
  EXPECT_EQ(seen[2].start, (TextPos{1, 4}));
  EXPECT_EQ(seen[2].old_end, (TextPos{2, 3}));
  EXPECT_EQ(seen[2].new_end, (TextPos{1, 4}));
  for (size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(buffer.Undo().done);
    EXPECT_EQ(buffer.Text(), states[i - 1]) << "undo to state " << i - 1;
  }
  for (size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(buffer.Redo().done);
    EXPECT_EQ(buffer.Text(), states[i]) << "redo to state " << i;
  }
}

// Deletions one after another at the same place inside one compound edit, as a command that
// deletes line after line does: they are kept as one record, narrow and wide text mixed, and
// undo and redo still give every state back.
TEST(TextBufferTest, DeletionsInARowAtOnePlaceUndoAndRedoAsOne) {
  TextBuffer buffer(u"keep\none\n\u4e2dtwo\nthree\nfour\nlast");
  const std::u16string before = buffer.Text();
  buffer.OpenCompound();
  buffer.Replace({1, 0}, {2, 0}, u"");   // one
  buffer.Replace({1, 0}, {2, 0}, u"");   // the wide line
  buffer.Replace({1, 0}, {1, 2}, u"");   // part of three
  buffer.Replace({1, 0}, {2, 0}, u"");   // the rest of three
  buffer.Replace({2, 0}, {2, 2}, u"X");  // not a deletion: a record of its own
  buffer.Replace({1, 0}, {2, 0}, u"");   // four, after it
  buffer.CloseCompound();
  const std::u16string after = buffer.Text();
  EXPECT_EQ(after, u"keep\nXst");
  ASSERT_EQ(buffer.History().UndoCount(), 1u);
  EXPECT_EQ(buffer.History().UndoAt(0).edits.size(), 3u);
  for (int cycle = 0; cycle < 2; ++cycle) {
    ASSERT_TRUE(buffer.Undo().done);
    EXPECT_EQ(buffer.Text(), before);
    ASSERT_TRUE(buffer.Redo().done);
    EXPECT_EQ(buffer.Text(), after);
  }
}

TEST(TextBufferTest, GetTextTakesPartsOfLinesAndWholeLines) {
  TextBuffer buffer(u"abc\n\u4e2d\u6587\nxyz");
  EXPECT_EQ(buffer.GetText({0, 1}, {2, 1}), u"bc\n\u4e2d\u6587\nx");
  EXPECT_EQ(buffer.GetText({0, 3}, {2, 0}), u"\n\u4e2d\u6587\n");
  EXPECT_EQ(buffer.GetText({1, 1}, {1, 2}), u"\u6587");
  EXPECT_EQ(buffer.GetText({0, 0}, {1, 0}), u"abc\n");
  EXPECT_EQ(buffer.GetText({2, 3}, {2, 3}), u"");
}

}  // namespace
}  // namespace tavik::platform
