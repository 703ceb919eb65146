// The host's navigation commands on names in the text: "go to definition" with its stack of
// places to come back to, and opening the file whose name is under the caret.
#pragma once

#include <string_view>

#include "platform/editor_host.h"

namespace tavik::platform {

// "Edit.GotoDefinition NAME": the caret goes to where NAME looks defined in the focused view's
// document (the word under the caret when no name is given); the place it left is pushed on
// the browse-context stack. kFail, and nothing changes, when the name does not occur.
CommandResult GotoDefinition(EditorHost& host, std::u16string_view argument);
// "View.PopBrowseContext": back to the place the last successful GotoDefinition left, in its
// view or document; kFail when the stack is empty or the place is gone.
CommandResult PopBrowseContext(EditorHost& host, std::u16string_view argument);
// "Edit.OpenFile" without an argument: opens or activates the file named under the caret,
// relative to the document's folder. A trailing ":LINE" puts the caret on that line; trailing
// sentence punctuation is dropped when the name with it does not exist.
CommandResult OpenFileUnderCaret(EditorHost& host);

}  // namespace tavik::platform
