// The package's lifecycle beyond siting: the lazy connection to the host's commands, the
// settings object and what a changed setting does, the enabled flag, the host's preference
// events and closing.
#include "config/version_text.h"
#include "host/package.h"
#include "host/registration.h"

namespace tavik::host {

platform::HResult Package::Close() {
  if (state_ == State::kClosed) return platform::HResult::kUnexpected;
  assert(key_depth_ == 0);
  editor_.SetEditQuery(nullptr);
  editor_.RemoveViewListener(view_listener_);
  editor_.preferences().RemoveListener(preferences_listener_);
  editor_.automation().RemoveCommandEvents(command_events_);
  for (auto& [id, attachment] : attachments_) {
    attachment.view->text.Detach();
    attachment.filter->Leave();
    if (platform::View* view = editor_.FindView(id)) {
      view->KillWindowTimer(kAttachmentTimerId);
      view->KillWindowTimer(kMappingTimerId);
      if (attachment.window->light_previous) {
        view->SetWindowProcedure(std::move(attachment.window->light_previous));
      }
    }
  }
  attachments_.clear();
  retired_.clear();
  settings_object_.reset();
  clash_manager_.reset();
  keyboard_commands_.reset();
  engine_.reset();
  settings_.reset();
  own_store_.reset();
  state_ = State::kClosed;
  return platform::HResult::kOk;
}

platform::HResult Package::ConnectAutomation() {
  if (state_ == State::kClosed) return platform::HResult::kUnexpected;
  if (state_ == State::kAutomationConnected) return platform::HResult::kOk;
  state_ = State::kAutomationConnected;
  CheckKeyBindings();
  if (startup_errors_) editor_.Execute(u"View.Output");
  return platform::HResult::kOk;
}

SettingsObject* Package::GetAutomationObject(std::u16string_view name) {
  constexpr std::u16string_view kName = u"Tavik.General";
  if (settings_object_ == nullptr || name.size() != kName.size()) return nullptr;
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    char16_t k = kName[i];
    if (k >= u'A' && k <= u'Z') k = static_cast<char16_t>(k - u'A' + u'a');
    if (c != k) return nullptr;
  }
  return settings_object_.get();
}

std::u16string_view Package::VersionText() const {
  return kVersionText;
}

void Package::SetEnabled(bool enabled) {
  if (engine_ == nullptr || engine_->Enabled() == enabled) return;
  engine_->ResetToNormal(FocusedView());
  engine_->SetEnabled(enabled);
  FollowEnabledWithKeyBindings(enabled);
  UpdateStatusBar();
}

void Package::SettingChanged(SettingId id) {
  if (engine_ == nullptr) return;
  const SettingRow& row = SettingRowOf(id);
  if (row.mirrored_option != OptionId::kNull) {
    engine_->GlobalOptions().SetBool(row.mirrored_option, settings_->GetBool(id));
    if (row.mirrored_option != OptionId::kIncSearch) {
      // Highlights follow the case options and hlsearch in every view at once.
      engine_->Search().CaseOptionsChanged();
      for (auto& [view_id, attachment] : attachments_) {
        if (attachment.view->text.IsAttached()) {
          engine_->Search().RefreshHighlights(attachment.view->text);
        }
      }
    }
    return;
  }
  switch (id) {
    case SettingId::kDefaultWinClipboard:
      engine_->Registers().SetDefaultIsClipboard(settings_->DefaultWinClipboard());
      break;
    case SettingId::kEnable:
      SetEnabled(settings_->Enable());
      break;
    case SettingId::kUseVSSel:
      for (auto& [view_id, attachment] : attachments_) {
        if (attachment.view->text.IsAttached()) {
          attachment.view->text.RefreshFromHost(true, settings_->UseVSSel());
        }
      }
      break;
    case SettingId::kWinWordWrap:
      editor_.SetWordWrap(settings_->WinWordWrap());
      break;
    default:
      break;  // read where it is used
  }
}

}  // namespace tavik::host
