// Virtual keys of the keys that type no character of their own, beside the special keys the
// engine knows (common/key_code.h).
#pragma once

#include <cstdint>

namespace tavik::platform::vkey {

inline constexpr uint32_t kBack = 0x08;
inline constexpr uint32_t kTab = 0x09;
inline constexpr uint32_t kReturn = 0x0D;
inline constexpr uint32_t kShift = 0x10;
inline constexpr uint32_t kControl = 0x11;
inline constexpr uint32_t kMenu = 0x12;  // Alt
inline constexpr uint32_t kEscape = 0x1B;
inline constexpr uint32_t kSpace = 0x20;

}  // namespace tavik::platform::vkey
