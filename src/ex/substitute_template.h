// The replacement template of ":s": where it ends on the command line, and its expansion for one
// match into the text that replaces it (whole match, groups, line breaks, case changes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "regex/matcher.h"

namespace tavik {

class LineSource;

// The index in `text` of the first unescaped `delimiter`, or text.size() when there is none (a
// backslash takes the character after it).
size_t FindTemplateEnd(std::u16string_view text, char16_t delimiter);

// Expands `replacement` for `match`, whose text is read from `source`, into `out` (replacing its
// content). A line break is written as '\n'; the result is the number of line breaks written.
// `magic` is the option's value: it decides whether "&" or "\&" stands for the whole match.
uint32_t ExpandTemplate(std::u16string_view replacement, const MatchResult& match,
                        const LineSource& source, bool magic, std::u16string& out);

}  // namespace tavik
