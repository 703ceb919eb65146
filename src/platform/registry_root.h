// The host's registry root, "Software\Tavik\Host\<version>": the per-user settings of packages
// live below it in HKEY_CURRENT_USER and the registered packages in HKEY_LOCAL_MACHINE. The
// version is the host's own setting, so one registry can play hosts of several versions.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry_store.h"
#include "platform/utf8_codec.h"

namespace tavik::platform {

inline constexpr std::string_view kHostProductKey = "Software\\Tavik\\Host";
// HKEY_CURRENT_USER\Software\Tavik\Host, value "Version".
inline constexpr std::string_view kHostVersionValue = "Version";
inline constexpr std::string_view kDefaultHostVersion = "1.0";

inline std::string HostVersion(const RegistryStore& registry) {
  const std::optional<std::u16string> stored = registry.String(
      std::string(kCurrentUserHive) + "\\" + std::string(kHostProductKey), kHostVersionValue);
  if (!stored || stored->empty()) return std::string(kDefaultHostVersion);
  return ToUtf8(*stored);
}

// The root without hive, as the host's local registry hands it out.
inline std::string LocalRegistryRoot(const RegistryStore& registry) {
  return std::string(kHostProductKey) + "\\" + HostVersion(registry);
}

}  // namespace tavik::platform
