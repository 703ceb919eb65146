// The host editor: documents, windows holding one or two views of a document, the focused view,
// named host commands, typing, and the services around them (clipboard, registry, output pane,
// status bar, dialogs, timers, beeps). Front ends (terminal editor, batch mode, tests) create
// one EditorHost and drive it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/key_code.h"
#include "platform/automation.h"
#include "platform/browse_context.h"
#include "platform/clipboard.h"
#include "platform/colour_items.h"
#include "platform/command_bindings.h"
#include "platform/dialogs.h"
#include "platform/document.h"
#include "platform/file_save.h"
#include "platform/input_method.h"
#include "platform/keyboard_driver.h"
#include "platform/language_preferences.h"
#include "platform/output_locations.h"
#include "platform/output_pane.h"
#include "platform/registry_root.h"
#include "platform/registry_store.h"
#include "platform/timers.h"
#include "platform/view.h"

namespace tavik::platform {

enum class CommandResult { kOk, kFail, kNotImpl };

struct Window {
  Document* document = nullptr;
  std::unique_ptr<View> views[2];  // views[1] exists while the window is split
  int focused = 0;

  bool IsSplit() const { return views[1] != nullptr; }
  View& FocusedView() { return *views[focused]; }
};

class EditorHost {
 public:
  EditorHost();
  ~EditorHost();
  EditorHost(const EditorHost&) = delete;
  EditorHost& operator=(const EditorHost&) = delete;

  // Opens a file in a new window, or activates the window already showing it: a document whose
  // path or name is the given one, or the resolved path, exactly or else regardless of letter
  // case. A missing file gives an empty document with that path (saved on the first save); an
  // unreadable one gives nullptr and the error text.
  Document* OpenFile(const std::string& path, std::string* error = nullptr);
  // A document without a file, holding the text; "Untitled-N" when `name` is empty.
  Document* OpenText(std::u16string_view text, std::string path = {});
  Document* NewFile() { return OpenText(u""); }
  // Saves to the document's file, or writes a copy to `path` when given.
  std::optional<std::string> Save(Document& document, const std::string& path = {});
  // The document's file was changed, created or removed by someone else since it was loaded or
  // saved; saving over such a file asks first.
  bool ChangedOnDisk(const Document& document) const;
  // The system calls saves make, replaced by tests (a write that fails, planted names).
  void SetSaveHooks(SaveHooks hooks) { save_hooks_ = std::move(hooks); }
  // Writes the text as saving would, to a FILE* (batch mode prints to stdout).
  bool Print(const Document& document, std::FILE* out) const;
  void Close(Document& document);
  const std::vector<std::unique_ptr<Document>>& Documents() const { return documents_; }

  Window* ActiveWindow();
  View* FocusedView();
  Document* FocusedDocument();
  // Makes the view's window active and the view focused.
  void Focus(View& view);
  Window* WindowOf(const View& view);
  Document* DocumentOf(const View& view);
  View* FindView(uint64_t view_id);
  std::vector<View*> ViewsOf(const Document& document);
  // Splits the window, or removes the split (the unfocused view goes).
  void ToggleSplit(Window& window);
  void ActivateNextWindow(int step);

  // Runs a named host command on the focused view; unknown names give kFail.
  CommandResult Execute(std::u16string_view name, std::u16string_view argument = {});
  CommandResult Execute(View& view, std::u16string_view name, std::u16string_view argument = {});
  // Types a key the way an editor does when nothing intercepted it: its binding's command
  // runs, an editing key goes down the view's command-filter chain as an editor command, and a
  // typed character as TypeChar.
  void TypeKey(View& view, KeyCode key);
  // The window procedure every view starts with: a key-down runs its binding's command, or an
  // editing key's editor command; a character message types the character. Both go down the
  // view's command-filter chain. Tab, Return, Backspace and Escape act at key-down, so their
  // character messages (and any other control character) do nothing.
  intptr_t DefaultWindowProcedure(View& view, const WindowMessage& message);
  // Sends an editor command to the view: the head of its command-filter chain gets it.
  HResult SendCommand(View& view, const EditorCommand& command);
  // The modifier keys (key_mod bits) held at the time of the key message being handled, as the
  // keyboard state reports them.
  void SetKeyboardModifiers(std::function<uint32_t()> source) { modifiers_ = std::move(source); }
  uint32_t KeyboardModifiers() const {
    return modifiers_ ? modifiers_() : keyboard_.State().Flags();
  }

  // Commands the front end carries out itself (quit, options): run by name like the host's own.
  using FrontEndCommand = std::function<CommandResult(std::u16string_view argument)>;
  void SetFrontEndCommand(std::u16string name, FrontEndCommand handler);

  // Asked before the host or a client edits a buffer: true when it may be edited. A read-only
  // buffer may be edited only when the edit query (installed by a client) says so, which then
  // clears the buffer's read-only flag; otherwise the status line says it is read-only.
  bool QueryEdit(TextBuffer& buffer);
  using EditQuery = std::function<bool(const Document& document)>;
  void SetEditQuery(EditQuery query) { edit_query_ = std::move(query); }
  Document* DocumentOfBuffer(const TextBuffer& buffer);

  // Window messages. SendMessage runs the view's window procedure chain and gives its answer;
  // the host's own procedure, at the end of every chain, is DefaultWindowProcedure.
  intptr_t SendMessage(View& view, const WindowMessage& message);
  // The keyboard: its layout and state, and the driver that makes a key press into messages.
  KeyboardDriver& keyboard() { return keyboard_; }
  // A key pressed on the keyboard: its messages go to the focused view's window (focus messages
  // first when the focus moved since the last ones were sent). False without a focused view.
  bool PressKey(const KeyPress& press);
  // Sends the focus messages for a focus change made since the last ones: the view that had
  // the focus gets the kill-focus message, the focused one the set-focus message.
  void SyncFocus();
  // The input method of the views' windows.
  InputMethod& input_method() { return input_method_; }
  // The shell's refresh of its command user interface (menus, tool bars): counted.
  void UpdateCommandUI() { ++command_ui_updates_; }
  uint64_t CommandUIUpdates() const { return command_ui_updates_; }
  // A view onto a buffer that has no document behind it, the way the output pane can be shown
  // in an editor view; `language` names the buffer's language (none when empty).
  Document* OpenToolBuffer(std::u16string_view text, std::u16string name,
                           std::u16string language = {});

  Clipboard& clipboard() { return clipboard_; }
  RegistryStore& registry() { return registry_; }
  // "Software\Tavik\Host\<version>", below which packages keep their registry entries.
  std::string LocalRegistryRoot() const { return platform::LocalRegistryRoot(registry_); }
  // The host's colours, key bindings and editor preferences keep their user data below the
  // registry root; done at construction and again once the registry file is loaded, so that
  // they read what it holds.
  void AttachStoresToRegistry();
  // The named commands with their key bindings.
  CommandBindings& bindings() { return bindings_; }
  // Add-ins, their commands and markers, and the command events.
  Automation& automation() { return automation_; }
  // The per-language editor preferences. Views take their language's preferences when they
  // are created and again whenever the language's preferences change.
  PreferenceStore& preferences() { return preferences_; }
  // The font-and-colour display items, with the marker types packages define.
  ColourItems& colours() { return colours_; }
  // Word wrap for every view, now and later ("WinWordWrap"); a language's own word-wrap
  // preference turns it on for that language's views as well.
  void SetWordWrap(bool on);
  bool WordWrap() const { return word_wrap_; }
  OutputPane& output() { return output_; }
  // Where "go to definition" came from, for "pop browse context".
  BrowseContextStack& browse_contexts() { return browse_contexts_; }
  Dialogs& dialogs() { return dialogs_; }
  const ManualClock& clock() const { return clock_; }
  // Moves the clock on and fires every view timer that came due.
  void AdvanceClock(uint64_t ms);
  // Fires the view's timers now, those running; true when one fired.
  bool FireTimer(View& view);

  void SetStatusText(std::u16string text) {
    status_text_ = std::move(text);
    ++status_writes_;
  }
  const std::u16string& StatusText() const { return status_text_; }
  // Counts SetStatusText calls, so a client can tell whether a command wrote a message.
  uint64_t StatusWrites() const { return status_writes_; }

  // The build command run in the focused document's folder, and how long it may run.
  const std::string& BuildCommandLine() const { return build_command_; }
  void SetBuildCommandLine(std::string command) { build_command_ = std::move(command); }
  uint32_t BuildTimeoutMs() const { return build_timeout_ms_; }
  void SetBuildTimeoutMs(uint32_t ms) { build_timeout_ms_ = ms; }
  // Asked while a build runs whether the user wants it stopped (the terminal reads CTRL-C).
  void SetBuildCancelCheck(std::function<bool()> check) { build_cancel_ = std::move(check); }
  const std::function<bool()>& BuildCancelCheck() const { return build_cancel_; }
  // The last build's output, walked by the location and error commands.
  BuildLog& build_log() { return build_log_; }

  void Beep();
  int BeepCount() const { return beep_count_; }
  void SetBeepListener(std::function<void()> listener) { beep_listener_ = std::move(listener); }

  // Told of every view created (true) and before every view destroyed (false).
  using ViewListener = std::function<void(View& view, bool created)>;
  // Returns an id for RemoveViewListener.
  uint64_t AddViewListener(ViewListener listener) {
    view_listeners_.emplace_back(++last_listener_id_, std::move(listener));
    return last_listener_id_;
  }
  void RemoveViewListener(uint64_t id) {
    std::erase_if(view_listeners_, [id](const auto& entry) { return entry.first == id; });
  }

  // Told of every document about to be closed, while its text is still there.
  using DocumentListener = std::function<void(const Document& document)>;
  void SetDocumentCloseListener(DocumentListener listener) {
    close_listener_ = std::move(listener);
  }

  // Lines shown by views created from now on.
  void SetDefaultVisibleLines(uint32_t count) { default_visible_lines_ = count; }
  // Folder against which relative paths are resolved when no document gives one.
  void SetWorkingFolder(std::string folder) { working_folder_ = std::move(folder); }
  // A relative path resolved against the working folder, as a name typed on a command line is.
  std::string ResolvePath(std::string_view path) const;
  // A relative path resolved against the focused document's folder (a name found in its text).
  std::string ResolveNearDocument(std::string_view path) const;

 private:
  Document* AddDocument(std::unique_ptr<Document> document);
  // The window of an open document named `path` or `full`; see OpenFile.
  std::optional<size_t> FindWindow(std::string_view path, std::string_view full) const;
  std::unique_ptr<View> MakeView(Document& document);
  // Gives the view its document's language preferences.
  void ApplyPreferences(View& view, const Document& document) const;
  void PreferencesChanged(std::u16string_view language);
  void DestroyView(std::unique_ptr<View>& view);
  // Runs the keystroke's binding, or sends an editing key's command; false when it is neither.
  bool PressKey(View& view, KeyStroke stroke);

  std::vector<std::unique_ptr<Document>> documents_;
  std::vector<std::unique_ptr<Window>> windows_;
  size_t active_window_ = 0;
  uint64_t next_id_ = 1;
  uint32_t untitled_count_ = 0;
  uint32_t default_visible_lines_ = 25;
  std::string working_folder_;

  Clipboard clipboard_;
  RegistryStore registry_;
  CommandBindings bindings_;
  Automation automation_;
  PreferenceStore preferences_;
  ColourItems colours_;
  bool word_wrap_ = false;
  OutputPane output_;
  BrowseContextStack browse_contexts_;
  Dialogs dialogs_;
  ManualClock clock_;
  std::u16string status_text_;
  uint64_t status_writes_ = 0;
  std::string build_command_ = "make";
  uint32_t build_timeout_ms_ = 300000;
  BuildLog build_log_;
  std::function<bool()> build_cancel_;
  int beep_count_ = 0;
  std::function<void()> beep_listener_;
  std::vector<std::pair<uint64_t, ViewListener>> view_listeners_;
  uint64_t last_listener_id_ = 0;
  DocumentListener close_listener_;
  std::function<uint32_t()> modifiers_;
  bool swallow_char_ = false;  // the key-down before the character message was a command
  std::vector<std::pair<std::u16string, FrontEndCommand>> front_end_commands_;
  EditQuery edit_query_;
  SaveHooks save_hooks_;
  KeyboardDriver keyboard_;
  InputMethod input_method_;
  uint64_t command_ui_updates_ = 0;
  uint64_t focus_sent_to_ = 0;  // the view that got the last set-focus message
};

}  // namespace tavik::platform
