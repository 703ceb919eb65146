// One complete command as the parser hands it to the executor, and as "." repeats it.
#pragma once

#include <algorithm>
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
  char32_t action_arg = 0;  // a character beyond the BMP is one argument
  MotionCode motion = 0;
  char32_t motion_arg = 0;
  char register_name = 0;  // 0 when no register was given
  bool forced = false;     // v, V or CTRL-V typed between operator and motion
  ForcedKind forced_kind = ForcedKind::kCharacterwise;
  uint32_t executor_data[2] = {0, 0};
  // The command line after ":" or the pattern after "/" or "?", NUL-terminated; only the part
  // up to the NUL is kept meaningful, so that the commands copied on every key copy only that.
  std::array<char16_t, kCommandTextCapacity + 1> text;
  uint16_t text_length = 0;

  CommandRecord() { text[0] = 0; }
  CommandRecord(const CommandRecord& other) { *this = other; }
  CommandRecord& operator=(const CommandRecord& other) {
    action_count = other.action_count;
    motion_count = other.motion_count;
    action = other.action;
    action_arg = other.action_arg;
    motion = other.motion;
    motion_arg = other.motion_arg;
    register_name = other.register_name;
    forced = other.forced;
    forced_kind = other.forced_kind;
    executor_data[0] = other.executor_data[0];
    executor_data[1] = other.executor_data[1];
    text_length = other.text_length;
    std::copy_n(other.text.data(), text_length + 1, text.data());
    return *this;
  }

  std::u16string_view Text() const { return {text.data(), text_length}; }
  void SetText(std::u16string_view t) {
    text_length =
        static_cast<uint16_t>(t.size() < kCommandTextCapacity ? t.size() : kCommandTextCapacity);
    for (uint16_t i = 0; i < text_length; ++i) text[i] = t[i];
    text[text_length] = 0;
  }
};
// A field added to the record must be added to its copy as well.
static_assert(sizeof(CommandRecord) == 36 + 2 * (kCommandTextCapacity + 1) + 4,
              "CommandRecord changed: update its copy");

}  // namespace tavik
