// The package and the host's key bindings: the one-time removal of clashing bindings on the
// first connection, the offer to open the keyboard manager when clashes are back, and removal
// and restoring as the emulation is switched on and off.
#include "host/package.h"
#include "host/removed_key_set.h"
#include "platform/command_bindings.h"

namespace tavik::host {

namespace {

constexpr std::u16string_view kClashQuestion =
    u"Clashing keybindings found, do you want to open the Tavik keyboard manager?";
// The options form's page the question opens.
constexpr std::u16string_view kKeyboardPage = u"Keyboard";

}  // namespace

void Package::CheckKeyBindings() {
  if (clash_manager_ == nullptr) return;
  if (!settings_->KeyboardScanned()) {
    clash_manager_->EnsureCustomScheme();
    const ClashList clashes = clash_manager_->Scan(settings_->ScanForClashes());
    // Nothing is taken that could not be given back: the record is stored first.
    if (!settings_->PutString(SettingId::kRemovedKeySet, WriteRemovedKeySet(clashes))) return;
    clash_manager_->Remove(clashes);
    settings_->PutBool(SettingId::kKeyboardScanned, true);
  }
  if (settings_->AllowKbdClashes() || !Enabled()) return;
  if (clash_manager_->Scan(settings_->ScanForClashes()).empty()) return;
  if (AskYesNo(kClashQuestion, u"Tavik")) {
    editor_.Execute(platform::kOptionsCommand, kKeyboardPage);
  }
}

void Package::FollowEnabledWithKeyBindings(bool enabled) {
  if (clash_manager_ == nullptr || !settings_->DynamicKbdRestore()) return;
  const ClashList removed = ParseRemovedKeySet(settings_->RemovedKeySet());
  if (enabled) {
    clash_manager_->Remove(removed);
  } else {
    clash_manager_->Restore(removed);
  }
}

}  // namespace tavik::host
