// Running one ex command line: range, command name, table look-up, defaults, "!" and handler.
#pragma once

#include <string_view>

#include "ex/ex_context.h"

namespace tavik {

// Parses and runs one command; returns whether a command ran.
bool ExecuteExLine(ExContext& context, std::u16string_view text);

}  // namespace tavik
