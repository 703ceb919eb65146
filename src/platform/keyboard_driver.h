// The keyboard driver: turns a key pressed with modifiers into the window messages a keyboard
// sends (key-down, the character message the message loop's translation adds, key-up; the
// system forms while Alt is held without Ctrl), with the scan code in each message, and keeps
// the keyboard state that a window procedure reads while it handles them.
#pragma once

#include <cstdint>
#include <optional>

#include "common/key_code.h"
#include "platform/keyboard_layout.h"
#include "platform/window_message.h"

namespace tavik::platform {

// One press of a physical key (named by its virtual key in the layout) with the modifiers held
// (key_mod bits), or a character typed without a key of the layout (as an input method or a
// paste types it) when `virtual_key` is 0.
struct KeyPress {
  uint32_t virtual_key = 0;
  uint32_t modifiers = 0;
  char16_t character = 0;
  friend bool operator==(const KeyPress&, const KeyPress&) = default;
};

// Message bits of lparam.
namespace key_lparam {
inline constexpr uint32_t kExtended = 1u << 24;
inline constexpr uint32_t kAltDown = 1u << 29;
inline constexpr uint32_t kWasDown = 1u << 30;
inline constexpr uint32_t kReleased = 1u << 31;
}  // namespace key_lparam

class KeyboardDriver {
 public:
  const KeyboardLayout& Layout() const { return *layout_; }
  void SetLayout(const KeyboardLayout& layout) { layout_ = &layout; }
  const KeyboardState& State() const { return state_; }
  void SetCapsLock(bool on) { state_.caps_lock = on; }

  // Presses and releases the key: sends its messages through `send` (any callable taking a
  // WindowMessage) with the modifiers held in the keyboard state meanwhile.
  template <typename Send>
  void Press(const KeyPress& press, Send&& send);

  // The press a keyboard with this layout makes to give the engine `key`: the key and the
  // modifiers that type it, or the bare character when no key types it.
  KeyPress PressFor(KeyCode key) const;

  // The messages of one press, in order, without sending them; at most 3.
  struct Messages {
    WindowMessage items[3];
    int count = 0;
  };
  Messages MessagesFor(const KeyPress& press, const KeyboardState& state) const;

 private:
  const KeyboardLayout* layout_ = &UsLayout();
  KeyboardState state_;
};

template <typename Send>
void KeyboardDriver::Press(const KeyPress& press, Send&& send) {
  const KeyboardState saved = state_;
  state_.shift = (press.modifiers & key_mod::kShift) != 0;
  state_.ctrl = (press.modifiers & key_mod::kCtrl) != 0;
  state_.alt = (press.modifiers & key_mod::kAlt) != 0;
  const Messages messages = MessagesFor(press, state_);
  for (int i = 0; i < messages.count; ++i) send(messages.items[i]);
  state_.shift = saved.shift;
  state_.ctrl = saved.ctrl;
  state_.alt = saved.alt;
}

}  // namespace tavik::platform
