// The clash manager: finds the host commands whose key bindings in the editor or global scope
// start with a Ctrl+letter the engine needs, takes those bindings away and gives them back from
// the record it keeps. It sees the host's commands only as a numbered collection with names and
// binding strings, and the keyboard scheme as a property.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/removed_key_set.h"

namespace tavik::host {

// The keys a scan looks for, each character X standing for Ctrl+X, and the wider preset the
// keyboard manager offers, with Ctrl+V and Ctrl+C.
inline constexpr std::u16string_view kDefaultClashKeys = u"RFBDUWTQEYOINP]";
inline constexpr std::u16string_view kClashKeysWithClipboard = u"RFBDUWTQEYOINP]VC";
// The keyboard manager takes at most this many keys from its field.
inline constexpr size_t kMaxClashKeys = 128;

// Binding scopes that count as the editor's or the global one, in the host's languages.
inline constexpr std::array<std::u16string_view, 9> kClashScopes = {
    u"Global",
    u"Text Editor",
    u"Text-Editor",
    u"\u5168\u4F53",
    u"\u30C6\u30AD\u30B9\u30C8 \u30A8\u30C7\u30A3\u30BF",
    u"\uC804\uC5ED",
    u"\uD14D\uC2A4\uD2B8 \uD3B8\uC9D1\uAE30",
    u"\u5168\u5C40",
    u"\u6587\u672C\u7F16\u8F91\u5668",
};

// The binding begins with an accepted scope text.
bool InClashScope(std::u16string_view binding);
// The binding's first keystroke is Ctrl+X (or the German "Strg+X") for a key X of `keys`:
// ":Ctrl+X" followed by the end or a comma. Only the first keystroke of a chord counts, and
// Ctrl+F4 is not Ctrl+F.
bool FirstKeystrokeClashes(std::u16string_view binding, std::u16string_view keys);

// The host's commands as the clash manager reaches them. Indexes count from 1.
class KeyboardCommands {
 public:
  virtual ~KeyboardCommands() = default;
  // 0 when the collection cannot be reached.
  virtual size_t Count() const = 0;
  virtual std::u16string Name(size_t index) const = 0;
  // Nothing when the command's bindings cannot be read.
  virtual std::optional<std::vector<std::u16string>> Bindings(size_t index) const = 0;
  // False when the host refused the change.
  virtual bool SetBindings(size_t index, std::span<const std::u16string> bindings) = 0;
  // The keyboard scheme property; nothing when the keyboard properties cannot be read.
  virtual std::optional<std::u16string> Scheme() const = 0;
  virtual bool SetScheme(std::u16string_view path) = 0;
};

class ClashManager {
 public:
  // `host_version` is the version part of the host's registry root ("7.1"); the custom scheme
  // is used only on a version 7 host.
  ClashManager(KeyboardCommands& commands, std::string host_version, bool host_is_version7)
      : commands_(commands),
        host_version_(std::move(host_version)),
        host_is_version7_(host_is_version7) {}

  // Where a version 7 host keeps the custom scheme: the application-data folder, then
  // "tavik/Host/<version>/Tavik.vsk".
  std::u16string SchemePath() const;
  // Makes sure bindings may be changed: on a version 7 host the keyboard scheme becomes the
  // custom scheme file; elsewhere nothing is needed.
  void EnsureCustomScheme();

  // The commands with a clashing binding, in collection order, each with all its bindings.
  ClashList Scan(std::u16string_view keys) const;
  // Takes every listed command's bindings away. Commands not found are skipped.
  void Remove(const ClashList& clashes);
  // Gives every listed command its recorded bindings back (after making sure of the scheme).
  void Restore(const ClashList& clashes);

 private:
  std::optional<size_t> Find(const ClashRecord& record) const;

  KeyboardCommands& commands_;
  std::string host_version_;
  bool host_is_version7_;
};

}  // namespace tavik::host
