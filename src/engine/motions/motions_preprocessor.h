// Matching of preprocessor conditionals for %: #if, #ifdef and #ifndef open a conditional,
// #elif and #else continue it and #endif closes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavik {
class TextView;
}

namespace tavik::motions {

enum class Conditional : uint8_t { kNone, kOpening, kAlternative, kClosing };

// Classifies a line with every blank removed, so "  #  else" is an alternative.
Conditional ClassifyConditional(std::u16string_view line);

// The line of the partner of the conditional on `line`: from an opening or an alternative the
// next alternative or closing at the same depth, from a closing its opening. Empty when the
// line is not a conditional or the buffer ends first.
std::optional<uint32_t> MatchConditional(const TextView& view, uint32_t line);

}  // namespace tavik::motions
