// The keyboard manager's buttons.
#include "host/keyboard_manager.h"

namespace tavik::host {

namespace {

std::u16string OrNone(std::u16string text) {
  return text.empty() ? std::u16string(u"(None)") : text;
}

}  // namespace

KeyboardManager::KeyboardManager(SettingsObject* settings, ClashManager& clashes, Ask ask)
    : settings_(settings), clashes_(clashes), ask_(std::move(ask)) {
  if (settings_ == nullptr) {
    error_ = kPreferencesError;
    keys_ = kDefaultClashKeys;
    return;
  }
  bool allow = false;
  const bool read =
      settings_->GetBool(SettingId::kDynamicKbdRestore, &dynamic_restore_) ==
          platform::HResult::kOk &&
      settings_->GetBool(SettingId::kAllowKbdClashes, &allow) == platform::HResult::kOk &&
      settings_->GetString(SettingId::kScanForClashes, &keys_) == platform::HResult::kOk;
  remove_clashes_ = !allow;
  if (!read) error_ = kPreferencesError;
}

std::u16string KeyboardManager::RemovedText() const {
  std::u16string text;
  if (settings_ != nullptr) settings_->GetString(SettingId::kRemovedKeySet, &text);
  return OrNone(std::move(text));
}

std::u16string KeyboardManager::FoundText() const {
  return OrNone(WriteRemovedKeySet(clashes_.Scan(keys_)));
}

bool KeyboardManager::SaveKeyList() {
  if (keys_.size() > kMaxClashKeys) keys_.resize(kMaxClashKeys);
  if (settings_ != nullptr &&
      settings_->PutString(SettingId::kScanForClashes, keys_) == platform::HResult::kOk) {
    return true;
  }
  error_ = kPreferencesError;
  return false;
}

void KeyboardManager::Press(int control) {
  namespace c = kbd_control;
  if (settings_ == nullptr) {
    // Only the error's OK: nothing changes.
    if (control == c::kOk || control == c::kCancel) closed_ = true;
    return;
  }
  error_.clear();
  switch (control) {
    case c::kCopyAndRemove:
      if (!Confirm(u"Are you sure you want to copy these keybindings for restoring and remove "
                   u"them?") ||
          !SaveKeyList()) {
        return;
      }
      {
        const ClashList found = clashes_.Scan(keys_);
        if (settings_->PutString(SettingId::kRemovedKeySet, WriteRemovedKeySet(found)) !=
            platform::HResult::kOk) {
          error_ = kPreferencesError;  // nothing removed that could not be given back
          return;
        }
        clashes_.Remove(found);
      }
      return;
    case c::kRemoveOnly:
      if (!Confirm(u"Are you sure you want to remove these keybindings without saving for "
                   u"restoring?") ||
          !SaveKeyList()) {
        return;
      }
      clashes_.Remove(clashes_.Scan(keys_));
      return;
    case c::kRestore: {
      if (!Confirm(u"Are you sure you want to restore the keybindings?")) return;
      std::u16string text;
      settings_->GetString(SettingId::kRemovedKeySet, &text);
      clashes_.Restore(ParseRemovedKeySet(text));
      return;
    }
    case c::kErase:
      if (!Confirm(u"Are you sure you want to erase the list of keybindings to restore?")) return;
      if (settings_->PutString(SettingId::kRemovedKeySet, u"") != platform::HResult::kOk)
        error_ = kPreferencesError;
      return;
    case c::kSaveKeys:
      SaveKeyList();
      return;
    case c::kDefaultKeys:
      keys_ = kDefaultClashKeys;
      SaveKeyList();
      return;
    case c::kKeysWithClipboard:
      keys_ = kClashKeysWithClipboard;
      SaveKeyList();
      return;
    case c::kOk:
      if (SaveKeyList() &&
          settings_->PutBool(SettingId::kDynamicKbdRestore, dynamic_restore_) ==
              platform::HResult::kOk &&
          settings_->PutBool(SettingId::kAllowKbdClashes, !remove_clashes_) ==
              platform::HResult::kOk) {
        closed_ = true;
      } else {
        error_ = kPreferencesError;
      }
      return;
    case c::kCancel:
      closed_ = true;
      return;
    default:
      return;
  }
}

}  // namespace tavik::host
