// A block rewrites its bytes once deleted text outweighs the live text; every line must still
// read back as it was written, before and after that happens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/line_store.h"

namespace tavik::platform {
namespace {

std::u16string Read(const LineStore& store, uint32_t line) {
  std::u16string out;
  store.ReadLine(line, out);
  return out;
}

TEST(LineStoreCompactionTest, LinesSurviveTheRewriteOfTheirBlock) {
  LineStore store;
  std::vector<std::u16string> lines = {u"first", std::u16string(20000, u'x'), u"third",
                                       u"wide \u00e9\u4e2d", u"last"};
  std::vector<std::u16string_view> views(lines.begin(), lines.end());
  store.InsertLines(1, views);
  store.EraseLines(0, 1);  // the store starts with one empty line
  // Shrinking the long line leaves 40,000 bytes of garbage against a few dozen live ones.
  store.SetLine(1, u"short");
  lines[1] = u"short";
  for (uint32_t i = 0; i < lines.size(); ++i) EXPECT_EQ(Read(store, i), lines[i]) << i;
  // Later edits of the rewritten block keep working.
  store.SetLine(3, u"changed");
  lines[3] = u"changed";
  for (uint32_t i = 0; i < lines.size(); ++i) EXPECT_EQ(Read(store, i), lines[i]) << i;
}

}  // namespace
}  // namespace tavik::platform
