// File stamps from the file system's modification time and size.
#include "platform/file_stamp.h"

#include <chrono>
#include <filesystem>

namespace tavik::platform {

FileStamp ReadFileStamp(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  FileStamp stamp;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::is_regular_file(status)) return stamp;
  const auto size = fs::file_size(path, ec);
  if (ec) return stamp;
  const fs::file_time_type time = fs::last_write_time(path, ec);
  if (ec) return stamp;
  stamp.exists = true;
  stamp.size = size;
  stamp.modified_ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
  return stamp;
}

}  // namespace tavik::platform
