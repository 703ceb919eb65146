// Search highlights around keys that the host types: a match completed by typing in insert mode
// is shown at once, not one key later; every line scrolled into view has its matches, whether the
// view moves a line at a time or jumps.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "app/batch_session.h"
#include "common/key_code.h"
#include "platform/view.h"

namespace tavik {
namespace {

using platform::HighlightKind;
using platform::HighlightSpan;

// The text in a view ten lines high, after the keys.
platform::View& OpenInTenLines(app::BatchSession& session, const std::string& text,
                               const char* keys) {
  session.OpenText("t.txt", text);
  session.FocusFirstDocument();
  platform::View& view = *session.Editor().FocusedView();
  view.SetVisibleLineCount(10);
  session.FeedNotation(keys);
  return view;
}

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

TEST(PackageHighlightTest, EveryVisibleLineHasItsMatchesWhileScrolling) {
  app::BatchSession session;
  std::string text;
  for (int i = 0; i < 400; ++i) text += "line " + std::to_string(i) + " foo\n";
  platform::View& view = OpenInTenLines(session, text, ":set hls<CR>/foo<CR>gg");
  const auto& markers = view.Buffer().Markers();
  auto check_visible = [&](const std::string& step) {
    const uint32_t first = view.FirstVisibleLine();
    std::vector<HighlightSpan> found;
    markers.Overlapping(HighlightKind::kSearch, first, first + 9, found);
    std::vector<uint32_t> lines;
    for (const HighlightSpan& span : found) lines.push_back(span.start.line);
    std::vector<uint32_t> expected;
    for (uint32_t line = first; line < std::min(first + 10, 400u); ++line) expected.push_back(line);
    ASSERT_EQ(lines, expected) << step << ", first visible line " << first;
  };
  // Down and back up a line at a time, past the lines handed over around the first view.
  for (int i = 0; i < 150; ++i) {
    session.FeedNotation("j");
    check_visible("j " + std::to_string(i));
  }
  for (int i = 0; i < 150; ++i) {
    session.FeedNotation("k");
    check_visible("k " + std::to_string(i));
  }
  session.FeedNotation("G");
  check_visible("G");
  session.FeedNotation("200G");
  check_visible("200G");
  // An edit above the view moves the lines: the matches follow the text.
  session.FeedNotation("ggdd200G");
  check_visible("dd then 200G");
}

// The matches of "ab" in the text, as the highlights should show them (the host joins matches
// that touch).
std::vector<HighlightSpan> MatchesOfAb(const std::string& text) {
  std::vector<HighlightSpan> spans;
  uint32_t line = 0, column = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 0;
      continue;
    }
    if (text.compare(i, 2, "ab") == 0) {
      if (!spans.empty() && spans.back().end == TextPos{line, column}) {
        spans.back().end.column += 2;
      } else {
        spans.push_back({{line, column}, {line, column + 2}});
      }
    }
    ++column;
  }
  return spans;
}

TEST(PackageHighlightTest, EditsInsideLinesKeepEveryMatchRight) {
  app::BatchSession session;
  session.OpenText("t.txt", "ab ab\nxaby\naab b\nzzz\nab\n");
  session.FocusFirstDocument();
  session.FeedNotation(":set hls<CR>/ab<CR>gg");
  const auto& markers = session.Editor().FocusedView()->Buffer().Markers();
  // Deleting, replacing, typing and undoing inside lines, with some edits that add or remove
  // lines in between; after each, the matches are those of the text as it is.
  for (const char* keys : {"x", "lx", "jrb", "jIa<Esc>", "0xx", "u", "u", "kA ab<Esc>", "ggdd", "p",
                           "3G~", "4Gcwab<Esc>", "u", "<C-R>", "5GAab<Esc>", "ggJ", "u", "jxxx"}) {
    session.FeedNotation(keys);
    ASSERT_EQ(markers.Of(HighlightKind::kSearch), MatchesOfAb(session.BufferTextUtf8()))
        << "after " << keys << ":\n"
        << session.BufferTextUtf8();
  }
}

TEST(PackageHighlightTest, EditsThatAddOrRemoveLinesMoveTheOtherMatches) {
  app::BatchSession session;
  const char* const kinds[] = {"ab ab", "xaby", "none", "aab b", "b ab"};
  std::string text;
  for (int i = 0; i < 300; ++i) text += std::string(kinds[i % 5]) + " " + std::to_string(i) + "\n";
  platform::View& view = OpenInTenLines(session, text, ":set hls<CR>/ab<CR>150Gzz");
  const auto& markers = view.Buffer().Markers();
  // After each edit the visible lines show the matches of the text as it is, and no line
  // shows a match that is not there.
  const char* const edits[] = {":-2,+3normal yyp<CR>",
                               "3u",
                               "ddjjyypjjJ",
                               "3u",
                               "3<C-R>",
                               "oab<Esc>",
                               "Oxx ab<Esc>",
                               "dd",
                               "3dd",
                               "u",
                               "<C-R>",
                               "yyp",
                               "kP",
                               "J",
                               "3J",
                               "u",
                               "dj",
                               "ddp",
                               ":.,+2d<CR>",
                               "u",
                               ":m+3<CR>",
                               ":t.<CR>",
                               "cjab<Esc>",
                               "5x",
                               "0i<CR><Esc>",
                               "A<CR>ab<CR><Esc>",
                               "uu",
                               "10dd",
                               "5u",
                               "jjjdd",
                               ":1,20d<CR>",
                               "u",
                               "40j",
                               "dk",
                               "/ab<CR>",
                               "10dd",
                               "45<C-E>"};
  for (const char* keys : edits) {
    session.FeedNotation(keys);
    const std::string now = session.BufferTextUtf8();
    const std::vector<HighlightSpan> all = MatchesOfAb(now);
    const uint32_t first = view.FirstVisibleLine();
    const uint32_t last = first + view.VisibleLineCount() - 1;
    std::vector<HighlightSpan> shown;
    markers.Overlapping(HighlightKind::kSearch, first, last, shown);
    std::vector<HighlightSpan> expected;
    std::copy_if(all.begin(), all.end(), std::back_inserter(expected), [&](const HighlightSpan& s) {
      return s.start.line >= first && s.start.line <= last;
    });
    ASSERT_EQ(shown, expected) << "after " << keys << ", lines " << first << " to " << last;
    for (const HighlightSpan& span : markers.Of(HighlightKind::kSearch)) {
      ASSERT_TRUE(std::find(all.begin(), all.end(), span) != all.end())
          << "after " << keys << ": a match shown at line " << span.start.line << " column "
          << span.start.column;
    }
  }
}

}  // namespace
}  // namespace tavik
