// The host's named commands with their key bindings, as an IDE keeps them: each command has
// binding strings "Scope::Ctrl+S" (a chord is "Scope::Ctrl+R, Ctrl+W"), the default keymap
// comes from one table, and changes persist in the registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::platform {

class RegistryStore;

// One key pressed with modifiers, as bindings name it: a virtual key (the letter's upper-case
// code for letters, '0'..'9' for digits, the window system's numbers for the rest) and the
// key_mod bits (1 Shift, 2 Ctrl, 4 Alt).
struct KeyStroke {
  uint32_t virtual_key = 0;
  uint32_t modifiers = 0;
  friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

struct BoundCommand {
  std::u16string name;                   // "Edit.Find"
  std::vector<std::u16string> bindings;  // "Text Editor::Ctrl+F", in the order they were added
};

// What a keystroke typed in an editor view means to the bindings.
struct BindingMatch {
  enum class Kind : uint8_t { kNone, kPrefix, kCommand };
  Kind kind = Kind::kNone;
  std::u16string command;  // kCommand: the command to run
};

class CommandBindings {
 public:
  // The default keymap, or what the registry holds when bindings were changed and saved.
  CommandBindings();

  // Reads the saved bindings (if any) and writes every later change under `key`.
  void Persist(RegistryStore* registry, std::string key);

  const std::vector<BoundCommand>& Commands() const { return commands_; }
  const BoundCommand* Find(std::u16string_view name) const;
  // Replaces the command's bindings; false for an unknown command or a binding that does not
  // parse. Persisted at once.
  bool SetBindings(std::u16string_view name, std::vector<std::u16string> bindings);

  // Feeds one keystroke typed in an editor view: a command bound in "Text Editor" or "Global"
  // scope, the first keystroke of a chord (kept until the next keystroke), or nothing.
  BindingMatch Press(KeyStroke stroke);
  void CancelChord() { chord_.reset(); }

 private:
  std::vector<BoundCommand> commands_;
  std::optional<KeyStroke> chord_;
  RegistryStore* registry_ = nullptr;
  std::string key_;
};

}  // namespace tavik::platform
