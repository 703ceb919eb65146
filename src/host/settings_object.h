// The settings object the package hands out as its automation object "Tavik.General": one get
// and one put per persistent setting. A put writes the registry at once, updates the live
// switch and then carries out the setting's own effect through the package.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "platform/hresult.h"

namespace tavik::host {

// What the package does when a put succeeded: mirrored options, the clipboard register mode,
// the live enabled flag, word wrap and the selection display follow the new value.
class SettingsEffects {
 public:
  virtual ~SettingsEffects() = default;
  virtual void SettingChanged(SettingId id) = 0;
};

class SettingsObject {
 public:
  SettingsObject(Settings& settings, SettingsEffects& effects)
      : settings_(settings), effects_(effects) {}

  // The setting of a property name, compared exactly ("IgnoreCase"); nothing for other names.
  static std::optional<SettingId> IdOf(std::string_view name);

  // Gets read the store again and fall back to the default; a null result gives kPointer.
  platform::HResult GetBool(SettingId id, bool* value);
  platform::HResult GetString(SettingId id, std::u16string* value);
  // Puts write through; kFail when the store refused or the value is not allowed (a caption
  // over 256 characters), and then nothing changes.
  platform::HResult PutBool(SettingId id, bool value);
  platform::HResult PutString(SettingId id, std::u16string_view value);

 private:
  Settings& settings_;
  SettingsEffects& effects_;
};

}  // namespace tavik::host
