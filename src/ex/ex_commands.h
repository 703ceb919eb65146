// Handlers of the ex commands, by family.
#pragma once

#include <cstddef>
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
// Search highlighting switched off until the next search (ex_search.cpp).
void NoHighlight(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// The one-line version text (ex_version.cpp).
void Version(ExContext& context, std::u16string_view argument, bool bang);

}  // namespace tavik::ex_commands
