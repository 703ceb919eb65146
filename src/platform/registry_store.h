// The host's registry: DWORD, string and binary values under key paths whose first component
// is the hive ("HKEY_CURRENT_USER\Software\..."), kept in memory and, once a file is given,
// persisted to it in the registry export format at every change. A change that cannot be
// written is not made: the caller sees false and the registry stays as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::platform {

inline constexpr std::string_view kCurrentUserHive = "HKEY_CURRENT_USER";
inline constexpr std::string_view kLocalMachineHive = "HKEY_LOCAL_MACHINE";

struct RegistryValue {
  // The registry's own type numbers, as "hex(N):" spells them in the file.
  enum class Kind : uint8_t { kString = 1, kExpandString = 2, kBinary = 3, kDword = 4 };
  Kind kind = Kind::kString;
  uint32_t dword = 0;
  std::u16string text;         // kString, kExpandString
  uint32_t binary_type = 3;    // kBinary: the type number the bytes were stored with
  std::vector<uint8_t> bytes;  // kBinary
  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

struct RegistryKey {
  std::string path;  // as first spelled, hive first
  // By lower-cased name: the name as spelled and the value. The default value has the name "".
  std::map<std::string, std::pair<std::string, RegistryValue>> values;
  friend bool operator==(const RegistryKey&, const RegistryKey&) = default;
};

// By lower-cased path.
using RegistryKeys = std::map<std::string, RegistryKey>;

class RegistryStore {
 public:
  // Puts report whether the change was stored (and written, when a file backs the registry).
  // A key path without a known hive is taken as below HKEY_CURRENT_USER.
  bool SetDword(std::string_view key, std::string_view name, uint32_t value);
  bool SetString(std::string_view key, std::string_view name, std::u16string value);
  bool CreateKey(std::string_view key);
  // False when there was nothing to delete or the change could not be written.
  bool DeleteValue(std::string_view key, std::string_view name);
  // Deletes the key and every key below it.
  bool DeleteKey(std::string_view key);

  std::optional<uint32_t> Dword(std::string_view key, std::string_view name) const;
  // A REG_SZ or REG_EXPAND_SZ value, as text.
  std::optional<std::u16string> String(std::string_view key, std::string_view name) const;
  // A key exists when it was created or holds values, or when a key below it exists.
  bool KeyExists(std::string_view key) const;
  std::vector<std::string> ValueNames(std::string_view key) const;
  // The names of the keys directly below `key`, as spelled.
  std::vector<std::string> SubkeyNames(std::string_view key) const;
  const RegistryKeys& Keys() const { return keys_; }

  // Several changes stored together: all of them, or none when the file cannot be written.
  class Changes {
   public:
    void SetDword(std::string_view key, std::string_view name, uint32_t value);
    void SetString(std::string_view key, std::string_view name, std::u16string value);
    void CreateKey(std::string_view key);
    void DeleteValue(std::string_view key, std::string_view name);
    void DeleteKey(std::string_view key);
    bool Empty() const { return steps_.empty(); }

   private:
    friend class RegistryStore;
    std::optional<std::string> Checked(std::string_view key);
    std::vector<std::function<void(RegistryKeys&)>> steps_;
    bool invalid_ = false;
  };
  bool Commit(const Changes& changes);

  // Persistence. Load reads the backing file; a missing file is an empty registry. A file that
  // does not parse is renamed to "<file>.bad" and the registry starts empty; a file that cannot
  // be read is left alone and every put fails. Both return one line saying so, for the output
  // pane.
  void SetBackingFile(std::string path) { path_ = std::move(path); }
  const std::string& BackingFile() const { return path_; }
  std::optional<std::string> Load();

  // The canonical spelling of a key path: hive first and spelled out, one backslash between
  // components; nothing when a component is empty or holds a control character.
  static std::optional<std::string> CanonicalKey(std::string_view key);
  static std::string Folded(std::string_view text);

 private:
  bool Apply(const std::function<void(RegistryKeys&)>& change);
  // Writes `keys` through a new temporary file in the same folder and a rename.
  bool Write(const RegistryKeys& keys) const;

  RegistryKeys keys_;
  std::string path_;
  bool writes_blocked_ = false;
};

// Edits of a key map, shared by the store's puts and the file reader.
void PutValue(RegistryKeys& keys, const std::string& key, std::string_view name,
              RegistryValue value);
void EnsureKey(RegistryKeys& keys, const std::string& key);
bool EraseValue(RegistryKeys& keys, const std::string& key, std::string_view name);
bool EraseKey(RegistryKeys& keys, const std::string& key);

// The registry file the user's settings live in: $XDG_CONFIG_HOME/tavik/registry.reg, or
// ~/.config/tavik/registry.reg; empty when neither variable gives a folder.
std::string DefaultRegistryFile();

}  // namespace tavik::platform
