// The host editor as a user and the engine drive it: typing, host commands, windows, files and
// the services.
#include "platform/editor_host.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tavik::platform {
namespace {

class EditorHostTest : public ::testing::Test {
 protected:
  View& Open(std::u16string_view text) {
    host_.OpenText(text);
    return *host_.FocusedView();
  }
  void Type(View& view, std::u16string_view text) {
    for (char16_t c : text) host_.TypeKey(view, KeyCode::Char(c));
  }
  std::u16string Text() { return host_.FocusedView()->Buffer().Text(); }

  EditorHost host_;
};

TEST_F(EditorHostTest, TypingTextTabBackspaceDeleteAndReturn) {
  View& view = Open(u"");
  Type(view, u"ab");
  host_.TypeKey(view, KeyCode::Char(ch::kTab));  // spaces to the next indent stop
  Type(view, u"c");
  EXPECT_EQ(Text(), u"ab  c");
  host_.TypeKey(view, KeyCode::Char(ch::kBackspace));
  host_.TypeKey(view, KeyCode::Special(vk::kHome));
  host_.TypeKey(view, KeyCode::Special(vk::kDelete));
  EXPECT_EQ(Text(), u"b  ");
  view.Preferences().insert_tabs = true;
  host_.TypeKey(view, KeyCode::Char(ch::kTab));
  host_.TypeKey(view, KeyCode::Special(vk::kEnd));
  host_.TypeKey(view, KeyCode::Char(ch::kReturn));
  Type(view, u"x");
  EXPECT_EQ(Text(), u"\tb  \n\tx");
  EXPECT_EQ(view.Caret(), (TextPos{1, 2}));
  host_.TypeKey(view, KeyCode::Char(u'a', key_mod::kCtrl));  // not typed
  EXPECT_EQ(Text(), u"\tb  \n\tx");
}

TEST_F(EditorHostTest, TypedCharactersReplaceTheSelectionAndUndoAsOneUnit) {
  View& view = Open(u"hello world");
  view.SetSelection({0, 0}, {0, 5}, false);
  Type(view, u"bye");
  EXPECT_EQ(Text(), u"bye world");
  Type(view, u"!!");
  // The character that replaced the selection is a unit of its own; the rest joins one unit.
  EXPECT_EQ(host_.Execute(u"Edit.Undo"), CommandResult::kOk);
  EXPECT_EQ(Text(), u"b world");
  EXPECT_EQ(host_.Execute(u"Edit.Undo"), CommandResult::kOk);
  EXPECT_EQ(Text(), u"hello world");
  EXPECT_EQ(view.Caret(), (TextPos{0, 0}));
  EXPECT_EQ(host_.Execute(u"Edit.Undo"), CommandResult::kFail);
  EXPECT_EQ(host_.Execute(u"Edit.Redo"), CommandResult::kOk);
  EXPECT_EQ(Text(), u"b world");
}

TEST_F(EditorHostTest, ArrowsAndPagesMoveTheCaretAndScroll) {
  std::u16string text;
  for (int i = 0; i < 100; ++i) text += u"line\n";
  View& view = Open(text);
  view.SetVisibleLineCount(10);
  host_.TypeKey(view, KeyCode::Special(vk::kPageDown));
  EXPECT_EQ(view.Caret().line, 9u);
  EXPECT_EQ(view.FirstVisibleLine(), 9u);
  host_.TypeKey(view, KeyCode::Special(vk::kEnd));
  host_.TypeKey(view, KeyCode::Special(vk::kRight));
  EXPECT_EQ(view.Caret(), (TextPos{10, 0}));
  host_.TypeKey(view, KeyCode::Special(vk::kLeft, key_mod::kShift));
  EXPECT_EQ(view.Selection().anchor, (TextPos{10, 0}));
  EXPECT_EQ(view.Selection().active, (TextPos{9, 4}));
  for (int i = 0; i < 20; ++i) host_.TypeKey(view, KeyCode::Special(vk::kUp));
  EXPECT_EQ(view.Caret().line, 0u);
  EXPECT_EQ(view.FirstVisibleLine(), 0u);
}

TEST_F(EditorHostTest, BreakLineIndentsLikeTheLineAbove) {
  View& view = Open(u"  \tif (x) {\n");
  view.SetCaret({0, kEndOfLineColumn});
  EXPECT_EQ(host_.Execute(u"Edit.BreakLine"), CommandResult::kOk);
  EXPECT_EQ(Text(), u"  \tif (x) {\n  \t\n");
  EXPECT_EQ(view.Caret(), (TextPos{1, 3}));
  // Inside the indentation only what lies before the caret is copied.
  view.SetCaret({0, 1});
  host_.Execute(u"Edit.BreakLine");
  EXPECT_EQ(view.Buffer().Line(1), u"  \tif (x) {");
  EXPECT_EQ(view.Buffer().Line(0), u" ");
  host_.Execute(u"Edit.Undo");
  EXPECT_EQ(Text(), u"  \tif (x) {\n  \t\n");
}

TEST_F(EditorHostTest, FormatSelectionIndentsByBracketDepth) {
  View& view = Open(u"f() {\nif (a) {\n      b(1,\n2);\n  }\n}");
  view.SetSelection({0, 0}, {5, 1}, false);
  EXPECT_EQ(host_.Execute(u"Edit.FormatSelection"), CommandResult::kOk);
  EXPECT_EQ(Text(), u"f() {\n    if (a) {\n        b(1,\n            2);\n    }\n}");
  host_.Execute(u"Edit.Undo");
  EXPECT_EQ(Text(), u"f() {\nif (a) {\n      b(1,\n2);\n  }\n}");
}

TEST_F(EditorHostTest, SplitAndCloseWindows) {
  View& first = Open(u"text");
  first.SetCaret({0, 2});
  EXPECT_EQ(host_.Execute(u"Window.Split"), CommandResult::kOk);
  Window* window = host_.ActiveWindow();
  ASSERT_TRUE(window->IsSplit());
  EXPECT_EQ(window->views[1]->Caret(), (TextPos{0, 2}));
  auto token = window->views[1]->LifeToken();
  host_.Execute(u"Window.Split");  // removes the split: the unfocused view goes
  EXPECT_FALSE(window->IsSplit());
  EXPECT_FALSE(*token);
  EXPECT_EQ(host_.FocusedView(), &first);
  Open(u"second");
  EXPECT_EQ(host_.Documents().size(), 2u);
  EXPECT_EQ(host_.Execute(u"File.Close"), CommandResult::kOk);
  EXPECT_EQ(host_.Documents().size(), 1u);
  EXPECT_EQ(host_.FocusedView(), &first);
  host_.Execute(u"Window.CloseAllDocuments");
  EXPECT_EQ(host_.FocusedView(), nullptr);
  EXPECT_EQ(host_.Execute(u"Edit.Undo"), CommandResult::kFail);
}

TEST_F(EditorHostTest, OutliningCommands) {
  View& view = Open(u"int f() {\n  return 1;\n}\nint g() {\n}\n");
  EXPECT_EQ(host_.Execute(u"Edit.CollapsetoDefinitions"), CommandResult::kOk);
  EXPECT_EQ(view.Layout().ViewLineCount(), 3u);
  view.SetCaret({0, 9});
  EXPECT_EQ(host_.Execute(u"Edit.ToggleOutliningExpansion"), CommandResult::kOk);
  EXPECT_EQ(view.Layout().ViewLineCount(), 5u);
  EXPECT_EQ(host_.Execute(u"Edit.StopHidingCurrent"), CommandResult::kOk);
  EXPECT_EQ(view.Regions().All().size(), 1u);
  view.SetCaret({5, 0});
  EXPECT_EQ(host_.Execute(u"Edit.StopHidingCurrent"), CommandResult::kFail);
}

TEST_F(EditorHostTest, CommandNamesKnownUnknownAndNotImplemented) {
  Open(u"word wordy\nwo");
  EXPECT_EQ(host_.Execute(u"Debug.Start"), CommandResult::kNotImpl);
  EXPECT_EQ(host_.Execute(u"Macros.Samples.Run"), CommandResult::kNotImpl);
  EXPECT_EQ(host_.Execute(u"No.Such"), CommandResult::kFail);
  EXPECT_EQ(host_.Execute(u"View.Output"), CommandResult::kOk);
  EXPECT_EQ(host_.output().ShowCount(), 1);
  View& view = *host_.FocusedView();
  view.SetCaret({1, 2});
  EXPECT_EQ(host_.Execute(u"Edit.CompleteWord"), CommandResult::kOk);
  EXPECT_EQ(view.Buffer().Line(1), u"word");
  EXPECT_EQ(host_.Execute(u"Edit.Find wordy"), CommandResult::kOk);
  EXPECT_EQ(view.Selection().Start(), (TextPos{0, 5}));
}

TEST_F(EditorHostTest, FilesOpenRelativeSaveAndKeepTheirBytes) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("tavik_editor_host_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "sub");
  const std::string bytes = "a\r\nb\r\n";
  std::ofstream(dir / "sub" / "one.txt", std::ios::binary) << bytes;
  std::ofstream(dir / "sub" / "two.txt", std::ios::binary) << "two";
  std::string error;
  Document* one = host_.OpenFile((dir / "sub" / "one.txt").string(), &error);
  ASSERT_NE(one, nullptr) << error;
  // Typed names are read in the working folder, whatever folder the document is in.
  host_.SetWorkingFolder(dir.string());
  EXPECT_EQ(host_.Execute(u"Edit.OpenFile", u"two.txt"), CommandResult::kFail);
  EXPECT_EQ(host_.Execute(u"Edit.OpenFile", u"sub/two.txt"), CommandResult::kOk);
  EXPECT_EQ(host_.FocusedDocument()->buffer.Text(), u"two");
  EXPECT_EQ(host_.Execute(u"Edit.OpenFile", u"missing.txt"), CommandResult::kFail);
  EXPECT_EQ(host_.Execute(u"Edit.OpenFile", u"\"sub/one.txt\""), CommandResult::kOk);
  EXPECT_EQ(host_.FocusedDocument(), one);
  EXPECT_EQ(host_.Documents().size(), 2u);
  host_.TypeKey(*host_.FocusedView(), KeyCode::Char(u'x'));
  EXPECT_TRUE(one->Modified());
  EXPECT_EQ(host_.Execute(u"File.SaveSelectedItems"), CommandResult::kOk);
  EXPECT_FALSE(one->Modified());
  std::ifstream in(dir / "sub" / "one.txt", std::ios::binary);
  std::stringstream saved;
  saved << in.rdbuf();
  EXPECT_EQ(saved.str(), "xa\r\nb\r\n");
  std::filesystem::remove_all(dir);
}

TEST_F(EditorHostTest, ServicesTimersDialogsClipboardRegistry) {
  View& view = Open(u"");
  int fired = 0;
  view.Timer().Start(100, [&fired] { ++fired; });
  host_.AdvanceClock(99);
  EXPECT_EQ(fired, 0);
  host_.AdvanceClock(1);
  EXPECT_EQ(fired, 1);
  host_.AdvanceClock(1000);
  EXPECT_EQ(fired, 1);
  view.Timer().Start(100, [&fired] { ++fired; });
  EXPECT_TRUE(host_.FireTimer(view));
  EXPECT_EQ(fired, 2);

  EXPECT_EQ(host_.dialogs().AskYesNo(u"Sure?"), YesNoAnswer::kNo);
  EXPECT_EQ(host_.dialogs().AskConfirm(u"replace?"), ConfirmAnswer::kQuit);
  host_.dialogs().SetConfirmAnswerer([](std::u16string_view) { return ConfirmAnswer::kAll; });
  EXPECT_EQ(host_.dialogs().AskConfirm(u"replace?"), ConfirmAnswer::kAll);

  host_.clipboard().SetText(u"t\u20ac");
  host_.clipboard().SetData("VadClipboard2", std::string("\x01\x00", 2));
  EXPECT_EQ(host_.clipboard().Text(), u"t\u20ac");
  EXPECT_EQ(host_.clipboard().Data("VadClipboard2")->size(), 2u);
  host_.clipboard().Clear();
  EXPECT_FALSE(host_.clipboard().Text());

  const auto file = std::filesystem::temp_directory_path() /
                    ("tavik_registry_" + std::to_string(::getpid()) + ".txt");
  std::filesystem::remove(file);
  {
    RegistryStore store;
    store.SetBackingFile(file.string());
    store.SetDword("Software\\Tavik", "Beep", 1);
    store.SetString("Software\\Tavik", "Keys", u"a\tb\n\u00e9");
  }
  RegistryStore loaded;
  loaded.SetBackingFile(file.string());
  EXPECT_FALSE(loaded.Load());
  EXPECT_EQ(loaded.Dword("software\\tavik", "Beep"), 1u);
  EXPECT_EQ(loaded.String("Software\\Tavik", "Keys"), u"a\tb\n\u00e9");
  EXPECT_FALSE(loaded.Dword("Software\\Tavik", "Keys"));
  std::filesystem::remove(file);

  std::vector<std::u16string> printed;
  host_.output().AddListener([&printed](std::u16string_view l) { printed.emplace_back(l); });
  host_.output().Write(u"one\ntwo\n");
  EXPECT_EQ(printed, (std::vector<std::u16string>{u"one", u"two"}));
}

}  // namespace
}  // namespace tavik::platform
