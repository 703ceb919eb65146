// The host's build commands: the folder's build command run with its output in the output pane,
// and the walk over the places that output names ("next location", "next error").
#pragma once

#include <string_view>

#include "platform/editor_host.h"

namespace tavik::platform {

// "Build.BuildSolution", "Build.Compile", "Build.BuildSelection": runs the build command in the
// focused document's folder, with the argument (a target) after it; kFail when it could not
// start, was stopped or failed.
CommandResult BuildCommand(EditorHost& host, std::u16string_view argument);
// "Edit.GotoOutputWindowNextLocation" and "...PreviousLocation": the next (previous) place the
// last build's output names, opened with the caret on it; kFail when there is none left.
CommandResult NextLocation(EditorHost& host, std::u16string_view argument);
CommandResult PreviousLocation(EditorHost& host, std::u16string_view argument);
// "View.NextError" and "View.PreviousError": the same over the places of error lines.
CommandResult NextError(EditorHost& host, std::u16string_view argument);
CommandResult PreviousError(EditorHost& host, std::u16string_view argument);

}  // namespace tavik::platform
