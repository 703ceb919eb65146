// Documents, windows and focus of the host editor; commands and typing live in their own files.
#include "platform/editor_host.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>

#include <unistd.h>

#include "platform/file_save.h"
#include "platform/state_folder.h"
#include "platform/utf8_codec.h"
#include "platform/view_editor.h"

namespace tavik::platform {

namespace fs = std::filesystem;

EditorHost::EditorHost() {
  AttachStoresToRegistry();
  preferences_.AddListener([this](std::u16string_view language) { PreferencesChanged(language); });
}

void EditorHost::AttachStoresToRegistry() {
  const std::string user_root = std::string(kCurrentUserHive) + "\\" + LocalRegistryRoot();
  colours_.Persist(&registry_, user_root + "\\FontAndColors\\Text Editor");
  // Hosts of major version 7 change bindings only in a custom scheme.
  const std::string version = HostVersion(registry_);
  bindings_.SetSchemeRequired(version.starts_with('7') && version.find('\\') == std::string::npos);
  bindings_.Persist(&registry_, user_root + "\\Keyboard\\Bindings");
  preferences_.Persist(&registry_, user_root + "\\Text Editor");
}

EditorHost::~EditorHost() {
  while (!documents_.empty()) Close(*documents_.back());
}

Document* EditorHost::AddDocument(std::unique_ptr<Document> document) {
  document->id = next_id_++;
  // A tool buffer names its own language; a file's comes from its name.
  if (document->language.empty()) document->language = LanguageOfPath(document->path);
  document->MarkSaved();
  Document* doc = document.get();
  doc->buffer.AddListener([doc](const BufferChange& change) {
    doc->bookmarks.Follow(change);
    doc->NoteChange(change);
  });
  documents_.push_back(std::move(document));
  auto window = std::make_unique<Window>();
  window->document = doc;
  window->views[0] = MakeView(*doc);
  windows_.push_back(std::move(window));
  active_window_ = windows_.size() - 1;
  for (const auto& [id, l] : view_listeners_) l(*windows_.back()->views[0], true);
  return doc;
}

std::unique_ptr<View> EditorHost::MakeView(Document& document) {
  auto view = std::make_unique<View>(document.buffer, clock_, next_id_++);
  view->SetVisibleLineCount(default_visible_lines_);
  view->Filters().SetEditor(std::make_unique<ViewEditor>(*this, *view));
  view->SetWindowProcedure(
      [this](View& v, const WindowMessage& message) { return DefaultWindowProcedure(v, message); });
  ApplyPreferences(*view, document);
  return view;
}

void EditorHost::ApplyPreferences(View& view, const Document& document) const {
  const LanguagePreferences& language = preferences_.For(document.language);
  ViewPreferences& prefs = view.Preferences();
  prefs.tab_size = language.tab_size;
  prefs.indent_size = language.indent_size;
  prefs.insert_tabs = language.insert_tabs;
  prefs.visible_whitespace = language.visible_whitespace;
  prefs.line_numbers = language.line_numbers;
  prefs.word_wrap = word_wrap_ || language.word_wrap;
}

void EditorHost::PreferencesChanged(std::u16string_view language) {
  for (auto& window : windows_) {
    if (window->document->language != language) continue;
    for (auto& view : window->views) {
      if (!view) continue;
      ApplyPreferences(*view, *window->document);
      view->ScrollToCaret();
    }
  }
}

void EditorHost::SetWordWrap(bool on) {
  word_wrap_ = on;
  for (auto& window : windows_) {
    for (auto& view : window->views) {
      if (!view) continue;
      ApplyPreferences(*view, *window->document);
      view->ScrollToCaret();
    }
  }
}

void EditorHost::DestroyView(std::unique_ptr<View>& view) {
  if (!view) return;
  for (const auto& [id, l] : view_listeners_) l(*view, false);
  view.reset();
}

std::string EditorHost::ResolvePath(std::string_view path) const {
  fs::path p{std::string(path)};
  if (p.is_absolute()) return p.lexically_normal().string();
  std::error_code ec;
  const fs::path base = working_folder_.empty() ? fs::current_path(ec) : fs::path(working_folder_);
  return (base / p).lexically_normal().string();
}

std::string EditorHost::ResolveNearDocument(std::string_view path) const {
  fs::path p{std::string(path)};
  if (p.is_absolute() || windows_.empty()) return ResolvePath(path);
  const Document* doc = windows_[active_window_]->document;
  if (doc->path.empty()) return ResolvePath(path);
  return (fs::path(doc->path).parent_path() / p).lexically_normal().string();
}

namespace {

// A file the user may not write: no write permission for anyone, or none for this user.
bool Writable(const std::string& path) {
  std::error_code ec;
  const fs::perms perms = fs::status(path, ec).permissions();
  if (ec) return true;
  constexpr fs::perms kAnyWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (perms & kAnyWrite) != fs::perms::none && access(path.c_str(), W_OK) == 0;
}

// Names are compared as a user reads them: letter case does not tell two documents apart.
bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] &&
        std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<size_t> EditorHost::FindWindow(std::string_view path, std::string_view full) const {
  for (size_t i = 0; i < windows_.size(); ++i) {
    const Document& doc = *windows_[i]->document;
    if (!doc.path.empty() && (doc.path == path || doc.path == full)) return i;
  }
  const std::u16string wanted = FromUtf8(path);
  const std::u16string wanted_full = FromUtf8(full);
  for (size_t i = 0; i < windows_.size(); ++i) {
    const std::u16string name = windows_[i]->document->Name();
    if (SameNameIgnoringCase(name, wanted) || SameNameIgnoringCase(name, wanted_full)) return i;
  }
  return std::nullopt;
}

Document* EditorHost::OpenFile(const std::string& path, std::string* error) {
  const std::string full = ResolvePath(path);
  if (std::optional<size_t> i = FindWindow(path, full)) {
    active_window_ = *i;
    return windows_[*i]->document;
  }
  std::unique_ptr<Document> doc;
  std::error_code ec;
  if (fs::exists(full, ec)) {
    LineStore lines;
    FileFormat format;
    if (std::optional<std::string> failure = LoadFile(full, lines, format)) {
      if (error != nullptr) *error = *failure;
      return nullptr;
    }
    doc = std::make_unique<Document>(std::move(lines));
    doc->format = format;
    doc->buffer.SetReadOnly(!Writable(full));
  } else {
    doc = std::make_unique<Document>();
    doc->format.final_line_break = true;  // a new file gets a final line break
    doc->format.empty_when_blank = true;
  }
  doc->path = full;
  doc->disk_stamp = ReadFileStamp(full);
  return AddDocument(std::move(doc));
}

Document* EditorHost::OpenText(std::u16string_view text, std::string path) {
  auto doc = std::make_unique<Document>(text);
  doc->path = std::move(path);
  if (doc->path.empty())
    doc->untitled_name = u"Untitled-" + FromUtf8(std::to_string(++untitled_count_));
  return AddDocument(std::move(doc));
}

std::optional<std::string> EditorHost::Save(Document& document, const std::string& path) {
  if (path.empty() && document.path.empty()) return std::string("No file name");
  const std::string target = path.empty() ? document.path : ResolvePath(path);
  const bool own_file = target == document.path;
  // A read-only document is not written over its file; a copy elsewhere is fine.
  if (own_file && document.buffer.ReadOnly()) {
    return "\"" + ToUtf8(document.Name()) + "\" is read-only; not saved";
  }
  // Someone else's changes to the file are not overwritten without asking.
  if (own_file && ChangedOnDisk(document) &&
      dialogs_.AskYesNo(u"The file changed on disk since it was loaded. Overwrite it?") !=
          YesNoAnswer::kYes) {
    return std::string("File changed on disk; not saved");
  }
  const std::string backups = StateFolder().empty() ? std::string() : StateFolder() + "/backup";
  if (std::optional<std::string> error =
          SaveFile(target, document.buffer.Lines(), document.SaveFormat(), save_hooks_, backups)) {
    return error;
  }
  if (own_file) {
    document.MarkSaved();
    document.disk_stamp = ReadFileStamp(target);
  }
  return std::nullopt;
}

bool EditorHost::ChangedOnDisk(const Document& document) const {
  if (document.path.empty()) return false;
  return ReadFileStamp(document.path) != document.disk_stamp;
}

bool EditorHost::Print(const Document& document, std::FILE* out) const {
  return WriteText(document.buffer.Lines(), document.SaveFormat(), out);
}

void EditorHost::Close(Document& document) {
  if (close_listener_) close_listener_(document);
  for (size_t i = windows_.size(); i-- > 0;) {
    if (windows_[i]->document != &document) continue;
    DestroyView(windows_[i]->views[1]);
    DestroyView(windows_[i]->views[0]);
    windows_.erase(windows_.begin() + static_cast<ptrdiff_t>(i));
    if (active_window_ >= i && active_window_ > 0) --active_window_;
  }
  std::erase_if(documents_, [&document](const auto& d) { return d.get() == &document; });
}

Window* EditorHost::ActiveWindow() {
  return windows_.empty() ? nullptr : windows_[active_window_].get();
}

View* EditorHost::FocusedView() {
  Window* window = ActiveWindow();
  return window == nullptr ? nullptr : &window->FocusedView();
}

Document* EditorHost::FocusedDocument() {
  Window* window = ActiveWindow();
  return window == nullptr ? nullptr : window->document;
}

void EditorHost::Focus(View& view) {
  for (size_t i = 0; i < windows_.size(); ++i) {
    for (int v = 0; v < 2; ++v) {
      if (windows_[i]->views[v].get() == &view) {
        active_window_ = i;
        windows_[i]->focused = v;
      }
    }
  }
}

Window* EditorHost::WindowOf(const View& view) {
  for (auto& window : windows_) {
    if (window->views[0].get() == &view || window->views[1].get() == &view) return window.get();
  }
  return nullptr;
}

Document* EditorHost::DocumentOf(const View& view) {
  Window* window = WindowOf(view);
  return window == nullptr ? nullptr : window->document;
}

View* EditorHost::FindView(uint64_t view_id) {
  for (auto& window : windows_) {
    for (auto& view : window->views) {
      if (view && view->Id() == view_id) return view.get();
    }
  }
  return nullptr;
}

std::vector<View*> EditorHost::ViewsOf(const Document& document) {
  std::vector<View*> views;
  for (auto& window : windows_) {
    if (window->document != &document) continue;
    for (auto& view : window->views) {
      if (view) views.push_back(view.get());
    }
  }
  return views;
}

void EditorHost::ToggleSplit(Window& window) {
  if (window.IsSplit()) {
    const int keep = window.focused;
    if (keep == 1) std::swap(window.views[0], window.views[1]);
    window.focused = 0;
    DestroyView(window.views[1]);
    return;
  }
  View& current = *window.views[0];
  window.views[1] = MakeView(*window.document);
  View& copy = *window.views[1];
  copy.Preferences() = current.Preferences();
  copy.SetVisibleLineCount(current.VisibleLineCount());
  copy.SetCaret(current.Caret());
  copy.SetFirstVisibleLine(current.FirstVisibleLine());
  for (const auto& [id, l] : view_listeners_) l(copy, true);
}

void EditorHost::ActivateNextWindow(int step) {
  if (windows_.empty()) return;
  const auto n = static_cast<int64_t>(windows_.size());
  active_window_ = static_cast<size_t>(((static_cast<int64_t>(active_window_) + step) % n + n) % n);
}

CommandResult EditorHost::Execute(View& view, std::u16string_view name,
                                  std::u16string_view argument) {
  Focus(view);
  return Execute(name, argument);
}

void EditorHost::AdvanceClock(uint64_t ms) {
  clock_.Advance(ms);
  std::vector<std::shared_ptr<const bool>> tokens;
  std::vector<View*> views;
  for (auto& window : windows_) {
    for (auto& view : window->views) {
      if (view) views.push_back(view.get()), tokens.push_back(view->LifeToken());
    }
  }
  // A timer's work may close views: check each one is still there before firing it.
  for (size_t i = 0; i < views.size(); ++i) {
    if (*tokens[i]) views[i]->Timer().FireIfDue();
    if (!*tokens[i]) continue;
    for (uint32_t id : views[i]->TakeDueWindowTimers(false)) {
      if (*tokens[i]) SendMessage(*views[i], {wm::kTimer, id, 0});
    }
  }
}

Document* EditorHost::DocumentOfBuffer(const TextBuffer& buffer) {
  for (const auto& document : documents_) {
    if (&document->buffer == &buffer) return document.get();
  }
  return nullptr;
}

bool EditorHost::QueryEdit(TextBuffer& buffer) {
  if (!buffer.ReadOnly()) return true;
  const Document* document = DocumentOfBuffer(buffer);
  if (document != nullptr && edit_query_ && edit_query_(*document)) {
    buffer.SetReadOnly(false);
    return true;
  }
  const std::u16string name = document != nullptr ? document->Name() : u"The buffer";
  SetStatusText(u"\"" + name + u"\" is read-only");
  return false;
}

void EditorHost::Beep() {
  ++beep_count_;
  if (beep_listener_) beep_listener_();
}

}  // namespace tavik::platform
