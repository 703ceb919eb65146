// The in-process clipboard: one set of named formats at a time, as a system clipboard holds
// them ("Unicode text" plus formats registered by clients).
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tavik::platform {

inline constexpr std::string_view kUnicodeTextFormat = "Unicode text";

class Clipboard {
 public:
  // Empties the clipboard before new content is put on it, as a copy does.
  void Clear() {
    formats_.clear();
    ++sequence_;
  }
  void SetData(std::string_view format, std::string bytes) {
    formats_[std::string(format)] = std::move(bytes);
    ++sequence_;
  }
  void SetText(std::u16string_view text);

  // Runs before every read, so that a front end can first take in what the desktop's clipboard
  // holds (it calls Clear and SetData from the hook).
  void SetReadHook(std::function<void()> hook) { read_hook_ = std::move(hook); }

  bool Has(std::string_view format) const {
    BeforeRead();
    return formats_.count(std::string(format)) != 0;
  }
  std::optional<std::string> Data(std::string_view format) const;
  std::optional<std::u16string> Text() const;
  // Changes with every change of content, so readers can tell whether it moved on.
  uint64_t Sequence() const { return sequence_; }

 private:
  void BeforeRead() const {
    if (read_hook_ && !reading_) {
      reading_ = true;
      read_hook_();
      reading_ = false;
    }
  }

  std::map<std::string, std::string> formats_;
  std::function<void()> read_hook_;
  mutable bool reading_ = false;
  uint64_t sequence_ = 0;
};

}  // namespace tavik::platform
