// The ex command tables are searched in order (ranged, host-backed, range-less), so a row is
// dead when every name that selects it selects an earlier row first.
#include "ex/ex_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace tavik {
namespace {

struct Row {
  std::u16string_view prefix;
  std::u16string_view rest;
};

std::vector<Row> AllRowsInSearchOrder() {
  std::vector<Row> rows;
  for (const RangedRow& row : RangedCommands()) rows.push_back({row.prefix, row.rest});
  for (const HostBackedRow& row : HostBackedCommands()) rows.push_back({row.prefix, row.rest});
  for (const RangelessRow& row : RangelessCommands()) rows.push_back({row.prefix, row.rest});
  return rows;
}

TEST(ExTablesTest, EveryRowIsReachedBySomeName) {
  const std::vector<Row> rows = AllRowsInSearchOrder();
  for (size_t i = 0; i < rows.size(); ++i) {
    bool reached = false;
    // The names that select row i: its prefix followed by each leading part of its rest.
    for (size_t length = 0; length <= rows[i].rest.size() && !reached; ++length) {
      const std::u16string name =
          std::u16string(rows[i].prefix) + std::u16string(rows[i].rest.substr(0, length));
      ASSERT_TRUE(NameMatches(name, rows[i].prefix, rows[i].rest));
      reached = true;
      for (size_t earlier = 0; earlier < i; ++earlier) {
        if (NameMatches(name, rows[earlier].prefix, rows[earlier].rest)) reached = false;
      }
    }
    EXPECT_TRUE(reached) << "no name reaches the row \""
                         << std::string(rows[i].prefix.begin(), rows[i].prefix.end()) << "\"";
  }
}

}  // namespace
}  // namespace tavik
