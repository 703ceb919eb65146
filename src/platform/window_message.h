// Window messages as the window system delivers them to an editor view's window: key-down,
// character, system-key, key-up, focus, timer, menu-loop, paint and mouse messages. A view's
// window runs a chain of window procedures: a client subclasses the window by installing its own
// procedure and calling the one it replaced for what it does not consume.
#pragma once

#include <cstdint>
#include <functional>

namespace tavik::platform {

class View;

// Message numbers, as the window system numbers them.
namespace wm {
inline constexpr uint32_t kSetFocus = 0x0007;
inline constexpr uint32_t kKillFocus = 0x0008;
inline constexpr uint32_t kPaint = 0x000F;
inline constexpr uint32_t kNcDestroy = 0x0082;
inline constexpr uint32_t kKeyDown = 0x0100;
inline constexpr uint32_t kKeyUp = 0x0101;
inline constexpr uint32_t kChar = 0x0102;
inline constexpr uint32_t kSysKeyDown = 0x0104;
inline constexpr uint32_t kSysKeyUp = 0x0105;
inline constexpr uint32_t kSysChar = 0x0106;
inline constexpr uint32_t kTimer = 0x0113;
inline constexpr uint32_t kLeftButtonDown = 0x0201;
inline constexpr uint32_t kLeftButtonUp = 0x0202;
inline constexpr uint32_t kRightButtonDown = 0x0204;
inline constexpr uint32_t kRightButtonUp = 0x0205;
inline constexpr uint32_t kMiddleButtonDown = 0x0207;
inline constexpr uint32_t kMiddleButtonUp = 0x0208;
inline constexpr uint32_t kEnterMenuLoop = 0x0211;
inline constexpr uint32_t kExitMenuLoop = 0x0212;
// The editor view's own message after which the caret is made again.
inline constexpr uint32_t kCaretRefresh = 1066;
}  // namespace wm

struct WindowMessage {
  uint32_t message = 0;
  // Key messages: the virtual key; character messages: the UTF-16 unit; timers: the timer id.
  uint32_t wparam = 0;
  // Key and character messages: repeat count in bits 0-15, scan code in bits 16-23, bit 24 for
  // an extended key, bit 29 when Alt is held.
  uint32_t lparam = 0;

  uint32_t ScanCode() const { return (lparam >> 16) & 0xFF; }
};

// Answers 0 for a message it consumed, as window procedures do; what a message's answer means
// beyond that is the message's own.
using WindowProcedure = std::function<intptr_t(View& view, const WindowMessage& message)>;

}  // namespace tavik::platform
