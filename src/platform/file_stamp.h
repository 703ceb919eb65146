// What a file on disk looked like at a moment (existence, size, modification time), so that a
// document can tell whether its file was changed by someone else since it was loaded or saved.
#pragma once

#include <cstdint>
#include <string>

namespace tavik::platform {

struct FileStamp {
  bool exists = false;
  uint64_t size = 0;
  int64_t modified_ns = 0;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file now; a missing or unreadable file gives a stamp with `exists` false.
FileStamp ReadFileStamp(const std::string& path);

}  // namespace tavik::platform
