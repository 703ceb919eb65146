// One complete command as the parser hands it to the executor, and as "." repeats it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavik {

// Action codes 1 to 76 and motion codes 1 to 83; 0 means none.
using ActionCode = uint8_t;
using MotionCode = uint8_t;

inline constexpr ActionCode kMaxActionCode = 76;
inline constexpr MotionCode kMaxMotionCode = 83;
inline constexpr size_t kCommandTextCapacity = 511;

enum class ForcedKind : uint8_t { kCharacterwise = 0, kLinewise = 1, kBlockwise = 2 };

struct CommandRecord {
  uint32_t action_count = 0;  // the typed count when the command has no motion, else 0
  uint32_t motion_count = 0;  // the typed count when the command has a motion, else 0
  ActionCode action = 0;
  char16_t action_arg = 0;
  MotionCode motion = 0;
  char16_t motion_arg = 0;
  char register_name = 0;  // 0 when no register was given
  bool forced = false;     // v, V or CTRL-V typed between operator and motion
  ForcedKind forced_kind = ForcedKind::kCharacterwise;
  uint32_t executor_data[2] = {0, 0};
  // The command line after ":" or the pattern after "/" or "?", NUL-terminated.
  std::array<char16_t, kCommandTextCapacity + 1> text{};
  uint16_t text_length = 0;

  std::u16string_view Text() const { return {text.data(), text_length}; }
  void SetText(std::u16string_view t) {
    text_length = static_cast<uint16_t>(t.size() < kCommandTextCapacity ? t.size()
                                                                        : kCommandTextCapacity);
    for (uint16_t i = 0; i < text_length; ++i) text[i] = t[i];
    text[text_length] = 0;
  }
};

}  // namespace tavik
