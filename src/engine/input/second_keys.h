// The second-key rules: what the key after a prefix (g, z, Z, CTRL-W, [, ], and the text-object
// prefixes i and a) means. The rules are table rows in second_keys.cpp.
#pragma once

#include <cstdint>

#include "common/key_code.h"
#include "engine/input/key_tables.h"

namespace tavik {

enum class SecondKeyKind : uint8_t {
  kNone = 0,    // the prefix does not accept the key: the command is cancelled
  kAction,      // action := code, argument; complete
  kOperator,    // normal mode: an operator waiting for a motion; visual mode: like kAction
  kMotion,      // motion := code, argument; complete
  kBracketPut,  // an action, but cancelled when an operator is pending
};

struct SecondKey {
  SecondKeyKind kind = SecondKeyKind::kNone;
  uint8_t code = 0;
  char16_t arg = 0;
};

// The meaning of `key` after `prefix`. Keys with ALT never match.
SecondKey LookupSecondKey(KeyPrefix prefix, KeyCode key);

}  // namespace tavik
