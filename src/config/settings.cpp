// Loading, caching and writing the persistent settings.
#include "config/settings.h"

#include <cassert>

namespace tavik {
namespace {

constexpr bool TableMatchesIds() {
  for (size_t i = 0; i < kSettingTable.size(); ++i) {
    if (static_cast<size_t>(kSettingTable[i].id) != i) return false;
  }
  return true;
}
static_assert(TableMatchesIds());

// How the store saw a true boolean arrive from automation: VARIANT_BOOL true, all bits set.
constexpr uint32_t kStoredTrue = 0xFFFFFFFFu;

// A stored caption is read only when it takes fewer than 514 bytes as a terminated UTF-16
// string, so no more than 255 units come back even though a put accepts 256.
constexpr size_t kFileTabCaptionReadLimitBytes = 514;

bool CaptionFitsForRead(std::u16string_view value) {
  return (value.size() + 1) * sizeof(char16_t) < kFileTabCaptionReadLimitBytes;
}

size_t Index(SettingId id) {
  return static_cast<size_t>(id);
}

}  // namespace

Settings::Settings(SettingsStore& store) : store_(store) {
  for (const SettingRow& row : kSettingTable) {
    if (row.type == SettingType::kBool) {
      bools_[Index(row.id)] = LoadBool(row);
    } else {
      strings_[Index(row.id)] = LoadString(row);
    }
  }
}

bool Settings::LoadBool(const SettingRow& row) {
  const std::optional<uint32_t> stored = store_.ReadDword(row.name);
  return stored ? *stored != 0 : row.default_bool;
}

std::u16string Settings::LoadString(const SettingRow& row) {
  std::optional<std::u16string> stored = store_.ReadString(row.name);
  if (!stored) return std::u16string(row.default_string);
  if (row.id == SettingId::kFileTabCaption && !CaptionFitsForRead(*stored)) {
    return std::u16string(row.default_string);
  }
  return std::move(*stored);
}

bool Settings::GetBool(SettingId id) const {
  assert(SettingRowOf(id).type == SettingType::kBool);
  return bools_[Index(id)];
}

std::u16string_view Settings::GetString(SettingId id) const {
  assert(SettingRowOf(id).type == SettingType::kString);
  return strings_[Index(id)];
}

bool Settings::ReadBool(SettingId id) {
  assert(SettingRowOf(id).type == SettingType::kBool);
  bools_[Index(id)] = LoadBool(SettingRowOf(id));
  return bools_[Index(id)];
}

std::u16string_view Settings::ReadString(SettingId id) {
  assert(SettingRowOf(id).type == SettingType::kString);
  strings_[Index(id)] = LoadString(SettingRowOf(id));
  return strings_[Index(id)];
}

bool Settings::PutBool(SettingId id, bool value) {
  const SettingRow& row = SettingRowOf(id);
  assert(row.type == SettingType::kBool);
  if (row.type != SettingType::kBool) return false;
  if (!store_.WriteDword(row.name, value ? kStoredTrue : 0)) return false;
  bools_[Index(id)] = value;
  return true;
}

bool Settings::PutString(SettingId id, std::u16string_view value) {
  const SettingRow& row = SettingRowOf(id);
  assert(row.type == SettingType::kString);
  if (row.type != SettingType::kString) return false;
  if (id == SettingId::kFileTabCaption && value.size() > kMaxFileTabCaption) return false;
  if (!store_.WriteString(row.name, value)) return false;
  strings_[Index(id)] = std::u16string(value);
  return true;
}

void CopyMirroredOptions(const Settings& settings, OptionSet& global) {
  for (const SettingRow& row : kSettingTable) {
    if (row.mirrored_option != OptionId::kNull)
      global.SetBool(row.mirrored_option, settings.GetBool(row.id));
  }
}

}  // namespace tavik
