// Handlers of the ex commands, by family.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ex/ex_context.h"

namespace tavik::ex_commands {

// Options (ex_set.cpp).
void Set(ExContext& context, std::u16string_view argument, bool bang);
// Undo and redo of the last change (ex_undo.cpp).
void Undo(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void Redo(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// The map, noremap and unmap families (ex_map.cpp); `kRow` is the command's row in
// kMapCommands, and ex_map.cpp instantiates every row.
template <size_t kRow>
void Map(ExContext& context, std::u16string_view argument, bool bang);
// Whole lines in place (ex_lines.cpp): delete, yank, join, put, shifts, deleting marks.
void DeleteLines(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// Lines [first, last] deleted as one edit, leaving the text, the default register, the caret
// and the change marks as ":d" run on each of them in turn would. Of calls in a row only the
// `final` one sets the register, the caret and the change marks, which the last one decides.
void DeleteLinesOneByOne(ExContext& context, uint32_t first, uint32_t last, bool final);
void YankLines(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void JoinLines(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void PutLines(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void ShiftRight(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void ShiftLeft(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void DeleteMarks(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// Copying and moving lines to a destination address (ex_copy_move.cpp).
void CopyLines(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void MoveLines(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// Lines to the output pane, plain or numbered (ex_print.cpp).
void PrintLines(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void NumberLines(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// A command line run on every line with (or without) a match (ex_global.cpp).
void Global(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void InverseGlobal(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// Substitution and its repeat with new flags (ex_substitute.cpp).
void Substitute(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void RepeatSubstitute(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// The normal-mode "&": the last substitution on the cursor's line, without its flags.
void RepeatSubstitutionOnCursorLine(ExContext& context);
// Search highlighting switched off until the next search (ex_search.cpp).
void NoHighlight(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// The one-line version text (ex_version.cpp).
void Version(ExContext& context, std::u16string_view argument, bool bang);

// The buffer list (ex_buffers.cpp): go to, next, previous, list and remove.
void GoToBuffer(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void NextBuffer(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void PreviousBuffer(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void ListBuffers(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void DeleteBuffer(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// Commands carried out by host commands (ex_host_commands.cpp): the row handler every
// host-backed row goes through, the command line a row builds, and :q, :clo and :f.
void ExecuteHostRow(ExContext& context, uint32_t row, std::u16string_view argument, ExRange range,
                    bool bang);
std::u16string HostCommandLine(std::u16string_view name, std::u16string_view argument);
// Closes the view's document through the host and, only when it really closed, removes its
// entry from the buffer list (shared by :q and :bd).
void CloseDocumentAndForget(ExContext& context);
void Quit(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void CloseWindow(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void FileInfo(ExContext& context, std::u16string_view argument, ExRange range, bool bang);

}  // namespace tavik::ex_commands
