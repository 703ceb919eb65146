// The address grammar of ex lines: numbers, ".", "$", marks, "%", "*", offsets, "," and ";".
#pragma once

#include <cstddef>
#include <string_view>

#include "ex/ex_context.h"

namespace tavik {

enum class RangeError : uint8_t {
  kNone,
  kInvalidRegex,
  kMarkNotSet,
  kPatternNotFound,
  kInvalidRange,
  kOther,
};

struct RangeParse {
  ExRange range;
  bool any_address = false;
  size_t end = 0;  // index just past the range in the text
  RangeError error = RangeError::kNone;
};

RangeParse ParseRange(const ExContext& context, std::u16string_view text, size_t start = 0);

// The status-line message of a range error.
std::u16string_view RangeErrorMessage(RangeError error);

}  // namespace tavik
