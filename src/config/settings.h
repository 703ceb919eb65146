// The persistent user settings: their value names and defaults, and the Settings object that
// loads them once from a SettingsStore, caches them and writes every change straight through.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/options.h"
#include "config/settings_store.h"

namespace tavik {

// In the order of the settings object's properties.
enum class SettingId : uint8_t {
  kIgnoreCapsLock,
  kDefaultWinClipboard,
  kBeep,
  kIgnoreCase,
  kLeaveVSMark,
  kUseFindDialog,
  kFileTabCaption,
  kEnable,
  kSmartCase,
  kRemoveReadOnly,
  kIncrementalSearch,
  kDontShowWelcome2,
  kUseVSSel,
  kWinWordWrap,
  kHLSearch,
  kKeyboardScanned,
  kDynamicKbdRestore,
  kAllowKbdClashes,
  kRemovedKeySet,
  kScanForClashes,
  kWarnReadOnly,
  kFixUpUndocCtrlU,
};
inline constexpr size_t kSettingCount = 22;

enum class SettingType : uint8_t { kBool, kString };

struct SettingRow {
  SettingId id;
  std::string_view name;  // the store's value name
  SettingType type;
  bool default_bool;
  std::u16string_view default_string;
  OptionId mirrored_option;  // the `set` option that follows this setting, kNull for none
};

inline constexpr std::array<SettingRow, kSettingCount> kSettingTable = {{
    {SettingId::kIgnoreCapsLock, "IgnoreCapsLock", SettingType::kBool, true, u"", OptionId::kNull},
    {SettingId::kDefaultWinClipboard, "DefaultWinClipboard", SettingType::kBool, true, u"",
     OptionId::kNull},
    {SettingId::kBeep, "Beep", SettingType::kBool, true, u"", OptionId::kNull},
    {SettingId::kIgnoreCase, "IgnoreCase", SettingType::kBool, true, u"", OptionId::kIgnoreCase},
    {SettingId::kLeaveVSMark, "LeaveVSMark", SettingType::kBool, false, u"", OptionId::kNull},
    {SettingId::kUseFindDialog, "UseFindDialog", SettingType::kBool, false, u"", OptionId::kNull},
    {SettingId::kFileTabCaption, "FileTabCaption", SettingType::kString, false, u" - vi",
     OptionId::kNull},
    {SettingId::kEnable, "Enable", SettingType::kBool, true, u"", OptionId::kNull},
    {SettingId::kSmartCase, "SmartCase", SettingType::kBool, true, u"", OptionId::kSmartCase},
    {SettingId::kRemoveReadOnly, "RemoveReadOnly", SettingType::kBool, false, u"", OptionId::kNull},
    {SettingId::kIncrementalSearch, "IncrementalSearch", SettingType::kBool, true, u"",
     OptionId::kIncSearch},
    {SettingId::kDontShowWelcome2, "DontShowWelcome2", SettingType::kBool, false, u"",
     OptionId::kNull},
    {SettingId::kUseVSSel, "UseVSSel", SettingType::kBool, false, u"", OptionId::kNull},
    {SettingId::kWinWordWrap, "WinWordWrap", SettingType::kBool, false, u"", OptionId::kNull},
    {SettingId::kHLSearch, "HLSearch", SettingType::kBool, true, u"", OptionId::kHlSearch},
    {SettingId::kKeyboardScanned, "KeyboardScanned", SettingType::kBool, false, u"",
     OptionId::kNull},
    {SettingId::kDynamicKbdRestore, "DynamicKbdRestore", SettingType::kBool, true, u"",
     OptionId::kNull},
    {SettingId::kAllowKbdClashes, "AllowKbdClashes", SettingType::kBool, false, u"",
     OptionId::kNull},
    {SettingId::kRemovedKeySet, "RemovedKeySet", SettingType::kString, false, u"", OptionId::kNull},
    {SettingId::kScanForClashes, "ScanForClashes", SettingType::kString, false, u"RFBDUWTQEYOINP]",
     OptionId::kNull},
    {SettingId::kWarnReadOnly, "WarnReadOnly", SettingType::kBool, false, u"", OptionId::kNull},
    {SettingId::kFixUpUndocCtrlU, "FixUpUndocCtrlU", SettingType::kBool, false, u"",
     OptionId::kNull},
}};

inline constexpr const SettingRow& SettingRowOf(SettingId id) {
  return kSettingTable[static_cast<size_t>(id)];
}

// The longest "FileTabCaption" a put accepts, in UTF-16 units.
inline constexpr size_t kMaxFileTabCaption = 256;

class Settings {
 public:
  // Loads every value from `store`, which must outlive the object.
  explicit Settings(SettingsStore& store);

  // The cached values, as loaded or last put.
  bool GetBool(SettingId id) const;
  std::u16string_view GetString(SettingId id) const;

  // Reads one value from the store again (the default when it cannot be read), refreshes the
  // cache and returns the value. This is what the options pages see.
  bool ReadBool(SettingId id);
  std::u16string_view ReadString(SettingId id);

  // Write through to the store. On failure, or for a caption that is too long, they return
  // false and the cached value is left as it was.
  bool PutBool(SettingId id, bool value);
  bool PutString(SettingId id, std::u16string_view value);

  bool IgnoreCapsLock() const { return GetBool(SettingId::kIgnoreCapsLock); }
  bool DefaultWinClipboard() const { return GetBool(SettingId::kDefaultWinClipboard); }
  bool Beep() const { return GetBool(SettingId::kBeep); }
  bool IgnoreCase() const { return GetBool(SettingId::kIgnoreCase); }
  bool LeaveVSMark() const { return GetBool(SettingId::kLeaveVSMark); }
  bool UseFindDialog() const { return GetBool(SettingId::kUseFindDialog); }
  std::u16string_view FileTabCaption() const { return GetString(SettingId::kFileTabCaption); }
  bool Enable() const { return GetBool(SettingId::kEnable); }
  bool SmartCase() const { return GetBool(SettingId::kSmartCase); }
  bool RemoveReadOnly() const { return GetBool(SettingId::kRemoveReadOnly); }
  bool IncrementalSearch() const { return GetBool(SettingId::kIncrementalSearch); }
  bool DontShowWelcome2() const { return GetBool(SettingId::kDontShowWelcome2); }
  bool UseVSSel() const { return GetBool(SettingId::kUseVSSel); }
  bool WinWordWrap() const { return GetBool(SettingId::kWinWordWrap); }
  bool HLSearch() const { return GetBool(SettingId::kHLSearch); }
  bool KeyboardScanned() const { return GetBool(SettingId::kKeyboardScanned); }
  bool DynamicKbdRestore() const { return GetBool(SettingId::kDynamicKbdRestore); }
  bool AllowKbdClashes() const { return GetBool(SettingId::kAllowKbdClashes); }
  std::u16string_view RemovedKeySet() const { return GetString(SettingId::kRemovedKeySet); }
  std::u16string_view ScanForClashes() const { return GetString(SettingId::kScanForClashes); }
  bool WarnReadOnly() const { return GetBool(SettingId::kWarnReadOnly); }
  bool FixUpUndocCtrlU() const { return GetBool(SettingId::kFixUpUndocCtrlU); }

 private:
  bool LoadBool(const SettingRow& row);
  std::u16string LoadString(const SettingRow& row);

  SettingsStore& store_;
  std::array<bool, kSettingCount> bools_{};
  std::array<std::u16string, kSettingCount> strings_{};
};

// Copies the settings that mirror options into the engine's global option set, as done once
// after loading and again whenever such a setting is put.
void CopyMirroredOptions(const Settings& settings, OptionSet& global);

}  // namespace tavik
