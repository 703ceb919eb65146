// The program's one-shot registry commands: --setting NAME prints a persistent setting,
// --setting NAME=VALUE puts it through the package's settings object, and --register and
// --unregister write and remove the package's registration, and --keybindings lists the host's
// commands with their key bindings.
#pragma once

#include "app/batch_options.h"

namespace tavik::app {

// Exit status 0, 1 for a put the settings object or the registry refused, 2 for an unknown
// setting or a value of the wrong kind.
int RunSettingCommand(const ProgramOptions& options);
// Exit status 0, or 1 when the registry could not be written.
int RunRegistration(const ProgramOptions& options);
// Prints the host's commands with their current key bindings, one a line:
// "Name<TAB>binding||binding". Exit status 0, or 1 when the output could not be written.
int RunKeyBindings(const ProgramOptions& options);

}  // namespace tavik::app
