// The package and other add-ins: automation's command events give the engine the Escape an
// add-in takes for its own lists and the keys special editors send only as editor commands,
// and a view is left to an add-in's in-place rename while that rename is on.
#include <optional>

#include "host/package.h"

namespace tavik::host {

namespace {

namespace cmd2k = platform::cmd2k;

// The special keys of the editor commands a special editor sends for them.
std::optional<KeyCode> SpecialKeyOf(uint32_t id) {
  switch (id) {
    case cmd2k::kDelete:
      return KeyCode::Special(vk::kDelete);
    case cmd2k::kLeft:
      return KeyCode::Special(vk::kLeft);
    case cmd2k::kRight:
      return KeyCode::Special(vk::kRight);
    case cmd2k::kUp:
      return KeyCode::Special(vk::kUp);
    case cmd2k::kDown:
      return KeyCode::Special(vk::kDown);
    case 15:  // the command the special editors send for Home
      return KeyCode::Special(vk::kHome);
    case 17:  // and for End
      return KeyCode::Special(vk::kEnd);
    default:
      return std::nullopt;
  }
}

bool IsInteropCommand(uint32_t id) {
  return id == cmd2k::kCancel || id == cmd2k::kReturn || id == cmd2k::kBackspace ||
         SpecialKeyOf(id).has_value();
}

}  // namespace

void Package::BeforeCommandEvent(std::string_view group, uint32_t id, bool& cancel) {
  if (engine_ == nullptr || !engine_->Enabled() || !IsInteropCommand(id) ||
      group != platform::CommandGroupGuid(platform::CommandGroup::kStandard2K)) {
    return;
  }
  // A command the host makes of a key the engine already saw is not fed again.
  if (key_depth_ > 0 || message_depth_ > 0 || state_ != State::kAutomationConnected) return;
  platform::View* view = editor_.FocusedView();
  if (view == nullptr) return;
  PackageCommandFilter* filter = Filter(*view);
  AttachedView* attached = Attachment(*view);
  if (filter == nullptr || attached == nullptr || filter->InKeyMessage()) return;
  if (FollowSuspension(*view)) return;
  interop_.Detect();
  const platform::Document* document = editor_.DocumentOf(*view);
  const bool special =
      host_is_database_edition_ && document != nullptr && IsSpecialLanguage(document->language);

  switch (id) {
    case cmd2k::kCancel:
      if ((interop_.EscapeAddInConnected() && engine_->GlobalOptions().Bool(OptionId::kVaxEsc)) ||
          special) {
        FeedCommandKey(*view, KeyCode::Char(ch::kEscape));
        UpdateStatusBar();
        cancel = true;
      }
      break;
    case cmd2k::kReturn:
      if (special && engine_->Mode() != EngineMode::kInsert) {
        FeedCommandKey(*view, KeyCode::Char(ch::kReturn));
        cancel = true;
      }
      break;
    case cmd2k::kBackspace:
      if (special && FeedCommandKey(*view, KeyCode::Char(ch::kBackspace))) cancel = true;
      break;
    default:
      if (special && FeedCommandKey(*view, *SpecialKeyOf(id))) cancel = true;
      break;
  }
  // The host's modal input would have ended on this command; it never gets it now.
  if (cancel && (id == cmd2k::kCancel || id == cmd2k::kReturn)) {
    if (PackageCommandFilter* still = Filter(*view))
      still->EndHostModalByEvent(id == cmd2k::kReturn);
  }
}

void Package::AfterCommandEvent(std::string_view group, uint32_t id) {
  if (engine_ == nullptr || !engine_->Enabled() || state_ != State::kAutomationConnected) return;
  interop_.Detect();
  if (interop_.IsRenameCommand(group, id)) UpdateStatusBar();
}

bool Package::FollowSuspension(platform::View& view) {
  ViewAttachment* attachment = Find(view);
  return attachment != nullptr && FollowSuspension(view, *attachment);
}

bool Package::FollowSuspension(platform::View& view, ViewAttachment& attachment) {
  if (state_ != State::kAutomationConnected) return false;
  PackageCommandFilter& filter = *attachment.filter;
  interop_.Detect();
  if (!interop_.RenameAddInPresent()) return filter.Suspended();
  const platform::Document* document = editor_.DocumentOf(view);
  const bool renaming = document != nullptr && interop_.RenameInProgress(*document);
  if (!filter.Suspended()) {
    if (renaming) filter.SetSuspended(true);
  } else if (!renaming) {
    filter.SetSuspended(false);
    engine_->ResetToNormal(attachment.view.get());
    UpdateStatusBar();
  }
  return filter.Suspended();
}

}  // namespace tavik::host
