// Handlers of the ex commands, by family.
#pragma once

#include <string_view>

#include "ex/ex_context.h"

namespace tavik::ex_commands {

// Options (ex_set.cpp).
void Set(ExContext& context, std::u16string_view argument, bool bang);
// Undo and redo of the last change (ex_undo.cpp).
void Undo(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
void Redo(ExContext& context, std::u16string_view argument, ExRange range, bool bang);
// The one-line version text (ex_version.cpp).
void Version(ExContext& context, std::u16string_view argument, bool bang);

}  // namespace tavik::ex_commands
