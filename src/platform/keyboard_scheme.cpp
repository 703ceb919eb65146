// Reading and writing custom keyboard scheme files.
#include "platform/keyboard_scheme.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/utf8_codec.h"

namespace tavik::platform {

std::string ApplicationDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return data;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return (std::filesystem::path(home) / ".local" / "share").string();
}

std::optional<std::string> WriteSchemeFile(const std::string& path, const SchemeEntries& entries) {
  std::string bytes;
  for (const auto& [name, joined] : entries) {
    bytes += ToUtf8(name);
    bytes += '=';
    bytes += ToUtf8(joined);
    bytes += '\n';
  }
  const std::filesystem::path file(path);
  std::error_code error;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
  if (error) return "cannot create " + file.parent_path().string() + ": " + error.message();
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return "cannot write " + path + ": " + std::strerror(errno);
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const bool complete = written == bytes.size() && fsync(fd) == 0;
  const int saved_errno = errno;
  close(fd);
  if (!complete || std::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(complete ? errno : saved_errno);
    std::remove(temporary.c_str());
    return "cannot write " + path + ": " + reason;
  }
  return std::nullopt;
}

std::optional<SchemeEntries> ReadSchemeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  SchemeEntries entries;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    entries.emplace_back(FromUtf8(line.substr(0, equals)), FromUtf8(line.substr(equals + 1)));
  }
  if (in.bad()) return std::nullopt;
  return entries;
}

}  // namespace tavik::platform
