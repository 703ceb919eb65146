// The registry in memory, and its file: every change is written to a new temporary file that
// replaces the old one by a rename, so the file on disk is always a whole registry.
#include "platform/registry_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/registry_file.h"

namespace tavik::platform {
namespace {

struct HiveName {
  std::string_view full;
  std::string_view short_name;
};

constexpr std::array<HiveName, 5> kHives = {{
    {"HKEY_CLASSES_ROOT", "HKCR"},
    {"HKEY_CURRENT_USER", "HKCU"},
    {"HKEY_LOCAL_MACHINE", "HKLM"},
    {"HKEY_USERS", "HKU"},
    {"HKEY_CURRENT_CONFIG", "HKCC"},
}};

}  // namespace

std::string RegistryStore::Folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::optional<std::string> RegistryStore::CanonicalKey(std::string_view key) {
  std::vector<std::string_view> parts;
  size_t begin = 0;
  while (begin <= key.size()) {
    size_t end = key.find('\\', begin);
    if (end == std::string_view::npos) end = key.size();
    std::string_view part = key.substr(begin, end - begin);
    if (part.empty() && end < key.size()) return std::nullopt;  // "a\\b"
    if (!part.empty()) parts.push_back(part);
    begin = end + 1;
  }
  if (parts.empty()) return std::nullopt;
  for (std::string_view part : parts) {
    for (char c : part) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    }
  }
  std::string out;
  const std::string first = Folded(parts.front());
  size_t rest = 1;
  for (const HiveName& hive : kHives) {
    if (first == Folded(hive.full) || first == Folded(hive.short_name)) {
      out = hive.full;
      break;
    }
  }
  if (out.empty()) {
    out = kCurrentUserHive;
    rest = 0;
  }
  for (size_t i = rest; i < parts.size(); ++i) {
    out += '\\';
    out += parts[i];
  }
  return out;
}

void EnsureKey(RegistryKeys& keys, const std::string& key) {
  auto [it, added] = keys.try_emplace(RegistryStore::Folded(key));
  if (added) it->second.path = key;
}

void PutValue(RegistryKeys& keys, const std::string& key, std::string_view name,
              RegistryValue value) {
  EnsureKey(keys, key);
  keys[RegistryStore::Folded(key)].values.insert_or_assign(
      RegistryStore::Folded(name), std::make_pair(std::string(name), std::move(value)));
}

bool EraseValue(RegistryKeys& keys, const std::string& key, std::string_view name) {
  auto it = keys.find(RegistryStore::Folded(key));
  return it != keys.end() && it->second.values.erase(RegistryStore::Folded(name)) != 0;
}

bool EraseKey(RegistryKeys& keys, const std::string& key) {
  const std::string folded = RegistryStore::Folded(key);
  const size_t before = keys.size();
  std::erase_if(keys, [&folded](const auto& entry) {
    return entry.first == folded || entry.first.starts_with(folded + "\\");
  });
  return keys.size() != before;
}

bool RegistryStore::Apply(const std::function<void(RegistryKeys&)>& change) {
  if (writes_blocked_) return false;
  if (path_.empty()) {
    change(keys_);
    return true;
  }
  RegistryKeys next = keys_;
  change(next);
  if (!Write(next)) return false;
  keys_ = std::move(next);
  return true;
}

bool RegistryStore::SetDword(std::string_view key, std::string_view name, uint32_t value) {
  Changes changes;
  changes.SetDword(key, name, value);
  return Commit(changes);
}

bool RegistryStore::SetString(std::string_view key, std::string_view name, std::u16string value) {
  Changes changes;
  changes.SetString(key, name, std::move(value));
  return Commit(changes);
}

bool RegistryStore::CreateKey(std::string_view key) {
  if (KeyExists(key)) return CanonicalKey(key).has_value();
  Changes changes;
  changes.CreateKey(key);
  return Commit(changes);
}

bool RegistryStore::DeleteValue(std::string_view key, std::string_view name) {
  const std::optional<std::string> canonical = CanonicalKey(key);
  if (!canonical) return false;
  auto it = keys_.find(Folded(*canonical));
  if (it == keys_.end() || !it->second.values.contains(Folded(name))) return false;
  Changes changes;
  changes.DeleteValue(key, name);
  return Commit(changes);
}

bool RegistryStore::DeleteKey(std::string_view key) {
  const std::optional<std::string> canonical = CanonicalKey(key);
  if (!canonical || !KeyExists(*canonical)) return false;
  Changes changes;
  changes.DeleteKey(key);
  return Commit(changes);
}

// A step whose key path is not valid makes the whole set of changes fail.
std::optional<std::string> RegistryStore::Changes::Checked(std::string_view key) {
  std::optional<std::string> canonical = CanonicalKey(key);
  if (!canonical) invalid_ = true;
  return canonical;
}

void RegistryStore::Changes::SetDword(std::string_view key, std::string_view name, uint32_t value) {
  RegistryValue v;
  v.kind = RegistryValue::Kind::kDword;
  v.dword = value;
  steps_.push_back([k = Checked(key), n = std::string(name), v](RegistryKeys& keys) {
    if (k) PutValue(keys, *k, n, v);
  });
}

void RegistryStore::Changes::SetString(std::string_view key, std::string_view name,
                                       std::u16string value) {
  RegistryValue v;
  v.kind = RegistryValue::Kind::kString;
  v.text = std::move(value);
  steps_.push_back([k = Checked(key), n = std::string(name), v](RegistryKeys& keys) {
    if (k) PutValue(keys, *k, n, v);
  });
}

void RegistryStore::Changes::CreateKey(std::string_view key) {
  steps_.push_back([k = Checked(key)](RegistryKeys& keys) {
    if (k) EnsureKey(keys, *k);
  });
}

void RegistryStore::Changes::DeleteValue(std::string_view key, std::string_view name) {
  steps_.push_back([k = Checked(key), n = std::string(name)](RegistryKeys& keys) {
    if (k) EraseValue(keys, *k, n);
  });
}

void RegistryStore::Changes::DeleteKey(std::string_view key) {
  steps_.push_back([k = Checked(key)](RegistryKeys& keys) {
    if (k) EraseKey(keys, *k);
  });
}

bool RegistryStore::Commit(const Changes& changes) {
  if (changes.invalid_) return false;
  return Apply([&changes](RegistryKeys& keys) {
    for (const auto& step : changes.steps_) step(keys);
  });
}

namespace {

const RegistryValue* Find(const RegistryKeys& keys, std::string_view key, std::string_view name) {
  const std::optional<std::string> canonical = RegistryStore::CanonicalKey(key);
  if (!canonical) return nullptr;
  const auto k = keys.find(RegistryStore::Folded(*canonical));
  if (k == keys.end()) return nullptr;
  const auto v = k->second.values.find(RegistryStore::Folded(name));
  return v == k->second.values.end() ? nullptr : &v->second.second;
}

}  // namespace

std::optional<uint32_t> RegistryStore::Dword(std::string_view key, std::string_view name) const {
  const RegistryValue* v = Find(keys_, key, name);
  if (v == nullptr || v->kind != RegistryValue::Kind::kDword) return std::nullopt;
  return v->dword;
}

std::optional<std::u16string> RegistryStore::String(std::string_view key,
                                                    std::string_view name) const {
  const RegistryValue* v = Find(keys_, key, name);
  if (v == nullptr ||
      (v->kind != RegistryValue::Kind::kString && v->kind != RegistryValue::Kind::kExpandString)) {
    return std::nullopt;
  }
  return v->text;
}

bool RegistryStore::KeyExists(std::string_view key) const {
  const std::optional<std::string> canonical = CanonicalKey(key);
  if (!canonical) return false;
  const std::string folded = Folded(*canonical);
  if (keys_.contains(folded)) return true;
  const auto below = keys_.lower_bound(folded + "\\");
  return below != keys_.end() && below->first.starts_with(folded + "\\");
}

std::vector<std::string> RegistryStore::ValueNames(std::string_view key) const {
  std::vector<std::string> names;
  const std::optional<std::string> canonical = CanonicalKey(key);
  if (!canonical) return names;
  const auto k = keys_.find(Folded(*canonical));
  if (k != keys_.end()) {
    for (const auto& [folded, entry] : k->second.values) names.push_back(entry.first);
  }
  return names;
}

std::vector<std::string> RegistryStore::SubkeyNames(std::string_view key) const {
  const std::optional<std::string> canonical = CanonicalKey(key);
  if (!canonical) return {};
  const std::string prefix = Folded(*canonical) + "\\";
  // By folded name: keys below a subkey need not follow it directly in the order of paths.
  std::map<std::string, std::string> found;
  for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.starts_with(prefix);
       ++it) {
    const std::string& spelled = it->second.path;
    const size_t end = spelled.find('\\', prefix.size());
    std::string name = spelled.substr(
        prefix.size(), end == std::string::npos ? std::string::npos : end - prefix.size());
    found.try_emplace(Folded(name), std::move(name));
  }
  std::vector<std::string> names;
  for (auto& [folded, name] : found) names.push_back(std::move(name));
  return names;
}

std::optional<std::string> RegistryStore::Load() {
  writes_blocked_ = false;
  keys_.clear();
  if (path_.empty()) return std::nullopt;
  std::error_code ignored;
  if (std::filesystem::is_directory(path_, ignored)) {
    writes_blocked_ = true;
    return "The registry file " + path_ + " is a folder: defaults apply and settings are not saved";
  }
  std::ifstream in(path_, std::ios::binary);
  if (!in.is_open()) {
    if (errno == ENOENT) return std::nullopt;  // nothing saved yet
    writes_blocked_ = true;
    return "Cannot read the registry file " + path_ + " (" + std::strerror(errno) +
           "): defaults apply and settings are not saved";
  }
  std::ostringstream text;
  text << in.rdbuf();
  RegistryKeys keys;
  std::optional<std::string> error = ParseRegistryFile(text.str(), keys);
  if (!error) {
    keys_ = std::move(keys);
    return std::nullopt;
  }
  const std::string aside = path_ + ".bad";
  if (std::rename(path_.c_str(), aside.c_str()) != 0) {
    // Writing now would overwrite the only copy.
    writes_blocked_ = true;
    return "The registry file " + path_ + " does not parse (" + *error +
           ") and cannot be kept aside: defaults apply and settings are not saved";
  }
  return "The registry file " + path_ + " does not parse (" + *error + "); it was kept as " +
         aside + " and defaults apply";
}

bool RegistryStore::Write(const RegistryKeys& keys) const {
  const std::string text = WriteRegistryFile(keys);
  const std::filesystem::path target(path_);
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  // A name no other writer uses, made with O_EXCL so that an existing file is never followed.
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = (folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) +
                           "." + std::to_string(attempt) + ".tmp"))
                    .string();
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  // The file keeps the permissions it had.
  struct stat old_file {};
  if (::stat(path_.c_str(), &old_file) == 0) ::fchmod(fd, old_file.st_mode & 07777);
  size_t done = 0;
  bool ok = true;
  while (ok && done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(temporary.c_str(), path_.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename itself reaches the disk with the folder.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

std::string DefaultRegistryFile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return {};
    base = std::filesystem::path(home) / ".config";
  }
  return (base / "tavik" / "registry.reg").string();
}

}  // namespace tavik::platform
