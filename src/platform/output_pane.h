// The output pane: lines appended by clients, with listeners so that a front end can show each
// line as it is written (batch mode prints them to stderr).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::platform {

class OutputPane {
 public:
  using Listener = std::function<void(std::u16string_view line)>;

  // Appends text; each "\n" in it ends a line.
  void Write(std::u16string_view text) {
    size_t begin = 0;
    for (;;) {
      const size_t nl = text.find(u'\n', begin);
      if (nl == std::u16string_view::npos) break;
      AppendLine(text.substr(begin, nl - begin));
      begin = nl + 1;
    }
    if (begin < text.size()) AppendLine(text.substr(begin));
  }
  void AppendLine(std::u16string_view line) {
    lines_.emplace_back(line);
    for (const Listener& l : listeners_) l(lines_.back());
  }
  void Clear() { lines_.clear(); }
  const std::vector<std::u16string>& Lines() const { return lines_; }
  void AddListener(Listener listener) { listeners_.push_back(std::move(listener)); }

  // "View.Output" brings the pane forward; the front end decides what that means.
  void Show() { ++show_count_; }
  int ShowCount() const { return show_count_; }

 private:
  std::vector<std::u16string> lines_;
  std::vector<Listener> listeners_;
  int show_count_ = 0;
};

}  // namespace tavik::platform
