// Number increment: locating the number (letter, hexadecimal, octal or decimal) at or after the
// cursor and computing its new text. Counts are applied as arithmetic rather than step by step,
// so a huge count costs no more than a count of one.
#include "engine/actions/number_format.h"

#include <algorithm>

#include "common/char_class.h"

namespace tavik {
namespace {

constexpr uint64_t kTwoTo32 = uint64_t{1} << 32;
constexpr size_t kMaxHexDigits = 255;

bool IsOctalDigit(char16_t c) {
  return c >= u'0' && c <= u'7';
}
bool IsLower(char16_t c) {
  return c >= u'a' && c <= u'z';
}
bool IsUpper(char16_t c) {
  return c >= u'A' && c <= u'Z';
}
bool IsHexDigit(char16_t c) {
  return IsAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
bool IsX(char16_t c) {
  return c == u'x' || c == u'X';
}

uint32_t HexValue(char16_t c) {
  if (IsAsciiDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return c - u'A' + 10;
}

std::u16string ToBase(uint32_t value, uint32_t base, bool upper) {
  const char16_t* digits = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
  std::u16string text;
  do {
    text.push_back(digits[value % base]);
    value /= base;
  } while (value != 0);
  std::reverse(text.begin(), text.end());
  return text;
}

std::u16string ToDecimal(uint64_t value) {
  std::u16string text;
  do {
    text.push_back(static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  std::reverse(text.begin(), text.end());
  return text;
}

void PadLeft(std::u16string& text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), u'0');
}

void StripLeadingZeros(std::u16string& digits) {
  size_t first = digits.find_first_not_of(u'0');
  if (first == std::u16string::npos) first = digits.size() - 1;
  digits.erase(0, first);
}

// Digit-string arithmetic for decimal numbers of any length.
void AddTo(std::u16string& digits, uint64_t amount) {
  for (size_t i = digits.size(); i > 0 && amount != 0; --i) {
    uint64_t sum = static_cast<uint64_t>(digits[i - 1] - u'0') + amount;
    digits[i - 1] = static_cast<char16_t>(u'0' + sum % 10);
    amount = sum / 10;
  }
  if (amount != 0) digits.insert(0, ToDecimal(amount));
}

// Requires digits >= amount.
void SubtractFrom(std::u16string& digits, uint64_t amount) {
  uint64_t borrow = 0;
  for (size_t i = digits.size(); i > 0 && (amount != 0 || borrow != 0); --i) {
    int64_t d = static_cast<int64_t>(digits[i - 1] - u'0') - static_cast<int64_t>(amount % 10) -
                static_cast<int64_t>(borrow);
    amount /= 10;
    borrow = d < 0 ? 1 : 0;
    if (d < 0) d += 10;
    digits[i - 1] = static_cast<char16_t>(u'0' + d);
  }
}

// The value of the digits when it fits 64 bits; nullopt when it is larger.
std::optional<uint64_t> SmallValue(std::u16string_view digits) {
  size_t first = digits.find_first_not_of(u'0');
  if (first == std::u16string_view::npos) return 0;
  if (digits.size() - first > 19) return std::nullopt;
  uint64_t value = 0;
  for (size_t i = first; i < digits.size(); ++i) value = value * 10 + (digits[i] - u'0');
  return value;
}

struct Run {
  uint32_t start = 0;
  uint32_t end = 0;
};

uint32_t RunEnd(std::u16string_view line, uint32_t from, bool (*in_run)(char16_t)) {
  while (from < line.size() && in_run(line[from])) ++from;
  return from;
}

// The hexadecimal digits the cursor is on or before; nullopt when the number there is not one.
std::optional<Run> FindHex(std::u16string_view line, uint32_t column) {
  const char16_t c = line[column];
  if (IsHexDigit(c)) {
    uint32_t start = column;
    while (start > 0 && IsHexDigit(line[start - 1])) --start;
    if (start >= 2 && IsX(line[start - 1]) && line[start - 2] == u'0') {
      return Run{start, RunEnd(line, column, IsHexDigit)};
    }
  }
  // On the prefix itself: the digits after it.
  uint32_t digits = 0;
  if (c == u'0' && column + 1 < line.size() && IsX(line[column + 1]) &&
      (column == 0 || !IsAsciiDigit(line[column - 1]))) {
    digits = column + 2;
  } else if (IsX(c) && column > 0 && line[column - 1] == u'0') {
    digits = column + 1;
  }
  if (digits != 0 && digits < line.size() && IsHexDigit(line[digits])) {
    return Run{digits, RunEnd(line, digits, IsHexDigit)};
  }
  if (IsAsciiDigit(c)) return std::nullopt;
  uint32_t first = column;
  while (first < line.size() && !IsAsciiDigit(line[first])) ++first;
  if (first + 2 < line.size() && line[first] == u'0' && IsX(line[first + 1]) &&
      IsHexDigit(line[first + 2])) {
    return Run{first + 2, RunEnd(line, first + 2, IsHexDigit)};
  }
  return std::nullopt;
}

NumberEdit HexEdit(std::u16string_view line, Run run, bool up, uint32_t count, bool& hex_upper) {
  run.end = std::min<uint32_t>(run.end, run.start + static_cast<uint32_t>(kMaxHexDigits));
  std::u16string_view digits = line.substr(run.start, run.end - run.start);
  uint32_t value = 0;  // wraps modulo 2^32 like the 32-bit value it models
  for (char16_t d : digits) {
    value = value * 16 + HexValue(d);
    if (IsLower(d)) hex_upper = false;
    if (IsUpper(d)) hex_upper = true;
  }
  value = up ? value + count : value - count;
  std::u16string text = ToBase(value, 16, hex_upper);
  PadLeft(text, digits.size());
  uint32_t caret = run.start + static_cast<uint32_t>(text.size()) - 1;
  return {run.start, run.end - run.start, std::move(text), caret};
}

// Decimal: the magnitude changes as a digit string; a "-" right before the digits is the sign.
NumberEdit DecimalEdit(std::u16string_view line, Run run, bool octal_on, bool up, uint32_t count) {
  const bool negative = run.start > 0 && line[run.start - 1] == u'-';
  std::u16string digits(line.substr(run.start, run.end - run.start));
  const size_t width = digits.size();
  const bool zero_started = digits[0] == u'0';
  bool result_negative = negative;
  bool crossed_zero = false;
  if (up != negative) {
    AddTo(digits, count);
  } else {
    std::optional<uint64_t> small = SmallValue(digits);
    if (!small || *small >= count) {
      SubtractFrom(digits, count);
    } else {
      digits = ToDecimal(count - *small);
      result_negative = !negative;
      // Counting down from zero rewrites the digits as "1"; counting up from -5 keeps them.
      crossed_zero = !negative || *small == 0;
    }
  }
  StripLeadingZeros(digits);
  if (digits == u"0") result_negative = false;
  // A run written with leading zeros keeps its width unless a zero run was rewritten.
  if (!octal_on && zero_started && !crossed_zero) PadLeft(digits, width);
  if (result_negative) digits.insert(0, 1, u'-');
  uint32_t start = negative ? run.start - 1 : run.start;
  uint32_t caret = start + static_cast<uint32_t>(digits.size()) - 1;
  return {start, run.end - start, std::move(digits), caret};
}

bool IsOctalRun(std::u16string_view digits) {
  if (digits.size() < 2 || digits[0] != u'0') return false;
  if (!std::all_of(digits.begin(), digits.end(), IsOctalDigit)) return false;
  return digits.find_first_not_of(u'0', 1) != std::u16string_view::npos;
}

// Octal keeps a leading "0". Once the value reaches zero the run is no longer octal, so the
// remaining steps continue as decimal.
NumberEdit OctalEdit(std::u16string_view line, Run run, bool up, uint32_t count) {
  std::u16string_view digits = line.substr(run.start, run.end - run.start);
  uint32_t value = 0;
  for (char16_t d : digits) value = value * 8 + (d - u'0');
  uint64_t steps_to_zero = up ? kTwoTo32 - value : (value == 0 ? kTwoTo32 : value);
  if (count < steps_to_zero) {
    uint32_t result = up ? value + count : value - count;
    std::u16string text = ToBase(result, 8, false);
    if (text.size() >= digits.size()) {
      text.insert(0, 1, u'0');
    } else {
      PadLeft(text, digits.size());
    }
    uint32_t caret = run.start + static_cast<uint32_t>(text.size()) - 1;
    return {run.start, run.end - run.start, std::move(text), caret};
  }
  std::u16string zeros(digits.size(), u'0');
  uint32_t rest = count - static_cast<uint32_t>(steps_to_zero);
  if (rest == 0) return {run.start, run.end - run.start, zeros, run.end - 1};
  std::u16string middle(line);
  middle.replace(run.start, zeros.size(), zeros);
  NumberEdit tail = DecimalEdit(middle, run, true, up, rest);
  // One edit covering both the octal digits and the decimal change of the zero run.
  uint32_t start = std::min(run.start, tail.start);
  uint32_t end = std::max(run.end, tail.start + tail.length);
  std::u16string text = middle.substr(start, tail.start - start) + tail.text +
                        middle.substr(tail.start + tail.length, end - tail.start - tail.length);
  return {start, end - start, std::move(text), tail.caret};
}

NumberEdit LetterEdit(char16_t letter, uint32_t column, bool up, uint32_t count) {
  const char16_t first = IsLower(letter) ? u'a' : u'A';
  int64_t index = letter - first;
  index = up ? std::min<int64_t>(25, index + count) : std::max<int64_t>(0, index - count);
  return {column, 1, std::u16string(1, static_cast<char16_t>(first + index)), column};
}

}  // namespace

NumberFormats ParseNumberFormats(std::u16string_view option) {
  NumberFormats formats;
  while (true) {
    size_t comma = option.find(u',');
    std::u16string_view word = option.substr(0, comma);
    if (word == u"alpha") formats.alpha = true;
    if (word == u"hex") formats.hex = true;
    if (word == u"octal") formats.octal = true;
    if (comma == std::u16string_view::npos) break;
    option.remove_prefix(comma + 1);
  }
  return formats;
}

std::optional<NumberEdit> IncrementNumber(std::u16string_view line, uint32_t column,
                                          NumberFormats formats, bool up, uint32_t count,
                                          bool& hex_upper) {
  if (column >= line.size()) return std::nullopt;
  count = std::max<uint32_t>(count, 1);
  if (formats.alpha && (IsLower(line[column]) || IsUpper(line[column]))) {
    return LetterEdit(line[column], column, up, count);
  }
  if (formats.hex) {
    if (std::optional<Run> hex = FindHex(line, column)) {
      return HexEdit(line, *hex, up, count, hex_upper);
    }
  }
  uint32_t first = column;
  while (first < line.size() && !IsAsciiDigit(line[first])) ++first;
  if (first >= line.size()) return std::nullopt;
  Run run{first, RunEnd(line, first, IsAsciiDigit)};
  while (run.start > 0 && IsAsciiDigit(line[run.start - 1])) --run.start;
  if (formats.octal && IsOctalRun(line.substr(run.start, run.end - run.start))) {
    return OctalEdit(line, run, up, count);
  }
  return DecimalEdit(line, run, formats.octal, up, count);
}

}  // namespace tavik
