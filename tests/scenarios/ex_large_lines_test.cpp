// Line commands on text too large for one put, end to end through a batch session: what a
// scenario file cannot hold. Nothing may be lost when the put is refused.
#include <gtest/gtest.h>

#include <string>

#include "app/batch_session.h"
#include "engine/actions/put_text.h"

namespace tavik {
namespace {

// Three lines, the first two together longer than one put may be.
std::string LargeText() {
  const std::string half(kMaxPutUnits / 2 + 16, 'a');
  return half + "\n" + half + "\nlast";
}

std::string RunKeys(app::BatchSession& session, std::string_view keys) {
  session.FeedNotation(keys);
  session.FinishKeys();
  return session.BufferTextUtf8();
}

TEST(ExLargeLinesTest, AMoveOrCopyTooLargeToPutChangesNothing) {
  app::BatchSession session;
  const std::string text = LargeText();
  session.OpenText("large.txt", text);
  EXPECT_EQ(RunKeys(session, ":1,2m$<CR>"), text);
  EXPECT_EQ(session.StatusUtf8(), "Resulting text too long");
  EXPECT_EQ(RunKeys(session, ":$<CR>:1,2t0<CR>"), text);
  EXPECT_EQ(session.StatusUtf8(), "Resulting text too long");
}

}  // namespace
}  // namespace tavik
