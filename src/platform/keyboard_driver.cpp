// Key presses as messages, and the key press that gives a key of the engine.
#include "platform/keyboard_driver.h"

#include "common/char_class.h"

namespace tavik::platform {

namespace {

// The scan codes of the keys that type control characters 0 and 28 to 31 with Ctrl.
struct ControlKey {
  char16_t control;
  uint8_t scan_code;
};
constexpr ControlKey kControlKeys[] = {{0, 3}, {28, 43}, {29, 27}, {30, 7}, {31, 12}};

uint32_t VirtualKeyOfControl(char16_t c) {
  switch (c) {
    case ch::kBackspace:
      return vkey::kBack;
    case ch::kTab:
      return vkey::kTab;
    case ch::kReturn:
      return vkey::kReturn;
    case ch::kEscape:
      return vkey::kEscape;
    default:
      return 0;
  }
}

}  // namespace

KeyPress KeyboardDriver::PressFor(KeyCode key) const {
  if (key.IsSpecial()) return {key.code, key.flags};
  const auto c = static_cast<char16_t>(key.code);
  if (const uint32_t named = VirtualKeyOfControl(c)) return {named, key.flags};
  if (c < 32) {
    if (c >= 1 && c <= 26) return {static_cast<uint32_t>('A' + c - 1), key.flags | key_mod::kCtrl};
    for (const ControlKey& k : kControlKeys) {
      if (k.control != c) continue;
      if (const LayoutKey* found = layout_->FindScanCode(k.scan_code)) {
        return {found->virtual_key, key.flags | key_mod::kCtrl};
      }
    }
    return {0, key.flags, c};
  }
  // The key typing the character: alone (level 0), with Shift (1) or with AltGr (2).
  uint8_t level = 0;
  const LayoutKey* typing = c < 128 ? layout_->FindTyping(c, level) : nullptr;
  for (uint8_t pass = 0; c >= 128 && typing == nullptr && pass < 3; ++pass) {
    for (const LayoutKey& k : layout_->Keys()) {
      if ((pass == 0 ? k.base : pass == 1 ? k.shifted : k.altgr) == c) {
        typing = &k;
        level = pass;
        break;
      }
    }
  }
  const bool ctrl_or_alt = key.Has(key_mod::kCtrl) || key.Has(key_mod::kAlt);
  if (typing != nullptr && (level < 2 || !ctrl_or_alt)) {
    // With Caps Lock a letter's base character needs Shift, and its shifted one does not.
    const uint32_t caps =
        typing->caps && state_.caps_lock && !key.Has(key_mod::kCtrl) ? key_mod::kShift : 0;
    if (level == 0) return {typing->virtual_key, key.flags ^ caps};
    if (level == 1) return {typing->virtual_key, (key.flags | key_mod::kShift) ^ caps};
    return {typing->virtual_key, key_mod::kCtrl | key_mod::kAlt};
  }
  // No key types it: the character alone, upper case as with Shift held.
  uint32_t modifiers = key.flags;
  if (IsUpperChar(c)) modifiers |= key_mod::kShift;
  return {0, modifiers, c};
}

KeyboardDriver::Messages KeyboardDriver::MessagesFor(const KeyPress& press,
                                                     const KeyboardState& state) const {
  Messages out;
  const bool system = state.alt && !state.ctrl;
  const uint32_t alt_bit = state.alt ? key_lparam::kAltDown : 0;
  if (press.virtual_key == 0) {
    out.items[out.count++] = {system ? wm::kSysChar : wm::kChar, press.character, 1u | alt_bit};
    return out;
  }
  const LayoutKey* key = layout_->FindVirtualKey(press.virtual_key);
  uint32_t lparam = 1u | alt_bit;
  if (key != nullptr) {
    lparam |= static_cast<uint32_t>(key->scan_code) << 16;
    if (key->extended) lparam |= key_lparam::kExtended;
  }
  out.items[out.count++] = {system ? wm::kSysKeyDown : wm::kKeyDown, press.virtual_key, lparam};
  if (std::optional<char16_t> c = layout_->ToUnicode(press.virtual_key, state)) {
    out.items[out.count++] = {system ? wm::kSysChar : wm::kChar, *c, lparam};
  }
  out.items[out.count++] = {system ? wm::kSysKeyUp : wm::kKeyUp, press.virtual_key,
                            lparam | key_lparam::kWasDown | key_lparam::kReleased};
  return out;
}

}  // namespace tavik::platform
