// Search highlights around keys that the host types: a match completed by typing in insert mode
// is shown at once, not one key later.
#include <gtest/gtest.h>

#include "app/batch_session.h"
#include "common/key_code.h"
#include "platform/view.h"

namespace tavik {
namespace {

using platform::HighlightKind;
using platform::HighlightSpan;

TEST(PackageHighlightTest, AMatchTypedInInsertModeIsHighlightedAtOnce) {
  app::BatchSession session;
  session.OpenText("t.txt", "ab\nxy\n");
  session.FocusFirstDocument();
  session.FeedNotation(":set hls<CR>/ab<CR>jA");
  const auto& markers = session.Editor().FocusedView()->Buffer().Markers();
  ASSERT_EQ(markers.Of(HighlightKind::kSearch), (std::vector<HighlightSpan>{{{0, 0}, {0, 2}}}));
  session.FeedKey(KeyCode::Char(u'a'));
  session.FeedKey(KeyCode::Char(u'b'));
  EXPECT_EQ(session.BufferTextUtf8(), "ab\nxyab\n");
  EXPECT_EQ(markers.Of(HighlightKind::kSearch),
            (std::vector<HighlightSpan>{{{0, 0}, {0, 2}}, {{1, 2}, {1, 4}}}));
  // Deleting typed text takes its match away as well.
  session.FeedNotation("<BS>");
  EXPECT_EQ(markers.Of(HighlightKind::kSearch), (std::vector<HighlightSpan>{{{0, 0}, {0, 2}}}));
}

}  // namespace
}  // namespace tavik
