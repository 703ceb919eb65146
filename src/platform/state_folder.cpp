// The state folder from the environment.
#include "platform/state_folder.h"

#include <cstdlib>
#include <filesystem>

namespace tavik::platform {

std::string StateFolder() {
  namespace fs = std::filesystem;
  // A relative XDG path is not meant to be used.
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return (fs::path(state) / "tavik").string();
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return (fs::path(home) / ".local" / "state" / "tavik").string();
}

}  // namespace tavik::platform
