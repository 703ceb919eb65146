// The key an editor window's keyboard message stands for.
#include "host/key_translation.h"

#include <array>

namespace tavik::host {

namespace {

using platform::WindowMessage;
namespace wm = platform::wm;
namespace vkey = platform::vkey;

constexpr uint32_t kCtrlAlt = key_mod::kCtrl | key_mod::kAlt;

// Cursor, editing and function keys: the engine's special keys.
bool IsSpecialKey(uint32_t virtual_key) {
  return (virtual_key >= vk::kPageUp && virtual_key <= vk::kDown) || virtual_key == vk::kInsert ||
         virtual_key == vk::kDelete || (virtual_key >= vk::kF1 && virtual_key <= vk::kF12);
}

// Digits, letters and the punctuation keys, which give control characters with Ctrl.
bool IsCharacterKey(uint32_t virtual_key) {
  return (virtual_key >= '0' && virtual_key <= '9') || (virtual_key >= 'A' && virtual_key <= 'Z') ||
         (virtual_key >= 0xBA && virtual_key <= 0xC0) ||
         (virtual_key >= 0xDB && virtual_key <= 0xDE);
}

// Positions whose character with Ctrl is fixed whatever the layout prints on the key.
struct FixedControlKey {
  uint32_t scan_code;
  char16_t base;
};
constexpr std::array<FixedControlKey, 6> kFixedControlKeys = {{
    {3, u'@'},
    {7, u'^'},
    {12, u'_'},
    {26, u'['},
    {27, u']'},
    {43, u'\\'},
}};

// Alt counts only together with Ctrl on these keys.
uint32_t DropLoneAlt(uint32_t flags) {
  return (flags & key_mod::kCtrl) != 0 ? flags : flags & ~key_mod::kAlt;
}

TranslatedMessage Key(KeyCode key) {
  return {TranslatedMessage::Kind::kKey, key};
}

TranslatedMessage CtrlCharacterKey(const WindowMessage& message, uint32_t flags,
                                   const platform::KeyboardLayout& layout) {
  const uint32_t virtual_key = message.wparam;
  if ((flags & kCtrlAlt) == kCtrlAlt) {
    const platform::KeyboardState state{(flags & key_mod::kShift) != 0, true, true, false};
    // AltGr: the character message that follows carries what the combination types.
    if (layout.ToUnicode(virtual_key, state)) return {};
    return Key(KeyCode::Char(layout.MapVirtualKey(virtual_key), flags));
  }
  // The 6 key is CTRL-^ with or without Shift (Shift is what types "^" above the 6 on most
  // layouts), so Shift is dropped before the position of the key is looked at.
  if (layout.MapVirtualKey(virtual_key) == u'6') {
    return Key(KeyCode::Char(30, flags & ~key_mod::kShift));
  }
  char16_t base = 0;
  for (const FixedControlKey& fixed : kFixedControlKeys) {
    if (fixed.scan_code == message.ScanCode()) base = fixed.base;
  }
  if (base == 0) base = layout.MapVirtualKey(virtual_key);
  if (base == 0) return {};
  if (base >= u'@' && base <= u'_') return Key(KeyCode::Char(base - 64, flags));
  if (base >= u'a' && base <= u'z') return Key(KeyCode::Char(base - 96, flags));
  return Key(KeyCode::Char(base, flags));
}

TranslatedMessage KeyDown(const WindowMessage& message, uint32_t flags,
                          const platform::KeyboardLayout& layout) {
  const uint32_t virtual_key = message.wparam;
  switch (virtual_key) {
    case vkey::kBack:
    case vkey::kTab:
    case vkey::kReturn:
    case vkey::kEscape: {
      const char16_t c = layout.MapVirtualKey(virtual_key);
      return Key(
          KeyCode::Char(c != 0 ? c : static_cast<char16_t>(virtual_key), DropLoneAlt(flags)));
    }
    case vkey::kSpace:
      if ((flags & kCtrlAlt) == kCtrlAlt ||
          (flags & (key_mod::kCtrl | key_mod::kShift)) == (key_mod::kCtrl | key_mod::kShift)) {
        return Key(KeyCode::Char(u' ', flags));
      }
      return {};
    default:
      break;
  }
  if (IsSpecialKey(virtual_key)) return Key(KeyCode::Special(virtual_key, DropLoneAlt(flags)));
  if (IsCharacterKey(virtual_key) && (flags & key_mod::kCtrl) != 0) {
    return CtrlCharacterKey(message, flags, layout);
  }
  return {};
}

}  // namespace

bool IsGlobalToggle(const WindowMessage& message, uint32_t flags) {
  constexpr uint32_t kAll = key_mod::kShift | key_mod::kCtrl | key_mod::kAlt;
  return message.message == wm::kKeyDown && message.wparam == 'V' && (flags & kAll) == kAll;
}

TranslatedMessage TranslateKeyMessage(const WindowMessage& message, uint32_t flags,
                                      const platform::KeyboardLayout& layout) {
  switch (message.message) {
    case wm::kKeyDown:
      return KeyDown(message, flags, layout);
    case wm::kChar: {
      const uint32_t c = message.wparam;
      // Control characters were delivered at key-down.
      if (c < 32 || c == 127) return {TranslatedMessage::Kind::kSwallow, {}};
      return Key(KeyCode::Char(static_cast<char16_t>(c), flags & ~kCtrlAlt));
    }
    case wm::kSysKeyDown:
      if (IsSpecialKey(message.wparam)) {
        return Key(KeyCode::Special(message.wparam, flags | key_mod::kAlt));
      }
      return {};
    case wm::kSysChar:
      return Key(KeyCode::Char(static_cast<char16_t>(message.wparam), flags));
    default:
      return {};
  }
}

}  // namespace tavik::host
