// Editing as an editor user does it, on a view: inserting at the caret over the selection,
// breaking lines with automatic indentation, deleting, re-indenting and outlining definitions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/view.h"

namespace tavik::platform {

// The spaces and tabs at the start of a line.
std::u16string LeadingWhitespace(const TextBuffer& buffer, uint32_t line);
// Display column of a unit index, tabs expanded.
uint32_t DisplayColumn(std::u16string_view line, uint32_t column, uint32_t tab_size);
// Indentation for a depth in the view's preferences (tabs only when insert-tabs is on).
std::u16string IndentText(const ViewPreferences& prefs, uint32_t width);

// Replaces the selection, or inserts at the caret, and puts the caret after the text. Typed
// text may join the previous typed undo unit.
void InsertAtCaret(View& view, std::u16string_view text, bool typing);
// Deletes the selection; false when it was empty.
bool DeleteSelection(View& view);
// Breaks the line at the caret; the new line starts with the indentation of the broken line
// (as far as it lies before the caret); the caret goes after it. One undo unit.
void BreakLine(View& view);
// Deletes the unit before (backward) or after the caret, joining lines at their ends; a
// surrogate pair goes as one.
bool DeleteAtCaret(View& view, bool backward);

// Re-indents the lines by the depth of the brackets { ( [ open before each line, one indent
// size per level; a line starting with closing brackets goes back that many levels. One undo
// unit.
void FormatLines(View& view, uint32_t first, uint32_t last);

// Collapses every top-level bracket block { ... } that spans lines; returns how many.
uint32_t CollapseToDefinitions(View& view);

// Completes the word before the caret with the nearest other word of the buffer that starts
// with it; false when none.
bool CompleteWord(View& view);

}  // namespace tavik::platform
