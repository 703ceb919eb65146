// Key binding strings as an IDE writes them: a scope, "::", then one keystroke or a chord of two
// ("Global::Ctrl+S", "Text Editor::Ctrl+K, Ctrl+F"). Modifiers come first, in the order Ctrl,
// Shift, Alt; key names are letters, digits, F1-F12, PgUp, PgDn, Home, End, the arrows, Del,
// Ins, Tab, Enter, Esc, Bkspce, Space and punctuation characters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/key_code.h"
#include "platform/virtual_keys.h"

namespace tavik::platform {

// One key pressed with modifiers, as bindings name it: a virtual key (the letter's upper-case
// code for letters, '0'..'9' for digits, the window system's numbers for the rest) and the
// key_mod bits (1 Shift, 2 Ctrl, 4 Alt).
struct KeyStroke {
  uint32_t virtual_key = 0;
  uint32_t modifiers = 0;
  friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Where a binding applies. Bindings of other scopes are kept but never pressed in an editor.
enum class BindingScope : uint8_t { kGlobal, kTextEditor, kOther };

// The scope a scope text names; the editor and global scopes have names in several languages.
BindingScope ScopeOfText(std::u16string_view scope);

struct Binding {
  std::u16string scope;            // as written: "Global", "Text Editor", ...
  std::vector<KeyStroke> strokes;  // one, or two for a chord
  friend bool operator==(const Binding&, const Binding&) = default;
};

// Parses a binding string; nothing when it does not parse. Names compare without regard to case.
std::optional<Binding> ParseBinding(std::u16string_view text);
std::u16string FormatBinding(const Binding& binding);
std::optional<KeyStroke> ParseKeyStroke(std::u16string_view text);
std::u16string FormatKeyStroke(KeyStroke stroke);

// The keystroke a key of the engine's notation stands for: CTRL-F (character 6 with Ctrl) is
// Ctrl+F, a special key is its virtual key, a typed character the key that types it.
KeyStroke KeyStrokeOf(KeyCode key);

}  // namespace tavik::platform
