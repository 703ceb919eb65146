// A document: a buffer with the file it came from, how that file separated its lines, and
// whether it changed since it was loaded or saved.
#pragma once

#include <cstdint>
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
  uint64_t saved_version = 0;
  FileStamp disk_stamp;          // the file as it was when loaded or last saved
  std::u16string untitled_name;  // the name of a document without a file
  // By the file's extension or name ("C/C++", "Plain Text", ...), or given with a tool buffer.
  std::u16string language;
  Bookmarks bookmarks;
  // A buffer with no document behind it (a tool's text shown in an editor view): it has no
  // file, no name in the document table, and is not edited modally unless its language says.
  bool tool_buffer = false;

  bool Modified() const { return buffer.Version() != saved_version; }
  // The name shown for the document: its path, or "Untitled-N".
  std::u16string Name() const;
};

}  // namespace tavik::platform
