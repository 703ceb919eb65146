// Marked lines of a global command against a plain model: a buffer of line identities edited
// at random, where every mark must end on the line that still holds its identity or be dropped.
#include "ex/marked_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace tavik {
namespace {

struct Model {
  std::vector<int> ids;  // identity of each line, in buffer order
  int next_id = 0;

  explicit Model(int lines) {
    for (int i = 0; i < lines; ++i) ids.push_back(next_id++);
  }
  uint32_t Last() const { return static_cast<uint32_t>(ids.size() - 1); }
  void Erase(uint32_t first, uint32_t count) {
    ids.erase(ids.begin() + first, ids.begin() + first + count);
  }
  void InsertNew(uint32_t at, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) ids.insert(ids.begin() + at + i, next_id++);
  }
};

TextChange Change(TextPos start, TextPos old_end, TextPos new_end) {
  TextChange c;
  c.first_line = start.line;
  c.old_line_count = old_end.line - start.line + 1;
  c.new_line_count = new_end.line - start.line + 1;
  c.start = start;
  c.old_end = old_end;
  c.new_end = new_end;
  return c;
}

// One random edit of the kinds the line commands make, applied to the model; returns the change
// the buffer would report.
TextChange RandomEdit(Model& m, std::mt19937& rng) {
  auto pick = [&](uint32_t hi) { return std::uniform_int_distribution<uint32_t>(0, hi)(rng); };
  const uint32_t last = m.Last();
  const uint32_t s = pick(last);
  switch (pick(6)) {
    case 0: {  // whole lines s..e deleted, not reaching the end
      if (s == last) break;
      uint32_t e = s + pick(std::min<uint32_t>(3, last - s - 1));
      m.Erase(s, e - s + 1);
      return Change({s, 0}, {e + 1, 0}, {s, 0});
    }
    case 1: {  // lines s..last deleted with the break before them
      if (s == 0) break;
      m.Erase(s, last - s + 1);
      return Change({s - 1, 5}, {last, 3}, {s - 1, 5});
    }
    case 2: {  // k lines inserted above line s
      uint32_t k = 1 + pick(2);
      m.InsertNew(s, k);
      return Change({s, 0}, {s, 0}, {s + k, 0});
    }
    case 3: {  // k lines inserted below line s, at its end
      uint32_t k = 1 + pick(2);
      m.InsertNew(s + 1, k);
      return Change({s, 4}, {s, 4}, {s + k, 2});
    }
    case 4: {  // line s joined with the next
      if (s == last) break;
      m.Erase(s + 1, 1);
      return Change({s, 3}, {s + 1, 1}, {s, 4});
    }
    case 5: {  // whole lines s..e replaced by k new lines
      if (s == last) break;
      uint32_t e = s + pick(std::min<uint32_t>(2, last - s - 1));
      uint32_t k = pick(2);
      m.Erase(s, e - s + 1);
      m.InsertNew(s, k);
      return Change({s, 0}, {e + 1, 0}, {s + k, 0});
    }
    default:
      break;
  }
  return Change({s, 2}, {s, 3}, {s, 1});  // an edit inside one line
}

// The marks not taken yet, as the model has them: the line of each identity, or nothing.
void ExpectMatchesModel(const MarkedLines& marks, const std::vector<int>& marked_ids, size_t taken,
                        const Model& m, int step) {
  for (size_t i = taken; i < marked_ids.size(); ++i) {
    auto at = std::find(m.ids.begin(), m.ids.end(), marked_ids[i]);
    std::optional<uint32_t> line = marks.Line(i);
    if (at == m.ids.end()) {
      EXPECT_FALSE(line.has_value()) << "mark " << i << " should be dropped after step " << step;
    } else {
      ASSERT_TRUE(line.has_value()) << "mark " << i << " dropped wrongly after step " << step;
      EXPECT_EQ(static_cast<uint32_t>(at - m.ids.begin()), *line)
          << "mark " << i << " after step " << step;
    }
  }
}

// Takes marks as the global command does, between edits at random places, and checks every
// taken line and the marks still to come against the model.
TEST(MarkedLines, FollowRandomEditsLikeThePlainModel) {
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    Model m(200);
    MarkedLines marks;
    std::vector<int> marked_ids;
    for (uint32_t line = 0; line < 200; ++line) {
      if (rng() % 3 == 0) {
        marks.Add(line);
        marked_ids.push_back(m.ids[line]);
      }
    }
    marks.Finish();
    size_t taken = 0;  // marks before this index are taken or known to be dropped
    for (int step = 0; step < 300 && m.ids.size() > 4; ++step) {
      if (rng() % 2 == 0) {
        // The model's next mark: the first identity from `taken` on that is still there.
        size_t expected = taken;
        while (expected < marked_ids.size() &&
               std::find(m.ids.begin(), m.ids.end(), marked_ids[expected]) == m.ids.end()) {
          ++expected;
        }
        std::optional<uint32_t> next = marks.Next();
        if (expected == marked_ids.size()) {
          EXPECT_FALSE(next.has_value()) << "step " << step;
        } else {
          auto at = std::find(m.ids.begin(), m.ids.end(), marked_ids[expected]);
          ASSERT_TRUE(next.has_value()) << "step " << step;
          EXPECT_EQ(static_cast<uint32_t>(at - m.ids.begin()), *next) << "step " << step;
        }
        taken = std::min(expected + 1, marked_ids.size());
      }
      marks.OnChange(RandomEdit(m, rng));
      if (step % 20 == 0) ExpectMatchesModel(marks, marked_ids, taken, m, step);
    }
    ExpectMatchesModel(marks, marked_ids, taken, m, -1);
    if (testing::Test::HasFailure()) {
      ADD_FAILURE() << "seed " << seed;
      return;
    }
  }
}

TEST(MarkedLines, RunsOfDeletionsAtOnePlaceDropEachMarkOnce) {
  // Deleting the first line again and again before any mark is taken: every mark reaches line 0
  // and is then dropped; the ones not yet deleted stay in order and come next.
  MarkedLines marks;
  for (uint32_t line = 0; line < 1000; ++line) marks.Add(line);
  marks.Finish();
  for (uint32_t n = 0; n < 600; ++n) {
    ASSERT_EQ(std::optional<uint32_t>(0), marks.Line(n));
    marks.OnChange(Change({0, 0}, {1, 0}, {0, 0}));
  }
  EXPECT_FALSE(marks.Line(599).has_value());
  EXPECT_EQ(std::optional<uint32_t>(0), marks.Line(600));
  EXPECT_EQ(std::optional<uint32_t>(399), marks.Line(999));
  EXPECT_EQ(std::optional<uint32_t>(0), marks.Next());
  EXPECT_EQ(std::optional<uint32_t>(1), marks.Next());
}

TEST(MarkedLines, EachTakenLineDeletedLeavesTheRestOnTheirText) {
  // ":g/x/d" on marks at every other line: each taken line is deleted before the next is taken.
  MarkedLines marks;
  for (uint32_t line = 0; line < 100; line += 2) marks.Add(line);
  marks.Finish();
  for (uint32_t n = 0; n < 50; ++n) {
    ASSERT_EQ(std::optional<uint32_t>(n), marks.Next());
    marks.OnChange(Change({n, 0}, {n + 1, 0}, {n, 0}));
  }
  EXPECT_FALSE(marks.Next().has_value());
}

TEST(MarkedLines, MarksBehindTheTakenOnesDoNotDisturbLaterEdits) {
  // After lines far above the next mark were deleted (which only moves an offset), an edit
  // after the next mark must still find the right marks to drop.
  MarkedLines marks;
  for (uint32_t line : {10u, 20u, 30u, 40u}) marks.Add(line);
  marks.Finish();
  EXPECT_EQ(std::optional<uint32_t>(10), marks.Next());
  marks.OnChange(Change({0, 0}, {15, 0}, {0, 0}));  // lines 0-14 go: marks at 5, 15, 25
  EXPECT_EQ(std::optional<uint32_t>(5), marks.Line(1));
  marks.OnChange(Change({4, 3}, {16, 2}, {4, 5}));  // lines 5-16 merged into line 4
  EXPECT_FALSE(marks.Line(1).has_value());
  EXPECT_FALSE(marks.Line(2).has_value());
  EXPECT_EQ(std::optional<uint32_t>(13), marks.Line(3));
  EXPECT_EQ(std::optional<uint32_t>(13), marks.Next());
  EXPECT_FALSE(marks.Next().has_value());
}

TEST(MarkedLines, AMergeRightAfterLargeDeletionsAboveKeepsTheNextMark) {
  // The taken mark's stored line ends up above the next mark's after the deletions above, and
  // the merge that drops the next mark lands the one after it on the merge's first line.
  MarkedLines marks;
  for (uint32_t line : {10u, 40u, 42u}) marks.Add(line);
  marks.Finish();
  EXPECT_EQ(std::optional<uint32_t>(10), marks.Next());
  marks.OnChange(Change({0, 0}, {10, 0}, {0, 0}));  // marks at 30 and 32
  marks.OnChange(Change({1, 0}, {26, 0}, {1, 0}));  // marks at 5 and 7
  marks.OnChange(Change({3, 1}, {6, 1}, {3, 2}));   // lines 4-6 merged into line 3
  EXPECT_FALSE(marks.Line(1).has_value());
  EXPECT_EQ(std::optional<uint32_t>(4), marks.Line(2));
  EXPECT_EQ(std::optional<uint32_t>(4), marks.Next());
  EXPECT_FALSE(marks.Next().has_value());
}

TEST(MarkedLines, LinesAppendedAtTheEndMoveNothing) {
  MarkedLines marks;
  marks.Add(2);
  marks.Add(5);
  marks.Finish();
  marks.OnChange(Change({9, 7}, {9, 7}, {10, 7}));  // a copy put below the last line
  marks.OnChange(Change({0, 0}, {0, 0}, {1, 0}));   // a line moved above the first
  EXPECT_EQ(std::optional<uint32_t>(3), marks.Line(0));
  EXPECT_EQ(std::optional<uint32_t>(6), marks.Line(1));
}

TEST(MarkedLines, AnEmptyListIgnoresEdits) {
  MarkedLines marks;
  marks.Finish();
  marks.OnChange(Change({0, 0}, {3, 0}, {0, 0}));
  EXPECT_EQ(0u, marks.Count());
  EXPECT_FALSE(marks.Line(0).has_value());
  EXPECT_FALSE(marks.Next().has_value());
}

}  // namespace
}  // namespace tavik
