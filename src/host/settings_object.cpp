// The automation object of the persistent settings.
#include "host/settings_object.h"

namespace tavik::host {

std::optional<SettingId> SettingsObject::IdOf(std::string_view name) {
  for (const SettingRow& row : kSettingTable) {
    if (row.name == name) return row.id;
  }
  return std::nullopt;
}

// A property is a boolean or a string; asking for the other kind is a failed call.
platform::HResult SettingsObject::GetBool(SettingId id, bool* value) {
  if (value == nullptr) return platform::HResult::kPointer;
  if (SettingRowOf(id).type != SettingType::kBool) return platform::HResult::kFail;
  *value = settings_.ReadBool(id);
  return platform::HResult::kOk;
}

platform::HResult SettingsObject::GetString(SettingId id, std::u16string* value) {
  if (value == nullptr) return platform::HResult::kPointer;
  if (SettingRowOf(id).type != SettingType::kString) return platform::HResult::kFail;
  *value = std::u16string(settings_.ReadString(id));
  return platform::HResult::kOk;
}

platform::HResult SettingsObject::PutBool(SettingId id, bool value) {
  if (SettingRowOf(id).type != SettingType::kBool) return platform::HResult::kFail;
  if (!settings_.PutBool(id, value)) return platform::HResult::kFail;
  effects_.SettingChanged(id);
  return platform::HResult::kOk;
}

platform::HResult SettingsObject::PutString(SettingId id, std::u16string_view value) {
  if (SettingRowOf(id).type != SettingType::kString) return platform::HResult::kFail;
  if (!settings_.PutString(id, value)) return platform::HResult::kFail;
  effects_.SettingChanged(id);
  return platform::HResult::kOk;
}

}  // namespace tavik::host
