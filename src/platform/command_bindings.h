// The host's named commands with their key bindings, as an IDE keeps them: each command has
// binding strings "Scope::Ctrl+S" (a chord is "Scope::Ctrl+R, Ctrl+W"), the default keymap
// comes from one table, and changes persist in the registry.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/binding_text.h"

namespace tavik::platform {

class RegistryStore;

struct BoundCommand {
  std::u16string name;                   // "Edit.Find"
  std::vector<std::u16string> bindings;  // "Text Editor::Ctrl+F", in the order they were added
};

// What a keystroke typed in an editor view means to the bindings.
struct BindingMatch {
  enum class Kind : uint8_t {
    kNone,        // not bound: the key goes on to the editor
    kPrefix,      // the first keystroke of a chord: kept until the next keystroke
    kCommand,     // `command` runs
    kNotCommand,  // the second keystroke of a chord that names no command: swallowed
  };
  Kind kind = Kind::kNone;
  std::u16string command;  // kCommand: the command to run
};

struct DefaultBinding {
  std::u16string_view command;
  std::u16string_view binding;
};

// The default keymap: what an IDE user expects of an editor (the README lists it).
std::span<const DefaultBinding> DefaultKeymap();

// The published names of the host's own commands (the command table of the host editor).
std::vector<std::u16string_view> HostCommandNames();

// Where the host keeps binding changes in its per-user registry.

// The names of the commands the front end carries out itself rather than the host.
inline constexpr std::u16string_view kExitCommand = u"File.Exit";
inline constexpr std::u16string_view kOptionsCommand = u"Tools.Options";

class CommandBindings {
 public:
  // Every host command with the default keymap's bindings.
  CommandBindings();

  // Reads the saved bindings (if any) and writes every later change under `key`: one string
  // value per changed command, its bindings joined by "||".
  void Persist(RegistryStore* registry, std::string key);

  // The keyboard scheme. A host whose default scheme is read-only (`required`) changes bindings
  // only in a custom scheme: until one is chosen SetBindings fails. Choosing a scheme file
  // writes the changed bindings there, and every later change goes to that file instead of the
  // registry; the choice is kept in the registry as the keyboard key's "Scheme" value. False
  // when the file or the registry cannot be written (nothing changes then).
  void SetSchemeRequired(bool required) { scheme_required_ = required; }
  const std::u16string& Scheme() const { return scheme_; }
  bool SetScheme(std::u16string path);

  const std::vector<BoundCommand>& Commands() const { return commands_; }
  const BoundCommand* Find(std::u16string_view name) const;
  // Replaces the command's bindings; false for an unknown command or a binding that does not
  // parse (nothing changes then). Bindings are kept as the collection writes them. Persisted.
  bool SetBindings(std::u16string_view name, std::vector<std::u16string> bindings);
  // Adds one binding, or removes one (compared as written by the collection); false when the
  // command is unknown, the binding does not parse, or (removing) the command does not have it.
  bool AddBinding(std::u16string_view name, std::u16string_view binding);
  bool RemoveBinding(std::u16string_view name, std::u16string_view binding);
  // The commands' bindings back to the default keymap.
  void ResetToDefaults();

  // The command a single keystroke runs in the editor ("Text Editor" scope, then "Global"),
  // without chords and without touching the chord state.
  std::optional<std::u16string> Lookup(KeyStroke stroke) const;

  // Feeds one keystroke typed in an editor view: a command bound in "Text Editor" or "Global"
  // scope, the first keystroke of a chord (kept until the next keystroke), or nothing. Modifier
  // keys alone leave a pending chord waiting.
  BindingMatch Press(KeyStroke stroke);
  bool ChordPending() const { return chord_.has_value(); }
  void CancelChord() { chord_.reset(); }

 private:
  BoundCommand* FindMutable(std::u16string_view name);
  bool Save(const BoundCommand& command);
  bool SaveScheme(const std::u16string& path) const;
  // Reads the chosen scheme's file over the registry's bindings.
  void LoadScheme();
  void Load();
  // The first command with a binding of the scope kind whose strokes are `strokes`; with
  // `prefix`, whose first stroke is strokes[0] and which has two.
  const BoundCommand* Match(BindingScope scope, std::span<const KeyStroke> strokes,
                            bool prefix) const;

  // Every editor or global binding parsed, for pressing keys without parsing text.
  void Reindex();
  struct IndexedBinding {
    size_t command;
    BindingScope scope;
    std::vector<KeyStroke> strokes;
  };

  // Whether any editor or global binding starts with the keystroke, so that the many keys no
  // binding names (letters typed as text) are answered without a search.
  bool MayStartBinding(KeyStroke stroke) const {
    return stroke.virtual_key < 256 &&
           first_strokes_[stroke.virtual_key * 8 + (stroke.modifiers & 7)];
  }

  std::vector<BoundCommand> commands_;
  std::vector<IndexedBinding> index_;
  std::bitset<256 * 8> first_strokes_;
  std::optional<KeyStroke> chord_;
  RegistryStore* registry_ = nullptr;
  std::string key_;
  bool scheme_required_ = false;
  std::u16string scheme_;  // the custom scheme's file; empty for the default scheme
};

}  // namespace tavik::platform
