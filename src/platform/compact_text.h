// UTF-16 text kept one byte per unit when every unit is below 256, for undo records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/narrow_text.h"

namespace tavik::platform {

using tavik::WidenNarrow;

class CompactText {
 public:
  CompactText() = default;
  explicit CompactText(std::u16string_view text);
  // Text whose units are all below 256, given one byte per unit.
  static CompactText FromNarrowBytes(std::string bytes) {
    CompactText text;
    text.bytes_ = std::move(bytes);
    return text;
  }

  size_t size() const { return wide_ ? bytes_.size() / 2 : bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  bool wide() const { return wide_; }
  // The bytes of a narrow text, one per unit.
  std::string_view NarrowBytes() const { return bytes_; }
  std::u16string ToU16() const;
  // Appends another text, widening this one when only the other needs two bytes a unit.
  void Append(const CompactText& other);

 private:
  std::string bytes_;
  bool wide_ = false;
};

}  // namespace tavik::platform
