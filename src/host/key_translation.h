// Keyboard messages of an editor window as keys for the engine: key-down of the keys that type
// control characters, the cursor and function keys and Ctrl combinations; character messages;
// the system forms while Alt is held. The modifier flags are the keyboard state's at the time of
// the message, and the layout answers what a key types.
#pragma once

#include <cstdint>

#include "common/key_code.h"
#include "platform/keyboard_layout.h"
#include "platform/window_message.h"

namespace tavik::host {

struct TranslatedMessage {
  enum class Kind : uint8_t {
    kNone,     // not a key for the engine: the host handles the message
    kKey,      // `key` goes to the engine
    kSwallow,  // answered as handled without the engine (a control character sent at key-down)
  };
  Kind kind = Kind::kNone;
  KeyCode key;
};

// Ctrl+Shift+Alt+V, the global on/off switch of the emulation.
bool IsGlobalToggle(const platform::WindowMessage& message, uint32_t flags);

// `flags` are the key_mod bits of the keyboard state.
TranslatedMessage TranslateKeyMessage(const platform::WindowMessage& message, uint32_t flags,
                                      const platform::KeyboardLayout& layout);

}  // namespace tavik::host
