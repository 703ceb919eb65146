// The package's entries under the host's machine registry root: what registering writes, what
// unregistering removes, and whether the host loads the package at start. Keys marked
// force_remove belong to the package and go on unregistering; the others are shared with the
// host and stay.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/registry_store.h"

namespace tavik::host {

inline constexpr std::string_view kPackageClsid = "{5D7095F2-54F2-4004-AE95-D785DA44A4C2}";
inline constexpr std::string_view kEditorFactoryGuid = "{632E0A82-2ECA-4635-873C-AAFAF798B5F5}";
// The host's project of loose files, where the package offers its editor template.
inline constexpr std::string_view kMiscFilesProjectGuid = "{AE39065F-1A3F-46B7-9CBB-261518016FC5}";

struct ScriptValue {
  std::string name;  // "" is the key's default value
  std::variant<uint32_t, std::u16string> data;
};

struct ScriptKey {
  std::string path;  // below the root
  bool force_remove = false;
  std::vector<ScriptValue> values;
};

// The registration entries for a package whose module (the program) is at `module_path`.
std::vector<ScriptKey> RegistrationScript(std::string_view module_path);

// "HKEY_LOCAL_MACHINE\<root>".
std::string MachineRoot(std::string_view root);

// Both write all their changes at once, or none; false when the registry refused.
bool RegisterPackage(platform::RegistryStore& registry, std::string_view root,
                     std::string_view module_path);
bool UnregisterPackage(platform::RegistryStore& registry, std::string_view root);

// The path component after the host's product key is a version that starts with 7, and nothing
// follows it ("Software\Tavik\Host\7.1").
bool IsVersion7Root(std::string_view root);
// The version part of the root, after the host's product key ("7.1"); empty for another root.
std::string HostVersionOfRoot(std::string_view root);
// Below the machine root: present when the host's database edition is installed.
inline constexpr std::string_view kDatabaseEditionKey =
    "InstalledProducts\\Team System - Database Edition";

// The package is listed under the root's "Packages" key.
bool PackageRegistered(const platform::RegistryStore& registry, std::string_view root);

// Whether the host loads the package at start. A registry that never saw a registration (no
// "Packages" key below the root) is a fresh machine: the package is registered now and loads
// even when that write fails.
bool LoadPackageAtStart(platform::RegistryStore& registry, std::string_view root,
                        std::string_view module_path);

}  // namespace tavik::host
