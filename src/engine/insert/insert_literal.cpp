// The keys after CTRL-V in insert mode, and the character code typed as digits.
#include "engine/insert/insert_literal.h"

#include "config/key_notation.h"

namespace tavik {
namespace {

// The value of `c` as a digit of `base`, or -1.
int DigitValue(char16_t c, uint32_t base) {
  int value = -1;
  if (c >= u'0' && c <= u'9') {
    value = c - u'0';
  } else if (c >= u'a' && c <= u'f') {
    value = c - u'a' + 10;
  } else if (c >= u'A' && c <= u'F') {
    value = c - u'A' + 10;
  }
  return value >= 0 && static_cast<uint32_t>(value) < base ? value : -1;
}

bool IsPlainChar(KeyCode key) {
  return key.IsChar() && !key.Has(key_mod::kCtrl) && !key.Has(key_mod::kAlt);
}

}  // namespace

LiteralOutcome LiteralInput::Take(KeyCode key) {
  if (base_ == 0) {
    // The first key: a code's prefix or first digit, or the key itself.
    if (IsPlainChar(key)) {
      const auto c = static_cast<char16_t>(key.code);
      struct Prefix {
        char16_t c;
        uint32_t base;
        uint32_t most;
      };
      for (const Prefix& p : {Prefix{u'x', 16, 2}, Prefix{u'X', 16, 2}, Prefix{u'o', 8, 3},
                              Prefix{u'O', 8, 3}, Prefix{u'u', 16, 4}, Prefix{u'U', 16, 8}}) {
        if (c == p.c) {
          prefix_ = c, base_ = p.base, most_ = p.most;
          return {};
        }
      }
      if (c >= u'0' && c <= u'9') {
        base_ = 10, most_ = 3, digits_ = 1, value_ = c - u'0';
        return {};
      }
    }
    active_ = false;
    LiteralOutcome outcome;
    outcome.done = true;
    if (key.IsChar()) {
      outcome.text.assign(1, static_cast<char16_t>(key.code));
    } else {
      PrintKey(key, outcome.text);
    }
    return outcome;
  }
  const int digit = IsPlainChar(key) ? DigitValue(static_cast<char16_t>(key.code), base_) : -1;
  if (digit < 0) return Finish(key);
  value_ = value_ * base_ + static_cast<uint32_t>(digit);
  if (++digits_ >= most_) return Finish(std::nullopt);
  return {};
}

LiteralOutcome LiteralInput::Finish(std::optional<KeyCode> again) {
  active_ = false;
  LiteralOutcome outcome;
  outcome.done = true;
  outcome.again = again;
  if (digits_ == 0) {
    outcome.text.assign(1, prefix_);  // a prefix with no digit after it goes in as typed
    return outcome;
  }
  uint32_t cp = value_;
  // Decimal and octal codes name the 256 byte values.
  if (prefix_ != u'u' && prefix_ != u'U' && prefix_ != u'x' && prefix_ != u'X' && cp > 255)
    cp = 255;
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
    outcome.invalid = true;
  } else if (cp >= 0x10000) {
    cp -= 0x10000;
    outcome.text = {static_cast<char16_t>(0xD800 + (cp >> 10)),
                    static_cast<char16_t>(0xDC00 + (cp & 0x3FF))};
  } else {
    outcome.text.assign(1, static_cast<char16_t>(cp));
  }
  return outcome;
}

}  // namespace tavik
