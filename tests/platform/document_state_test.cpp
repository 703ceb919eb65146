// What a document knows about its text against its file: whether it was modified (following
// undo and redo back to the saved text), an emptied buffer against one empty line, and the
// byte-order mark that is kept but never part of the text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/test_temp_folder.h"
#include "platform/editor_host.h"

namespace tavik::platform {
namespace {

namespace fs = std::filesystem;

TEST(DocumentStateTest, TheModifiedFlagFollowsTheTextBackToTheSavedState) {
  Document doc(u"one\ntwo");
  EXPECT_FALSE(doc.Modified());
  doc.buffer.Insert({0, 0}, u"x");
  EXPECT_TRUE(doc.Modified());
  doc.buffer.Undo();
  EXPECT_FALSE(doc.Modified());
  doc.buffer.Redo();
  EXPECT_TRUE(doc.Modified());
  // Saved in the middle of typing: more typing joins the same undo unit and still counts.
  doc.buffer.Replace({1, 0}, {1, 0}, u"a", true);
  doc.MarkSaved();
  doc.buffer.Replace({1, 1}, {1, 1}, u"b", true);
  EXPECT_TRUE(doc.Modified());
  doc.buffer.Undo();  // the typed unit, both letters
  EXPECT_TRUE(doc.Modified());
  doc.buffer.Redo();
  EXPECT_TRUE(doc.Modified());
  // A compound edit that is still open counts as soon as it changes the text; a marker does not.
  doc.MarkSaved();
  doc.buffer.PushMarker(&doc);
  EXPECT_FALSE(doc.Modified());
  doc.buffer.OpenCompound();
  doc.buffer.Insert({0, 0}, u"y");
  EXPECT_TRUE(doc.Modified());
  doc.buffer.CloseCompound();
  doc.buffer.Undo();
  EXPECT_FALSE(doc.Modified());
  // Another edit after an undo is a new text even when it looks the same.
  doc.buffer.Insert({0, 0}, u"y");
  doc.buffer.Undo();
  EXPECT_FALSE(doc.Modified());
}

class DocumentFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    return folder_.Write(name, bytes);
  }
  static std::string Read(const fs::path& path) {
    return testing_support::TestTempFolder::Read(path);
  }

  testing_support::TestTempFolder folder_{"tavik_document_state"};
  const fs::path& dir_ = folder_.Path();
  EditorHost host_;
};

TEST_F(DocumentFileTest, AByteOrderMarkIsKeptButIsNotText) {
  const std::string path = Write("bom.txt",
                                 "\xEF\xBB\xBF"
                                 "caf\xC3\xA9\r\nx\r\n");
  Document* doc = host_.OpenFile(path);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->buffer.Text(), u"caf\u00e9\nx");
  doc->buffer.Insert({1, 1}, u"y");
  EXPECT_FALSE(host_.Save(*doc));
  EXPECT_EQ(Read(path),
            "\xEF\xBB\xBF"
            "caf\xC3\xA9\r\nxy\r\n");
  // A mark alone, a file shorter than a mark, and one fed a byte at a time.
  for (const std::string bytes : {"\xEF\xBB\xBF", "\xEF\xBB", "\xEF\xBB\xBF\xEF\xBB\xBFz"}) {
    LineStore lines;
    FileLoader loader(lines);
    for (char c : bytes) loader.Feed(&c, 1);
    const FileFormat format = loader.Finish();
    EXPECT_EQ(EncodeText(lines, format), bytes);
  }
  LineStore lines;
  EXPECT_FALSE(LoadBytes("\xEF\xBB", lines).utf8_bom);
  EXPECT_EQ(lines.LineLength(0), 2u);  // two invalid bytes, shown as such
}

TEST_F(DocumentFileTest, DeletingEveryLineEmptiesTheFileWhileOneEmptyLineStaysALineBreak) {
  Document* doc = host_.OpenFile(Write("two.txt", "one\ntwo\n"));
  ASSERT_NE(doc, nullptr);
  auto bytes = [](const Document& d) { return EncodeText(d.buffer.Lines(), d.SaveFormat()); };
  doc->buffer.Replace({0, 0}, doc->buffer.End(), u"");  // every line, breaks and all
  EXPECT_EQ(bytes(*doc), "");
  doc->buffer.Undo();
  EXPECT_EQ(bytes(*doc), "one\ntwo\n");
  doc->buffer.Redo();
  EXPECT_EQ(bytes(*doc), "");
  // Text typed into the emptied buffer ends with its line break; taken out character by
  // character, one empty line is left and written as such.
  doc->buffer.Insert({0, 0}, u"x");
  EXPECT_EQ(bytes(*doc), "x\n");
  doc->buffer.Replace({0, 0}, {0, 1}, u"");
  EXPECT_EQ(bytes(*doc), "\n");
  // A file that holds one empty line keeps it, also after edits that come back to it.
  Document* blank = host_.OpenFile(Write("blank.txt", "\n"));
  ASSERT_NE(blank, nullptr);
  blank->buffer.Insert({0, 0}, u"abc");
  blank->buffer.Replace({0, 0}, {0, 3}, u"");
  EXPECT_EQ(bytes(*blank), "\n");
  EXPECT_FALSE(host_.Save(*blank));
  EXPECT_EQ(Read((dir_ / "blank.txt").string()), "\n");
}

TEST_F(DocumentFileTest, AFailedSaveKeepsTheDocumentModifiedAndTheFileAsItWas) {
  const std::string path = Write("f.txt", "old\n");
  Document* doc = host_.OpenFile(path);
  ASSERT_NE(doc, nullptr);
  doc->buffer.Insert({0, 0}, u"new ");
  SaveHooks hooks;
  hooks.write = [](int, const void*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  };
  host_.SetSaveHooks(hooks);
  const std::optional<std::string> error = host_.Save(*doc);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find(std::strerror(ENOSPC)), std::string::npos);
  EXPECT_TRUE(doc->Modified());
  EXPECT_EQ(Read(path), "old\n");
  host_.SetSaveHooks({});
  EXPECT_FALSE(host_.Save(*doc));
  EXPECT_FALSE(doc->Modified());
  EXPECT_EQ(Read(path), "new old\n");
}

}  // namespace
}  // namespace tavik::platform
