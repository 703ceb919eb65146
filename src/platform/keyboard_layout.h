// Keyboard layouts: for each physical key its scan code, the virtual key the layout gives it and
// the characters it types alone, with Shift and with AltGr (Ctrl+Alt). A layout answers the two
// questions a window procedure asks of the system's layout: which character a key with some
// modifiers types, and which character a virtual key maps to.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/virtual_keys.h"

namespace tavik::platform {

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
  // Indexes the keys by virtual key and by the ASCII characters they type, so that the look-ups
  // made for every key press take constant time.
  constexpr KeyboardLayout(std::string_view name, std::span<const LayoutKey> keys)
      : name_(name), keys_(keys) {
    by_virtual_key_.fill(kNoKey);
    typed_by_.fill(kNoKey);
    typed_with_.fill(0);
    for (size_t i = keys.size(); i-- > 0;) {
      by_virtual_key_[keys[i].virtual_key] = static_cast<uint8_t>(i);
    }
    // The plain character of a key first, then the shifted one, then AltGr's.
    for (uint8_t level = 3; level-- > 0;) {
      for (size_t i = keys.size(); i-- > 0;) {
        const char16_t c = level == 0 ? keys[i].base : level == 1 ? keys[i].shifted : keys[i].altgr;
        if (c < 32 || c >= 128) continue;
        typed_by_[c] = static_cast<uint8_t>(i);
        typed_with_[c] = level;
      }
    }
  }

  std::string_view Name() const { return name_; }
  std::span<const LayoutKey> Keys() const { return keys_; }
  const LayoutKey* FindVirtualKey(uint32_t virtual_key) const {
    if (virtual_key >= by_virtual_key_.size() || by_virtual_key_[virtual_key] == kNoKey) {
      return nullptr;
    }
    return &keys_[by_virtual_key_[virtual_key]];
  }
  // The key typing an ASCII character of 32 or more, and how: 0 alone, 1 with Shift, 2 with
  // AltGr; nullptr when no key types it.
  const LayoutKey* FindTyping(char16_t c, uint8_t& level) const {
    if (c >= typed_by_.size() || typed_by_[c] == kNoKey) return nullptr;
    level = typed_with_[c];
    return &keys_[typed_by_[c]];
  }
  const LayoutKey* FindScanCode(uint32_t scan_code) const;

  // The character a key types with the state's modifiers, or nothing: control characters with
  // Ctrl, the AltGr character with Ctrl and Alt, the base or shifted one otherwise.
  std::optional<char16_t> ToUnicode(uint32_t virtual_key, const KeyboardState& state) const;
  // The character the virtual key maps to without modifiers (0 for none).
  char16_t MapVirtualKey(uint32_t virtual_key) const;

 private:
  static constexpr uint8_t kNoKey = 0xFF;
  std::string_view name_;
  std::span<const LayoutKey> keys_;
  std::array<uint8_t, 256> by_virtual_key_{};
  std::array<uint8_t, 128> typed_by_{};
  std::array<uint8_t, 128> typed_with_{};
};

const KeyboardLayout& UsLayout();
const KeyboardLayout& GermanLayout();
// "us" or "de"; nullptr for an unknown name.
const KeyboardLayout* LayoutByName(std::string_view name);

}  // namespace tavik::platform
