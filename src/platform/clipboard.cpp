// Text on the clipboard is kept as UTF-16 units in the "Unicode text" format.
#include "platform/clipboard.h"

#include <cstring>

namespace tavik::platform {

void Clipboard::SetText(std::u16string_view text) {
  SetData(kUnicodeTextFormat,
          std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
}

std::optional<std::string> Clipboard::Data(std::string_view format) const {
  BeforeRead();
  const auto it = formats_.find(std::string(format));
  if (it == formats_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::u16string> Clipboard::Text() const {
  BeforeRead();
  const auto it = formats_.find(std::string(kUnicodeTextFormat));
  if (it == formats_.end()) return std::nullopt;
  std::u16string text(it->second.size() / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), it->second.data(), text.size() * 2);
  return text;
}

}  // namespace tavik::platform
