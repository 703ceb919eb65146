// The one-line version text that the version command shows.
#pragma once

#include <string_view>

namespace tavik {

inline constexpr std::u16string_view kVersionText = u"Tavik 0.1 - modal editing engine";

}  // namespace tavik
