// CTRL-V in insert mode: the next key goes in as it is (Tab as a tab character whatever the
// indent settings, a control key as its control character, a special key as its key notation),
// or a character code follows: up to three decimal digits (at most 255), "x" and two hex digits,
// "o" and three octal digits, "u" and four hex digits, "U" and eight hex digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/key_code.h"

namespace tavik {

struct LiteralOutcome {
  bool done = false;     // the literal is complete; `text` goes in at the caret
  std::u16string text;   // UTF-16 units to insert, empty when there is nothing
  bool invalid = false;  // the code typed is no character: nothing goes in
  // The key that ended a shorter code than the longest: it is handled as usual afterwards.
  std::optional<KeyCode> again;
};

class LiteralInput {
 public:
  void Start() {
    *this = LiteralInput{};
    active_ = true;
  }
  void Cancel() { active_ = false; }
  bool Active() const { return active_; }
  // Takes the next key after CTRL-V.
  LiteralOutcome Take(KeyCode key);

 private:
  LiteralOutcome Finish(std::optional<KeyCode> again);

  bool active_ = false;
  char16_t prefix_ = 0;  // 'x', 'o', 'u' or 'U' once typed; 0 for decimal digits or none yet
  uint32_t base_ = 0;    // 0 until the first digit or prefix says which code is typed
  uint32_t digits_ = 0;  // digits typed
  uint32_t most_ = 0;    // digits that end the code
  uint32_t value_ = 0;
};

}  // namespace tavik
