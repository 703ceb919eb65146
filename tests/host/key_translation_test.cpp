// Keyboard messages as engine keys: what each key-down, character and system message of the
// keyboard driver becomes under the US and German layouts.
#include "host/key_translation.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/keyboard_driver.h"

namespace tavik::host {
namespace {

using Kind = TranslatedMessage::Kind;
constexpr uint32_t S = key_mod::kShift;
constexpr uint32_t C = key_mod::kCtrl;
constexpr uint32_t A = key_mod::kAlt;

// The keys the engine gets for one press, and how many messages were swallowed.
struct Outcome {
  std::vector<KeyCode> keys;
  int swallowed = 0;
};

Outcome PressOn(const platform::KeyboardLayout& layout, platform::KeyPress press) {
  platform::KeyboardDriver driver;
  driver.SetLayout(layout);
  Outcome outcome;
  driver.Press(press, [&](const platform::WindowMessage& message) {
    const TranslatedMessage t = TranslateKeyMessage(message, driver.State().Flags(), layout);
    if (t.kind == Kind::kKey) outcome.keys.push_back(t.key);
    if (t.kind == Kind::kSwallow) ++outcome.swallowed;
  });
  return outcome;
}

std::vector<KeyCode> Keys(const platform::KeyboardLayout& layout, platform::KeyPress press) {
  return PressOn(layout, press).keys;
}

const platform::KeyboardLayout& kUs = platform::UsLayout();
const platform::KeyboardLayout& kDe = platform::GermanLayout();

TEST(KeyTranslationTest, CtrlKeysBecomeControlCharactersAtKeyDownAndTheirCharacterIsSwallowed) {
  // German Ctrl+Ü: the key with scan code 26 is "[" with Ctrl whatever it prints: Escape.
  const Outcome ue = PressOn(kDe, {0xBA, C});
  EXPECT_EQ(ue.keys, std::vector<KeyCode>{KeyCode::Char(27, C)});
  EXPECT_EQ(ue.swallowed, 1);
  EXPECT_EQ(Keys(kUs, {0xDB, C}), std::vector<KeyCode>{KeyCode::Char(27, C)});
  // Ctrl+6 is CTRL-^ without Shift, held or not; Ctrl+A is 1 keeping its flags.
  EXPECT_EQ(Keys(kUs, {'6', C | S}), std::vector<KeyCode>{KeyCode::Char(30, C)});
  EXPECT_EQ(Keys(kDe, {'6', C}), std::vector<KeyCode>{KeyCode::Char(30, C)});
  EXPECT_EQ(Keys(kUs, {'A', C | S}), std::vector<KeyCode>{KeyCode::Char(1, C | S)});
  // A digit with no control character stays the digit, with Ctrl.
  EXPECT_EQ(Keys(kUs, {'1', C}), std::vector<KeyCode>{KeyCode::Char(u'1', C)});
  // The six fixed positions on German keys: scan code 12 (ß) is "_", 31.
  EXPECT_EQ(Keys(kDe, {0xDB, C}), std::vector<KeyCode>{KeyCode::Char(31, C)});
}

TEST(KeyTranslationTest, CtrlAltTypesAltGrCharactersOrGivesTheMappedKey) {
  // AltGr+Q types "@" through the character message; nothing is delivered at key-down.
  const Outcome at = PressOn(kDe, {'Q', C | A});
  EXPECT_EQ(at.keys, std::vector<KeyCode>{KeyCode::Char(u'@')});
  // Where Ctrl+Alt types nothing the mapped character comes with both flags.
  EXPECT_EQ(Keys(kUs, {'Q', C | A}), std::vector<KeyCode>{KeyCode::Char(u'q', C | A)});
  EXPECT_EQ(Keys(kDe, {'X', C | A}), std::vector<KeyCode>{KeyCode::Char(u'x', C | A)});
  // Space with Ctrl+Alt or Ctrl+Shift is delivered at key-down; with Ctrl alone it types.
  EXPECT_EQ(Keys(kUs, {platform::vkey::kSpace, C | S}),
            std::vector<KeyCode>{KeyCode::Char(u' ', C | S)});
  EXPECT_EQ(Keys(kUs, {platform::vkey::kSpace, C}), std::vector<KeyCode>{KeyCode::Char(u' ')});
}

TEST(KeyTranslationTest, EditingAndCursorKeysSystemKeysAndCharacters) {
  EXPECT_EQ(Keys(kUs, {platform::vkey::kEscape, 0}), std::vector<KeyCode>{KeyCode::Char(27)});
  // Alt without Ctrl is dropped from Return at key-down; the system character keeps it.
  EXPECT_EQ(Keys(kUs, {platform::vkey::kReturn, A}), std::vector<KeyCode>{KeyCode::Char(13, A)});
  EXPECT_EQ(Keys(kUs, {platform::vkey::kBack, C}), std::vector<KeyCode>{KeyCode::Char(8, C)});
  EXPECT_EQ(Keys(kUs, {vk::kLeft, S}), std::vector<KeyCode>{KeyCode::Special(vk::kLeft, S)});
  EXPECT_EQ(Keys(kUs, {vk::kHome, C | A}),
            std::vector<KeyCode>{KeyCode::Special(vk::kHome, C | A)});
  EXPECT_EQ(Keys(kUs, {vk::kF1 + 4, A}), std::vector<KeyCode>{KeyCode::Special(vk::kF1 + 4, A)});
  EXPECT_EQ(Keys(kUs, {'X', A}), std::vector<KeyCode>{KeyCode::Char(u'x', A)});
  EXPECT_EQ(Keys(kUs, {'X', S}), std::vector<KeyCode>{KeyCode::Char(u'X', S)});
  EXPECT_EQ(Keys(kDe, {0xC0, 0}), std::vector<KeyCode>{KeyCode::Char(u'\u00F6')});
  // A character that comes alone, as an input method types it.
  EXPECT_EQ(Keys(kUs, {0, 0, u'\u00E9'}), std::vector<KeyCode>{KeyCode::Char(u'\u00E9')});
  // Control characters and DEL in a character message are swallowed.
  for (uint32_t c : {1u, 27u, 31u, 127u}) {
    EXPECT_EQ(TranslateKeyMessage({platform::wm::kChar, c, 1}, C, kUs).kind, Kind::kSwallow);
  }
  // The Alt key itself and key-ups are not keys.
  EXPECT_EQ(TranslateKeyMessage({platform::wm::kSysKeyDown, platform::vkey::kMenu, 0}, A, kUs).kind,
            Kind::kNone);
  EXPECT_EQ(TranslateKeyMessage({platform::wm::kKeyUp, 'J', 0}, 0, kUs).kind, Kind::kNone);
}

TEST(KeyTranslationTest, TheGlobalToggleIsVWithCtrlShiftAndAlt) {
  EXPECT_TRUE(IsGlobalToggle({platform::wm::kKeyDown, 'V', 0}, C | S | A));
  EXPECT_FALSE(IsGlobalToggle({platform::wm::kKeyDown, 'V', 0}, C | A));
  EXPECT_FALSE(IsGlobalToggle({platform::wm::kKeyUp, 'V', 0}, C | S | A));
}

}  // namespace
}  // namespace tavik::host
