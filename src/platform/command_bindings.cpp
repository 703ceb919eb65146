// The host's command collection and its key bindings.
#include "platform/command_bindings.h"

#include <algorithm>
#include <array>

#include "platform/keyboard_scheme.h"
#include "platform/registry_store.h"
#include "platform/utf8_codec.h"

namespace tavik::platform {

namespace {

// The default keymap. Global bindings work in every window; "Text Editor" ones only in an
// editor view, where they win over a global binding of the same keys.
constexpr std::array kDefaultKeymap = {
    DefaultBinding{u"File.SaveSelectedItems", u"Global::Ctrl+S"},
    DefaultBinding{u"File.SaveAll", u"Global::Ctrl+Shift+S"},
    DefaultBinding{u"File.OpenFile", u"Global::Ctrl+O"},
    DefaultBinding{u"File.NewFile", u"Global::Ctrl+N"},
    DefaultBinding{u"File.Close", u"Global::Ctrl+F4"},
    DefaultBinding{u"File.Exit", u"Global::F10"},
    DefaultBinding{u"File.Exit", u"Global::Alt+F4"},
    DefaultBinding{u"Edit.Undo", u"Global::Ctrl+Z"},
    DefaultBinding{u"Edit.Undo", u"Global::Alt+Bkspce"},
    DefaultBinding{u"Edit.Redo", u"Global::Ctrl+Y"},
    DefaultBinding{u"Edit.Redo", u"Global::Ctrl+Shift+Z"},
    DefaultBinding{u"Edit.Cut", u"Global::Ctrl+X"},
    DefaultBinding{u"Edit.Cut", u"Global::Shift+Del"},
    DefaultBinding{u"Edit.Copy", u"Global::Ctrl+C"},
    DefaultBinding{u"Edit.Copy", u"Global::Ctrl+Ins"},
    DefaultBinding{u"Edit.Paste", u"Global::Ctrl+V"},
    DefaultBinding{u"Edit.Paste", u"Global::Shift+Ins"},
    DefaultBinding{u"Edit.SelectAll", u"Global::Ctrl+A"},
    DefaultBinding{u"Edit.Find", u"Text Editor::Ctrl+F"},
    DefaultBinding{u"Edit.Replace", u"Text Editor::Ctrl+H"},
    DefaultBinding{u"Edit.GoTo", u"Text Editor::Ctrl+G"},
    DefaultBinding{u"Edit.IncrementalSearch", u"Text Editor::Ctrl+I"},
    DefaultBinding{u"Edit.InsertCharacterCode", u"Text Editor::Ctrl+Shift+U"},
    DefaultBinding{u"Edit.FormatSelection", u"Text Editor::Ctrl+K, Ctrl+F"},
    DefaultBinding{u"Edit.CompleteWord", u"Text Editor::Ctrl+Space"},
    DefaultBinding{u"Edit.ToggleOutliningExpansion", u"Text Editor::Ctrl+M, Ctrl+M"},
    DefaultBinding{u"Edit.StopHidingCurrent", u"Text Editor::Ctrl+M, Ctrl+U"},
    DefaultBinding{u"Edit.CollapsetoDefinitions", u"Text Editor::Ctrl+M, Ctrl+O"},
    DefaultBinding{u"Edit.GotoDefinition", u"Text Editor::F12"},
    DefaultBinding{u"Edit.GotoOutputWindowNextLocation", u"Global::F8"},
    DefaultBinding{u"Edit.GotoOutputWindowPreviousLocation", u"Global::Shift+F8"},
    DefaultBinding{u"View.PopBrowseContext", u"Text Editor::Ctrl+Shift+8"},
    DefaultBinding{u"View.Output", u"Global::F9"},
    DefaultBinding{u"View.Output", u"Global::Ctrl+Alt+O"},
    DefaultBinding{u"Window.NextDocumentWindow", u"Global::Ctrl+PgDn"},
    DefaultBinding{u"Window.NextDocumentWindow", u"Global::Ctrl+F6"},
    DefaultBinding{u"Window.PreviousDocumentWindow", u"Global::Ctrl+PgUp"},
    DefaultBinding{u"Window.PreviousDocumentWindow", u"Global::Ctrl+Shift+F6"},
    DefaultBinding{u"Build.BuildSolution", u"Global::Ctrl+Shift+B"},
    DefaultBinding{u"Tools.Options", u"Global::F2"},
};

constexpr std::u16string_view kSeparator = u"||";
constexpr std::string_view kSchemeValue = "Scheme";

// The keyboard key above the bindings key, which holds the scheme's name.
std::string KeyboardKeyOf(const std::string& bindings_key) {
  const size_t slash = bindings_key.rfind('\\');
  return slash == std::string::npos ? bindings_key : bindings_key.substr(0, slash);
}

// Binding strings joined by "||", each as the collection writes it; nothing when one does not
// parse.
std::optional<std::vector<std::u16string>> SplitBindings(std::u16string_view text) {
  std::vector<std::u16string> bindings;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(kSeparator, start);
    if (end == std::u16string_view::npos) end = text.size();
    const std::optional<Binding> binding = ParseBinding(text.substr(start, end - start));
    if (!binding) return std::nullopt;
    bindings.push_back(FormatBinding(*binding));
    start = end + kSeparator.size();
  }
  return bindings;
}

std::vector<std::u16string> DefaultsOf(std::u16string_view name) {
  std::vector<std::u16string> bindings;
  for (const DefaultBinding& row : kDefaultKeymap) {
    if (row.command == name) bindings.emplace_back(row.binding);
  }
  return bindings;
}

std::u16string Joined(const std::vector<std::u16string>& bindings) {
  std::u16string text;
  for (const std::u16string& binding : bindings) {
    if (!text.empty()) text += kSeparator;
    text += binding;
  }
  return text;
}

}  // namespace

std::span<const DefaultBinding> DefaultKeymap() {
  return kDefaultKeymap;
}

CommandBindings::CommandBindings() {
  for (std::u16string_view name : HostCommandNames())
    commands_.push_back({std::u16string(name), {}});
  for (std::u16string_view name : {kExitCommand, kOptionsCommand}) {
    if (Find(name) == nullptr) commands_.push_back({std::u16string(name), {}});
  }
  ResetToDefaults();
}

void CommandBindings::ResetToDefaults() {
  for (BoundCommand& command : commands_) {
    command.bindings = DefaultsOf(command.name);
    if (scheme_.empty()) Save(command);
  }
  if (!scheme_.empty()) SaveScheme(scheme_);
  chord_.reset();
  Reindex();
}

void CommandBindings::Persist(RegistryStore* registry, std::string key) {
  registry_ = registry;
  key_ = std::move(key);
  scheme_.clear();
  Load();
}

void CommandBindings::Load() {
  if (registry_ == nullptr) return;
  for (const std::string& value : registry_->ValueNames(key_)) {
    BoundCommand* command = FindMutable(FromUtf8(value));
    const std::optional<std::u16string> text = registry_->String(key_, value);
    if (command == nullptr || !text) continue;
    // A value that does not parse leaves the command as it was rather than unbound.
    if (std::optional<std::vector<std::u16string>> bindings = SplitBindings(*text)) {
      command->bindings = std::move(*bindings);
    }
  }
  LoadScheme();
  Reindex();
}

void CommandBindings::LoadScheme() {
  const std::optional<std::u16string> scheme = registry_->String(KeyboardKeyOf(key_), kSchemeValue);
  if (!scheme || scheme->empty()) return;
  scheme_ = *scheme;
  const std::optional<SchemeEntries> entries = ReadSchemeFile(ToUtf8(scheme_));
  if (!entries) return;  // a missing file is a scheme with nothing changed yet
  for (const auto& [name, joined] : *entries) {
    BoundCommand* command = FindMutable(name);
    if (command == nullptr) continue;
    if (std::optional<std::vector<std::u16string>> bindings = SplitBindings(joined)) {
      command->bindings = std::move(*bindings);
    }
  }
}

bool CommandBindings::SetScheme(std::u16string path) {
  if (path.empty() || path == scheme_) return !path.empty();
  if (!SaveScheme(path)) return false;
  if (registry_ != nullptr && !registry_->SetString(KeyboardKeyOf(key_), kSchemeValue, path)) {
    return false;
  }
  scheme_ = std::move(path);
  return true;
}

bool CommandBindings::SaveScheme(const std::u16string& path) const {
  SchemeEntries entries;
  for (const BoundCommand& command : commands_) {
    if (command.bindings != DefaultsOf(command.name))
      entries.emplace_back(command.name, Joined(command.bindings));
  }
  return !WriteSchemeFile(ToUtf8(path), entries).has_value();
}

// Only bindings that differ from the default keymap are stored: in the custom scheme's file
// when there is one, else in the registry.
bool CommandBindings::Save(const BoundCommand& command) {
  if (!scheme_.empty()) return SaveScheme(scheme_);
  if (registry_ == nullptr) return true;
  const std::string name = ToUtf8(command.name);
  if (command.bindings == DefaultsOf(command.name)) {
    registry_->DeleteValue(key_, name);
    return true;
  }
  return registry_->SetString(key_, name, Joined(command.bindings));
}

const BoundCommand* CommandBindings::Find(std::u16string_view name) const {
  for (const BoundCommand& command : commands_) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

BoundCommand* CommandBindings::FindMutable(std::u16string_view name) {
  return const_cast<BoundCommand*>(Find(name));
}

bool CommandBindings::SetBindings(std::u16string_view name, std::vector<std::u16string> bindings) {
  BoundCommand* command = FindMutable(name);
  if (command == nullptr || (scheme_required_ && scheme_.empty())) return false;
  for (std::u16string& text : bindings) {
    const std::optional<Binding> binding = ParseBinding(text);
    if (!binding) return false;
    text = FormatBinding(*binding);
  }
  std::swap(command->bindings, bindings);
  if (!Save(*command)) {
    command->bindings = std::move(bindings);  // the store refused: as it was
    return false;
  }
  chord_.reset();
  Reindex();
  return true;
}

bool CommandBindings::AddBinding(std::u16string_view name, std::u16string_view binding) {
  const BoundCommand* command = Find(name);
  if (command == nullptr) return false;
  std::vector<std::u16string> bindings = command->bindings;
  bindings.emplace_back(binding);
  return SetBindings(name, std::move(bindings));
}

bool CommandBindings::RemoveBinding(std::u16string_view name, std::u16string_view binding) {
  const BoundCommand* command = Find(name);
  const std::optional<Binding> parsed = ParseBinding(binding);
  if (command == nullptr || !parsed) return false;
  std::vector<std::u16string> bindings = command->bindings;
  const auto it = std::find(bindings.begin(), bindings.end(), FormatBinding(*parsed));
  if (it == bindings.end()) return false;
  bindings.erase(it);
  return SetBindings(name, std::move(bindings));
}

void CommandBindings::Reindex() {
  index_.clear();
  first_strokes_.reset();
  for (size_t i = 0; i < commands_.size(); ++i) {
    for (const std::u16string& text : commands_[i].bindings) {
      const std::optional<Binding> binding = ParseBinding(text);
      const BindingScope scope = binding ? ScopeOfText(binding->scope) : BindingScope::kOther;
      if (scope == BindingScope::kOther || binding->strokes.empty()) continue;
      const KeyStroke first = binding->strokes.front();
      // A key beyond the table is never pressed: bindings only name keys below 256.
      if (first.virtual_key < 256)
        first_strokes_.set(first.virtual_key * 8 + (first.modifiers & 7));
      index_.push_back({i, scope, binding->strokes});
    }
  }
}

const BoundCommand* CommandBindings::Match(BindingScope scope, std::span<const KeyStroke> strokes,
                                           bool prefix) const {
  for (const IndexedBinding& entry : index_) {
    if (entry.scope != scope) continue;
    if (prefix ? entry.strokes.size() == 2 && entry.strokes[0] == strokes[0]
               : std::equal(entry.strokes.begin(), entry.strokes.end(), strokes.begin(),
                            strokes.end())) {
      return &commands_[entry.command];
    }
  }
  return nullptr;
}

std::optional<std::u16string> CommandBindings::Lookup(KeyStroke stroke) const {
  if (!MayStartBinding(stroke)) return std::nullopt;
  for (BindingScope scope : {BindingScope::kTextEditor, BindingScope::kGlobal}) {
    if (const BoundCommand* command = Match(scope, std::span(&stroke, 1), false)) {
      return command->name;
    }
  }
  return std::nullopt;
}

BindingMatch CommandBindings::Press(KeyStroke stroke) {
  if (stroke.virtual_key == vkey::kShift || stroke.virtual_key == vkey::kControl ||
      stroke.virtual_key == vkey::kMenu) {
    return {};
  }
  if (chord_) {
    const std::array strokes = {*chord_, stroke};
    chord_.reset();
    for (BindingScope scope : {BindingScope::kTextEditor, BindingScope::kGlobal}) {
      if (const BoundCommand* command = Match(scope, strokes, false)) {
        return {BindingMatch::Kind::kCommand, command->name};
      }
    }
    return {BindingMatch::Kind::kNotCommand, {}};
  }
  if (!MayStartBinding(stroke)) return {};
  for (BindingScope scope : {BindingScope::kTextEditor, BindingScope::kGlobal}) {
    if (const BoundCommand* command = Match(scope, std::span(&stroke, 1), false)) {
      return {BindingMatch::Kind::kCommand, command->name};
    }
    if (Match(scope, std::span(&stroke, 1), true) != nullptr) {
      chord_ = stroke;
      return {BindingMatch::Kind::kPrefix, {}};
    }
  }
  return {};
}

}  // namespace tavik::platform
