// Narrowing and widening of undo texts.
#include "platform/compact_text.h"

#include <cstring>

namespace tavik::platform {

CompactText::CompactText(std::u16string_view text) {
  // An OR over all units instead of an early exit: the compiler turns it into vector code.
  char16_t all_bits = 0;
  for (char16_t c : text) all_bits |= c;
  wide_ = all_bits >= 256;
  if (wide_) {
    bytes_.resize(text.size() * 2);
    std::memcpy(bytes_.data(), text.data(), bytes_.size());
  } else {
    bytes_.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) bytes_[i] = static_cast<char>(text[i]);
  }
}

std::u16string CompactText::ToU16() const {
  if (!wide_) return WidenNarrow(bytes_);
  std::u16string out(size(), u'\0');
  std::memcpy(out.data(), bytes_.data(), bytes_.size());
  return out;
}

void CompactText::Append(const CompactText& other) {
  if (other.empty()) return;
  if (empty()) {
    *this = other;
    return;
  }
  if (wide_ == other.wide_) {
    bytes_ += other.bytes_;
    return;
  }
  if (!wide_) {
    const std::u16string wide = ToU16();
    bytes_.resize(wide.size() * 2);
    std::memcpy(bytes_.data(), wide.data(), bytes_.size());
    wide_ = true;
  }
  const std::u16string tail = other.ToU16();
  const size_t at = bytes_.size();
  bytes_.resize(at + tail.size() * 2);
  std::memcpy(bytes_.data() + at, tail.data(), tail.size() * 2);
}

}  // namespace tavik::platform
