// Places named in build output ("file:line" and "file:line:column", as compilers, make and grep
// write them) and the log of the last build that "next location" and "next error" walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::platform {

struct OutputLocation {
  std::u16string file;
  uint32_t line = 0;    // 1-based
  uint32_t column = 0;  // 1-based; 0 when the output gave none
  bool error = false;   // the text after the place speaks of an error
};

// The first place named in a line of output.
std::optional<OutputLocation> ParseLocation(std::u16string_view text);

class BuildLog {
 public:
  // A new build in `folder`, against which relative file names are read.
  void Start(std::string folder);
  void AddLine(std::u16string_view line);

  const std::string& Folder() const { return folder_; }
  const std::vector<std::u16string>& Lines() const { return lines_; }
  // The line the walk stands on; none before the first step.
  std::optional<size_t> Current() const { return current_; }

  // The next (or previous) line after the current one that names a place (an error place with
  // `errors_only`) for which `usable` holds; it becomes current. Nothing when there is none.
  template <typename Usable>
  std::optional<size_t> Step(bool forward, bool errors_only, Usable usable);
  // How many lines name a place (an error place), and where line `index` stands among them.
  size_t CountLocations(bool errors_only) const;
  size_t OrdinalOf(size_t index, bool errors_only) const;

 private:
  bool Counts(size_t index, bool errors_only) const;

  std::string folder_;
  std::vector<std::u16string> lines_;
  std::vector<std::optional<OutputLocation>> locations_;
  std::optional<size_t> current_;
};

template <typename Usable>
std::optional<size_t> BuildLog::Step(bool forward, bool errors_only, Usable usable) {
  const size_t n = lines_.size();
  size_t i = current_ ? *current_ : (forward ? SIZE_MAX : n);
  for (;;) {
    if (forward) {
      i = i == SIZE_MAX ? 0 : i + 1;
      if (i >= n) return std::nullopt;
    } else {
      if (i == 0) return std::nullopt;
      --i;
    }
    if (Counts(i, errors_only) && usable(*locations_[i])) {
      current_ = i;
      return i;
    }
  }
}

}  // namespace tavik::platform
