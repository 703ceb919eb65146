// Insert mode's CTRL-V, which takes the next key or a typed character code as it is, and text
// pasted into the engine, which goes in as it is in any mode.
#include <gtest/gtest.h>

#include <string>

#include "config/key_notation.h"
#include "engine/view_engine.h"
#include "host/package.h"
#include "platform/editor_host.h"

namespace tavik {
namespace {

class InsertLiteralTest : public ::testing::Test {
 protected:
  InsertLiteralTest() : package_(host_) {}

  void Open(std::u16string_view text) {
    host_.OpenText(text);
    view_ = host_.FocusedView();
  }
  ViewEngine& Engine() { return package_.Engine(); }
  // Keys as typed in the view, letters without SHIFT: what the engine leaves, the host types.
  void Keys(std::u16string_view notation) {
    for (KeyCode key : ParseKeys(notation)) package_.HandleKey(*view_, key);
  }
  bool Paste(std::u16string_view text) {
    return Engine().PasteText(*package_.Attachment(*view_), text);
  }
  std::u16string Buffer() const { return view_->Buffer().Text(); }

  platform::EditorHost host_;
  host::Package package_;
  platform::View* view_ = nullptr;
};

TEST_F(InsertLiteralTest, TheKeyAfterCtrlVGoesInAsItIsUnmapped) {
  Open(u"end");
  Keys(u":imap a b<CR>");
  // Tab is a tab character though Tab alone indents with spaces; Escape, CTRL-C and CTRL-A are
  // their control characters; a mapped key is not mapped; a special key is its notation.
  Keys(u"i<C-v><Tab><Tab><C-v><Esc><C-v><C-c><C-v><C-a>a<C-v>a<C-v><Left><Esc>");
  EXPECT_EQ(Engine().Mode(), EngineMode::kNormal);
  const std::u16string typed = Buffer().substr(0, Buffer().size() - 3);
  EXPECT_EQ(typed.substr(0, 1), u"\t");
  EXPECT_EQ(typed.substr(typed.size() - 11), std::u16string(u"\x1b\x03\x01") + u"ba<Left>");
  EXPECT_NE(typed[1], u'\t');  // the plain Tab gave spaces
  // "." types the same again, the tab included.
  Keys(u"0.");
  EXPECT_EQ(Buffer().substr(0, 1), u"\t");
  EXPECT_EQ(Buffer().size(), 2 * typed.size() + 3);
}

TEST_F(InsertLiteralTest, CharacterCodesInEveryBaseAndTheirLimits) {
  Open(u"");
  // Decimal, hex, octal, four and eight hex digits (a character beyond U+FFFF is two units).
  Keys(u"i<C-v>065<C-v>x42<C-v>o103<C-v>u20ac<C-v>U0001f600<Esc>");
  EXPECT_EQ(Buffer(), u"ABC\u20ac\U0001F600");
  // A shorter code ends at the first key that is no digit, which then counts as usual: here
  // Escape leaves insert mode. Decimal codes stop at 255; a prefix alone goes in as typed.
  Keys(u"cc<C-v>66x<C-v>999<C-v>uz<C-v>7<Esc>");
  EXPECT_EQ(Engine().Mode(), EngineMode::kNormal);
  EXPECT_EQ(Buffer(), std::u16string(u"Bx\u00ffuz") + u'\x07');
  // No character: a message, and nothing goes in.
  Keys(u"cc<C-v>ud800<C-v>U00110000y<Esc>");
  EXPECT_EQ(Buffer(), u"y");
  EXPECT_EQ(Engine().StatusText(), u"Invalid character code");
}

TEST_F(InsertLiteralTest, PastedTextGoesInAsItIsInEveryMode) {
  Open(u"start\nend");
  Keys(u":imap ( X<CR>");
  // In insert mode: no mapping, no indent added, CR and CR LF line breaks alike.
  Keys(u"$a<CR>");
  ASSERT_TRUE(Paste(u"  if (a) {\r    b();\r\n  }\r"));
  Keys(u"z<Esc>");
  EXPECT_EQ(Buffer(), u"start\n  if (a) {\n    b();\n  }\nz\nend");
  // The insertion with its paste is one undo step.
  Keys(u"u");
  EXPECT_EQ(Buffer(), u"start\nend");
  // In normal mode it goes in before the caret and normal mode stays, the caret on its end.
  Keys(u"j0");
  ASSERT_TRUE(Paste(u"(x"));
  EXPECT_EQ(Engine().Mode(), EngineMode::kNormal);
  EXPECT_EQ(Buffer(), u"start\n(xend");
  EXPECT_EQ(view_->Caret(), (TextPos{1, 1}));
  // On a command line it is typed there, without its line break.
  Keys(u":");
  ASSERT_TRUE(Paste(u"s/e/E/\r"));
  EXPECT_EQ(Engine().StatusText(), u":s/e/E/");
  Keys(u"<CR>");
  EXPECT_EQ(Buffer(), u"start\n(xEnd");
  // A disabled engine leaves pasted text to the host.
  Engine().SetEnabled(false);
  EXPECT_FALSE(Paste(u"q"));
}

TEST_F(InsertLiteralTest, CtrlUTakesBackAPasteAsTypedTextOfThisInsert) {
  Open(u"keep");
  Keys(u"A ");
  ASSERT_TRUE(Paste(u"pasted"));
  Keys(u"<C-U><Esc>");
  EXPECT_EQ(Buffer(), u"keep");
}

}  // namespace
}  // namespace tavik
