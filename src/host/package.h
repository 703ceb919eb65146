// The package: creates the engine with its settings, attaches every editor view of the host,
// feeds their keys to the engine, lets the host type the keys the engine leaves alone, and
// serves the engine's output pane and dialogs.
#pragma once

#include <cassert>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/key_code.h"
#include "config/settings.h"
#include "engine/engine_host.h"
#include "engine/state/buffer_marks.h"
#include "engine/view_engine.h"
#include "ex/ex_command_line.h"
#include "host/addin_interop.h"
#include "host/clipboard_bridge.h"
#include "host/command_filter.h"
#include "host/host_keyboard_commands.h"
#include "host/host_view_adapter.h"
#include "host/keyboard_clashes.h"
#include "host/marker_types.h"
#include "host/registry_settings_store.h"
#include "host/settings_object.h"
#include "host/view_attachment.h"
#include "platform/editor_host.h"
#include "platform/hresult.h"

namespace tavik::host {

// Which startup file the package runs once it is created.
struct StartupSource {
  enum class Kind : uint8_t { kNone, kSearch, kFile };
  Kind kind = Kind::kNone;
  std::filesystem::path file;         // kFile: this file instead of the search
  std::filesystem::path program_dir;  // kSearch: the last directory searched
};

class Package final : public EngineHost, public SettingsEffects {
 public:
  // Created sited: the settings are loaded, the engine made and the views attached.
  // `settings_store` backs the persistent settings; without one they live in the host's
  // registry, under the package's key below the host's per-user root.
  explicit Package(platform::EditorHost& editor, SettingsStore* settings_store = nullptr);
  ~Package() override;
  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;

  // A key typed in a view: the engine reads it as a command, or the host types it.
  void HandleKey(platform::View& view, KeyCode key);
  // Whether the view is edited modally: its buffer has a document, or a language that is
  // edited modally without one.
  bool IsEligible(const platform::View& view);
  // The window side of the view's attachment; nullptr for a view that is not attached.
  const AttachmentWindow* WindowState(const platform::View& view) const;
  // The view that last got the focus or a key; 0 for none.
  uint64_t CurrentViewId() const { return current_view_; }
  // The keyboard focus moved to another view: the engine is told its document, as on a focus
  // message of the host (the buffer list takes it up).
  void NoteFocusedView();
  // Shows the engine's status text on the host's status bar.
  void UpdateStatusBar();
  // "UseVSSel" changed: every view's selection display is taken down, and the visual selection
  // of the focused view shown again the new way.
  void ResetSelectionDisplay();
  // The host's numbers for the package's highlight marker types.
  const MarkerTypeIds& MarkerTypes() const { return marker_types_; }
  // The host's editor preferences of a language changed: every attached view reads its tab and
  // indent sizes again, and `list` follows the visible whitespace of the focused document.
  void PreferencesChanged(std::u16string_view language);

  // Runs the startup file: the search through the home directories and the program's own, a
  // given file, or none. Call it right after creating the package, before views are attached,
  // so their option copies start from its settings. False only when a given file cannot be read.
  bool RunStartupFile(const StartupSource& source);
  // Some line of the startup file failed; its error lines are in the output pane.
  bool StartupErrors() const { return startup_errors_; }

  // A key translated from an editor command that came down the view's command-filter chain:
  // true when the engine consumed it.
  bool FeedCommandKey(platform::View& view, KeyCode key);
  // The host carried out an editor command the engine left alone: the engine takes in the
  // caret and selection the host left.
  void AfterHostCommand(platform::View& view);
  // The engine is handling a key (or running a command for one) right now.
  bool InEngineKey() const { return key_depth_ > 0; }
  // The package's filter in the view's command-filter chain, or nullptr when not attached.
  PackageCommandFilter* Filter(const platform::View& view);
  // Lifecycle: sited on creation, automation connected on the first host command or window
  // message, closed by Close. Calls after close answer kUnexpected.
  enum class State : uint8_t { kSited, kAutomationConnected, kClosed };
  State LifecycleState() const { return state_; }
  // Releases the attachments, the engine, the settings and the host's events.
  platform::HResult Close();
  // Connects to the host's commands once: checks the key bindings and brings the output pane
  // forward when the startup file had errors.
  platform::HResult ConnectAutomation();
  // The settings object for "Tavik.General" (in any letter case); nullptr for other names,
  // as the host's "not implemented", and after close.
  SettingsObject* GetAutomationObject(std::u16string_view name);
  std::u16string_view VersionText() const;
  // The host's registry root names a version 7 host ("...\Host\7.x", nothing after it).
  bool HostIsVersion7() const { return host_is_version7_; }
  // A version 9 host with the database edition installed, whose special editors send their
  // navigation and editing keys only as editor commands.
  bool HostIsDatabaseEdition() const { return host_is_database_edition_; }

  // The clash manager over the host's commands; nullptr after close.
  ClashManager* KeyboardClashes() { return clash_manager_.get(); }
  // What the package found of other add-ins (found once automation is connected).
  const AddInInterop& Interop() const { return interop_; }
  // Before a key or command in an attached view: suspends the view while another add-in's
  // rename owns it, and when the rename is over puts the engine back in normal mode. True
  // while suspended.
  bool FollowSuspension(platform::View& view);

  // The live enabled flag: starts from "Enable"; the global toggle changes it alone, without
  // the stored setting. A change puts the engine back in normal mode with nothing pending.
  bool Enabled() const { return engine_ != nullptr && engine_->Enabled(); }
  void SetEnabled(bool enabled);

  // The welcome dialog is due once after load while "DontShowWelcome2" is false; the front end
  // shows it and says so.
  bool WelcomePending() const { return welcome_pending_; }
  void WelcomeShown() { welcome_pending_ = false; }

  // SettingsEffects: a put through the settings object succeeded.
  void SettingChanged(SettingId id) override;

  ViewEngine& Engine() {
    assert(engine_ != nullptr);
    return *engine_;
  }
  Settings& GetSettings() {
    assert(settings_ != nullptr);
    return *settings_;
  }
  AttachedView* Attachment(const platform::View& view);

  // EngineHost
  void WriteOutput(std::u16string_view line) override;
  bool AskYesNo(std::u16string_view question, std::u16string_view caption) override;
  ConfirmAnswer AskConfirm(std::u16string_view question) override;
  bool SwitchToDocument(std::u16string_view file, TextPos pos) override;
  AttachedView* FocusedView() override;

 private:
  struct ViewAttachment {
    std::unique_ptr<HostViewAdapter> adapter;
    std::unique_ptr<AttachedView> view;
    std::unique_ptr<PackageCommandFilter> filter;
    std::unique_ptr<AttachmentWindow> window;
  };

  // Window procedures (window_procedure.cpp).
  void InstallLightProcedure(platform::View& view, ViewAttachment& attachment);
  void FullyAttach(platform::View& view);
  intptr_t LightProcedure(platform::View& view, const platform::WindowMessage& message);
  intptr_t MainProcedure(platform::View& view, const platform::WindowMessage& message);
  // Feeds one key from the view's window to the engine; true when the engine consumed it.
  bool KeyEntry(platform::View& view, AttachedView& attached, KeyCode key);
  void RecreateCaret(platform::View& view, AttachmentWindow& window);
  // The focus leaves the view `typed_in`: keys held back there for a mapping are resolved as on
  // time-out, then the queue and the timers are cleared.
  void ClearPendingKeys(uint64_t typed_in);
  // Called when the attachment timer fires: puts the command filter back at the head of the
  // view's filter chain, after add-ins joined it.
  void RefreshCommandFilter(platform::View& view);
  ViewAttachment* Find(const platform::View& view);
  bool FollowSuspension(platform::View& view, ViewAttachment& attachment);
  // Frees the attachments detached meanwhile once no key or message is being handled.
  void ReleaseRetired() {
    if (key_depth_ == 0 && message_depth_ == 0) retired_.clear();
  }

  void Attach(platform::View& view);
  // Where the clash manager checks the host's key bindings on the first connection, and where
  // it restores or removes them when the emulation is switched off or on.
  void CheckKeyBindings();
  void FollowEnabledWithKeyBindings(bool enabled);
  // Automation's command events (package_interop.cpp).
  void BeforeCommandEvent(std::string_view group, uint32_t id, bool& cancel);
  void AfterCommandEvent(std::string_view group, uint32_t id);
  void Detach(platform::View& view);
  BufferMarks& MarksOf(platform::View& view);
  // "WarnReadOnly": an edit of a read-only document asks first, once per key.
  bool MayEditReadOnly(const platform::Document& document);

  platform::EditorHost& editor_;
  ClipboardBridge clipboard_bridge_{&editor_.clipboard()};  // outlives the engine using it
  std::unique_ptr<RegistrySettingsStore> own_store_;
  std::unique_ptr<Settings> settings_;
  ExCommandLine ex_line_;  // outlives the engine using it
  std::unique_ptr<ViewEngine> engine_;
  std::map<uint64_t, ViewAttachment> attachments_;                 // by view id
  std::map<uint64_t, std::shared_ptr<BufferMarks>> buffer_marks_;  // by document
  std::vector<ViewAttachment> retired_;  // detached while a key was being handled
  int key_depth_ = 0;
  int message_depth_ = 0;              // window messages being handled
  uint64_t status_writes_at_key_ = 0;  // the host's status writes before the key in hand
  // A host message kept on the status bar: the key it came with and the engine's text then, so
  // that a timer firing afterwards leaves it alone.
  uint64_t host_message_key_ = 0;
  uint64_t host_message_writes_ = 0;
  std::u16string host_message_engine_text_;
  bool startup_errors_ = false;
  uint64_t key_serial_ = 0;                    // counts keys handed in from outside
  std::optional<uint64_t> read_only_refused_;  // the key during which the user said no
  uint64_t view_listener_ = 0;
  uint64_t preferences_listener_ = 0;
  std::unique_ptr<SettingsObject> settings_object_;
  State state_ = State::kSited;
  bool host_is_version7_ = false;
  bool host_is_database_edition_ = false;
  bool welcome_pending_ = false;
  std::unique_ptr<HostKeyboardCommands> keyboard_commands_;
  std::unique_ptr<ClashManager> clash_manager_;
  AddInInterop interop_{editor_};
  uint64_t command_events_ = 0;
  MarkerTypeIds marker_types_;
  uint64_t current_view_ = 0;
  // The view whose document the engine took up with the last key it was fed, until another
  // view's document is noted: its key-up need not tell the engine the document again.
  uint64_t last_fed_view_ = 0;
  // The view the engine read back from the host after the last key message, as long as no
  // other message came since: the key-up of that press has nothing new to read.
  uint64_t synced_view_ = 0;
};

}  // namespace tavik::host
