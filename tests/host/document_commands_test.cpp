// The buffer list and the host-backed ex commands over real files: which document the engine
// follows, writing files byte for byte, saving and closing, splits, and builds whose output
// places the location commands walk.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/batch_session.h"
#include "config/key_notation.h"
#include "engine/state/buffer_list.h"
#include "platform/utf8_codec.h"

namespace tavik {
namespace {

namespace fs = std::filesystem;

class DocumentCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tavik_docs_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    // As if the editor was started in the folder: typed names are read there.
    session_.Editor().SetWorkingFolder(folder_.string());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return (folder_ / name).string();
  }
  std::string Read(const std::string& name) {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string Open(const std::string& name, const std::string& bytes) {
    const std::string path = Write(name, bytes);
    EXPECT_FALSE(session_.OpenFile(path));
    return path;
  }
  // Keys typed in a given view, whether or not it has the focus.
  void KeysIn(platform::View& view, std::string_view notation) {
    for (KeyCode key : ParseKeys(platform::FromUtf8(notation))) {
      session_.Package().HandleKey(view, app::AsTypedKey(key));
    }
  }
  platform::View& ViewOf(const std::string& path) {
    for (const auto& doc : session_.Editor().Documents()) {
      if (doc->path == path) return *session_.Editor().ViewsOf(*doc).front();
    }
    ADD_FAILURE() << "no view of " << path;
    return *session_.Editor().FocusedView();
  }
  std::string FocusedPath() {
    const platform::Document* doc = session_.Editor().FocusedDocument();
    return doc == nullptr ? std::string() : doc->path;
  }
  const BufferList& List() { return session_.Package().Engine().State().buffers; }

  fs::path folder_;
  app::BatchSession session_;
};

TEST_F(DocumentCommandsTest, AHalfTypedCommandIsDroppedWhenTheNextKeyComesFromAnotherDocument) {
  const std::string a = Open("a.txt", "1\n2\n3\n4\n");
  const std::string b = Open("b.txt", "1\n2\n3\n4\n");
  KeysIn(ViewOf(a), "2d");
  KeysIn(ViewOf(b), "j");  // a motion on its own in b, not the end of "2d"
  EXPECT_EQ(session_.Editor().FocusedView()->Buffer().LineCount(), 4u);
  EXPECT_EQ(ViewOf(b).Caret(), (TextPos{1, 0}));
  EXPECT_EQ(ViewOf(a).Buffer().LineCount(), 4u);

  // A second view of the same document is the same document: the command carries on there.
  session_.Editor().Focus(ViewOf(a));
  KeysIn(ViewOf(a), ":sp<CR>");
  platform::Window* window = session_.Editor().WindowOf(ViewOf(a));
  ASSERT_TRUE(window->IsSplit());
  KeysIn(*window->views[0], "2d");
  KeysIn(*window->views[1], "j");
  EXPECT_EQ(ViewOf(a).Buffer().Text(), u"4");
}

TEST_F(DocumentCommandsTest, EntriesInFirstSeenOrderAndTheRecentOrderSwapsPlaces) {
  const std::string a = Open("a.txt", "a\n");
  const std::string b = Open("b.txt", "b\n");
  const std::string c = Open("c.txt", "c\n");
  KeysIn(ViewOf(a), "l");
  KeysIn(ViewOf(b), "l");
  KeysIn(ViewOf(c), "l");
  KeysIn(ViewOf(a), "l");
  ASSERT_EQ(List().Size(), 3u);
  EXPECT_EQ(platform::ToUtf8(List().Entry(0).name), a);
  EXPECT_EQ(platform::ToUtf8(List().Entry(2).name), c);
  // a changed places with the last used (c); b kept its place.
  EXPECT_EQ(List().RecentOrder(), (std::vector<size_t>{2, 1, 0}));
  EXPECT_EQ(List().Alternate(), std::optional<size_t>(1));
  // Leaving a document through another view records where it was in the jump list.
  const auto& jumps = session_.Package().Engine().Marks().jumps.Entries();
  ASSERT_FALSE(jumps.empty());
  EXPECT_EQ(platform::ToUtf8(jumps.back().file), c);
}

TEST_F(DocumentCommandsTest, GtGoesOnToTheNextEntryWhenADocumentCannotBeOpened) {
  const std::string a = Open("a.txt", "a\n");
  const std::string b = Open("b.txt", "b\n");
  const std::string c = Open("c.txt", "c\n");
  KeysIn(ViewOf(a), "l");
  KeysIn(ViewOf(b), "l");
  KeysIn(ViewOf(c), "l");
  // b is closed and its file becomes a folder: opening it again fails.
  session_.Editor().Close(*session_.Editor().DocumentOf(ViewOf(b)));
  fs::remove(b);
  fs::create_directories(b);
  KeysIn(ViewOf(a), "gt");
  EXPECT_EQ(FocusedPath(), c);
  EXPECT_EQ(List().Size(), 3u);  // closing a document does not remove its entry
  // CTRL-^ with a count that names the broken entry beeps and stays.
  const int beeps = session_.Beeps();
  KeysIn(ViewOf(c), "2<C-^>");
  EXPECT_EQ(FocusedPath(), c);
  EXPECT_EQ(session_.Beeps(), beeps + 1);
}

TEST_F(DocumentCommandsTest, ColonWWritesTheFileByteForByte) {
  // CR LF breaks, no final break, a byte that is not UTF-8, a NUL: all as they were.
  const std::string bytes = std::string("one\r\ntwo\r\nthr\xff", 14) + std::string("e\0e", 3);
  const std::string path = Open("w.txt", bytes);
  session_.FeedNotation("x:w<CR>");
  EXPECT_EQ(Read("w.txt"), bytes.substr(1));
  EXPECT_FALSE(session_.Editor().FocusedDocument()->Modified());
  EXPECT_EQ(session_.Editor().StatusText(), platform::FromUtf8("\"" + path + "\" 3L, 16B written"));
  // :w! is the same command; :w NAME writes a copy and the document keeps its own file.
  session_.FeedNotation("x:w!<CR>");
  EXPECT_EQ(Read("w.txt"), bytes.substr(2));
  session_.FeedNotation("x:w copy.txt<CR>");
  EXPECT_EQ(Read("copy.txt"), bytes.substr(3));
  EXPECT_EQ(Read("w.txt"), bytes.substr(2));
  EXPECT_TRUE(session_.Editor().FocusedDocument()->Modified());
  EXPECT_EQ(FocusedPath(), path);
}

TEST_F(DocumentCommandsTest, AFailedWriteKeepsTheTextAndSaysWhy) {
  const std::string path = Open("ro.txt", "abc\n");
  fs::create_directories(folder_ / "dir");
  session_.FeedNotation("x:w " + (folder_ / "dir").string() + "<CR>");
  EXPECT_EQ(session_.BufferTextUtf8(), "bc\n");
  EXPECT_EQ(Read("ro.txt"), "abc\n");
  EXPECT_FALSE(session_.Editor().StatusText().empty());
  EXPECT_EQ(session_.StatusUtf8(), "-- NORMAL -- ");  // the engine itself shows nothing
  // :wq whose save fails asks before closing, and "no" keeps the document.
  session_.SetAnswers({"n"});
  fs::remove(path);
  fs::create_directories(path);
  session_.FeedNotation(":wq<CR>");
  EXPECT_EQ(FocusedPath(), path);
  EXPECT_EQ(session_.BufferTextUtf8(), "bc\n");
}

TEST_F(DocumentCommandsTest, AFullDiskShowsItsReasonUntilTheNextKey) {
  const std::string path = Open("full.txt", "abc\n");
  platform::SaveHooks hooks;
  hooks.write = [](int, const void*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  };
  session_.Editor().SetSaveHooks(hooks);
  session_.FeedNotation("x:w<CR>");
  session_.FinishKeys();  // the mapping timer fires after the key
  const std::string reason = "Cannot write \"" + path + "\": " + std::strerror(ENOSPC);
  EXPECT_EQ(session_.StatusBarUtf8(), reason);
  EXPECT_TRUE(session_.Editor().FocusedDocument()->Modified());
  EXPECT_EQ(Read("full.txt"), "abc\n");
  session_.FeedNotation("l");
  EXPECT_EQ(session_.StatusBarUtf8(), "-- NORMAL -- ");
  session_.Editor().SetSaveHooks({});
  session_.FeedNotation(":w<CR>");
  session_.FinishKeys();
  EXPECT_EQ(Read("full.txt"), "bc\n");
  EXPECT_FALSE(session_.Editor().FocusedDocument()->Modified());
}

TEST_F(DocumentCommandsTest, WqAndXSaveAndCloseXaSavesAndClosesAll) {
  Open("a.txt", "aa\n");
  Open("b.txt", "bb\n");
  Open("c.txt", "cc\n");
  session_.FocusFirstDocument();
  session_.FeedNotation("x:wq<CR>");
  EXPECT_EQ(Read("a.txt"), "a\n");
  EXPECT_EQ(session_.Editor().Documents().size(), 2u);
  session_.FeedNotation("x:x<CR>");
  EXPECT_EQ(session_.Editor().Documents().size(), 1u);
  session_.FeedNotation("x:e a.txt<CR>x:xa<CR>");
  EXPECT_TRUE(session_.Editor().Documents().empty());
  EXPECT_EQ(Read("a.txt"), "\n");
  int changed = (Read("b.txt") == "b\n") + (Read("c.txt") == "c\n");
  EXPECT_EQ(changed, 2);
  // :wqa is :xa under another name.
  Open("b.txt", "bb\n");
  Open("c.txt", "cc\n");
  session_.FeedNotation("x:e b.txt<CR>x:wqa<CR>");
  EXPECT_TRUE(session_.Editor().Documents().empty());
  EXPECT_EQ(Read("b.txt"), "b\n");
  EXPECT_EQ(Read("c.txt"), "c\n");
}

TEST_F(DocumentCommandsTest, QuitInASplitWindowRemovesThePaneTypedIn) {
  const std::string a = Open("a.txt", "1\n2\n3\n");
  session_.FeedNotation(":sp<CR>");
  platform::Window* window = session_.Editor().ActiveWindow();
  ASSERT_TRUE(window->IsSplit());
  platform::View* typed_in = &window->FocusedView();
  session_.FeedNotation("G:q<CR>");
  ASSERT_EQ(session_.Editor().Documents().size(), 1u);
  EXPECT_FALSE(window->IsSplit());
  EXPECT_NE(&window->FocusedView(), typed_in);
  EXPECT_EQ(window->FocusedView().Caret(), (TextPos{0, 0}));  // the other pane's caret
  // Unsplit, :q closes the document and takes it out of the list.
  session_.FeedNotation(":q<CR>");
  EXPECT_TRUE(session_.Editor().Documents().empty());
  EXPECT_EQ(List().Size(), 0u);
}

TEST_F(DocumentCommandsTest, MakeWritesTheOutputAndCnCpWalkItsPlaces) {
  Write("a.c", "int a;\nint b;\nint c;\n");
  Write("b.c", "x\ny\n");
  Write("build.sh",
        "echo 'a.c:2:5: error: b is wrong'\n"
        "echo 'gone.c:1: error: not there'\n"
        "echo 'note: nothing here'\n"
        "echo 'b.c:2: warning: y'\n"
        "exit 2\n");
  Open("main.txt", "main\n");
  session_.Editor().SetBuildCommandLine("sh build.sh");
  session_.FeedNotation(":mak<CR>");
  const std::vector<std::string> pane = session_.PaneLines();
  ASSERT_GE(pane.size(), 6u);
  EXPECT_EQ(pane[1], "a.c:2:5: error: b is wrong");
  EXPECT_EQ(pane.back(), "Build failed: exit code 2, 2 errors");
  EXPECT_EQ(platform::ToUtf8(session_.Editor().StatusText()), pane.back());

  session_.FeedNotation(":cn<CR>");
  EXPECT_EQ(FocusedPath(), (folder_ / "a.c").string());
  EXPECT_EQ(session_.Cursor(), (std::pair<uint32_t, uint32_t>{1, 4}));
  EXPECT_EQ(session_.Editor().StatusText(), u"(1 of 3) a.c:2:5: error: b is wrong");
  session_.FeedNotation(":cn<CR>");  // gone.c does not exist: on to b.c
  EXPECT_EQ(FocusedPath(), (folder_ / "b.c").string());
  EXPECT_EQ(session_.Cursor(), (std::pair<uint32_t, uint32_t>{1, 0}));
  session_.FeedNotation(":cn<CR>");
  EXPECT_EQ(FocusedPath(), (folder_ / "b.c").string());
  EXPECT_EQ(session_.Editor().StatusText(), u"No more locations");
  session_.FeedNotation(":cp<CR>");
  EXPECT_EQ(FocusedPath(), (folder_ / "a.c").string());

  // Errors only: the warning in b.c is passed over.
  session_.FeedNotation(":ern<CR>");
  EXPECT_EQ(session_.Editor().StatusText(), u"No more errors");
  session_.FeedNotation(":erp<CR>");
  EXPECT_EQ(session_.Editor().StatusText(), u"No more errors");
  // An argument goes to the build command.
  session_.FeedNotation(":make extra words<CR>");
  const std::vector<std::string> again = session_.PaneLines();
  EXPECT_EQ(again.back(), "Build failed: exit code 2, 2 errors");
  EXPECT_NE(std::find(again.begin(), again.end(),
                      "Build started: sh build.sh extra words (in " + folder_.string() + ")"),
            again.end());
  // The build of a.c's folder starts a new walk.
  session_.FeedNotation(":build<CR>:ern<CR>");
  EXPECT_EQ(FocusedPath(), (folder_ / "a.c").string());
  EXPECT_EQ(session_.Cursor(), (std::pair<uint32_t, uint32_t>{1, 4}));
}

TEST_F(DocumentCommandsTest, BuildLinesArriveWholeWhateverPiecesTheOutputComesIn) {
  Open("main.txt", "main\n");
  // The first line comes in two pieces; the last has no line break; CR LF ends a line too.
  session_.Editor().SetBuildCommandLine(
      "printf 'main.txt:1: err'; sleep 0.2; printf 'or: x\\r\\nlast'");
  std::vector<std::string> seen;
  session_.SetPaneSink([&seen](const std::string& line) { seen.push_back(line); });
  session_.FeedNotation(":make<CR>");
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[1], "main.txt:1: error: x");
  EXPECT_EQ(seen[2], "last");
  EXPECT_EQ(seen[3], "Build succeeded, 1 error");
  session_.FeedNotation(":cn<CR>");
  EXPECT_EQ(platform::ToUtf8(session_.Editor().StatusText()), "(1 of 1) main.txt:1: error: x");
}

TEST_F(DocumentCommandsTest, ABuildThatHangsIsStoppedAndTheEditorGoesOn) {
  Open("main.txt", "main\n");
  session_.Editor().SetBuildCommandLine("echo working; sleep 60");
  session_.Editor().SetBuildTimeoutMs(300);
  session_.FeedNotation(":comp<CR>x");
  const std::vector<std::string> pane = session_.PaneLines();
  ASSERT_GE(pane.size(), 3u);
  EXPECT_EQ(pane[1], "working");
  EXPECT_EQ(pane.back(), "Build stopped after 300 ms");
  EXPECT_EQ(session_.BufferTextUtf8(), "ain\n");
}

TEST_F(DocumentCommandsTest, EditOpensMissingFilesEmptyAndUnreadableOnesNot) {
  Open("a.txt", "a\n");
  session_.FeedNotation(":e new.txt<CR>");
  EXPECT_EQ(platform::ToUtf8(session_.Editor().StatusText()),
            "\"" + (folder_ / "new.txt").string() + "\" [New]");
  session_.FeedNotation("ihello<Esc>:w<CR>");
  EXPECT_EQ(Read("new.txt"), "hello\n");
  fs::create_directories(folder_ / "folder.txt");
  session_.FeedNotation(":e folder.txt<CR>");
  EXPECT_EQ(FocusedPath(), (folder_ / "new.txt").string());
  EXPECT_EQ(session_.StatusUtf8(), "-- NORMAL -- ");
  // An existing file tells its line count; one already open is only activated.
  Write("three.txt", "1\n2\n3\n");
  session_.FeedNotation(":e three.txt<CR>");
  EXPECT_EQ(platform::ToUtf8(session_.Editor().StatusText()),
            "\"" + (folder_ / "three.txt").string() + "\" 3L");
  session_.FeedNotation(":e new.txt<CR>");
  EXPECT_EQ(FocusedPath(), (folder_ / "new.txt").string());
  EXPECT_EQ(session_.Editor().StatusText(), u"-- NORMAL -- ");
}

}  // namespace
}  // namespace tavik
