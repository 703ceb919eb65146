// The clipboard exchange: the three formats as written and read, the kind taken from each
// source, a busy clipboard, text copied by other programs, and the package's wiring of the
// clipboard register and the DefaultWinClipboard setting.
#include "host/clipboard_bridge.h"

#include <gtest/gtest.h>

#include <string>

#include "config/key_notation.h"
#include "config/settings_store.h"
#include "host/package.h"
#include "platform/editor_host.h"

namespace tavik::host {
namespace {

std::string KindBytes(uint32_t kind) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((kind >> (8 * i)) & 0xFF);
  return bytes;
}

class ClipboardBridgeTest : public ::testing::Test {
 protected:
  platform::Clipboard clipboard_;
  ClipboardBridge bridge_{&clipboard_};
};

TEST_F(ClipboardBridgeTest, PutWritesTextKindAndTheColumnMarkerForBlocksOnly) {
  ASSERT_TRUE(bridge_.Put(u"one\r\ntwo\r\n", RegisterKind::kLinewise));
  EXPECT_EQ(clipboard_.Text(), u"one\r\ntwo\r\n");
  EXPECT_EQ(clipboard_.Data(kRegisterKindFormat), KindBytes(1));
  EXPECT_FALSE(clipboard_.Has(kColumnSelectFormat));

  ASSERT_TRUE(bridge_.Put(u"ab\r\ncd\r\n", RegisterKind::kBlockwise));
  EXPECT_EQ(clipboard_.Data(kRegisterKindFormat), KindBytes(2));
  EXPECT_EQ(clipboard_.Data(kColumnSelectFormat), std::string());

  // A characterwise put replaces everything, the block marker included.
  ASSERT_TRUE(bridge_.Put(u"word", RegisterKind::kCharacterwise));
  EXPECT_EQ(clipboard_.Text(), u"word");
  EXPECT_EQ(clipboard_.Data(kRegisterKindFormat), KindBytes(0));
  EXPECT_FALSE(clipboard_.Has(kColumnSelectFormat));
}

TEST_F(ClipboardBridgeTest, EmptyTextLeavesTheClipboardEmpty) {
  clipboard_.SetText(u"old");
  ASSERT_TRUE(bridge_.Put(u"", RegisterKind::kLinewise));
  EXPECT_FALSE(clipboard_.Text());
  EXPECT_FALSE(clipboard_.Has(kRegisterKindFormat));
  EXPECT_FALSE(bridge_.Get());
}

TEST_F(ClipboardBridgeTest, KindComesFromEachSourceInTurn) {
  // The kind format wins over the marker and over the line count.
  clipboard_.SetText(u"a\r\nb\r\n");
  clipboard_.SetData(kColumnSelectFormat, "");
  clipboard_.SetData(kRegisterKindFormat, KindBytes(0));
  EXPECT_EQ(bridge_.Get()->kind, RegisterKind::kCharacterwise);

  // Without it the column-select marker of the host editor means a block.
  clipboard_.Clear();
  clipboard_.SetText(u"x");
  clipboard_.SetData(kColumnSelectFormat, "");
  EXPECT_EQ(bridge_.Get()->kind, RegisterKind::kBlockwise);

  // Plain text: two lines or more are linewise, one line characterwise.
  clipboard_.Clear();
  clipboard_.SetText(u"first\r\nsecond\r\n");
  auto two = bridge_.Get();
  EXPECT_EQ(two->kind, RegisterKind::kLinewise);
  EXPECT_EQ(two->text, u"first\r\nsecond\r\n");
  clipboard_.SetText(u"only\r\n");
  EXPECT_EQ(bridge_.Get()->kind, RegisterKind::kCharacterwise);
  clipboard_.SetText(u"a\rb");  // a lone CR breaks lines too
  EXPECT_EQ(bridge_.Get()->kind, RegisterKind::kLinewise);
}

TEST_F(ClipboardBridgeTest, MalformedKindDataAndTerminatingNul) {
  clipboard_.SetText(std::u16string(u"a\r\nb\0junk", 9));
  clipboard_.SetData(kRegisterKindFormat, "\x01");  // too short to hold a kind
  auto content = bridge_.Get();
  ASSERT_TRUE(content);
  EXPECT_EQ(content->text, u"a\r\nb");
  EXPECT_EQ(content->kind, RegisterKind::kLinewise);
  clipboard_.SetData(kRegisterKindFormat, KindBytes(7));
  EXPECT_EQ(bridge_.Get()->kind, RegisterKind::kCharacterwise);
}

TEST_F(ClipboardBridgeTest, AnUnchangedClipboardIsNotReadAgain) {
  RegisterFile registers(&bridge_, true);
  registers.Write(0, u"mine\r\n", RegisterKind::kLinewise);
  EXPECT_FALSE(bridge_.Get());  // still what the bridge wrote
  EXPECT_EQ(registers.Read(u'*')->text, u"mine\r\n");
  clipboard_.Clear();  // another program copies
  clipboard_.SetText(u"theirs");
  EXPECT_EQ(registers.Read(u'*')->text, u"theirs");
  EXPECT_EQ(registers.Read(u'*')->kind, RegisterKind::kCharacterwise);
  EXPECT_FALSE(bridge_.Get());
}

TEST_F(ClipboardBridgeTest, CountsLinesWithEveryKindOfBreak) {
  EXPECT_EQ(ClipboardBridge::CountLines(u""), 0u);
  EXPECT_EQ(ClipboardBridge::CountLines(u"a"), 1u);
  EXPECT_EQ(ClipboardBridge::CountLines(u"a\r\n"), 1u);
  EXPECT_EQ(ClipboardBridge::CountLines(u"a\r\nb"), 2u);
  EXPECT_EQ(ClipboardBridge::CountLines(u"a\rb\r"), 2u);
  EXPECT_EQ(ClipboardBridge::CountLines(u"\r\n\r\n"), 2u);
  EXPECT_EQ(ClipboardBridge::CountLines(u"a\nb"), 1u);  // a lone LF is not a break
}

TEST_F(ClipboardBridgeTest, BusyOrMissingClipboardChangesNothing) {
  bool open = false;
  bridge_.SetOpenCheck([&open] { return open; });
  clipboard_.SetText(u"theirs");
  EXPECT_FALSE(bridge_.Put(u"mine", RegisterKind::kLinewise));
  EXPECT_EQ(clipboard_.Text(), u"theirs");
  EXPECT_FALSE(bridge_.Get());

  // The clipboard register keeps its text while the clipboard is busy.
  RegisterFile registers(&bridge_, true);
  open = true;
  registers.Write(u'*', u"kept\r\n", RegisterKind::kLinewise);
  open = false;
  clipboard_.Clear();
  clipboard_.SetText(u"changed");
  auto read = registers.Read(u'*');
  ASSERT_TRUE(read);
  EXPECT_EQ(read->text, u"kept\r\n");
  EXPECT_EQ(read->kind, RegisterKind::kLinewise);

  ClipboardBridge none(nullptr);
  EXPECT_FALSE(none.Put(u"x", RegisterKind::kCharacterwise));
  EXPECT_FALSE(none.Get());
}

// The package with its host editor: keys go through the engine, the clipboard is the host's.
class PackageClipboardTest : public ::testing::Test {
 protected:
  void Start(bool default_is_clipboard, std::u16string_view text) {
    store_.WriteDword("DefaultWinClipboard", default_is_clipboard ? 1 : 0);
    editor_.OpenText(text);
    package_ = std::make_unique<Package>(editor_, &store_);
  }
  void Keys(std::u16string_view notation) {
    for (KeyCode key : ParseKeys(notation)) {
      if (key.IsChar() && key.code >= u'A' && key.code <= u'Z') key.flags |= key_mod::kShift;
      package_->HandleKey(*editor_.FocusedView(), key);
    }
  }
  std::u16string Buffer() { return editor_.FocusedView()->Buffer().Text(); }

  platform::EditorHost editor_;
  MemorySettingsStore store_;
  std::unique_ptr<Package> package_;
};

TEST_F(PackageClipboardTest, DefaultRegisterIsTheClipboardWhenTheSettingIsOn) {
  Start(true, u"one\ntwo\n");
  Keys(u"Y");
  EXPECT_EQ(editor_.clipboard().Text(), u"one\r\n");
  EXPECT_EQ(editor_.clipboard().Data(kRegisterKindFormat), KindBytes(1));
  // Text copied elsewhere as two lines is put linewise; one line with a break characterwise.
  editor_.clipboard().Clear();
  editor_.clipboard().SetText(u"x\r\ny\r\n");
  Keys(u"p");
  EXPECT_EQ(Buffer(), u"one\nx\ny\ntwo\n");
  editor_.clipboard().Clear();
  editor_.clipboard().SetText(u"z\r\n");
  Keys(u"k\"*p");
  EXPECT_EQ(Buffer(), u"oz\nne\nx\ny\ntwo\n");
}

TEST_F(PackageClipboardTest, RegisterZeroIsTheDefaultWhenTheSettingIsOff) {
  Start(false, u"one\ntwo\n");
  editor_.clipboard().SetText(u"untouched");
  Keys(u"Yjp");
  EXPECT_EQ(Buffer(), u"one\ntwo\none\n");
  EXPECT_EQ(editor_.clipboard().Text(), u"untouched");
  Keys(u"k\"0P");
  EXPECT_EQ(Buffer(), u"one\none\ntwo\none\n");
  Keys(u"\"*p");  // the clipboard register still reads the clipboard
  EXPECT_EQ(Buffer(), u"one\nountouchedne\ntwo\none\n");
}

}  // namespace
}  // namespace tavik::host
