// A document: a buffer with the file it came from, how that file separated its lines, and
// whether it changed since it was loaded or saved.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/bookmarks.h"
#include "platform/file_io.h"
#include "platform/file_stamp.h"
#include "platform/text_buffer.h"

namespace tavik::platform {

struct Document {
  Document() = default;
  explicit Document(LineStore lines) : buffer(std::move(lines)) {}
  explicit Document(std::u16string_view text) : buffer(text) {}

  uint64_t id = 0;
  std::string path;  // empty for a buffer without a file
  TextBuffer buffer;
  FileFormat format;
  uint64_t saved_state = 0;  // the text's state when it was loaded or last saved
  // The text's state right after every line was deleted: in that state the document holds no
  // lines at all and saves as an empty file, where one empty line saves as a line break.
  std::optional<uint64_t> emptied_state;
  FileStamp disk_stamp;          // the file as it was when loaded or last saved
  std::u16string untitled_name;  // the name of a document without a file
  // By the file's extension or name ("C/C++", "Plain Text", ...), or given with a tool buffer.
  std::u16string language;
  Bookmarks bookmarks;
  // A buffer with no document behind it (a tool's text shown in an editor view): it has no
  // file, no name in the document table, and is not edited modally unless its language says.
  bool tool_buffer = false;

  // The text differs from the file's: undoing back to the saved text clears it.
  bool Modified() const { return buffer.TextState() != saved_state; }
  void MarkSaved() { saved_state = buffer.TextState(); }
  // Told of every change of the buffer.
  void NoteChange(const BufferChange& change);
  // The format to write the text in now: an emptied document writes no bytes.
  FileFormat SaveFormat() const;
  // The name shown for the document: its path, or "Untitled-N".
  std::u16string Name() const;
};

}  // namespace tavik::platform
