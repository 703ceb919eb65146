// Insert records and registers run as keys, where data files cannot say it: the record that the
// host's own typing leaves, the recording round trip over every kind of key, and registers
// holding very long or self-running key texts.
#include <gtest/gtest.h>

#include <string>

#include "config/key_notation.h"
#include "engine/view_engine.h"
#include "host/package.h"
#include "platform/editor_host.h"

namespace tavik {
namespace {

class InsertRecordTest : public ::testing::Test {
 protected:
  InsertRecordTest() : package_(host_) {}

  void Open(std::u16string_view text) {
    host_.OpenText(text);
    view_ = host_.FocusedView();
  }
  ViewEngine& Engine() { return package_.Engine(); }
  // Keys as the host delivers them: a key the engine leaves alone is typed by the host.
  void Keys(std::u16string_view notation) {
    for (KeyCode key : ParseKeys(notation)) {
      // An upper-case letter is typed with SHIFT.
      if (key.IsChar() && key.code >= u'A' && key.code <= u'Z') key.flags |= key_mod::kShift;
      package_.HandleKey(*view_, key);
    }
  }
  std::u16string Buffer() const { return view_->Buffer().Text(); }
  std::u16string Register(char16_t name) {
    auto content = Engine().Registers().Read(name);
    return content ? content->text : u"<unset>";
  }

  platform::EditorHost host_;
  host::Package package_;
  platform::View* view_ = nullptr;
};

TEST_F(InsertRecordTest, HostTypingBecomesOperationsThatReplayTheSameText) {
  Open(u"    x");
  Keys(u"A<CR>ab<BS>c<Left>d<Esc>");
  // The host indented the new line; the record holds the line break, that indentation, the
  // typed text with the Backspace applied, and the caret move.
  std::u16string typed = Buffer();
  EXPECT_EQ(typed, u"    x\n    adc");
  const InsertRecord& record = Engine().Insert().Record();
  ASSERT_FALSE(record.ops.empty());
  EXPECT_EQ(record.ops.front().type, InsertOpType::kNewLine);
  Keys(u"u");
  EXPECT_EQ(Buffer(), u"    x");
  Keys(u".");
  EXPECT_EQ(Buffer(), typed);
}

TEST_F(InsertRecordTest, RecordingRoundTripsEveryKindOfKey) {
  Open(u"");
  std::vector<KeyCode> keys = {
      KeyCode::Char(u'a'),
      KeyCode::Char(u'<'),
      KeyCode::Char(u'\\'),
      KeyCode::Char(u'|'),
      KeyCode::Char(u' '),
      KeyCode::Char(0x00E9),
      KeyCode::Char(0x4E2D),
      KeyCode::Char(0xD83D),  // a surrogate pair, one unit at a time
      KeyCode::Char(0xDE00),
      KeyCode::Char(1, key_mod::kCtrl),
      KeyCode::Char(ch::kTab),
      KeyCode::Char(ch::kReturn),
      KeyCode::Char(ch::kBackspace),
      KeyCode::Char(u'x', key_mod::kAlt),
      KeyCode::Special(vk::kLeft),
      KeyCode::Special(vk::kDelete, key_mod::kShift),
      KeyCode::Special(vk::kF1 + 4, key_mod::kCtrl),
      KeyCode::Special(vk::kInsert),
      KeyCode::Char(ch::kEscape),
  };
  std::u16string notation = PrintKeys(keys);
  EXPECT_EQ(ParseKeys(notation), keys) << std::string(notation.begin(), notation.end());

  // Through the engine: what is recorded in insert mode comes back from the register.
  Keys(u"qai");
  for (size_t i = 0; i + 1 < keys.size(); ++i) {
    if (keys[i].IsChar(ch::kEscape)) continue;
    package_.HandleKey(*view_, keys[i]);
  }
  Keys(u"<Esc>q");
  std::vector<KeyCode> recorded = ParseKeys(Register(u'a'));
  ASSERT_EQ(recorded.size(), keys.size() + 1);
  EXPECT_EQ(recorded[0], KeyCode::Char(u'i'));
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(recorded[i + 1], keys[i]) << i;
}

TEST_F(InsertRecordTest, AHundredThousandKeyRegisterRunsToTheEnd) {
  Open(u"");
  // 100,000 keys: "i", lines of 49 letters each ended by Return, and Escape.
  std::u16string text = u"i";
  for (int i = 0; i < 99'998; ++i) {
    text += i % 50 == 49 ? std::u16string(u"<CR>") : std::u16string(1, u'a' + i % 26);
  }
  text += u"<Esc>";
  ASSERT_EQ(ParseKeys(text).size(), 100'000u);
  Engine().Registers().Write(u'r', text, RegisterKind::kCharacterwise);
  Keys(u"@r");
  EXPECT_EQ(Engine().Mode(), EngineMode::kNormal);
  EXPECT_EQ(Buffer().size(), 99'998u);  // 97,999 letters, 1,999 line breaks
  // The whole run is one undo step.
  Keys(u"u");
  EXPECT_EQ(Buffer(), u"");
}

TEST_F(InsertRecordTest, SelfRunningRegistersEndWithAMessage) {
  Open(u"abc");
  Engine().Registers().Write(u'a', u"@a", RegisterKind::kCharacterwise);
  Keys(u"@a");
  EXPECT_EQ(Engine().StatusText(), u"Recursive mapping");
  // Two registers that run each other, and junk that is not key notation at all.
  Engine().Registers().Write(u'b', u"@c", RegisterKind::kCharacterwise);
  Engine().Registers().Write(u'c', u"\x01\xFFFF@b", RegisterKind::kCharacterwise);
  Keys(u"<Esc>@b");
  EXPECT_EQ(Engine().StatusText(), u"Recursive mapping");
  // The next key from the user works as usual.
  Keys(u"<Esc>0x");
  EXPECT_EQ(Buffer(), u"bc");
}

TEST_F(InsertRecordTest, ASelfRunningRegisterEndsOnceItsEditsCostTooMuch) {
  // Each round deletes one character of a 20,000-character line, so each rewrites the line:
  // the round limit alone would let it run 1000 rounds.
  Open(std::u16string(20'000, u'a'));
  Engine().SetMaxExpansionWork(1'000'000);
  Engine().Registers().Write(u'a', u"x@a", RegisterKind::kCharacterwise);
  Keys(u"@a");
  EXPECT_EQ(Engine().StatusText(), u"Recursive mapping");
  const size_t deleted = 20'000 - Buffer().size();
  EXPECT_GT(deleted, 10u);
  EXPECT_LT(deleted, 100u);
}

}  // namespace
}  // namespace tavik

namespace tavik {
namespace {

// Block insertions where the view's preferences matter, which the data files cannot set.
TEST_F(InsertRecordTest, BlockAppendPadsShortLinesWithTabsWhenTheViewInsertsTabs) {
  Open(u"abcdefghij\nab\n\nabcdefghijkl");
  view_->Preferences().insert_tabs = true;
  view_->Preferences().tab_size = 4;
  package_.Attachment(*view_)->text.ReadPreferences();
  // The block's right edge is display column 9: short lines get two tabs and one space.
  Keys(u"8l<C-v>3jlA|<Esc>");
  EXPECT_EQ(Buffer(), u"abcdefghi|j\nab\t\t |\n\t\t |\nabcdefghi|jkl");
  Keys(u"u");
  EXPECT_EQ(Buffer(), u"abcdefghij\nab\n\nabcdefghijkl");
}

// The host indents a line opened by Return; the copy replays the record, indentation included.
TEST_F(InsertRecordTest, BlockInsertReplaysWhatTheHostTypedOnTheFirstLine) {
  Open(u"    a1\n    b2\n    c3");
  Keys(u"4l<C-v>2jI<CR>x<Esc>");
  EXPECT_EQ(Buffer(), u"    \n    xa1\n    \n    xb2\n    \n    xc3");
}

}  // namespace
}  // namespace tavik
