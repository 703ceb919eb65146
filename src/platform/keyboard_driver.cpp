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
  if (c != 127) {
    const bool ctrl_or_alt = key.Has(key_mod::kCtrl) || key.Has(key_mod::kAlt);
    // The plain character of a key first, then the shifted one, then AltGr's.
    for (int pass = 0; pass < 3; ++pass) {
      for (const LayoutKey& k : layout_->Keys()) {
        if (k.base < 32) continue;
        // With Caps Lock a letter's base character needs Shift, and its shifted one does not.
        const uint32_t caps =
            k.caps && state_.caps_lock && !key.Has(key_mod::kCtrl) ? key_mod::kShift : 0;
        if (pass == 0 && k.base == c) return {k.virtual_key, key.flags ^ caps};
        if (pass == 1 && k.shifted == c) {
          return {k.virtual_key, (key.flags | key_mod::kShift) ^ caps};
        }
        if (pass == 2 && k.altgr == c && !ctrl_or_alt) {
          return {k.virtual_key, key_mod::kCtrl | key_mod::kAlt};
        }
      }
    }
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
