// Key notation: parsing cases, printing cases, and print-then-parse over every key.
#include "config/key_notation.h"

#include <gtest/gtest.h>

#include <string>

namespace tavik {
namespace {

using key_mod::kAlt;
using key_mod::kCtrl;
using key_mod::kShift;

std::u16string Print(const KeyCode& key) {
  std::u16string out;
  PrintKey(key, out);
  return out;
}

KeyCode ParseOne(std::u16string_view text) {
  const std::vector<KeyCode> keys = ParseKeys(text);
  EXPECT_EQ(keys.size(), 1u) << std::string(text.begin(), text.end());
  return keys.empty() ? KeyCode{} : keys.front();
}

TEST(KeyNotationParseTest, ControlKeysBecomeControlCharactersAndKeepCtrl) {
  EXPECT_EQ(ParseOne(u"<C-a>"), KeyCode::Char(1, kCtrl));
  EXPECT_EQ(ParseOne(u"<c-A>"), KeyCode::Char(1, kCtrl));
  EXPECT_EQ(ParseOne(u"<C-A>"), KeyCode::Char(1, kCtrl));
  EXPECT_EQ(ParseOne(u"<C-@>"), KeyCode::Char(0, kCtrl));
  EXPECT_EQ(ParseOne(u"<C-[>"), KeyCode::Char(27, kCtrl));
  EXPECT_EQ(ParseOne(u"<C-Bslash>"), KeyCode::Char(28, kCtrl));
  EXPECT_EQ(ParseOne(u"<C-1>"), KeyCode::Char(u'1', kCtrl));
  EXPECT_EQ(ParseOne(u"<C-Space>"), KeyCode::Char(u' ', kCtrl));
  EXPECT_EQ(ParseOne(u"<A-C-x>"), KeyCode::Char(u'x', kAlt | kCtrl));
  EXPECT_EQ(ParseOne(u"<m-s-c-x>"), KeyCode::Char(u'x', kAlt | kShift | kCtrl));
}

TEST(KeyNotationParseTest, NamedKeysAnyCaseAndLongestNameFollowedByBracket) {
  EXPECT_EQ(ParseOne(u"<esc>"), KeyCode::Char(27));
  EXPECT_EQ(ParseOne(u"<ESC>"), KeyCode::Char(27));
  EXPECT_EQ(ParseOne(u"<Escape>"), KeyCode::Char(27));
  EXPECT_EQ(ParseOne(u"<lt>"), KeyCode::Char(u'<'));
  EXPECT_EQ(ParseOne(u"<gt>"), KeyCode::Char(u'>'));
  EXPECT_EQ(ParseOne(u"<Bar>"), KeyCode::Char(u'|'));
  EXPECT_EQ(ParseOne(u"<Bslash>"), KeyCode::Char(u'\\'));
  EXPECT_EQ(ParseOne(u"<BS>"), KeyCode::Char(8));
  EXPECT_EQ(ParseOne(u"<Enter>"), KeyCode::Char(13));
  EXPECT_EQ(ParseOne(u"<tab>"), KeyCode::Char(9));
  EXPECT_EQ(ParseOne(u"<F1>"), KeyCode::Special(0x70));
  EXPECT_EQ(ParseOne(u"<F10>"), KeyCode::Special(0x79));
  EXPECT_EQ(ParseOne(u"<f12>"), KeyCode::Special(0x7B));
  EXPECT_EQ(ParseOne(u"<S-PageDown>"), KeyCode::Special(vk::kPageDown, kShift));
  EXPECT_EQ(ParseOne(u"<C-Home>"), KeyCode::Special(vk::kHome, kCtrl));
}

TEST(KeyNotationParseTest, SingleCharactersInBrackets) {
  EXPECT_EQ(ParseOne(u"<x>"), KeyCode::Char(u'x'));
  EXPECT_EQ(ParseOne(u"<->"), KeyCode::Char(u'-'));
  EXPECT_EQ(ParseOne(u"<A->>"), KeyCode::Char(u'>', kAlt));
  EXPECT_EQ(ParseOne(u"<A-->"), KeyCode::Char(u'-', kAlt));
  EXPECT_EQ(ParseOne(u"<A-\u00E9>"), KeyCode::Char(u'\u00E9', kAlt));
}

TEST(KeyNotationParseTest, TextThatIsNoKeyStandsForItself) {
  EXPECT_EQ(ParseKeys(u"<xy>"), (std::vector<KeyCode>{KeyCode::Char(u'<'), KeyCode::Char(u'x'),
                                                      KeyCode::Char(u'y'), KeyCode::Char(u'>')}));
  EXPECT_EQ(ParseKeys(u"<"), std::vector<KeyCode>{KeyCode::Char(u'<')});
  EXPECT_EQ(ParseKeys(u"<Esc"), (std::vector<KeyCode>{KeyCode::Char(u'<'), KeyCode::Char(u'E'),
                                                      KeyCode::Char(u's'), KeyCode::Char(u'c')}));
  EXPECT_EQ(ParseKeys(u"<C-"),
            (std::vector<KeyCode>{KeyCode::Char(u'<'), KeyCode::Char(u'C'), KeyCode::Char(u'-')}));
  EXPECT_EQ(ParseKeys(u"<>").size(), 2u);
  EXPECT_EQ(ParseKeys(u"<LF>").size(), 4u);  // printed, never parsed
  EXPECT_TRUE(ParseKeys(u"").empty());
}

TEST(KeyNotationParseTest, BackslashQuotesTheNextCharacter) {
  EXPECT_EQ(ParseKeys(u"\\<Esc>"),
            (std::vector<KeyCode>{KeyCode::Char(u'<'), KeyCode::Char(u'E'), KeyCode::Char(u's'),
                                  KeyCode::Char(u'c'), KeyCode::Char(u'>')}));
  EXPECT_EQ(ParseKeys(u"\\\\"), std::vector<KeyCode>{KeyCode::Char(u'\\')});
  EXPECT_EQ(ParseKeys(u"a\\"), (std::vector<KeyCode>{KeyCode::Char(u'a'), KeyCode::Char(u'\\')}));
}

TEST(KeyNotationParseTest, ParseKeyReportsTheNextPosition) {
  const std::u16string_view text = u"d<C-w>x";
  EXPECT_EQ(ParseKey(text, 0).next, 1u);
  const ParsedKey ctrl_w = ParseKey(text, 1);
  EXPECT_EQ(ctrl_w.key, KeyCode::Char(23, kCtrl));
  EXPECT_EQ(ctrl_w.next, 6u);
  EXPECT_EQ(ParseKey(text, 6).next, 7u);
}

TEST(KeyNotationPrintTest, Examples) {
  EXPECT_EQ(Print(KeyCode::Char(1, kCtrl)), u"<C-A>");
  EXPECT_EQ(Print(KeyCode::Char(27)), u"<Escape>");
  EXPECT_EQ(Print(KeyCode::Char(u'<')), u"\\<");
  EXPECT_EQ(Print(KeyCode::Char(u'\\')), u"\\\\");
  EXPECT_EQ(Print(KeyCode::Special(0x74, kCtrl | kShift)), u"<C-S-F5>");
  EXPECT_EQ(Print(KeyCode::Special(vk::kLeft, kAlt | kCtrl | kShift)), u"<C-A-S-Left>");
  EXPECT_EQ(Print(KeyCode::Char(u'x', kAlt | kShift | kCtrl)), u"<A-S-C-x>");
  EXPECT_EQ(Print(KeyCode::Char(10)), u"<LF>");
  EXPECT_EQ(Print(KeyCode::Char(13)), u"<CR>");
  EXPECT_EQ(Print(KeyCode::Char(8)), u"<Backspace>");
  EXPECT_EQ(Print(KeyCode::Char(9, kAlt)), u"<A-Tab>");
  EXPECT_EQ(Print(KeyCode::Char(0, kCtrl)), u"<C-@>");
  EXPECT_EQ(Print(KeyCode::Char(u'\u00E9')), u"\u00E9");
  EXPECT_EQ(Print(KeyCode::Char(u'\u00E9', kAlt)), u"<A-\u00E9>");
  EXPECT_EQ(Print(KeyCode::Char(u'\u00E9', kCtrl)), u"<C-\u00E9>");
}

TEST(KeyNotationPrintTest, KeysWithoutANamePrintNothing) {
  EXPECT_EQ(Print(KeyCode::Special(0x13)), u"");  // Pause has no name
  EXPECT_EQ(Print(KeyCode{}), u"");
  const KeyCode keys[] = {KeyCode::Char(u'a'), KeyCode::Special(0x90), KeyCode::Char(u'b')};
  EXPECT_EQ(PrintKeys(keys), u"ab");
}

// The key that parsing gives back for a printed key. Printing is the inverse of parsing
// except where the notation has no way to carry a detail:
//   - a control character that prints under its name (Backspace, Tab, CR, Escape) loses Ctrl;
//   - any other control character prints as C-x and gains Ctrl; with Alt the x stays a
//     character, as Alt keeps Ctrl from making control characters;
//   - Ctrl without Alt on a letter or on @ to _ parses as the control character;
//   - Shift alone on printable ASCII is not written.
KeyCode ExpectedAfterRoundTrip(KeyCode key) {
  const bool ctrl = key.Has(kCtrl);
  const bool alt = key.Has(kAlt);
  if (key.code < 32) {
    const bool named = key.code == 8 || key.code == 9 || key.code == 13 || key.code == 27;
    key.flags = named ? key.flags & ~kCtrl : key.flags | kCtrl;
    if (!named && alt) key.code += 64;
  } else if (ctrl && !alt && key.code >= u'@' && key.code <= u'_') {
    key.code -= 64;
  } else if (ctrl && !alt && key.code >= u'a' && key.code <= u'z') {
    key.code -= 96;
  } else if (!ctrl && !alt && key.code <= 127) {
    key.flags = 0;
  }
  return key;
}

TEST(KeyNotationRoundTripTest, EveryCharacterWithEveryModifierCombination) {
  for (uint32_t code = 0; code <= 0xFFFF; ++code) {
    if (code == 10) continue;  // <LF> does not parse back
    for (uint32_t flags = 0; flags < 8; ++flags) {
      const KeyCode key = KeyCode::Char(static_cast<char16_t>(code), flags);
      const std::u16string text = Print(key);
      const std::vector<KeyCode> parsed = ParseKeys(text);
      ASSERT_EQ(parsed.size(), 1u) << "code " << code << " flags " << flags;
      ASSERT_EQ(parsed[0], ExpectedAfterRoundTrip(key)) << "code " << code << " flags " << flags;
    }
  }
}

TEST(KeyNotationRoundTripTest, EveryNamedSpecialKey) {
  for (const KeyNameRow& row : kKeyNames) {
    if (row.kind != KeyKind::kSpecial) continue;
    for (uint32_t flags = 0; flags < 8; ++flags) {
      const KeyCode key = KeyCode::Special(row.code, flags);
      EXPECT_EQ(ParseKeys(Print(key)), std::vector<KeyCode>{key}) << row.name;
    }
  }
}

TEST(KeyNotationRoundTripTest, RecordedSequenceReplaysAsTheSameKeys) {
  const std::vector<KeyCode> recorded = {
      KeyCode::Char(u'i'),         KeyCode::Char(u'<'),     KeyCode::Char(u'\u00FC'),
      KeyCode::Char(u'\u65E5'),    KeyCode::Char(u'\\'),    KeyCode::Char(27),
      KeyCode::Special(vk::kDown), KeyCode::Char(4, kCtrl), KeyCode::Char(u'>'),
      KeyCode::Char(u'-', kAlt),   KeyCode::Char(u'C'),     KeyCode::Char(u'-')};
  EXPECT_EQ(ParseKeys(PrintKeys(recorded)), recorded);
}

}  // namespace
}  // namespace tavik
