// The in-memory settings store.
#include "config/settings_store.h"

namespace tavik {

std::optional<uint32_t> MemorySettingsStore::ReadDword(std::string_view name) {
  if (reads_fail_) return std::nullopt;
  auto it = values_.find(name);
  if (it == values_.end() || !std::holds_alternative<uint32_t>(it->second)) return std::nullopt;
  return std::get<uint32_t>(it->second);
}

std::optional<std::u16string> MemorySettingsStore::ReadString(std::string_view name) {
  if (reads_fail_) return std::nullopt;
  auto it = values_.find(name);
  if (it == values_.end() || !std::holds_alternative<std::u16string>(it->second)) {
    return std::nullopt;
  }
  return std::get<std::u16string>(it->second);
}

bool MemorySettingsStore::WriteDword(std::string_view name, uint32_t value) {
  if (writes_fail_) return false;
  values_.insert_or_assign(std::string(name), value);
  ++write_count_;
  return true;
}

bool MemorySettingsStore::WriteString(std::string_view name, std::u16string_view value) {
  if (writes_fail_) return false;
  values_.insert_or_assign(std::string(name), std::u16string(value));
  ++write_count_;
  return true;
}

}  // namespace tavik
