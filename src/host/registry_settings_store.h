// The persistent settings kept in the host's per-user registry store, under the package's key.
#pragma once

#include <string>

#include "config/settings_store.h"
#include "platform/registry_store.h"

namespace tavik::host {

inline constexpr std::string_view kSettingsKey = "Software\\Tavik\\Tavik";

class RegistrySettingsStore final : public SettingsStore {
 public:
  explicit RegistrySettingsStore(platform::RegistryStore& registry) : registry_(registry) {}

  std::optional<uint32_t> ReadDword(std::string_view name) override {
    return registry_.Dword(std::string(kSettingsKey), std::string(name));
  }
  std::optional<std::u16string> ReadString(std::string_view name) override {
    return registry_.String(std::string(kSettingsKey), std::string(name));
  }
  bool WriteDword(std::string_view name, uint32_t value) override {
    registry_.SetDword(std::string(kSettingsKey), std::string(name), value);
    return true;
  }
  bool WriteString(std::string_view name, std::u16string_view value) override {
    registry_.SetString(std::string(kSettingsKey), std::string(name), std::u16string(value));
    return true;
  }

 private:
  platform::RegistryStore& registry_;
};

}  // namespace tavik::host
