// The search prefilters of a program: where a match can begin and what literal it contains.
#pragma once

#include "regex/program_info.h"

namespace tavik::regex {

// Fills `out` for one case rule from the decoded instructions and sets of `info`.
void BuildFirstChars(const ProgramInfo& info, bool ignore_case, FirstChars* out);
void BuildRequiredLiteral(const ProgramInfo& info, bool ignore_case, RequiredLiteral* out);

}  // namespace tavik::regex
