// Go to definition, pop browse context and opening the file named under the caret, on the host
// editor as the engine drives them through named commands.
#include "platform/navigation_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/name_search.h"

namespace tavik::platform {
namespace {

namespace fs = std::filesystem;

struct DefinitionCase {
  std::u16string_view line;
  std::u16string_view name;
  bool defined;
};

constexpr DefinitionCase kDefinitionCases[] = {
    {u"int foo(int a) {", u"foo", true},
    {u"  static const char* foo = \"x\";", u"foo", true},
    {u"class Foo {", u"Foo", true},
    {u"class Foo : public Base {", u"Foo", true},
    {u"class Foo : public Base {", u"Base", false},
    {u"struct Foo", u"Foo", true},
    {u"def foo(self):", u"foo", true},
    {u"#define FOO 42", u"FOO", true},
    {u"# define FOO", u"FOO", true},
    {u"#define BAR FOO", u"FOO", false},
    {u"#include FOO", u"FOO", false},
    {u"void Widget::foo() const {", u"foo", true},
    {u"void Widget::foo() const {", u"Widget", false},
    {u"std::map<int, int> foo;", u"foo", true},
    {u"int table[3];", u"table", true},
    {u"label:", u"label", false},  // no type before it
    {u"foo(1);", u"foo", false},
    {u"  return foo(1);", u"foo", false},
    {u"if foo(x):", u"foo", false},
    {u"x = foo(1);", u"foo", false},
    {u"int y = foo(1);", u"foo", false},
    {u"bool same = a foo == b;", u"foo", false},
    {u" * returns foo;", u"foo", false},  // a comment line
    {u"// int foo(", u"foo", false},
    {u"the foo is here", u"foo", false},
    {u"int größe = 3;", u"größe", true},
};

TEST(NameSearch, DefinitionShapes) {
  for (const DefinitionCase& c : kDefinitionCases) {
    const size_t at = c.line.find(c.name);
    ASSERT_NE(at, std::u16string_view::npos);
    EXPECT_EQ(LooksLikeDefinition(c.line, at, c.name.size()), c.defined)
        << std::string(c.line.begin(), c.line.end());
  }
}

TEST(NameSearch, FindDefinitionPrefersDefinitionsThenFirstWholeWord) {
  TextBuffer buffer(
      u"// calls foobar and foo\n"
      u"x = foo(1);\n"
      u"  return foo;\n"
      u"int foo(int a) {\n"
      u"int foo(int b) {\n");
  EXPECT_EQ(FindDefinition(buffer, u"foo"), (TextPos{3, 4}));
  // Only uses: the first whole-word one; "foobar" is not "foo".
  TextBuffer uses(u"a foobar\nb = foo\nfoo();");
  EXPECT_EQ(FindDefinition(uses, u"foo"), (TextPos{1, 4}));
  EXPECT_EQ(FindDefinition(uses, u"oob"), std::nullopt);
  EXPECT_EQ(FindDefinition(uses, u"missing"), std::nullopt);
  EXPECT_EQ(FindDefinition(uses, u""), std::nullopt);
  // A later occurrence on a line past an earlier use.
  TextBuffer same_line(u"x = foo, int foo;\nint foo;");
  EXPECT_EQ(FindDefinition(same_line, u"foo"), (TextPos{1, 4}));
}

TEST(NameSearch, OneMillionOccurrencesOnOneLineStayLinear) {
  std::u16string line;
  for (int i = 0; i < 250'000; ++i) line += u"foo ";
  line += u"end";  // no occurrence stands at the line end
  TextBuffer buffer(line + u"\nint foo;");
  EXPECT_EQ(FindDefinition(buffer, u"foo"), (TextPos{1, 4}));
  std::u16string words(1'000'000, u'a');
  TextBuffer long_word(words + u"\nint a;");
  EXPECT_EQ(FindDefinition(long_word, u"a"), (TextPos{1, 4}));
}

TEST(NameSearch, WordAndFileNameUnderTheColumn) {
  const std::u16string_view line = u"see ../dir/a-b_c.txt, or ~/x:12 über";
  EXPECT_EQ(FileNameAt(line, 8), u"../dir/a-b_c.txt");
  EXPECT_EQ(FileNameAt(line, 4), u"../dir/a-b_c.txt");
  EXPECT_EQ(FileNameAt(line, 20), u"");  // the comma
  EXPECT_EQ(FileNameAt(line, 26), u"~/x:12");
  EXPECT_EQ(FileNameAt(line, 33), u"über");
  EXPECT_EQ(FileNameAt(line, 100), u"");
  EXPECT_EQ(WordAt(line, 11), u"a");
  EXPECT_EQ(WordAt(line, 12), u"");
  EXPECT_EQ(WordAt(line, 14), u"b_c");
  EXPECT_EQ(WordAt(line, 3), u"");
}

class NavigationCommandsTest : public ::testing::Test {
 protected:
  View& Open(std::u16string_view text) {
    host_.OpenText(text);
    return *host_.FocusedView();
  }
  EditorHost host_;
};

TEST_F(NavigationCommandsTest, GotoDefinitionAndPopReturnInOrder) {
  View& view = Open(
      u"int helper();\n"
      u"int main() {\n"
      u"  return helper() + other();\n"
      u"}\n"
      u"int other() { return helper(); }\n");
  view.SetCaret({2, 10});
  EXPECT_EQ(host_.Execute(u"Edit.GotoDefinition helper"), CommandResult::kOk);
  EXPECT_EQ(view.Caret(), (TextPos{0, 4}));
  view.SetCaret({2, 22});
  EXPECT_EQ(host_.Execute(u"Edit.GotoDefinition", u" other "), CommandResult::kOk);
  EXPECT_EQ(view.Caret(), (TextPos{4, 4}));
  EXPECT_EQ(host_.browse_contexts().Size(), 2u);

  // A name that does not occur changes nothing.
  EXPECT_EQ(host_.Execute(u"Edit.GotoDefinition nothere"), CommandResult::kFail);
  EXPECT_EQ(view.Caret(), (TextPos{4, 4}));
  EXPECT_EQ(host_.browse_contexts().Size(), 2u);

  EXPECT_EQ(host_.Execute(u"View.PopBrowseContext"), CommandResult::kOk);
  EXPECT_EQ(view.Caret(), (TextPos{2, 22}));
  EXPECT_EQ(host_.Execute(u"View.PopBrowseContext"), CommandResult::kOk);
  EXPECT_EQ(view.Caret(), (TextPos{2, 10}));
  EXPECT_EQ(host_.Execute(u"View.PopBrowseContext"), CommandResult::kFail);
  EXPECT_EQ(view.Caret(), (TextPos{2, 10}));
}

TEST_F(NavigationCommandsTest, GotoDefinitionWithoutNameTakesTheWordUnderTheCaret) {
  View& view = Open(u"use(thing);\nauto thing = 1;");
  view.SetCaret({0, 6});
  EXPECT_EQ(host_.Execute(u"Edit.GotoDefinition"), CommandResult::kOk);
  EXPECT_EQ(view.Caret(), (TextPos{1, 5}));
  view.SetCaret({0, 3});  // on "("
  EXPECT_EQ(host_.Execute(u"Edit.GotoDefinition"), CommandResult::kFail);
  EXPECT_EQ(host_.browse_contexts().Size(), 1u);
}

TEST_F(NavigationCommandsTest, PopReturnsToTheDocumentAndViewTheJumpLeft) {
  View& first = Open(u"a\nint f;\nf");
  first.SetCaret({2, 0});
  ASSERT_EQ(host_.Execute(u"Edit.GotoDefinition f"), CommandResult::kOk);
  Document* first_doc = host_.FocusedDocument();
  Open(u"second");
  ASSERT_NE(host_.FocusedDocument(), first_doc);
  EXPECT_EQ(host_.Execute(u"View.PopBrowseContext"), CommandResult::kOk);
  EXPECT_EQ(host_.FocusedDocument(), first_doc);
  EXPECT_EQ(host_.FocusedView(), &first);
  EXPECT_EQ(first.Caret(), (TextPos{2, 0}));

  // The view the jump left went with the split; another view of the document takes its place.
  Window& window = *host_.ActiveWindow();
  host_.ToggleSplit(window);
  host_.Focus(*window.views[1]);
  window.views[1]->SetCaret({2, 0});
  ASSERT_EQ(host_.Execute(u"Edit.GotoDefinition f"), CommandResult::kOk);
  host_.Focus(*window.views[0]);
  window.views[0]->SetCaret({0, 0});
  host_.ToggleSplit(window);  // the unfocused lower view goes
  ASSERT_FALSE(window.IsSplit());
  EXPECT_EQ(host_.Execute(u"View.PopBrowseContext"), CommandResult::kOk);
  EXPECT_EQ(host_.FocusedView(), &first);
  EXPECT_EQ(first.Caret(), (TextPos{2, 0}));

  // A closed document without a file cannot be gone back to.
  host_.FocusedView()->SetCaret({2, 0});
  ASSERT_EQ(host_.Execute(u"Edit.GotoDefinition f"), CommandResult::kOk);
  host_.Close(*first_doc);
  EXPECT_EQ(host_.Execute(u"View.PopBrowseContext"), CommandResult::kFail);
}

TEST_F(NavigationCommandsTest, PopAfterTheTextShrankClampsTheCaret) {
  View& view = Open(u"x\nx\nx\nint x;");
  view.SetCaret({2, 0});
  ASSERT_EQ(host_.Execute(u"Edit.GotoDefinition x"), CommandResult::kOk);
  EXPECT_EQ(view.Caret(), (TextPos{3, 4}));
  view.Buffer().Replace({0, 0}, {3, 0}, u"");
  EXPECT_EQ(host_.Execute(u"View.PopBrowseContext"), CommandResult::kOk);
  EXPECT_EQ(view.Caret().line, 0u);
}

TEST_F(NavigationCommandsTest, BrowseStackKeepsTheNewestPlaces) {
  View& view = Open(u"int a;");
  for (size_t i = 0; i < BrowseContextStack::kMaxDepth + 5; ++i) {
    ASSERT_EQ(host_.Execute(u"Edit.GotoDefinition a"), CommandResult::kOk);
  }
  EXPECT_EQ(host_.browse_contexts().Size(), BrowseContextStack::kMaxDepth);
  EXPECT_EQ(view.Caret(), (TextPos{0, 4}));
}

class OpenFileUnderCaretTest : public NavigationCommandsTest {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tavik_open_under_caret_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sub");
    std::ofstream(dir_ / "other.txt", std::ios::binary) << "one\ntwo\nthree\n";
    std::ofstream(dir_ / "sub" / "deep.h", std::ios::binary) << "deep";
    std::ofstream(dir_ / "main.txt", std::ios::binary) << "see other.txt. and sub/deep.h\n"
                                                          "other.txt:3 and missing.txt\n"
                                                          "sub  !\n";
    std::string error;
    main_ = host_.OpenFile((dir_ / "main.txt").string(), &error);
    ASSERT_NE(main_, nullptr) << error;
  }
  void TearDown() override { fs::remove_all(dir_); }

  CommandResult OpenAt(TextPos caret) {
    host_.Focus(*host_.ViewsOf(*main_).front());
    host_.FocusedView()->SetCaret(caret);
    return host_.Execute(u"Edit.OpenFile");
  }
  std::string FocusedFile() { return fs::path(host_.FocusedDocument()->path).filename().string(); }

  fs::path dir_;
  Document* main_ = nullptr;
};

TEST_F(OpenFileUnderCaretTest, OpensRelativeToTheDocumentAndActivatesOpenFiles) {
  EXPECT_EQ(OpenAt({0, 6}), CommandResult::kOk);  // "other.txt." without its full stop
  EXPECT_EQ(FocusedFile(), "other.txt");
  EXPECT_EQ(OpenAt({0, 22}), CommandResult::kOk);
  EXPECT_EQ(FocusedFile(), "deep.h");
  EXPECT_EQ(host_.Documents().size(), 3u);
  // Open already: activated, and the line after the name is where the caret goes.
  EXPECT_EQ(OpenAt({1, 0}), CommandResult::kOk);
  EXPECT_EQ(FocusedFile(), "other.txt");
  EXPECT_EQ(host_.FocusedView()->Caret(), (TextPos{2, 0}));
  EXPECT_EQ(host_.Documents().size(), 3u);
}

TEST_F(OpenFileUnderCaretTest, NoNameMissingFileAndFolderFailWithAMessage) {
  EXPECT_EQ(OpenAt({0, 3}), CommandResult::kFail);  // a blank
  EXPECT_EQ(host_.StatusText(), u"No file name under the cursor");
  EXPECT_EQ(OpenAt({1, 18}), CommandResult::kFail);
  EXPECT_NE(host_.StatusText().find(u"Cannot open"), std::u16string::npos);
  EXPECT_NE(host_.StatusText().find(u"missing.txt"), std::u16string::npos);
  host_.SetStatusText(u"");
  EXPECT_EQ(OpenAt({2, 1}), CommandResult::kFail);  // "sub" is a folder
  EXPECT_FALSE(host_.StatusText().empty());
  EXPECT_EQ(host_.Documents().size(), 1u);
  EXPECT_EQ(host_.FocusedDocument(), main_);
  // With an argument the name under the caret is not looked at.
  EXPECT_EQ(OpenAt({0, 3}), CommandResult::kFail);
  // A typed name is read in the working folder, not beside the document.
  host_.SetWorkingFolder((dir_ / "sub").string());
  EXPECT_EQ(host_.Execute(u"Edit.OpenFile", u"sub/deep.h"), CommandResult::kFail);
  EXPECT_EQ(host_.Execute(u"Edit.OpenFile", u"deep.h"), CommandResult::kOk);
  EXPECT_EQ(FocusedFile(), "deep.h");
}

}  // namespace
}  // namespace tavik::platform
