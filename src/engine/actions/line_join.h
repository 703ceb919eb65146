// Joining a line with the next one, as "J" and "gJ" do and ":join" repeats.
#pragma once

#include <cstdint>

namespace tavik {

class TextView;

// Joins `line` with the next one; with `with_space` the trailing blanks of the line and the
// leading blanks of the next become one blank. Returns the column where the two meet.
uint32_t JoinLineWithNext(TextView& view, uint32_t line, bool with_space);

}  // namespace tavik
