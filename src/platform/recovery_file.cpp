// The recovery file format: "tavik recovery 1", then "key value" lines, an empty line, and the
// text's bytes. Written and read without ever following a link.
#include "platform/recovery_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/file_save.h"

namespace tavik::platform {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "tavik recovery 1\n";
constexpr size_t kMaxNameBytes = 180;

// File names keep letters, digits, '.', '-' and '_'; every other byte is %XX.
std::string EncodeName(std::string_view file) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string name;
  for (unsigned char c : file) {
    if (std::isalnum(c) || c == '.' || c == '-' || c == '_') {
      name += static_cast<char>(c);
    } else {
      name += '%';
      name += kHex[c >> 4];
      name += kHex[c & 15];
    }
  }
  if (name.size() > kMaxNameBytes) {
    // A long path keeps its end, which names the file, and a hash of the whole.
    const size_t hash = std::hash<std::string_view>{}(file);
    name = std::to_string(hash) + "-" + name.substr(name.size() - kMaxNameBytes);
  }
  return name;
}

bool ReadNumber(std::string_view text, int64_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

RecoveryRecord RecordOf(const Document& document) {
  RecoveryRecord record;
  record.file = document.path;
  record.pid = getpid();
  record.host = ThisHostName();
  record.format = document.format;
  const FileFormat save = document.SaveFormat();
  record.emptied = save.empty_when_blank && !document.format.empty_when_blank;
  record.bytes = EncodeText(document.buffer.Lines(), save);
  return record;
}

std::string EncodeRecovery(const RecoveryRecord& record) {
  std::string out(kMagic);
  out += "file " + record.file + "\n";
  out += "pid " + std::to_string(record.pid) + "\n";
  out += "host " + record.host + "\n";
  out += std::string("breaks ") + (record.format.line_break == LineBreak::kCrLf ? "crlf" : "lf");
  out += std::string("\nfinal ") + (record.format.final_line_break ? "1" : "0");
  out += std::string("\nnew ") + (record.format.empty_when_blank ? "1" : "0");
  out += std::string("\nbom ") + (record.format.utf8_bom ? "1" : "0");
  out += std::string("\nemptied ") + (record.emptied ? "1" : "0");
  out += "\nsize " + std::to_string(record.bytes.size()) + "\n\n";
  out += record.bytes;
  return out;
}

std::optional<RecoveryRecord> DecodeRecovery(std::string_view bytes) {
  if (!bytes.starts_with(kMagic)) return std::nullopt;
  bytes.remove_prefix(kMagic.size());
  RecoveryRecord record;
  int64_t size = -1;
  for (;;) {
    const size_t nl = bytes.find('\n');
    if (nl == std::string_view::npos) return std::nullopt;
    const std::string_view line = bytes.substr(0, nl);
    bytes.remove_prefix(nl + 1);
    if (line.empty()) break;
    const size_t blank = line.find(' ');
    const std::string_view key = line.substr(0, blank);
    const std::string_view value = blank == std::string_view::npos ? "" : line.substr(blank + 1);
    int64_t number = 0;
    if (key == "file") {
      record.file = std::string(value);
    } else if (key == "pid" && ReadNumber(value, number)) {
      record.pid = static_cast<pid_t>(number);
    } else if (key == "host") {
      record.host = std::string(value);
    } else if (key == "breaks") {
      record.format.line_break = value == "crlf" ? LineBreak::kCrLf : LineBreak::kLf;
    } else if (key == "final") {
      record.format.final_line_break = value == "1";
    } else if (key == "new") {
      record.format.empty_when_blank = value == "1";
    } else if (key == "bom") {
      record.format.utf8_bom = value == "1";
    } else if (key == "emptied") {
      record.emptied = value == "1";
    } else if (key == "size" && ReadNumber(value, number)) {
      size = number;
    }
  }
  // A file cut short (a crash while it was written elsewhere) is not offered.
  if (record.file.empty() || size < 0 || static_cast<uint64_t>(size) != bytes.size()) {
    return std::nullopt;
  }
  record.bytes = std::string(bytes);
  return record;
}

std::string RecoveryPath(const std::string& folder, const std::string& file, int slot) {
  std::string name = EncodeName(file);
  if (slot > 0) name += "~" + std::to_string(slot);
  return (fs::path(folder) / (name + ".recovery")).string();
}

std::optional<std::string> WriteRecovery(const std::string& path, const RecoveryRecord& record) {
  const std::string folder = fs::path(path).parent_path().string();
  std::error_code ec;
  if (fs::create_directories(folder, ec)) ::chmod(folder.c_str(), 0700);
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return "Cannot write recovery files in \"" + folder + "\": not a folder";
  }
  std::string temp;
  const int fd = CreateUniqueFile(folder, ".new-", temp);
  if (fd < 0) return "Cannot write \"" + path + "\": " + std::strerror(errno);
  const std::string bytes = EncodeRecovery(record);
  bool ok = true;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  const int error = errno;
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  // The rename replaces whatever has the name, a planted link included, and never follows it.
  if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return "Cannot write \"" + path + "\": " + std::strerror(ok ? errno : error);
  }
  return std::nullopt;
}

std::optional<RecoveryRecord> ReadRecovery(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return DecodeRecovery(bytes);
}

std::string ThisHostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

bool WrittenByAnotherLiveEditor(const RecoveryRecord& record) {
  if (record.pid <= 0 || record.pid == getpid() || record.host != ThisHostName()) return false;
  return ::kill(record.pid, 0) == 0 || errno == EPERM;
}

void Recover(Document& document, const RecoveryRecord& record) {
  LineStore lines;
  const FileFormat loaded = LoadBytes(record.bytes, lines);
  // Lines of an LF file that all end in a CR read as a CR LF file: their CRs go back.
  const bool restore_crs =
      loaded.line_break == LineBreak::kCrLf && record.format.line_break == LineBreak::kLf;
  std::vector<std::u16string> text(lines.LineCount());
  std::vector<std::u16string_view> views;
  for (uint32_t i = 0; i < lines.LineCount(); ++i) {
    lines.ReadLine(i, text[i]);
    if (restore_crs && (i + 1 < lines.LineCount() || loaded.final_line_break)) text[i] += u'\r';
    views.push_back(text[i]);
  }
  // The lines as they were, a CR at the end of a line included; one edit that undo takes back.
  document.buffer.ReplaceLines(0, document.buffer.LineCount(), views);
  document.format = record.format;
  if (record.emptied) document.emptied_state = document.buffer.TextState();
}

}  // namespace tavik::platform
