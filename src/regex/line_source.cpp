// Lines held in memory, split from one text.
#include "regex/line_source.h"

namespace tavik {

StringLineSource StringLineSource::FromText(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (;;) {
    size_t nl = text.find(u'\n', start);
    if (nl == std::u16string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return StringLineSource(std::move(lines));
}

}  // namespace tavik
