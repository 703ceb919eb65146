// Argument forms and bookkeeping shared by the line-oriented ex commands: a register name, a
// count that turns the range into count lines from its last line, the first non-blank of a line
// as the cursor, and the change marks "[" and "]".
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/actions/put_text.h"
#include "ex/ex_context.h"

namespace tavik {

struct LineArgs {
  char16_t register_name = 0;  // 0: the default register
  ExRange range;
};

// Takes a register name when `with_register` and the argument does not start with a digit,
// then a count when what is left (blanks trimmed) starts with a digit.
LineArgs TakeLineArgs(const ExContext& context, std::u16string_view argument, ExRange range,
                      bool with_register);

// Marks "[" and "]" at the start of `first` and the end of `last`.
void SetChangeMarks(TextView& view, uint32_t first, uint32_t last);

// The cursor to the first non-blank of a line (clamped into the buffer).
void CursorToFirstNonBlank(TextView& view, uint32_t line);

// A linewise put for an ex command: a put too long is refused with its message; a done put sets
// the change marks on its lines and the cursor on the first non-blank of the first one.
PutOutcome PutLinesOfRegister(ExContext& context, const Register& reg, const PutRequest& request);

}  // namespace tavik
