// Registry values, persisted as lines "key<TAB>name<TAB>d<TAB>number" or
// "key<TAB>name<TAB>s<TAB>UTF-8 text" with tabs, newlines and backslashes escaped.
#include "platform/registry_store.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "platform/utf8_codec.h"

namespace tavik::platform {

std::string RegistryStore::Normalize(const std::string& key) {
  std::string out;
  for (char c : key)
    out.push_back(c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

void RegistryStore::Changed() const {
  if (!path_.empty()) Save();
}

void RegistryStore::SetDword(const std::string& key, const std::string& name, uint32_t value) {
  keys_[Normalize(key)][name] = value;
  Changed();
}

void RegistryStore::SetString(const std::string& key, const std::string& name,
                              std::u16string value) {
  keys_[Normalize(key)][name] = std::move(value);
  Changed();
}

std::optional<uint32_t> RegistryStore::Dword(const std::string& key,
                                             const std::string& name) const {
  const auto k = keys_.find(Normalize(key));
  if (k == keys_.end()) return std::nullopt;
  const auto v = k->second.find(name);
  if (v == k->second.end() || !std::holds_alternative<uint32_t>(v->second)) return std::nullopt;
  return std::get<uint32_t>(v->second);
}

std::optional<std::u16string> RegistryStore::String(const std::string& key,
                                                    const std::string& name) const {
  const auto k = keys_.find(Normalize(key));
  if (k == keys_.end()) return std::nullopt;
  const auto v = k->second.find(name);
  if (v == k->second.end() || !std::holds_alternative<std::u16string>(v->second)) {
    return std::nullopt;
  }
  return std::get<std::u16string>(v->second);
}

bool RegistryStore::DeleteValue(const std::string& key, const std::string& name) {
  const auto k = keys_.find(Normalize(key));
  if (k == keys_.end() || k->second.erase(name) == 0) return false;
  Changed();
  return true;
}

void RegistryStore::DeleteKey(const std::string& key) {
  const std::string k = Normalize(key);
  std::erase_if(keys_, [&k](const auto& entry) {
    return entry.first == k || entry.first.rfind(k + "\\", 0) == 0;
  });
  Changed();
}

std::vector<std::string> RegistryStore::ValueNames(const std::string& key) const {
  std::vector<std::string> names;
  const auto k = keys_.find(Normalize(key));
  if (k != keys_.end()) {
    for (const auto& [name, value] : k->second) names.push_back(name);
  }
  return names;
}

namespace {

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else
      out.push_back(c);
  }
  return out;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out.push_back(s[i]);
      continue;
    }
    const char c = s[++i];
    out.push_back(c == 't' ? '\t' : c == 'n' ? '\n' : c);
  }
  return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) fields.push_back(field);
  return fields;
}

}  // namespace

std::optional<std::string> RegistryStore::Load() {
  if (path_.empty()) return std::nullopt;
  std::ifstream in(path_, std::ios::binary);
  if (!in) return std::nullopt;  // nothing saved yet
  std::string line;
  int line_number = 0;
  std::optional<std::string> error;
  while (std::getline(in, line)) {
    ++line_number;
    const std::vector<std::string> f = SplitTabs(line);
    if (f.size() != 4 || (f[2] != "d" && f[2] != "s")) {
      if (!error) error = path_ + ":" + std::to_string(line_number) + ": malformed entry";
      continue;
    }
    const std::string value = Unescape(f[3]);
    if (f[2] == "d") {
      keys_[Normalize(Unescape(f[0]))][Unescape(f[1])] =
          static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
    } else {
      keys_[Normalize(Unescape(f[0]))][Unescape(f[1])] = FromUtf8(value);
    }
  }
  return error;
}

std::optional<std::string> RegistryStore::Save() const {
  if (path_.empty()) return std::nullopt;
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  for (const auto& [key, values] : keys_) {
    for (const auto& [name, value] : values) {
      out << Escape(key) << '\t' << Escape(name) << '\t';
      if (std::holds_alternative<uint32_t>(value)) {
        out << "d\t" << std::get<uint32_t>(value) << '\n';
      } else {
        out << "s\t" << Escape(ToUtf8(std::get<std::u16string>(value))) << '\n';
      }
    }
  }
  if (!out) return "Cannot write \"" + path_ + "\"";
  return std::nullopt;
}

}  // namespace tavik::platform
