// The US and German layouts, by scan code as a PC keyboard numbers its keys.
#include "platform/keyboard_layout.h"

#include <array>

#include "common/key_code.h"

namespace tavik::platform {

namespace {

// Keys every layout shares: the ones typing control characters, Space, and the cursor, editing
// and function keys, which type nothing.
#define TAVIK_COMMON_KEYS                                                                         \
  {0x01, vkey::kEscape, 27, 27, 0}, {0x0E, vkey::kBack, 8, 8, 0}, {0x0F, vkey::kTab, 9, 9, 0},    \
      {0x1C, vkey::kReturn, 13, 13, 0}, {0x39, vkey::kSpace, u' ', u' ', 0},                      \
      {0x49, vk::kPageUp, 0, 0, 0, false, true}, {0x51, vk::kPageDown, 0, 0, 0, false, true},     \
      {0x4F, vk::kEnd, 0, 0, 0, false, true}, {0x47, vk::kHome, 0, 0, 0, false, true},            \
      {0x4B, vk::kLeft, 0, 0, 0, false, true}, {0x48, vk::kUp, 0, 0, 0, false, true},             \
      {0x4D, vk::kRight, 0, 0, 0, false, true}, {0x50, vk::kDown, 0, 0, 0, false, true},          \
      {0x52, vk::kInsert, 0, 0, 0, false, true}, {0x53, vk::kDelete, 0, 0, 0, false, true},       \
      {0x3B, 0x70, 0, 0, 0}, {0x3C, 0x71, 0, 0, 0}, {0x3D, 0x72, 0, 0, 0}, {0x3E, 0x73, 0, 0, 0}, \
      {0x3F, 0x74, 0, 0, 0}, {0x40, 0x75, 0, 0, 0}, {0x41, 0x76, 0, 0, 0}, {0x42, 0x77, 0, 0, 0}, \
      {0x43, 0x78, 0, 0, 0}, {0x44, 0x79, 0, 0, 0}, {0x57, 0x7A, 0, 0, 0}, {                      \
    0x58, 0x7B, 0, 0, 0                                                                           \
  }

// A letter key: lower case, upper case with Shift or Caps Lock.
constexpr LayoutKey Letter(uint8_t scan, char letter, char16_t altgr = 0) {
  return {scan,
          static_cast<uint8_t>(letter - 'a' + 'A'),
          static_cast<char16_t>(letter),
          static_cast<char16_t>(letter - 'a' + 'A'),
          altgr,
          true};
}

constexpr LayoutKey kUsKeys[] = {
    TAVIK_COMMON_KEYS,           {0x02, '1', u'1', u'!', 0},
    {0x03, '2', u'2', u'@', 0},  {0x04, '3', u'3', u'#', 0},
    {0x05, '4', u'4', u'$', 0},  {0x06, '5', u'5', u'%', 0},
    {0x07, '6', u'6', u'^', 0},  {0x08, '7', u'7', u'&', 0},
    {0x09, '8', u'8', u'*', 0},  {0x0A, '9', u'9', u'(', 0},
    {0x0B, '0', u'0', u')', 0},  {0x0C, 0xBD, u'-', u'_', 0},
    {0x0D, 0xBB, u'=', u'+', 0}, Letter(0x10, 'q'),
    Letter(0x11, 'w'),           Letter(0x12, 'e'),
    Letter(0x13, 'r'),           Letter(0x14, 't'),
    Letter(0x15, 'y'),           Letter(0x16, 'u'),
    Letter(0x17, 'i'),           Letter(0x18, 'o'),
    Letter(0x19, 'p'),           {0x1A, 0xDB, u'[', u'{', 0},
    {0x1B, 0xDD, u']', u'}', 0}, Letter(0x1E, 'a'),
    Letter(0x1F, 's'),           Letter(0x20, 'd'),
    Letter(0x21, 'f'),           Letter(0x22, 'g'),
    Letter(0x23, 'h'),           Letter(0x24, 'j'),
    Letter(0x25, 'k'),           Letter(0x26, 'l'),
    {0x27, 0xBA, u';', u':', 0}, {0x28, 0xDE, u'\'', u'"', 0},
    {0x29, 0xC0, u'`', u'~', 0}, {0x2B, 0xDC, u'\\', u'|', 0},
    Letter(0x2C, 'z'),           Letter(0x2D, 'x'),
    Letter(0x2E, 'c'),           Letter(0x2F, 'v'),
    Letter(0x30, 'b'),           Letter(0x31, 'n'),
    Letter(0x32, 'm'),           {0x33, 0xBC, u',', u'<', 0},
    {0x34, 0xBE, u'.', u'>', 0}, {0x35, 0xBF, u'/', u'?', 0},
};

// German (QWERTZ): the umlauts sit where US has punctuation, Z and Y swap places, and AltGr
// types @, the brackets, the backslash, the tilde and the bar.
constexpr LayoutKey kGermanKeys[] = {
    TAVIK_COMMON_KEYS,
    {0x02, '1', u'1', u'!', 0},
    {0x03, '2', u'2', u'"', u'\u00B2'},
    {0x04, '3', u'3', u'\u00A7', u'\u00B3'},
    {0x05, '4', u'4', u'$', 0},
    {0x06, '5', u'5', u'%', 0},
    {0x07, '6', u'6', u'&', 0},
    {0x08, '7', u'7', u'/', u'{'},
    {0x09, '8', u'8', u'(', u'['},
    {0x0A, '9', u'9', u')', u']'},
    {0x0B, '0', u'0', u'=', u'}'},
    {0x0C, 0xDB, u'\u00DF', u'?', u'\\'},
    {0x0D, 0xDD, u'\u00B4', u'`', 0},
    Letter(0x10, 'q', u'@'),
    Letter(0x11, 'w'),
    Letter(0x12, 'e', u'\u20AC'),
    Letter(0x13, 'r'),
    Letter(0x14, 't'),
    Letter(0x15, 'z'),
    Letter(0x16, 'u'),
    Letter(0x17, 'i'),
    Letter(0x18, 'o'),
    Letter(0x19, 'p'),
    {0x1A, 0xBA, u'\u00FC', u'\u00DC', 0, true},
    {0x1B, 0xBB, u'+', u'*', u'~'},
    Letter(0x1E, 'a'),
    Letter(0x1F, 's'),
    Letter(0x20, 'd'),
    Letter(0x21, 'f'),
    Letter(0x22, 'g'),
    Letter(0x23, 'h'),
    Letter(0x24, 'j'),
    Letter(0x25, 'k'),
    Letter(0x26, 'l'),
    {0x27, 0xC0, u'\u00F6', u'\u00D6', 0, true},
    {0x28, 0xDE, u'\u00E4', u'\u00C4', 0, true},
    {0x29, 0xDC, u'^', u'\u00B0', 0},
    {0x2B, 0xBF, u'#', u'\'', 0},
    {0x56, 0xE2, u'<', u'>', u'|'},
    Letter(0x2C, 'y'),
    Letter(0x2D, 'x'),
    Letter(0x2E, 'c'),
    Letter(0x2F, 'v'),
    Letter(0x30, 'b'),
    Letter(0x31, 'n'),
    Letter(0x32, 'm', u'\u00B5'),
    {0x33, 0xBC, u',', u';', 0},
    {0x34, 0xBE, u'.', u':', 0},
    {0x35, 0xBD, u'-', u'_', 0},
};

#undef TAVIK_COMMON_KEYS

constexpr KeyboardLayout kUs("us", kUsKeys);
constexpr KeyboardLayout kGerman("de", kGermanKeys);

// Control characters typed with Ctrl by position rather than by letter: the keys right of P and
// the one above Return, and with Shift the keys of 2, 6 and the minus sign on a US keyboard.
struct ControlByScan {
  uint8_t scan_code;
  bool shift;
  char16_t control;
};
constexpr std::array<ControlByScan, 6> kControlByScan = {{
    {26, false, 27},
    {27, false, 29},
    {43, false, 28},
    {3, true, 0},
    {7, true, 30},
    {12, true, 31},
}};

std::optional<char16_t> ControlCharacter(const LayoutKey& key, bool shift) {
  switch (key.virtual_key) {
    case vkey::kBack:
      return char16_t{127};
    case vkey::kReturn:
      return char16_t{10};
    case vkey::kSpace:
      if (!shift) return u' ';
      return std::nullopt;
    default:
      break;
  }
  if (key.base >= u'a' && key.base <= u'z') return static_cast<char16_t>(key.base - 96);
  for (const ControlByScan& c : kControlByScan) {
    if (c.scan_code == key.scan_code && c.shift == shift) return c.control;
  }
  return std::nullopt;
}

}  // namespace

const LayoutKey* KeyboardLayout::FindScanCode(uint32_t scan_code) const {
  for (const LayoutKey& key : keys_) {
    if (key.scan_code == scan_code) return &key;
  }
  return nullptr;
}

std::optional<char16_t> KeyboardLayout::ToUnicode(uint32_t virtual_key,
                                                  const KeyboardState& state) const {
  const LayoutKey* key = FindVirtualKey(virtual_key);
  if (key == nullptr) return std::nullopt;
  if (state.ctrl && state.alt) {
    if (key->altgr != 0 && !state.shift) return key->altgr;
    return std::nullopt;
  }
  if (state.ctrl) return ControlCharacter(*key, state.shift);
  bool shifted = state.shift;
  if (key->caps && state.caps_lock) shifted = !shifted;
  const char16_t c = shifted ? key->shifted : key->base;
  if (c == 0) return std::nullopt;
  return c;
}

char16_t KeyboardLayout::MapVirtualKey(uint32_t virtual_key) const {
  const LayoutKey* key = FindVirtualKey(virtual_key);
  return key == nullptr ? 0 : key->base;
}

const KeyboardLayout& UsLayout() {
  return kUs;
}
const KeyboardLayout& GermanLayout() {
  return kGerman;
}

const KeyboardLayout* LayoutByName(std::string_view name) {
  if (name == kUs.Name()) return &kUs;
  if (name == kGerman.Name()) return &kGerman;
  return nullptr;
}

}  // namespace tavik::platform
