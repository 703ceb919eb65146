// Document names.
#include "platform/document.h"

#include "platform/utf8_codec.h"

namespace tavik::platform {

std::u16string Document::Name() const {
  return path.empty() ? untitled_name : FromUtf8(path);
}

void Document::NoteChange(const BufferChange& change) {
  // Every line taken out, line breaks and all, rather than the characters of a line.
  const bool all_lines_removed = change.start == TextPos{0, 0} && change.old_line_count > 1 &&
                                 change.new_end == TextPos{0, 0} && buffer.LineCount() == 1 &&
                                 buffer.LineLength(0) == 0;
  if (all_lines_removed) emptied_state = buffer.TextState();
}

FileFormat Document::SaveFormat() const {
  FileFormat save = format;
  if (emptied_state && *emptied_state == buffer.TextState()) save.empty_when_blank = true;
  return save;
}

}  // namespace tavik::platform
