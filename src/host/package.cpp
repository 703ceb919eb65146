// The package: engine lifetime, view attachment and the road of a key from a host view to the
// engine and, when the engine leaves it alone, back to the host's own typing.
#include "host/package.h"

#include <algorithm>
#include <optional>

#include "config/settings.h"
#include "engine/state/document_switch.h"
#include "host/registration.h"
#include "platform/utf8_codec.h"

namespace tavik::host {

Package::Package(platform::EditorHost& editor, SettingsStore* settings_store) : editor_(editor) {
  const std::string root = editor_.LocalRegistryRoot();
  host_is_version7_ = IsVersion7Root(root);
  const std::string version = HostVersionOfRoot(root);
  host_is_database_edition_ =
      version.starts_with('9') &&
      editor_.registry().KeyExists(MachineRoot(root) + "\\" + std::string(kDatabaseEditionKey));
  keyboard_commands_ = std::make_unique<HostKeyboardCommands>(editor_.bindings());
  clash_manager_ = std::make_unique<ClashManager>(*keyboard_commands_, version, host_is_version7_);
  command_events_ = editor_.automation().AddCommandEvents(
      [this](std::string_view group, uint32_t id, bool& cancel) {
        BeforeCommandEvent(group, id, cancel);
      },
      [this](std::string_view group, uint32_t id) { AfterCommandEvent(group, id); });
  if (settings_store == nullptr) {
    own_store_ = std::make_unique<RegistrySettingsStore>(editor_.registry(), SettingsKey(root));
    settings_store = own_store_.get();
  }
  settings_ = std::make_unique<Settings>(*settings_store);
  engine_ = std::make_unique<ViewEngine>(*settings_, *this);
  engine_->SetExLine(&ex_line_);
  settings_object_ = std::make_unique<SettingsObject>(*settings_, *this);
  engine_->Registers().SetClipboard(&clipboard_bridge_);
  engine_->Registers().SetDefaultIsClipboard(settings_->DefaultWinClipboard());
  engine_->SetEnabled(settings_->GetBool(SettingId::kEnable));
  CopyMirroredOptions(*settings_, engine_->GlobalOptions());
  welcome_pending_ = !settings_->DontShowWelcome2();
  marker_types_.Register(editor_.colours());
  editor_.SetWordWrap(settings_->WinWordWrap());

  view_listener_ = editor_.AddViewListener([this](platform::View& view, bool created) {
    if (created) {
      Attach(view);
    } else {
      Detach(view);
    }
  });
  preferences_listener_ = editor_.preferences().AddListener(
      [this](std::u16string_view language) { PreferencesChanged(language); });
  for (const auto& document : editor_.Documents()) {
    for (platform::View* view : editor_.ViewsOf(*document)) Attach(*view);
  }
  editor_.SetEditQuery(
      [this](const platform::Document& document) { return MayEditReadOnly(document); });
}

Package::~Package() {
  if (state_ != State::kClosed) Close();
}

// One mark table per document, following every edit of its buffer whoever makes it. The
// buffer's listener shares the table, so neither outlives what it points at.
BufferMarks& Package::MarksOf(platform::View& view) {
  platform::Document* document = editor_.DocumentOf(view);
  uint64_t key = document != nullptr ? document->id : 0;
  auto& marks = buffer_marks_[key];
  if (!marks) {
    marks = std::make_shared<BufferMarks>();
    if (document != nullptr) {
      document->buffer.AddListener([marks](const platform::BufferChange& change) {
        marks->AdjustForEdit(change.start, change.old_end, change.new_end);
      });
    }
  }
  return *marks;
}

void Package::Attach(platform::View& view) {
  if (attachments_.count(view.Id()) != 0 || !IsEligible(view)) return;
  ViewAttachment attachment;
  attachment.adapter = std::make_unique<HostViewAdapter>(editor_, view);
  attachment.view =
      std::make_unique<AttachedView>(attachment.adapter.get(), engine_->GlobalOptions());
  attachment.view->text.SetMarks(&MarksOf(view));
  attachment.filter = std::make_unique<PackageCommandFilter>(*this, view);
  attachment.filter->Join();
  attachment.window = std::make_unique<AttachmentWindow>();
  // The mapping time-out comes as a timer message to the view's window.
  attachment.adapter->SetWindowTimerId(kMappingTimerId);
  attachment.adapter->SetBeforeCommand([this] { ConnectAutomation(); });
  const uint64_t view_id = view.Id();
  attachment.filter->SetFullAttach([this, view_id] {
    if (platform::View* v = editor_.FindView(view_id)) FullyAttach(*v);
  });
  InstallLightProcedure(view, attachment);
  attachments_.emplace(view_id, std::move(attachment));
}

// The view is going away; the engine may still be inside a command for it, so the attachment is
// only cut off from the host here and freed once no key is being handled.
void Package::Detach(platform::View& view) {
  auto it = attachments_.find(view.Id());
  if (it == attachments_.end()) return;
  it->second.view->text.Detach();
  it->second.filter->Leave();
  AttachmentWindow& window = *it->second.window;
  view.KillWindowTimer(kAttachmentTimerId);
  view.KillWindowTimer(kMappingTimerId);
  // A copy: the saved procedure may be running right now.
  if (!window.destroyed && window.light_previous) view.SetWindowProcedure(window.light_previous);
  if (current_view_ == view.Id()) current_view_ = 0;
  retired_.push_back(std::move(it->second));
  attachments_.erase(it);
  ReleaseRetired();
}

bool Package::IsEligible(const platform::View& view) {
  const platform::Document* document = editor_.DocumentOf(view);
  if (document == nullptr) return false;
  return !document->tool_buffer || EligibleWithoutDocument(document->language);
}

Package::ViewAttachment* Package::Find(const platform::View& view) {
  auto it = attachments_.find(view.Id());
  return it == attachments_.end() ? nullptr : &it->second;
}

const AttachmentWindow* Package::WindowState(const platform::View& view) const {
  auto it = attachments_.find(view.Id());
  return it == attachments_.end() ? nullptr : it->second.window.get();
}

AttachedView* Package::Attachment(const platform::View& view) {
  auto it = attachments_.find(view.Id());
  return it == attachments_.end() ? nullptr : it->second.view.get();
}

void Package::HandleKey(platform::View& view, KeyCode key) {
  if (engine_ == nullptr) {
    editor_.TypeKey(view, key);
    return;
  }
  if (engine_->Enabled()) ConnectAutomation();
  if (key_depth_ == 0) ++key_serial_;
  status_writes_at_key_ = editor_.StatusWrites();
  const platform::View* focused_before = editor_.FocusedView();
  Attach(view);
  AttachedView* attached = Attachment(view);
  if (attached == nullptr) {
    editor_.TypeKey(view, key);  // a view the package leaves alone
    return;
  }
  FullyAttach(view);
  PackageCommandFilter* filter = Filter(view);
  // While the host's own modal input runs, its keys go to the host untouched.
  const bool host_modal = filter != nullptr &&
                          (filter->IsHostModal() || (engine_->Enabled() && FollowSuspension(view)));
  ++key_depth_;
  bool handled = !host_modal && engine_->FeedKey(*attached, key);
  --key_depth_;
  if (!handled && attached->text.IsAttached()) {
    {
      // The host's editor commands for this key come back through the filter untranslated.
      std::optional<PackageCommandFilter::KeyMessageScope> scope;
      if (filter != nullptr) scope.emplace(*filter);
      editor_.TypeKey(view, key);
    }
    attached->text.RefreshFromHost(true, settings_->UseVSSel());
    // The engine drew its highlights before the host typed: a match the typing completed or
    // broke shows now, not at the next key.
    engine_->Search().RefreshHighlights(attached->text);
  }
  ReleaseRetired();
  // A key that moved the focus (:e, :bn, CTRL-^ ...) is followed by the new view's focus message.
  if (key_depth_ == 0 && editor_.FocusedView() != focused_before) NoteFocusedView();
  UpdateStatusBar();
}

PackageCommandFilter* Package::Filter(const platform::View& view) {
  auto it = attachments_.find(view.Id());
  return it == attachments_.end() ? nullptr : it->second.filter.get();
}

bool Package::FeedCommandKey(platform::View& view, KeyCode key) {
  Attach(view);
  AttachedView* attached = Attachment(view);
  if (attached == nullptr) return false;
  if (key_depth_ == 0) ++key_serial_;
  status_writes_at_key_ = editor_.StatusWrites();
  ++key_depth_;
  const bool handled = engine_->FeedKey(*attached, key);
  --key_depth_;
  if (handled) UpdateStatusBar();
  return handled;
}

void Package::AfterHostCommand(platform::View& view) {
  AttachedView* attached = Attachment(view);
  if (attached == nullptr || !attached->text.IsAttached()) return;
  attached->text.RefreshFromHost(true, settings_->UseVSSel());
  engine_->Search().RefreshHighlights(attached->text);
  UpdateStatusBar();
}

bool Package::MayEditReadOnly(const platform::Document& document) {
  if (!settings_->WarnReadOnly() || read_only_refused_ == key_serial_) return false;
  const std::u16string name = platform::FromUtf8(
      std::filesystem::path(platform::ToUtf8(document.Name())).filename().string());
  if (editor_.dialogs().AskYesNo(u"\"" + name + u"\" is read-only. Edit anyway?") ==
      platform::YesNoAnswer::kYes) {
    return true;
  }
  read_only_refused_ = key_serial_;
  return false;
}

void Package::NoteFocusedView() {
  platform::View* view = editor_.FocusedView();
  if (view == nullptr || engine_ == nullptr || !engine_->Enabled()) return;
  Attach(*view);
  AttachedView* attached = Attachment(*view);
  if (attached == nullptr || !attached->text.IsAttached()) return;
  attached->text.RefreshFromHost(false, settings_->UseVSSel());
  TrackDocumentBeforeKey(*engine_, *attached);
  last_fed_view_ = 0;
}

// A message a host command wrote while the key ran (a save, a build, a failure) stays until the
// next key, unless the engine has a message of its own. A timer that fires in between (the
// mapping time-out) does not take it away unless it changed what the engine shows.
void Package::UpdateStatusBar() {
  if (engine_ == nullptr) return;
  const uint64_t writes = editor_.StatusWrites();
  const bool host_wrote = writes != status_writes_at_key_;
  std::u16string text = engine_->StatusText();
  if (text.size() > 511) text.resize(511);  // the status bar's limit
  const bool keep_host_message = host_message_key_ == key_serial_ &&
                                 host_message_writes_ == writes &&
                                 host_message_engine_text_ == text;
  if (host_wrote && engine_->State().message.empty()) {
    host_message_key_ = key_serial_;
    host_message_writes_ = writes;
    host_message_engine_text_ = std::move(text);
  } else if (!keep_host_message) {
    editor_.SetStatusText(std::move(text));
  }
  status_writes_at_key_ = editor_.StatusWrites();
}

void Package::ResetSelectionDisplay() {
  const platform::View* focused = editor_.FocusedView();
  for (auto& [id, attachment] : attachments_) {
    if (!attachment.view->text.IsAttached()) continue;
    const bool visual_here = focused != nullptr && focused->Id() == id;
    engine_->ResetSelectionDisplay(*attachment.view, visual_here);
  }
}

void Package::PreferencesChanged(std::u16string_view language) {
  if (engine_ == nullptr) return;
  for (auto& [id, attachment] : attachments_) {
    if (attachment.view->text.IsAttached()) attachment.view->text.ReadPreferences();
  }
  const platform::Document* focused = editor_.FocusedDocument();
  if (focused != nullptr && focused->language == language) {
    const bool shown = editor_.preferences().For(language).visible_whitespace;
    engine_->GlobalOptions().SetBool(OptionId::kList, shown);
  }
}

void Package::WriteOutput(std::u16string_view line) {
  editor_.output().AppendLine(line);
}

bool Package::AskYesNo(std::u16string_view question, std::u16string_view) {
  return editor_.dialogs().AskYesNo(question) == platform::YesNoAnswer::kYes;
}

ConfirmAnswer Package::AskConfirm(std::u16string_view question) {
  switch (editor_.dialogs().AskConfirm(question)) {
    case platform::ConfirmAnswer::kYes:
      return ConfirmAnswer::kYes;
    case platform::ConfirmAnswer::kNo:
      return ConfirmAnswer::kNo;
    case platform::ConfirmAnswer::kAll:
      return ConfirmAnswer::kAll;
    case platform::ConfirmAnswer::kQuit:
      return ConfirmAnswer::kQuit;
    case platform::ConfirmAnswer::kLast:
      return ConfirmAnswer::kLast;
  }
  return ConfirmAnswer::kQuit;
}

// Through the host's open command, as every document switch of the engine goes.
bool Package::SwitchToDocument(std::u16string_view file, TextPos pos) {
  std::u16string argument = u"\"";
  argument += file;
  argument += u'"';
  ConnectAutomation();
  if (editor_.Execute(u"File.OpenFile", argument) != platform::CommandResult::kOk) return false;
  platform::View* view = editor_.FocusedView();
  if (view == nullptr) return false;
  const platform::TextBuffer& buffer = view->Buffer();
  uint32_t line = std::min(pos.line, buffer.LineCount() - 1);
  view->SetCaret({line, std::min(pos.column, buffer.LineLength(line))});
  return true;
}

AttachedView* Package::FocusedView() {
  platform::View* view = editor_.FocusedView();
  if (view == nullptr || engine_ == nullptr) return nullptr;
  Attach(*view);
  return Attachment(*view);
}

}  // namespace tavik::host
