// The host's clipboard, replace, go-to-line and prompt commands: what an editor user reaches
// through the default keymap (cut, copy, paste, find, replace, go to line) and the two editor
// commands that start a modal input in the focused view.
#pragma once

#include <string_view>

#include "platform/editor_host.h"

namespace tavik::platform {

// "Edit.Cut" and "Edit.Copy": the selection, or the caret line with its line break when
// nothing is selected, goes to the clipboard (lines separated by CR LF); cut deletes it.
CommandResult CutCommand(EditorHost& host, std::u16string_view argument);
CommandResult CopyCommand(EditorHost& host, std::u16string_view argument);
// "Edit.Paste": the clipboard's text replaces the selection or goes in at the caret.
CommandResult PasteCommand(EditorHost& host, std::u16string_view argument);
// "Edit.Find TEXT": the next occurrence after the caret is selected, around the end; without
// TEXT the user is asked for it on the status line.
CommandResult FindCommand(EditorHost& host, std::u16string_view argument);
// "Edit.Replace": asks for the text to find and its replacement and replaces every occurrence
// in the document as one undo step; the status line says how many.
CommandResult ReplaceCommand(EditorHost& host, std::u16string_view argument);
// "Edit.GoTo LINE": the caret goes to the first non-blank of the 1-based line (asked for when
// not given); a line past the end goes to the last line.
CommandResult GoToLineCommand(EditorHost& host, std::u16string_view argument);
// "Edit.IncrementalSearch" and "Edit.InsertCharacterCode": the editor commands that start the
// host's modal inputs, sent down the focused view's command-filter chain.
CommandResult IncrementalSearchCommand(EditorHost& host, std::u16string_view argument);
CommandResult InsertCharacterCodeCommand(EditorHost& host, std::u16string_view argument);

}  // namespace tavik::platform
