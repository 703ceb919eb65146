// The three visual modes: characterwise ("v"), linewise ("V") and blockwise (CTRL-V).
#pragma once

#include <cstdint>

namespace tavik {

enum class VisualKind : uint8_t { kCharacterwise = 0, kLinewise = 1, kBlockwise = 2 };

}  // namespace tavik
