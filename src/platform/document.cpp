// Document names.
#include "platform/document.h"

#include "platform/utf8_codec.h"

namespace tavik::platform {

std::u16string Document::Name() const {
  return path.empty() ? untitled_name : FromUtf8(path);
}

}  // namespace tavik::platform
