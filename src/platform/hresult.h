// Results at the host boundary, as the host's component interfaces report them.
#pragma once

#include <cstdint>

namespace tavik::platform {

enum class HResult : uint8_t {
  kOk,           // S_OK
  kFalse,        // S_FALSE: done, with a negative answer
  kFail,         // E_FAIL
  kPointer,      // E_POINTER: a required argument was missing
  kNotImpl,      // E_NOTIMPL
  kUnexpected,   // E_UNEXPECTED: called in a state that does not allow it (after close)
  kOutOfMemory,  // E_OUTOFMEMORY
  kUnsupported,  // OLECMDERR_E_NOTSUPPORTED: no target carries out the command
};

inline constexpr bool Succeeded(HResult result) {
  return result == HResult::kOk || result == HResult::kFalse;
}

}  // namespace tavik::platform
