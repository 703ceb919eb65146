// Keyboard layouts: for each physical key its scan code, the virtual key the layout gives it and
// the characters it types alone, with Shift and with AltGr (Ctrl+Alt). A layout answers the two
// questions a window procedure asks of the system's layout: which character a key with some
// modifiers types, and which character a virtual key maps to.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tavik::platform {

// Virtual keys of the keys that type no character of their own, beside those in key_code.h.
namespace vkey {
inline constexpr uint32_t kBack = 0x08;
inline constexpr uint32_t kTab = 0x09;
inline constexpr uint32_t kReturn = 0x0D;
inline constexpr uint32_t kShift = 0x10;
inline constexpr uint32_t kControl = 0x11;
inline constexpr uint32_t kMenu = 0x12;  // Alt
inline constexpr uint32_t kEscape = 0x1B;
inline constexpr uint32_t kSpace = 0x20;
}  // namespace vkey

// One physical key. A character of 0 means the key types nothing in that state.
struct LayoutKey {
  uint8_t scan_code;
  uint8_t virtual_key;
  char16_t base;
  char16_t shifted;
  char16_t altgr;
  bool caps = false;      // Caps Lock swaps the base and shifted characters (letters)
  bool extended = false;  // the key sends the extended-key prefix (cursor and editing keys)
};

// The modifiers held, as a keyboard state reports them.
struct KeyboardState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool caps_lock = false;

  // Shift 1, Ctrl 2, Alt 4, as keys carry them.
  uint32_t Flags() const { return (shift ? 1u : 0u) | (ctrl ? 2u : 0u) | (alt ? 4u : 0u); }
};

class KeyboardLayout {
 public:
  constexpr KeyboardLayout(std::string_view name, std::span<const LayoutKey> keys)
      : name_(name), keys_(keys) {}

  std::string_view Name() const { return name_; }
  std::span<const LayoutKey> Keys() const { return keys_; }
  const LayoutKey* FindVirtualKey(uint32_t virtual_key) const;
  const LayoutKey* FindScanCode(uint32_t scan_code) const;

  // The character a key types with the state's modifiers, or nothing: control characters with
  // Ctrl, the AltGr character with Ctrl and Alt, the base or shifted one otherwise.
  std::optional<char16_t> ToUnicode(uint32_t virtual_key, const KeyboardState& state) const;
  // The character the virtual key maps to without modifiers (0 for none).
  char16_t MapVirtualKey(uint32_t virtual_key) const;

 private:
  std::string_view name_;
  std::span<const LayoutKey> keys_;
};

const KeyboardLayout& UsLayout();
const KeyboardLayout& GermanLayout();
// "us" or "de"; nullptr for an unknown name.
const KeyboardLayout* LayoutByName(std::string_view name);

}  // namespace tavik::platform
