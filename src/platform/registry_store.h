// The per-user registry: DWORD and string values under key paths, in memory, optionally
// persisted to a file chosen by the caller.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tavik::platform {

class RegistryStore {
 public:
  using Value = std::variant<uint32_t, std::u16string>;

  void SetDword(const std::string& key, const std::string& name, uint32_t value);
  void SetString(const std::string& key, const std::string& name, std::u16string value);
  std::optional<uint32_t> Dword(const std::string& key, const std::string& name) const;
  std::optional<std::u16string> String(const std::string& key, const std::string& name) const;
  bool DeleteValue(const std::string& key, const std::string& name);
  // Deletes the key and every key below it.
  void DeleteKey(const std::string& key);
  std::vector<std::string> ValueNames(const std::string& key) const;

  // Persistence: nothing is written unless a file was given. Load reports an unreadable or
  // malformed file as an error text and keeps what it could read.
  void SetBackingFile(std::string path) { path_ = std::move(path); }
  std::optional<std::string> Load();
  std::optional<std::string> Save() const;

 private:
  void Changed() const;

  // Key paths compare case-insensitively, as the registry's do.
  static std::string Normalize(const std::string& key);
  std::map<std::string, std::map<std::string, Value>> keys_;
  std::string path_;
};

}  // namespace tavik::platform
