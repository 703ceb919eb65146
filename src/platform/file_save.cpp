// The save procedure: follow links, choose between a rename and an in-place write, and make
// every step reach the disk (fsync of the file and of its folder) before the next one counts on
// it. Nothing here trusts a name another user could have planted: new files are created
// exclusively and never through a link.
#include "platform/file_save.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

namespace tavik::platform {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;
constexpr int kMaxNameTries = 100;

// Produces the file's bytes into a sink; false when the sink refused a piece.
using ByteSource = std::function<bool(const ByteSink& sink)>;

std::string ErrorText(const char* what, const std::string& path, int error) {
  return std::string(what) + " \"" + path + "\": " + std::strerror(error);
}

std::string FolderOf(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  return folder.empty() ? std::string(".") : folder.string();
}

std::string RandomPart() {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char random[12];
  if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    std::random_device device;
    for (unsigned char& byte : random) byte = static_cast<unsigned char>(device());
  }
  std::string part;
  for (unsigned char byte : random) part += kAlphabet[byte % (sizeof kAlphabet - 1)];
  return part;
}

// Writes everything, going on after short writes and interruptions; false with errno set.
bool WriteAll(int fd, const char* data, size_t size, const SaveHooks& hooks) {
  while (size > 0) {
    const ssize_t n = hooks.write ? hooks.write(fd, data, size) : ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Writes what the source produces; the byte count through `written`. False with errno set.
bool WriteSource(int fd, const ByteSource& source, const SaveHooks& hooks, uint64_t& written) {
  int error = 0;
  written = 0;
  const bool ok = source([&](const char* data, size_t size) {
    if (!WriteAll(fd, data, size, hooks)) {
      error = errno;
      return false;
    }
    written += size;
    return true;
  });
  if (!ok) errno = error != 0 ? error : EIO;
  return ok;
}

// The rename reaches the disk with the folder. Folders that cannot be synced are not an error.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool InGroup(gid_t group) {
  if (group == getegid()) return true;
  const int count = getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<size_t>(count));
  const int got = getgroups(count, groups.data());
  for (int i = 0; i < got; ++i) {
    if (groups[static_cast<size_t>(i)] == group) return true;
  }
  return false;
}

// Only the superuser gives files away; others may choose among their own groups.
bool OwnerKeepable(const struct stat& st) {
  if (geteuid() == 0) return true;
  return st.st_uid == geteuid() && InGroup(st.st_gid);
}

// Copies every extended attribute (access control lists included); false when one cannot be
// set on the new file, which would then not be the file it replaces.
bool CopyExtendedAttributes(int from, int to) {
  ssize_t size = flistxattr(from, nullptr, 0);
  if (size < 0) return errno == ENOTSUP;
  if (size == 0) return true;
  std::vector<char> names(static_cast<size_t>(size));
  size = flistxattr(from, names.data(), names.size());
  if (size < 0) return false;
  std::vector<char> value;
  for (const char* name = names.data(); name < names.data() + size; name += strlen(name) + 1) {
    ssize_t length = fgetxattr(from, name, nullptr, 0);
    if (length < 0) return false;
    value.resize(static_cast<size_t>(length));
    length = fgetxattr(from, name, value.data(), value.size());
    if (length < 0 || fsetxattr(to, name, value.data(), static_cast<size_t>(length), 0) != 0) {
      return false;
    }
  }
  return true;
}

// Gives the new file the owner, group, permissions and extended attributes of the old one.
bool KeepAttributes(int fd, const std::string& target, const struct stat& old) {
  struct stat now {};
  if (fstat(fd, &now) != 0) return false;
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
      fchown(fd, old.st_uid, old.st_gid) != 0) {
    return false;
  }
  // After the owner: a change of owner clears the set-id bits.
  if (fchmod(fd, old.st_mode & 07777) != 0) return false;
  const int source = ::open(target.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (source < 0) return false;
  const bool copied = CopyExtendedAttributes(source, fd);
  ::close(source);
  return copied;
}

enum class Outcome { kDone, kFailed, kUseInPlace };

Outcome SaveByRename(const std::string& shown, const std::string& target, const struct stat* old,
                     const ByteSource& source, const SaveHooks& hooks, std::string& error) {
  const std::string folder = FolderOf(target);
  const std::string prefix = "." + fs::path(target).filename().string() + ".tavik-";
  std::string temp;
  // A new file gets the usual permissions (the umask applies); a replacement starts private
  // and takes the old file's permissions once written.
  const int fd = CreateUniqueFile(folder, prefix, temp, hooks, old != nullptr ? 0600 : 0666);
  if (fd < 0) {
    if (old != nullptr && (errno == EACCES || errno == EPERM || errno == EROFS)) {
      return Outcome::kUseInPlace;
    }
    error = ErrorText("Cannot write", shown, errno);
    return Outcome::kFailed;
  }
  auto give_up = [&](Outcome outcome) {
    const int saved = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    if (outcome == Outcome::kFailed) error = ErrorText("Cannot write", shown, saved);
    return outcome;
  };
  uint64_t written = 0;
  if (!WriteSource(fd, source, hooks, written) || ::fsync(fd) != 0) {
    return give_up(Outcome::kFailed);
  }
  if (old != nullptr && !KeepAttributes(fd, target, *old)) return give_up(Outcome::kUseInPlace);
  if (::close(fd) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    error = ErrorText("Cannot write", shown, saved);
    return Outcome::kFailed;
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    error = ErrorText("Cannot write", shown, saved);
    return Outcome::kFailed;
  }
  SyncFolder(folder);
  return Outcome::kDone;
}

bool ReadAll(int fd, std::string& bytes) {
  bytes.clear();
  char chunk[65536];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, chunk, sizeof chunk, at);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    bytes.append(chunk, static_cast<size_t>(n));
    at += n;
  }
}

// Puts bytes as the whole content of an open file and makes them reach the disk.
bool Rewrite(int fd, const ByteSource& source, const SaveHooks& hooks) {
  uint64_t written = 0;
  return ::lseek(fd, 0, SEEK_SET) == 0 && WriteSource(fd, source, hooks, written) &&
         ::ftruncate(fd, static_cast<off_t>(written)) == 0 && ::fsync(fd) == 0;
}

// A copy of the old text that survives a crash during the rewrite: beside the file, or in the
// backup folder when the file's own folder takes no new files.
std::optional<std::string> WriteBackup(const std::string& target, const std::string& old_bytes,
                                       const std::string& backup_folder) {
  const std::string name = fs::path(target).filename().string();
  std::string backup;
  int fd = CreateUniqueFile(FolderOf(target), "." + name + ".tavik-backup-", backup);
  if (fd < 0 && !backup_folder.empty()) {
    std::error_code ec;
    fs::create_directories(backup_folder, ec);
    ::chmod(backup_folder.c_str(), 0700);
    fd = CreateUniqueFile(backup_folder, name + ".", backup);
  }
  if (fd < 0) return std::nullopt;
  const bool ok = WriteAll(fd, old_bytes.data(), old_bytes.size(), {}) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !ok) {
    ::unlink(backup.c_str());
    return std::nullopt;
  }
  return backup;
}

std::optional<std::string> SaveInPlace(const std::string& shown, const std::string& target,
                                       const ByteSource& source, const SaveHooks& hooks,
                                       const std::string& backup_folder) {
  const int fd = ::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return ErrorText("Cannot write", shown, errno);
  std::string old_bytes;
  if (!ReadAll(fd, old_bytes)) {
    const int saved = errno;
    ::close(fd);
    return ErrorText("Cannot read", shown, saved);
  }
  const std::optional<std::string> backup = WriteBackup(target, old_bytes, backup_folder);
  if (!backup) {
    const int saved = errno;
    ::close(fd);
    return ErrorText("Cannot write a backup of", shown, saved);
  }
  std::optional<std::string> error;
  if (!Rewrite(fd, source, hooks)) {
    error = ErrorText("Cannot write", shown, errno);
    // The old text goes back; the plain write, not the one that just failed.
    const ByteSource old_source = [&old_bytes](const ByteSink& sink) {
      return old_bytes.empty() || sink(old_bytes.data(), old_bytes.size());
    };
    if (!Rewrite(fd, old_source, {})) {
      ::close(fd);
      return *error + "; the old text is in \"" + *backup + "\"";
    }
  }
  ::close(fd);
  ::unlink(backup->c_str());
  return error;
}

std::optional<std::string> Save(const std::string& path, const ByteSource& source,
                                const SaveHooks& hooks, const std::string& backup_folder) {
  std::string target;
  if (std::optional<std::string> error = FollowLinks(path, target)) return error;
  struct stat st {};
  const bool exists = ::lstat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return ErrorText("Cannot write", path, errno);
  if (exists && !S_ISREG(st.st_mode)) return "Cannot write \"" + path + "\": not a regular file";
  SaveSituation situation;
  situation.target_exists = exists;
  if (exists) {
    situation.link_count = static_cast<unsigned>(st.st_nlink);
    situation.folder_writable = ::access(FolderOf(target).c_str(), W_OK | X_OK) == 0;
    situation.owner_keepable = OwnerKeepable(st);
  }
  if (ChooseSaveMethod(situation) == SaveMethod::kRename) {
    std::string error;
    switch (SaveByRename(path, target, exists ? &st : nullptr, source, hooks, error)) {
      case Outcome::kDone:
        return std::nullopt;
      case Outcome::kFailed:
        return error;
      case Outcome::kUseInPlace:
        break;
    }
  }
  return SaveInPlace(path, target, source, hooks, backup_folder);
}

}  // namespace

SaveMethod ChooseSaveMethod(const SaveSituation& situation) {
  if (!situation.target_exists) return SaveMethod::kRename;
  if (situation.link_count > 1 || !situation.folder_writable || !situation.owner_keepable) {
    return SaveMethod::kInPlace;
  }
  return SaveMethod::kRename;
}

std::optional<std::string> FollowLinks(const std::string& path, std::string& target) {
  std::string current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = current;
      return std::nullopt;
    }
    std::vector<char> buffer(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(current.c_str(), buffer.data(), buffer.size());
    if (n < 0) return ErrorText("Cannot read the link", current, errno);
    if (static_cast<size_t>(n) >= buffer.size()) continue;  // grew meanwhile: read it again
    const fs::path link(std::string(buffer.data(), static_cast<size_t>(n)));
    current =
        link.is_absolute() ? link.string() : (fs::path(current).parent_path() / link).string();
  }
  return ErrorText("Cannot write", path, ELOOP);
}

int CreateUniqueFile(const std::string& folder, std::string_view prefix, std::string& path,
                     const SaveHooks& hooks, mode_t mode) {
  for (int attempt = 0; attempt < kMaxNameTries; ++attempt) {
    const std::string unique = hooks.unique_part ? hooks.unique_part() : RandomPart();
    path = (fs::path(folder) / (std::string(prefix) + unique)).string();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

std::optional<std::string> SaveBytes(const std::string& path, std::string_view bytes,
                                     const SaveHooks& hooks, const std::string& backup_folder) {
  const ByteSource source = [bytes](const ByteSink& sink) {
    return bytes.empty() || sink(bytes.data(), bytes.size());
  };
  return Save(path, source, hooks, backup_folder);
}

std::optional<std::string> SaveFile(const std::string& path, const LineStore& lines,
                                    const FileFormat& format, const SaveHooks& hooks,
                                    const std::string& backup_folder) {
  const ByteSource source = [&](const ByteSink& sink) { return WriteText(lines, format, sink); };
  return Save(path, source, hooks, backup_folder);
}

}  // namespace tavik::platform
