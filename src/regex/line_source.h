// The text the matcher reads: numbered lines without terminators. Adapters for lines held in
// memory, so tests and benchmarks need no view; the engine adapts its views.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavik {

class LineSource {
 public:
  virtual ~LineSource() = default;
  virtual uint32_t LineCount() const = 0;
  // Valid until the next call unless StableLines() says otherwise.
  virtual std::u16string_view LineText(uint32_t line) const = 0;
  // True when every view LineText returned stays valid while the source is unchanged.
  virtual bool StableLines() const { return false; }
  // Lines from `first` on one byte per unit (each byte a unit below 256), as far as the source
  // holds them so: fills `out` in order and returns how many, stopping early at the last line or
  // at a line only LineText gives. Valid while the source is unchanged.
  virtual uint32_t NarrowLines(uint32_t first, std::span<std::string_view> out) const {
    (void)first;
    (void)out;
    return 0;
  }
};

// Lines owned in memory.
class StringLineSource : public LineSource {
 public:
  StringLineSource() = default;
  explicit StringLineSource(std::vector<std::u16string> lines) : lines_(std::move(lines)) {}
  // Splits on '\n'; the text after the last '\n' is the last line (so "a\n" has two lines).
  static StringLineSource FromText(std::u16string_view text);

  uint32_t LineCount() const override { return uint32_t(lines_.size()); }
  std::u16string_view LineText(uint32_t line) const override {
    return line < lines_.size() ? std::u16string_view(lines_[line]) : std::u16string_view();
  }
  bool StableLines() const override { return true; }
  std::vector<std::u16string>& lines() { return lines_; }

 private:
  std::vector<std::u16string> lines_;
};

// Lines that are views into storage the caller keeps alive (one buffer for a large file).
class ViewLineSource : public LineSource {
 public:
  explicit ViewLineSource(std::vector<std::u16string_view> lines) : lines_(std::move(lines)) {}
  uint32_t LineCount() const override { return uint32_t(lines_.size()); }
  std::u16string_view LineText(uint32_t line) const override {
    return line < lines_.size() ? lines_[line] : std::u16string_view();
  }
  bool StableLines() const override { return true; }

 private:
  std::vector<std::u16string_view> lines_;
};

}  // namespace tavik
