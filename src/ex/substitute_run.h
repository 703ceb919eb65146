// The substitution loop shared by ":s", ":&" and "&": finds the matches line by line, asks when
// confirming, replaces them with the expanded template and reports the count.
#pragma once

#include <string_view>

#include "engine/search/last_substitution.h"
#include "engine/search/search_request.h"
#include "ex/ex_context.h"

namespace tavik {

inline constexpr std::u16string_view kSubstituteQuestion = u"Substitute this match? (y/n/a/q/l)";

// Replaces matches of the request's pattern in the lines of `range` by `replacement` (the raw
// template) and shows the closing message.
void RunSubstitution(ExContext& context, const SearchRequest& request,
                     std::u16string_view replacement, ExRange range, const SubstituteFlags& flags);

}  // namespace tavik
