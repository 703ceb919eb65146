// Scrolling, window, outlining and host-navigation actions end to end through a batch session:
// what keystroke scenarios cannot show (the first visible line, splits, regions, files).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/batch_session.h"

namespace tavik {
namespace {

namespace fs = std::filesystem;

// Lines "    line N", indented by four.
std::string NumberedLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "    line " + std::to_string(i) + "\n";
  return text;
}

class ActionsViewTest : public ::testing::Test {
 protected:
  void Open(const std::string& text, uint32_t visible = 10) {
    session_.Editor().SetDefaultVisibleLines(visible);
    session_.OpenText("view.txt", text);
  }
  platform::View& View() { return *session_.Editor().FocusedView(); }
  void Keys(std::string_view keys) {
    session_.FeedNotation(keys);
    session_.FinishKeys();
  }
  void At(int line, int column) { session_.SetCursorUtf8(line, column); }
  uint32_t First() { return View().FirstVisibleLine(); }
  std::pair<uint32_t, uint32_t> Cursor() { return session_.Cursor(); }
  using Pos = std::pair<uint32_t, uint32_t>;

  app::BatchSession session_;
};

TEST_F(ActionsViewTest, ZtZzZbPlaceTheCaretLineAndKeepTheColumn) {
  Open(NumberedLines(100));
  At(50, 6);
  Keys("zt");
  EXPECT_EQ(First(), 50u);
  EXPECT_EQ(Cursor(), Pos(50, 6));
  Keys("zz");
  EXPECT_EQ(First(), 45u);
  EXPECT_EQ(Cursor(), Pos(50, 6));
  Keys("zb");
  EXPECT_EQ(First(), 41u);
  EXPECT_EQ(Cursor(), Pos(50, 6));
  // Near the top nothing scrolls above the first line.
  At(3, 6);
  Keys("zb");
  EXPECT_EQ(First(), 0u);
  Keys("zz");
  EXPECT_EQ(First(), 0u);
  At(99, 0);
  Keys("zt");
  EXPECT_EQ(First(), 99u);
}

TEST_F(ActionsViewTest, ZReturnDotAndMinusAlsoGoToTheFirstNonBlank) {
  Open(NumberedLines(100));
  At(50, 8);
  Keys("z<CR>");
  EXPECT_EQ(First(), 50u);
  EXPECT_EQ(Cursor(), Pos(50, 4));
  At(60, 8);
  Keys("z.");
  EXPECT_EQ(First(), 55u);
  EXPECT_EQ(Cursor(), Pos(60, 4));
  At(70, 8);
  Keys("z-");
  EXPECT_EQ(First(), 61u);
  EXPECT_EQ(Cursor(), Pos(70, 4));
}

TEST_F(ActionsViewTest, ZtCountsViewLinesAboveAClosedRegion) {
  Open(NumberedLines(100));
  At(10, 0);
  Keys("zf9j");  // lines 10 to 19 become one view line
  At(30, 0);
  Keys("zt");
  EXPECT_EQ(First(), 21u);
  Keys("zb");
  EXPECT_EQ(First(), 12u);
}

TEST_F(ActionsViewTest, CtrlEAndCtrlYKeepTheCaretOnScreenAtTheDesiredColumn) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += i % 2 == 1 ? "ab\n" : "0123456789\n";
  Open(text);
  At(0, 8);
  Keys("<C-e>");
  EXPECT_EQ(First(), 1u);
  EXPECT_EQ(Cursor(), Pos(1, 1));  // a short line clamps the column
  Keys("<C-e>");
  EXPECT_EQ(First(), 2u);
  EXPECT_EQ(Cursor(), Pos(2, 8));  // the desired column came back
  // The caret stays where it is while its line is visible.
  At(6, 3);
  Keys("3<C-e>");
  EXPECT_EQ(First(), 5u);
  EXPECT_EQ(Cursor(), Pos(6, 3));
  // Scrolling up takes the caret along from the bottom.
  At(14, 7);
  Keys("<C-y>");
  EXPECT_EQ(First(), 4u);
  EXPECT_EQ(Cursor(), Pos(13, 1));
  Keys("2<C-y>");
  EXPECT_EQ(First(), 2u);
  EXPECT_EQ(Cursor(), Pos(11, 1));
  Keys("<C-y><C-y><C-y><C-y>");
  EXPECT_EQ(First(), 0u);
  EXPECT_EQ(Cursor(), Pos(9, 1));
}

TEST_F(ActionsViewTest, HugeScrollCountsStopAtTheEnds) {
  Open(NumberedLines(100));
  At(40, 6);
  Keys("4294967295<C-e>");  // line 100 is the empty one after the last line break
  EXPECT_EQ(First(), 100u);
  EXPECT_EQ(Cursor().first, 100u);
  Keys("4294967295<C-y>");
  EXPECT_EQ(First(), 0u);
  EXPECT_EQ(Cursor().first, 9u);
  Keys("2147483648<C-e>");
  EXPECT_EQ(First(), 100u);
  Keys("2147483648<C-y>");
  EXPECT_EQ(First(), 0u);
  EXPECT_EQ(session_.BufferTextUtf8(), NumberedLines(100));
}

TEST_F(ActionsViewTest, SplitFocusAndCloseWindows) {
  Open("one\ntwo\n");
  platform::EditorHost& editor = session_.Editor();
  Keys("<C-w>s");
  platform::Window* window = editor.ActiveWindow();
  ASSERT_TRUE(window->IsSplit());
  platform::View* first = &View();
  Keys("<C-w>s");  // already split: nothing
  EXPECT_TRUE(window->IsSplit());
  EXPECT_EQ(&View(), first);
  Keys("<C-w>w");
  EXPECT_NE(&View(), first);
  Keys("j");
  EXPECT_EQ(Cursor(), Pos(1, 0));
  Keys("<C-w>w");
  EXPECT_EQ(&View(), first);
  EXPECT_EQ(Cursor(), Pos(0, 0));
  Keys("<C-w>c");  // removes the split, keeps the document
  EXPECT_FALSE(window->IsSplit());
  ASSERT_EQ(editor.Documents().size(), 1u);
  Keys("<C-w>c");  // closes the document
  EXPECT_TRUE(editor.Documents().empty());
  EXPECT_EQ(session_.BufferTextUtf8(), "one\ntwo\n");
}

TEST_F(ActionsViewTest, FoldCommandsOpenCloseRemoveAndExpandRegions) {
  Open("a\nb\nc\nd\ne\nf\n");
  const platform::CollapsedRegions& regions = View().Regions();
  At(1, 0);
  Keys("zfj");
  ASSERT_EQ(regions.All().size(), 1u);
  EXPECT_TRUE(regions.All()[0].collapsed);
  EXPECT_EQ(regions.All()[0].start, (TextPos{1, 0}));
  EXPECT_EQ(Cursor(), Pos(1, 0));
  Keys("zo");
  EXPECT_FALSE(regions.All()[0].collapsed);
  Keys("zc");
  EXPECT_TRUE(regions.All()[0].collapsed);
  Keys("za");
  EXPECT_FALSE(regions.All()[0].collapsed);
  Keys("zA");
  EXPECT_TRUE(regions.All()[0].collapsed);
  Keys("jzfj");  // a second region, below
  ASSERT_EQ(regions.All().size(), 2u);
  Keys("zR");
  for (const platform::OutlineRegion& r : regions.All()) EXPECT_FALSE(r.collapsed);
  At(1, 0);
  Keys("zd");
  EXPECT_EQ(regions.All().size(), 1u);
  EXPECT_EQ(session_.BufferTextUtf8(), "a\nb\nc\nd\ne\nf\n");
}

TEST_F(ActionsViewTest, ZMClosesBracketBlocks) {
  Open("int f() {\n  x;\n}\ntail");
  At(1, 2);
  Keys("zM");
  ASSERT_EQ(View().Regions().All().size(), 1u);
  EXPECT_TRUE(View().Regions().All()[0].collapsed);
  EXPECT_EQ(View().Regions().All()[0].start.line, 0u);
  Keys("Gdd");
  EXPECT_EQ(session_.BufferTextUtf8(), "int f() {\n  x;\n}");
}

TEST_F(ActionsViewTest, GSInNormalModeHasNoRangeAndSelectsNothing) {
  Open("abc def ghi\nxyz\n");
  At(0, 4);
  Keys("gSw");  // gS completes alone; w is a motion of its own
  EXPECT_TRUE(View().Selection().Empty());
  EXPECT_EQ(Cursor(), Pos(0, 8));
  EXPECT_EQ(session_.ModeName(), "NORMAL");
  EXPECT_EQ(session_.BufferTextUtf8(), "abc def ghi\nxyz\n");
}

class FileActionsTest : public ActionsViewTest {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tavik_actions_view_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path dir_;
};

TEST_F(FileActionsTest, GfOpensTheFileNamedUnderTheCaret) {
  Write("other.txt", "other text\n");
  Write("main.txt", "see other.txt.\nsee none.txt\n");
  ASSERT_EQ(session_.OpenFile((dir_ / "main.txt").string()), std::nullopt);
  At(0, 6);
  Keys("gf");
  EXPECT_EQ(fs::path(session_.Editor().FocusedDocument()->path).filename(), "other.txt");
  EXPECT_EQ(session_.BufferTextUtf8(), "other text\n");
  EXPECT_EQ(session_.ModeName(), "NORMAL");
  // A missing file leaves the document where it was.
  session_.Editor().Focus(*session_.Editor().ViewsOf(*session_.Editor().Documents()[0]).front());
  At(1, 6);
  Keys("gf");
  EXPECT_EQ(fs::path(session_.Editor().FocusedDocument()->path).filename(), "main.txt");
  EXPECT_EQ(Cursor(), Pos(1, 6));
}

TEST_F(FileActionsTest, ZZSavesAndCloses) {
  Write("doc.txt", "abc\r\ndef\r\n");
  ASSERT_EQ(session_.OpenFile((dir_ / "doc.txt").string()), std::nullopt);
  Keys("xZZ");
  EXPECT_EQ(Read("doc.txt"), "bc\r\ndef\r\n");
  EXPECT_TRUE(session_.Editor().Documents().empty());
  EXPECT_EQ(session_.BufferTextUtf8(), "bc\r\ndef\r\n");
  // Keys after the last document closed go nowhere and break nothing.
  Keys("ddZZu");
  EXPECT_EQ(session_.BufferTextUtf8(), "bc\r\ndef\r\n");
}

TEST_F(FileActionsTest, ZZKeepsTheDocumentOpenWhenTheSaveFails) {
  Write("doc.txt", "abc\n");
  ASSERT_EQ(session_.OpenFile((dir_ / "doc.txt").string()), std::nullopt);
  // A file changed on disk since it was loaded is not overwritten without a yes.
  Write("doc.txt", "changed elsewhere\n");
  session_.SetAnswers({"n"});
  Keys("xZZ");
  EXPECT_EQ(Read("doc.txt"), "changed elsewhere\n");
  ASSERT_EQ(session_.Editor().Documents().size(), 1u);
  EXPECT_EQ(session_.BufferTextUtf8(), "bc\n");
  EXPECT_EQ(session_.Beeps(), 1);
}

TEST_F(FileActionsTest, CtrlRightBracketAndCtrlTAcrossGf) {
  Write("lib.h", "int helper();\n");
  Write("main.txt", "lib.h\nint helper();\nhelper();\n");
  ASSERT_EQ(session_.OpenFile((dir_ / "main.txt").string()), std::nullopt);
  At(2, 2);
  Keys("<C-]>");
  EXPECT_EQ(Cursor(), Pos(1, 4));
  Keys("ggjgf");  // into another document, then back through the browse stack
  At(0, 0);
  Keys("gf");
  Keys("<C-t>");
  EXPECT_EQ(fs::path(session_.Editor().FocusedDocument()->path).filename(), "main.txt");
  EXPECT_EQ(Cursor(), Pos(2, 2));
}

TEST_F(ActionsViewTest, AMillionCharacterLineTakesViewAndHostActions) {
  std::string line(1'000'000, 'w');
  Open(line + "\nint w;\n");
  At(0, 999'999);
  Keys("ztzzzb<C-e>");
  EXPECT_EQ(Cursor().first, 1u);  // the caret follows the scroll
  Keys("<C-y>gg$z<CR>");
  EXPECT_EQ(Cursor(), Pos(0, 0));
  At(0, 999'999);
  Keys("<C-]>");  // a word longer than the lookup takes: no definition found
  EXPECT_EQ(Cursor().first, 0u);
  Keys("gf");  // a name too long to be a file
  EXPECT_EQ(session_.Editor().Documents().size(), 1u);
  Keys("=jzfjzozd$gS0");
  Keys("5x");
  EXPECT_TRUE(session_.BufferTextUtf8() == line.substr(5) + "\nint w;\n");
}

}  // namespace
}  // namespace tavik
