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

void ExpectMatchesModel(const MarkedLines& marks, const std::vector<int>& marked_ids,
                        const Model& m, int step) {
  for (size_t i = 0; i < marked_ids.size(); ++i) {
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

TEST(MarkedLines, FollowRandomEditsLikeThePlainModel) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
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
    for (int step = 0; step < 300 && m.ids.size() > 4; ++step) {
      marks.OnChange(RandomEdit(m, rng));
      if (step % 25 == 0) ExpectMatchesModel(marks, marked_ids, m, step);
    }
    ExpectMatchesModel(marks, marked_ids, m, -1);
    if (testing::Test::HasFailure()) {
      ADD_FAILURE() << "seed " << seed;
      return;
    }
  }
}

TEST(MarkedLines, RunsOfDeletionsAtOnePlaceDropEachMarkOnce) {
  // Deleting the first line again and again, as ":g/^/d" does: every mark reaches line 0 and is
  // then dropped; the ones not yet deleted stay in order.
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
}

}  // namespace
}  // namespace tavik
