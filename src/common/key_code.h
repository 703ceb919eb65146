// One key as the engine sees it: a UTF-16 character or a virtual key, with modifier flags.
// Control characters are characters: CTRL-A typed with CTRL held is character 1 with kCtrl.
#pragma once

#include <cstdint>

namespace tavik {

enum class KeyKind : uint32_t { kNone = 0, kChar = 1, kSpecial = 2 };

namespace key_mod {
inline constexpr uint32_t kShift = 1;
inline constexpr uint32_t kCtrl = 2;
inline constexpr uint32_t kAlt = 4;
}  // namespace key_mod

// Virtual-key numbers of the special keys the engine knows.
namespace vk {
inline constexpr uint32_t kPageUp = 33;
inline constexpr uint32_t kPageDown = 34;
inline constexpr uint32_t kEnd = 35;
inline constexpr uint32_t kHome = 36;
inline constexpr uint32_t kLeft = 37;
inline constexpr uint32_t kUp = 38;
inline constexpr uint32_t kRight = 39;
inline constexpr uint32_t kDown = 40;
inline constexpr uint32_t kInsert = 45;
inline constexpr uint32_t kDelete = 46;
inline constexpr uint32_t kF1 = 112;
inline constexpr uint32_t kF12 = 123;
}  // namespace vk

// Character codes with a meaning of their own.
namespace ch {
inline constexpr char16_t kCtrlC = 3;
inline constexpr char16_t kCtrlD = 4;
inline constexpr char16_t kCtrlE = 5;
inline constexpr char16_t kCtrlN = 14;
inline constexpr char16_t kCtrlP = 16;
inline constexpr char16_t kCtrlR = 18;
inline constexpr char16_t kCtrlT = 20;
inline constexpr char16_t kCtrlU = 21;
inline constexpr char16_t kCtrlV = 22;
inline constexpr char16_t kCtrlW = 23;
inline constexpr char16_t kCtrlY = 25;
inline constexpr char16_t kBackspace = 8;
inline constexpr char16_t kTab = 9;
inline constexpr char16_t kLineFeed = 10;
inline constexpr char16_t kReturn = 13;
inline constexpr char16_t kEscape = 27;
}  // namespace ch

struct KeyCode {
  uint32_t code = 0;
  KeyKind kind = KeyKind::kNone;
  uint32_t flags = 0;

  static constexpr KeyCode Char(char16_t c, uint32_t flags = 0) {
    return KeyCode{c, KeyKind::kChar, flags};
  }
  static constexpr KeyCode Special(uint32_t virtual_key, uint32_t flags = 0) {
    return KeyCode{virtual_key, KeyKind::kSpecial, flags};
  }

  constexpr bool IsChar() const { return kind == KeyKind::kChar; }
  constexpr bool IsSpecial() const { return kind == KeyKind::kSpecial; }
  constexpr bool Has(uint32_t modifier) const { return (flags & modifier) != 0; }
  constexpr bool IsChar(char16_t c) const { return IsChar() && code == c; }
  constexpr bool IsSpecial(uint32_t virtual_key) const {
    return IsSpecial() && code == virtual_key;
  }

  friend constexpr bool operator==(const KeyCode&, const KeyCode&) = default;
};

}  // namespace tavik
