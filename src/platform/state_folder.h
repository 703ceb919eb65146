// Where the editor keeps what it writes for itself between runs (recovery files, backup copies):
// $XDG_STATE_HOME/tavik, or ~/.local/state/tavik.
#pragma once

#include <string>

namespace tavik::platform {

// The folder's path (not created); empty when neither XDG_STATE_HOME nor HOME is usable.
std::string StateFolder();

}  // namespace tavik::platform
