// The keyboard manager dialog: the clash manager's settings and actions behind numbered
// controls. Check boxes and the key list are the dialog's own until OK saves them; the buttons
// that scan, remove, restore or erase ask first and then act at once. Everything goes through
// the settings object; without one the dialog only says "Error accessing preferences".
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "host/keyboard_clashes.h"
#include "host/settings_object.h"

namespace tavik::host {

// The dialog's controls.
namespace kbd_control {
inline constexpr int kRemovedKeySet = 1027;   // static text
inline constexpr int kDynamicRestore = 1028;  // check box
inline constexpr int kFoundNow = 1029;        // static text
inline constexpr int kCopyAndRemove = 1030;
inline constexpr int kRemoveOnly = 1031;
inline constexpr int kRemoveClashes = 1032;  // check box: the inverse of "AllowKbdClashes"
inline constexpr int kRestore = 1033;
inline constexpr int kErase = 1034;
inline constexpr int kKeyList = 1035;  // edit field
inline constexpr int kSaveKeys = 1036;
inline constexpr int kDefaultKeys = 1037;
inline constexpr int kKeysWithClipboard = 1038;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
}  // namespace kbd_control

inline constexpr std::u16string_view kPreferencesError = u"Error accessing preferences";

class KeyboardManager {
 public:
  // Asks a question with Yes and No (caption "Tavik"); true for Yes.
  using Ask = std::function<bool(std::u16string_view question)>;

  // `settings` null: the preferences cannot be reached.
  KeyboardManager(SettingsObject* settings, ClashManager& clashes, Ask ask);

  // The controls' state.
  bool DynamicRestore() const { return dynamic_restore_; }
  bool RemoveClashes() const { return remove_clashes_; }
  const std::u16string& KeyList() const { return keys_; }
  void SetDynamicRestore(bool on) { dynamic_restore_ = on; }
  void SetRemoveClashes(bool on) { remove_clashes_ = on; }
  void SetKeyList(std::u16string keys) { keys_ = std::move(keys); }
  // The stored record of removed bindings, and what a scan with the key list finds now; each
  // "(None)" when empty.
  std::u16string RemovedText() const;
  std::u16string FoundText() const;

  // Presses a button; OK and Cancel close the dialog.
  void Press(int control);
  bool Closed() const { return closed_; }
  // The last failure ("Error accessing preferences"), empty when none.
  const std::u16string& Error() const { return error_; }

 private:
  bool SaveKeyList();
  bool Confirm(std::u16string_view question) { return ask_ && ask_(question); }

  SettingsObject* settings_;
  ClashManager& clashes_;
  Ask ask_;
  bool dynamic_restore_ = true;
  bool remove_clashes_ = true;
  std::u16string keys_;
  bool closed_ = false;
  std::u16string error_;
};

}  // namespace tavik::host
