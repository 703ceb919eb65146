// What the tavik program does when its host starts: open the registry (a file named on the
// command line, the user's own, or none), and load the package when the registry lists it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "host/package.h"
#include "platform/editor_host.h"

namespace tavik::app {

struct RegistrySource {
  enum class Kind : uint8_t { kMemory, kUserFile, kFile };
  Kind kind = Kind::kMemory;
  std::string file;  // kFile
};

// --registry FILE, or the user's registry file.
RegistrySource RegistrySourceOf(const std::optional<std::string>& registry_option);

// Reads the registry the source names into the host. The user's folder is made when missing;
// a file that cannot be used leaves one line in the output pane. False only when a kUserFile
// source finds no folder to use (no HOME); the registry then stays in memory.
bool OpenRegistry(platform::EditorHost& editor, const RegistrySource& source);

// The running program, which registration names as the package's module.
std::string ModulePath();

// The package, when the registry lists it (registered on a fresh registry); else nullptr and
// keys type text.
std::unique_ptr<host::Package> LoadPackage(platform::EditorHost& editor);

}  // namespace tavik::app
