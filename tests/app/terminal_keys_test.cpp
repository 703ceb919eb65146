// Terminal input decoding: bytes as terminals send them, and the keys the host gets.
#include "app/terminal_keys.h"

#include <gtest/gtest.h>

namespace tavik::app {
namespace {

using key_mod::kAlt;
using key_mod::kCtrl;
using key_mod::kShift;

std::vector<KeyCode> Decode(std::string_view bytes, bool flush = true) {
  TerminalKeyDecoder decoder;
  std::vector<KeyCode> keys;
  decoder.Feed(bytes, keys);
  if (flush) decoder.Flush(keys);
  return keys;
}

TEST(TerminalKeys, TextAndControlCharacters) {
  EXPECT_EQ(Decode("aZ"), (std::vector<KeyCode>{KeyCode::Char(u'a'), KeyCode::Char(u'Z')}));
  // CTRL-letter is the control character with CTRL; Tab, Return and Escape carry no CTRL.
  EXPECT_EQ(Decode("\x01"), std::vector<KeyCode>{KeyCode::Char(1, kCtrl)});
  EXPECT_EQ(Decode("\x03"), std::vector<KeyCode>{KeyCode::Char(3, kCtrl)});
  EXPECT_EQ(Decode("\t\r"), (std::vector<KeyCode>{KeyCode::Char(9), KeyCode::Char(13)}));
  EXPECT_EQ(Decode("\x1b"), std::vector<KeyCode>{KeyCode::Char(27)});
  EXPECT_EQ(Decode("\x1d\x1e"),
            (std::vector<KeyCode>{KeyCode::Char(29, kCtrl), KeyCode::Char(30, kCtrl)}));
  // The Backspace key sends DEL.
  EXPECT_EQ(Decode("\x7f"), std::vector<KeyCode>{KeyCode::Char(8)});
}

TEST(TerminalKeys, Utf8IncludingSplitReadsAndPairs) {
  EXPECT_EQ(Decode("\xc3\xa9\xe4\xb8\xad"),
            (std::vector<KeyCode>{KeyCode::Char(0xE9), KeyCode::Char(0x4E2D)}));
  // A character above U+FFFF becomes its two UTF-16 units.
  EXPECT_EQ(Decode("\xf0\x9f\x98\x80"),
            (std::vector<KeyCode>{KeyCode::Char(0xD83D), KeyCode::Char(0xDE00)}));
  // A character split over two reads waits for its rest.
  TerminalKeyDecoder decoder;
  std::vector<KeyCode> keys;
  decoder.Feed("\xe4\xb8", keys);
  EXPECT_TRUE(keys.empty());
  decoder.Feed("\xad", keys);
  EXPECT_EQ(keys, std::vector<KeyCode>{KeyCode::Char(0x4E2D)});
  // Invalid bytes give the replacement character, and the next byte is read on its own.
  EXPECT_EQ(Decode("\xff"
                   "a"),
            (std::vector<KeyCode>{KeyCode::Char(0xFFFD), KeyCode::Char(u'a')}));
  EXPECT_EQ(Decode("\xc3("), (std::vector<KeyCode>{KeyCode::Char(0xFFFD), KeyCode::Char(u'(')}));
}

TEST(TerminalKeys, CursorEditingAndFunctionKeys) {
  struct Case {
    const char* bytes;
    KeyCode key;
  };
  const Case cases[] = {
      {"\x1b[A", KeyCode::Special(vk::kUp)},
      {"\x1bOB", KeyCode::Special(vk::kDown)},
      {"\x1b[C", KeyCode::Special(vk::kRight)},
      {"\x1b[D", KeyCode::Special(vk::kLeft)},
      {"\x1b[H", KeyCode::Special(vk::kHome)},
      {"\x1b[F", KeyCode::Special(vk::kEnd)},
      {"\x1b[1~", KeyCode::Special(vk::kHome)},
      {"\x1b[4~", KeyCode::Special(vk::kEnd)},
      {"\x1b[2~", KeyCode::Special(vk::kInsert)},
      {"\x1b[3~", KeyCode::Special(vk::kDelete)},
      {"\x1b[5~", KeyCode::Special(vk::kPageUp)},
      {"\x1b[6~", KeyCode::Special(vk::kPageDown)},
      {"\x1bOP", KeyCode::Special(vk::kF1)},
      {"\x1bOS", KeyCode::Special(vk::kF1 + 3)},
      {"\x1b[15~", KeyCode::Special(vk::kF1 + 4)},
      {"\x1b[21~", KeyCode::Special(vk::kF1 + 9)},
      {"\x1b[24~", KeyCode::Special(vk::kF12)},
      {"\x1b[[A", KeyCode::Special(vk::kF1)},
      // Modifier parameter: 2 SHIFT, 3 ALT, 5 CTRL, 6 CTRL+SHIFT.
      {"\x1b[1;5A", KeyCode::Special(vk::kUp, kCtrl)},
      {"\x1b[1;2D", KeyCode::Special(vk::kLeft, kShift)},
      {"\x1b[3;3~", KeyCode::Special(vk::kDelete, kAlt)},
      {"\x1b[6;6~", KeyCode::Special(vk::kPageDown, kCtrl | kShift)},
      {"\x1b[1;5P", KeyCode::Special(vk::kF1, kCtrl)},
      {"\x1b[Z", KeyCode::Char(9, kShift)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Decode(c.bytes), std::vector<KeyCode>{c.key}) << c.bytes + 1;
  }
}

TEST(TerminalKeys, AltPrefixAndLoneEscape) {
  EXPECT_EQ(Decode("\x1bx"), std::vector<KeyCode>{KeyCode::Char(u'x', kAlt)});
  EXPECT_EQ(Decode("\x1b\x01"), std::vector<KeyCode>{KeyCode::Char(1, kCtrl | kAlt)});
  // Escape followed by Escape: the first is the key, the second may start a sequence.
  EXPECT_EQ(Decode("\x1b\x1b[A"),
            (std::vector<KeyCode>{KeyCode::Char(27), KeyCode::Special(vk::kUp)}));
  // Without more bytes an Escape waits; the escape delay then makes it the Escape key.
  TerminalKeyDecoder decoder;
  std::vector<KeyCode> keys;
  decoder.Feed("\x1b", keys);
  EXPECT_TRUE(keys.empty());
  EXPECT_TRUE(decoder.HasPending());
  decoder.Feed("[", keys);
  EXPECT_TRUE(keys.empty());
  decoder.Feed("1;5", keys);
  EXPECT_TRUE(keys.empty());
  decoder.Feed("C", keys);
  EXPECT_EQ(keys, std::vector<KeyCode>{KeyCode::Special(vk::kRight, kCtrl)});
  keys.clear();
  decoder.Feed("\x1b", keys);
  decoder.Flush(keys);
  EXPECT_EQ(keys, std::vector<KeyCode>{KeyCode::Char(27)});
  EXPECT_FALSE(decoder.HasPending());
  // A sequence cut short by the delay: Escape, then the bytes as typed.
  EXPECT_EQ(Decode("\x1b[1"),
            (std::vector<KeyCode>{KeyCode::Char(27), KeyCode::Char(u'['), KeyCode::Char(u'1')}));
}

TEST(TerminalKeys, ExtendedKeyReportsAndIgnoredSequences) {
  // "CSI code ; modifier u" and xterm's modifyOtherKeys form.
  EXPECT_EQ(Decode("\x1b[97;5u"), std::vector<KeyCode>{KeyCode::Char(1, kCtrl)});
  EXPECT_EQ(Decode("\x1b[27;5;106~"), std::vector<KeyCode>{KeyCode::Char(10, kCtrl)});
  EXPECT_EQ(Decode("\x1b[13;2u"), std::vector<KeyCode>{KeyCode::Char(13, kShift)});
  // Focus reports, unknown numbers and a stray paste end give no key; what follows still does.
  EXPECT_EQ(Decode("\x1b[I\x1b[99~b\x1b[201~"), std::vector<KeyCode>{KeyCode::Char(u'b')});
  // The answer about the progressive keyboard mode is no key; with it on, Escape and a key
  // are two keys even alone in one read.
  TerminalKeyDecoder decoder;
  std::vector<KeyCode> keys;
  decoder.Feed("\x1b[?0u", keys);
  EXPECT_TRUE(keys.empty());
  EXPECT_FALSE(decoder.KeysReported());
  decoder.Feed("\x1b[?1u", keys);
  EXPECT_TRUE(decoder.KeysReported());
  decoder.Feed("\x1bx", keys);
  decoder.Feed("\x1b[120;3u\x1b[27u", keys);
  EXPECT_EQ(keys, (std::vector<KeyCode>{KeyCode::Char(27), KeyCode::Char(u'x'),
                                        KeyCode::Char(u'x', kAlt), KeyCode::Char(27)}));
}

TEST(TerminalKeys, EscapeAndAKeyInOneReadWithOthersAreTwoKeys) {
  // Typed quickly or pasted: nothing is taken as ALT, nothing is lost.
  EXPECT_EQ(Decode("iX\x1b"
                   "AY"),
            (std::vector<KeyCode>{KeyCode::Char(u'i'), KeyCode::Char(u'X'), KeyCode::Char(27),
                                  KeyCode::Char(u'A'), KeyCode::Char(u'Y')}));
  EXPECT_EQ(Decode("\x1b"
                   "ab"),
            (std::vector<KeyCode>{KeyCode::Char(27), KeyCode::Char(u'a'), KeyCode::Char(u'b')}));
  // "ESC O" followed by no keypad letter is Escape, then the letters.
  EXPECT_EQ(Decode("a\x1bOk"), (std::vector<KeyCode>{KeyCode::Char(u'a'), KeyCode::Char(27),
                                                     KeyCode::Char(u'O'), KeyCode::Char(u'k')}));
  // An Escape that ends one read and a key that starts the next are two keys.
  TerminalKeyDecoder decoder;
  std::vector<KeyCode> keys;
  decoder.Feed("x\x1b", keys);
  decoder.Feed("j", keys);
  EXPECT_EQ(keys,
            (std::vector<KeyCode>{KeyCode::Char(u'x'), KeyCode::Char(27), KeyCode::Char(u'j')}));
  // Alone in a read, Escape and one character are ALT with it, a character of several bytes
  // too.
  EXPECT_EQ(Decode("\x1b\xc3\xa9"), std::vector<KeyCode>{KeyCode::Char(0xE9, kAlt)});
}

TEST(TerminalKeys, PastedTextIsOneEventWhateverItHolds) {
  TerminalKeyDecoder decoder;
  std::vector<KeyCode> keys;
  // Escape, control characters and sequences inside a paste are text; the end marker may come
  // in pieces, and keys before and after keep their places.
  decoder.Feed("a\x1b[200~  if (x)\r\t\x1b[A\xc3\xa9\x1b[20", keys);
  EXPECT_EQ(keys, std::vector<KeyCode>{KeyCode::Char(u'a')});
  EXPECT_TRUE(decoder.HasPending());
  decoder.Flush(keys);  // a pause inside a paste does not end it
  EXPECT_EQ(keys.size(), 1u);
  decoder.Feed("1~b\x1b[200~second\x1b[201~", keys);
  EXPECT_EQ(keys, (std::vector<KeyCode>{KeyCode::Char(u'a'), kPastedTextKey, KeyCode::Char(u'b'),
                                        kPastedTextKey}));
  EXPECT_EQ(decoder.TakePaste(), u"  if (x)\r\t\x1b[A\u00e9");
  EXPECT_EQ(decoder.TakePaste(), u"second");
  EXPECT_FALSE(decoder.HasPending());
  // A marker look-alike that is not the end stays in the text.
  keys.clear();
  decoder.Feed("\x1b[200~x\x1b[20", keys);
  decoder.Feed("x\x1b[201~", keys);
  EXPECT_EQ(keys, std::vector<KeyCode>{kPastedTextKey});
  EXPECT_EQ(decoder.TakePaste(), u"x\x1b[20x");
}

}  // namespace
}  // namespace tavik::app
