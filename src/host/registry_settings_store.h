// The persistent settings kept in the host's registry, under the package's key below the host's
// per-user root: HKEY_CURRENT_USER\<root>\Tavik. Writes report whether the registry took them.
#pragma once

#include <string>

#include "config/settings_store.h"
#include "platform/registry_store.h"

namespace tavik::host {

// The package's key below the host's registry root.
inline constexpr std::string_view kPackageKeyName = "Tavik";

inline std::string SettingsKey(std::string_view root) {
  return std::string(platform::kCurrentUserHive) + "\\" + std::string(root) + "\\" +
         std::string(kPackageKeyName);
}

class RegistrySettingsStore final : public SettingsStore {
 public:
  RegistrySettingsStore(platform::RegistryStore& registry, std::string key)
      : registry_(registry), key_(std::move(key)) {}

  std::optional<uint32_t> ReadDword(std::string_view name) override {
    return registry_.Dword(key_, name);
  }
  std::optional<std::u16string> ReadString(std::string_view name) override {
    return registry_.String(key_, name);
  }
  bool WriteDword(std::string_view name, uint32_t value) override {
    return registry_.SetDword(key_, name, value);
  }
  bool WriteString(std::string_view name, std::u16string_view value) override {
    return registry_.SetString(key_, name, std::u16string(value));
  }
  const std::string& Key() const { return key_; }

 private:
  platform::RegistryStore& registry_;
  std::string key_;
};

}  // namespace tavik::host
