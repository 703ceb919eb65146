// The engine's memory of the last substitution, kept beside the last search: the pattern text
// and the magic level it was parsed with, the raw replacement template and the flags. ":s" with
// arguments replaces all of it, ":&" only the flags, and ":s" alone and "&" reuse it.
#pragma once

#include <string>

namespace tavik {

struct SubstituteFlags {
  bool global = false;       // g: every match of a line, not only the first
  bool confirm = false;      // c: ask before each substitution
  bool ignore_case = false;  // i
  bool match_case = false;   // I
  bool count_only = false;   // n: count the matches and change nothing
};

struct LastSubstitution {
  std::u16string pattern;  // empty until the first ":s" (or ":g" with a pattern)
  bool magic = true;
  std::u16string replacement;  // as typed, up to its closing delimiter
  SubstituteFlags flags;
};

}  // namespace tavik
