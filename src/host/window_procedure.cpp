// The package's window procedures on an editor view's window. The light one, installed when the
// view is registered, waits for the first key or click to attach fully and remakes the caret;
// the main one reads the keyboard messages as keys for the engine, keeps focus, timers, menu
// loop and caret in step, and switches the emulation on and off with Ctrl+Shift+Alt+V.
#include <optional>
#include <utility>

#include "engine/state/document_switch.h"
#include "host/key_translation.h"
#include "host/package.h"

namespace tavik::host {

namespace {

namespace wm = platform::wm;

// Our host's views have no font to measure: a character is 8 pixels wide.
constexpr uint32_t kLineHeight = platform::kCaretLineHeight;
constexpr uint32_t kDefaultCharWidth = 8;

bool IsMouseButton(uint32_t message) {
  return message >= wm::kLeftButtonDown && message <= wm::kMiddleButtonUp && message != 0x0203 &&
         message != 0x0206;  // not the double clicks
}

}  // namespace

void Package::InstallLightProcedure(platform::View& view, ViewAttachment& attachment) {
  attachment.window->light_previous =
      view.SetWindowProcedure([this](platform::View& v, const platform::WindowMessage& message) {
        return LightProcedure(v, message);
      });
}

void Package::FullyAttach(platform::View& view) {
  ViewAttachment* attachment = Find(view);
  if (attachment == nullptr || attachment->window->FullyAttached()) return;
  ConnectAutomation();
  AttachmentWindow& window = *attachment->window;
  attachment->filter->SetFullyAttached(true);
  window.full_previous =
      view.SetWindowProcedure([this](platform::View& v, const platform::WindowMessage& message) {
        return MainProcedure(v, message);
      });
  window.stage = AttachmentStage::kFull;
  view.SetWindowTimer(kAttachmentTimerId, kAttachmentRefreshMs);
}

void Package::RefreshCommandFilter(platform::View& view) {
  if (ViewAttachment* attachment = Find(view)) attachment->filter->Rejoin();
}

intptr_t Package::LightProcedure(platform::View& view, const platform::WindowMessage& message) {
  ViewAttachment* attachment = Find(view);
  if (attachment == nullptr) return editor_.DefaultWindowProcedure(view, message);
  // The attachment outlives this call (see MainProcedure), and its saved procedure is only
  // ever copied back to the window, so it can be called where it is.
  const platform::WindowProcedure& previous = attachment->window->light_previous;
  const uint32_t m = message.message;
  if ((m == wm::kKeyDown || m == wm::kChar || IsMouseButton(m)) &&
      !attachment->window->FullyAttached()) {
    FullyAttach(view);
    // The main procedure, first in the chain now, takes this message too.
    return editor_.SendMessage(view, message);
  }
  const bool caret_after = m == wm::kSetFocus || m == wm::kCaretRefresh || m == wm::kPaint;
  std::shared_ptr<const bool> alive;
  if (caret_after) alive = view.LifeToken();
  ++message_depth_;
  const intptr_t result =
      previous ? previous(view, message) : editor_.DefaultWindowProcedure(view, message);
  --message_depth_;
  ReleaseRetired();
  if (caret_after && *alive && (m != wm::kPaint || editor_.FocusedView() == &view)) {
    if (ViewAttachment* still = Find(view)) RecreateCaret(view, *still->window);
  }
  return result;
}

void Package::RecreateCaret(platform::View& view, AttachmentWindow& window) {
  // Switched off, the host's own caret stays.
  if (window.in_menu_loop || window.destroyed || editor_.FocusedView() != &view ||
      !engine_->Enabled()) {
    return;
  }
  if (window.char_width == 0) window.char_width = kDefaultCharWidth;
  const CaretSize size =
      CaretSizeOf(static_cast<int>(engine_->GetCaretShape()), window.char_width, kLineHeight);
  view.CreateCaret(size.width, size.height);
}

void Package::ClearPendingKeys(uint64_t typed_in) {
  // Keys held back for a mapping are resolved in the view they were typed in, as on time-out,
  // so that none is lost when the focus moves on.
  if (platform::View* view = editor_.FindView(typed_in)) {
    if (ViewAttachment* attachment = Find(*view); attachment != nullptr) {
      ++key_depth_;
      engine_->ProcessPendingKeys(*attachment->view);
      --key_depth_;
    }
  }
  engine_->ClearPendingKeys();
  for (auto& [id, attachment] : attachments_) attachment.adapter->StopTimer();
}

intptr_t Package::MainProcedure(platform::View& view, const platform::WindowMessage& message) {
  ViewAttachment* attachment = Find(view);
  if (attachment == nullptr) return editor_.DefaultWindowProcedure(view, message);
  AttachmentWindow& window = *attachment->window;
  const platform::WindowProcedure& previous = window.full_previous;
  // Whether the view is still there: a key may close it. Ids are never reused, so the host
  // finding this id at this address means it is the same view.
  const uint64_t view_id = view.Id();
  auto alive = [&] { return editor_.FindView(view_id) == &view; };
  auto pass_on = [&] {
    return previous ? previous(view, message) : editor_.DefaultWindowProcedure(view, message);
  };
  const uint32_t m = message.message;
  const uint32_t flags = editor_.keyboard().State().Flags();
  const bool in_step = std::exchange(synced_view_, 0) == view_id;

  if (m == wm::kEnterMenuLoop) window.in_menu_loop = true;
  if (m == wm::kExitMenuLoop) window.in_menu_loop = false;
  if (IsGlobalToggle(message, flags)) {
    // The live switch only: the stored setting keeps its value for the next start.
    ++message_depth_;
    SetEnabled(!engine_->Enabled());
    --message_depth_;
  }
  PackageCommandFilter& filter = *attachment->filter;
  if (engine_->Enabled() && (m == wm::kKeyDown || m == wm::kSysKeyDown || m == wm::kChar)) {
    FollowSuspension(view, *attachment);
  }
  if (!engine_->Enabled() || filter.IsHostModal() || filter.Suspended()) return pass_on();

  // From here the attachment may go away while the message is handled (a key closing the
  // document): it is kept in the retired list until the outermost handler returns.
  ++message_depth_;
  // Editor commands the host makes of this message come back through the filter untranslated.
  std::optional<PackageCommandFilter::KeyMessageScope> in_message(std::in_place, filter);
  AttachedView& attached = *attachment->view;
  intptr_t result = 0;
  bool caret = false;
  bool status = false;
  switch (m) {
    case wm::kSetFocus: {
      const uint64_t before = current_view_;
      current_view_ = view.Id();
      if (before != 0 && before != view.Id() && key_depth_ == 0) ClearPendingKeys(before);
      result = pass_on();
      if (alive() && key_depth_ == 0 && attached.text.IsAttached()) {
        TrackDocumentBeforeKey(*engine_, attached);
        last_fed_view_ = 0;
      }
      caret = true;
      break;
    }
    case wm::kKillFocus:
      if (current_view_ == view.Id()) {
        if (key_depth_ == 0) ClearPendingKeys(view.Id());
        current_view_ = 0;
      }
      result = pass_on();
      break;
    case wm::kTimer:
      if (message.wparam == kAttachmentTimerId) {
        view.KillWindowTimer(kAttachmentTimerId);
        RefreshCommandFilter(view);
        window.stage = AttachmentStage::kRefreshed;
      } else if (message.wparam == kMappingTimerId) {
        view.KillWindowTimer(kMappingTimerId);
        status_writes_at_key_ = editor_.StatusWrites();
        ++key_depth_;
        engine_->ProcessPendingKeys(attached);
        --key_depth_;
        status = true;
      } else {
        result = pass_on();
      }
      break;
    case wm::kKeyDown:
    case wm::kChar:
    case wm::kSysKeyDown:
    case wm::kSysChar: {
      const TranslatedMessage translated =
          TranslateKeyMessage(message, flags, editor_.keyboard().Layout());
      if (translated.kind == TranslatedMessage::Kind::kNone) {
        result = pass_on();
        break;
      }
      if (translated.kind == TranslatedMessage::Kind::kSwallow) break;
      status = true;
      current_view_ = view.Id();
      const platform::View* focused_before = editor_.FocusedView();
      if (!KeyEntry(view, attached, translated.key) && alive()) {
        result = pass_on();
        if (attached.text.IsAttached()) {
          attached.text.RefreshFromHost(true, settings_->UseVSSel());
          // A match the host's typing completed or broke shows now, not at the next key.
          engine_->Search().RefreshHighlights(attached.text);
        }
      }
      // A key that moved the focus (:e, :bn, CTRL-^ ...): the engine follows the new view.
      if (editor_.FocusedView() != focused_before) {
        NoteFocusedView();
      } else if (alive() && attached.text.IsAttached()) {
        synced_view_ = view_id;
      }
      break;
    }
    default:
      result = pass_on();
      if (!alive()) break;
      if (m == wm::kKeyUp || m == wm::kSysKeyUp || IsMouseButton(m)) {
        if (attached.text.IsAttached() && key_depth_ == 0 && !(in_step && m == wm::kKeyUp)) {
          engine_->SyncWithHost(attached);
          if (last_fed_view_ != view.Id() || m != wm::kKeyUp) {
            TrackDocumentBeforeKey(*engine_, attached);
          }
        }
        caret = true;
        status = IsMouseButton(m);
      } else if (m == wm::kPaint) {
        caret = editor_.FocusedView() == &view;
      } else if (m == wm::kExitMenuLoop) {
        caret = true;
      }
      break;
  }
  in_message.reset();  // before a retired attachment and its filter may go
  if (alive() && caret && attached.text.IsAttached()) RecreateCaret(view, window);
  if (status) UpdateStatusBar();
  --message_depth_;
  ReleaseRetired();
  return result;
}

bool Package::KeyEntry(platform::View& view, AttachedView& attached, KeyCode key) {
  if (key_depth_ == 0) ++key_serial_;
  status_writes_at_key_ = editor_.StatusWrites();
  const EngineMode mode_before = engine_->Mode();
  last_fed_view_ = view.Id();
  ++key_depth_;
  // Letter case outside typed text follows Shift, not Caps Lock (IgnoreCapsLock): the engine's
  // key step does it, as the mapping timer's keys need it too.
  const bool handled = engine_->FeedKey(attached, key);
  --key_depth_;
  const EngineMode mode_after = engine_->Mode();
  if (mode_before == EngineMode::kInsert && mode_after != EngineMode::kInsert) {
    platform::InputMethod& ime = editor_.input_method();
    const uint64_t context = ime.GetContext(view);
    ime.SetOpenStatus(context, false);
    ime.ReleaseContext(context);
  } else if (mode_before != EngineMode::kInsert && mode_after == EngineMode::kInsert) {
    editor_.UpdateCommandUI();
  }
  // The mapping time-out timer was restarted by the key step when `timeout` is on.
  return handled;
}

}  // namespace tavik::host
