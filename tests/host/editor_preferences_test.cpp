// The engine and the host's per-language preferences: indenting by the language's settings and
// following their changes, the option list writing and following visible whitespace, and the
// display-row motions over wrapped lines.
#include <gtest/gtest.h>

#include "app/batch_session.h"
#include "common/key_code.h"
#include "platform/view.h"

namespace tavik {
namespace {

platform::View& Open(app::BatchSession& session, const std::string& name, const std::string& text) {
  session.OpenText(name, text);
  session.FocusFirstDocument();
  return *session.Editor().FocusedView();
}

TEST(EditorPreferencesTest, ShiftIndentsByTheLanguageAndFollowsItsChanges) {
  app::BatchSession make;
  Open(make, "Makefile", "all:\n");
  make.FeedNotation(">>");
  EXPECT_EQ(make.BufferTextUtf8(), "\tall:\n");

  app::BatchSession text;
  Open(text, "notes.txt", "x\n");
  text.FeedNotation(">>");
  EXPECT_EQ(text.BufferTextUtf8(), "    x\n");
  // A change of the language's preferences reaches the attached view at once.
  platform::PreferenceStore& store = text.Editor().preferences();
  platform::LanguagePreferences plain = store.For(u"Plain Text");
  plain.indent_size = 2;
  store.Set(u"Plain Text", plain);
  text.FeedNotation(">>");
  EXPECT_EQ(text.BufferTextUtf8(), "      x\n");
  plain.insert_tabs = true;
  plain.tab_size = 4;
  plain.indent_size = 4;
  store.Set(u"Plain Text", plain);
  for (char16_t key : u"<<<<>>") {
    if (key != 0) text.FeedKey(KeyCode::Char(key));
  }
  EXPECT_EQ(text.BufferTextUtf8(), "\tx\n");
}

TEST(EditorPreferencesTest, ListWritesVisibleWhitespaceAndFollowsIt) {
  app::BatchSession session;
  platform::View& view = Open(session, "a.py", "\tx\n");
  platform::PreferenceStore& store = session.Editor().preferences();
  session.FeedNotation(":set list<CR>");
  EXPECT_TRUE(view.Preferences().visible_whitespace);
  EXPECT_TRUE(store.For(u"Python").visible_whitespace);
  EXPECT_FALSE(store.For(u"C/C++").visible_whitespace);
  session.FeedNotation(":set nolist<CR>");
  EXPECT_FALSE(view.Preferences().visible_whitespace);
  // Changed in the host's own settings: the option follows.
  platform::LanguagePreferences python = store.For(u"Python");
  python.visible_whitespace = true;
  store.Set(u"Python", python);
  EXPECT_TRUE(view.Preferences().visible_whitespace);
  session.FeedNotation(":set all<CR>");
  EXPECT_NE(session.StatusUtf8().find(" list "), std::string::npos) << session.StatusUtf8();
  // Another language's change leaves it alone.
  platform::LanguagePreferences cpp = store.For(u"C/C++");
  cpp.visible_whitespace = false;
  cpp.tab_size = 3;
  store.Set(u"C/C++", cpp);
  session.FeedNotation(":set all<CR>");
  EXPECT_NE(session.StatusUtf8().find(" list "), std::string::npos) << session.StatusUtf8();
}

TEST(EditorPreferencesTest, DisplayRowMotionsFollowWrappedLines) {
  app::BatchSession session;
  // Rows at width 10: "one two ", "three four ", "five six".
  platform::View& view = Open(session, "t.txt", "one two three four five six\nnext\nlast\n");
  view.Preferences().word_wrap = true;
  view.SetWrapWidth(10);
  ASSERT_EQ(view.Layout().RowStarts(0), (std::vector<uint32_t>{0, 8, 19}));
  session.FeedNotation("ll");
  using Pos = std::pair<uint32_t, uint32_t>;
  session.FeedNotation("gj");
  EXPECT_EQ(session.Cursor(), (Pos{0, 10}));
  session.FeedNotation("gj");
  EXPECT_EQ(session.Cursor(), (Pos{0, 21}));
  session.FeedNotation("gj");
  EXPECT_EQ(session.Cursor(), (Pos{1, 2}));
  session.FeedNotation("gk");
  EXPECT_EQ(session.Cursor(), (Pos{0, 21}));
  session.FeedNotation("2gk");
  EXPECT_EQ(session.Cursor(), (Pos{0, 2}));
  // j and k keep moving by lines; an operator with gj spans lines as j does.
  session.FeedNotation("j");
  EXPECT_EQ(session.Cursor(), (Pos{1, 2}));
  session.FeedNotation("gg");
  // Three rows shown: L lands on the last row, part way into the long line, as the target.
  view.SetVisibleLineCount(3);
  session.FeedNotation("L");
  EXPECT_EQ(session.Cursor(), (Pos{0, 19}));
  session.FeedNotation("M");
  EXPECT_EQ(session.Cursor(), (Pos{0, 8}));
  session.FeedNotation("H");
  EXPECT_EQ(session.Cursor(), (Pos{0, 0}));
  // CTRL-D and CTRL-U move the cursor and the view by half the rows shown.
  session.FeedNotation("<C-d>");
  EXPECT_EQ(session.Cursor(), (Pos{0, 8}));
  EXPECT_EQ(view.FirstVisibleLine(), 0u);
  EXPECT_EQ(view.FirstVisibleRow(), 1u);
  session.FeedNotation("<C-u>");
  EXPECT_EQ(session.Cursor(), (Pos{0, 0}));
  EXPECT_EQ(view.FirstVisibleRow(), 0u);
  // Without wrapping, gj is j.
  view.Preferences().word_wrap = false;
  session.FeedNotation("gj");
  EXPECT_EQ(session.Cursor(), (Pos{1, 0}));
}

}  // namespace
}  // namespace tavik
