// The main loop of the terminal editor and its answers to the host's questions.
#include "app/terminal_editor.h"

#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/batch_session.h"
#include "app/host_start.h"
#include "app/terminal_signals.h"
#include "platform/state_folder.h"
#include "platform/utf8_codec.h"

namespace tavik::app {

namespace {

// Wide characters need a UTF-8 locale for both the width table and the curses output.
void UseUtf8Locale() {
  std::setlocale(LC_ALL, "");
  const char* codeset = nl_langinfo(CODESET);
  if (codeset == nullptr || std::strcmp(codeset, "UTF-8") != 0) {
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) std::setlocale(LC_CTYPE, "en_US.UTF-8");
  }
}

// The caret the view's window made last: a thin one is a bar, a low one an underline.
CursorShape ShapeOf(const platform::View& view) {
  if (view.CaretWidth() <= 2) return CursorShape::kBar;
  if (view.CaretHeight() < platform::kCaretLineHeight) return CursorShape::kUnderline;
  return CursorShape::kBlock;
}

// Commands about windows and the editor itself, which the engine never sees the keys of.
bool IsFrontEndCommand(std::u16string_view command) {
  return command == platform::kExitCommand || command == platform::kOptionsCommand ||
         command == u"Window.NextDocumentWindow" || command == u"Window.PreviousDocumentWindow";
}

}  // namespace

TerminalEditor::TerminalEditor() : editor_(std::make_unique<platform::EditorHost>()) {
  editor_->SetFrontEndCommand(u"Tools.Options", [this](std::u16string_view argument) {
    return RunOptionsForm(argument) ? platform::CommandResult::kOk : platform::CommandResult::kFail;
  });
  editor_->dialogs().SetYesNoAnswerer([this](std::u16string_view q) { return AskYesNo(q); });
  editor_->dialogs().SetConfirmAnswerer([this](std::u16string_view p) { return AskConfirm(p); });
  editor_->dialogs().SetTextAnswerer([this](std::u16string_view p) { return AskText(p); });
  editor_->SetFrontEndCommand(std::u16string(platform::kExitCommand), [this](std::u16string_view) {
    RequestQuit();
    return platform::CommandResult::kOk;
  });
  editor_->SetBeepListener([this] { ++beeps_; });
  editor_->SetBuildCancelCheck([this] { return BuildCancelRequested(); });
  clipboard_ = std::make_unique<DesktopClipboard>(
      editor_->clipboard(), ChooseClipboardTool(),
      [this](std::string_view bytes) { screen_.WriteRaw(bytes); });
  std::error_code ec;
  working_folder_ = std::filesystem::current_path(ec).string();
}

TerminalEditor::~TerminalEditor() {
  clipboard_.reset();
  editor_->SetBeepListener(nullptr);
  editor_->SetBuildCancelCheck(nullptr);
  editor_->dialogs().SetYesNoAnswerer(nullptr);
  editor_->dialogs().SetConfirmAnswerer(nullptr);
  editor_->SetFrontEndCommand(u"Tools.Options", nullptr);
  editor_->dialogs().SetTextAnswerer(nullptr);
  editor_->SetFrontEndCommand(std::u16string(platform::kExitCommand), nullptr);
  package_.reset();
  editor_.reset();
  for (int fd : resize_pipe_) {
    if (fd >= 0) close(fd);
  }
}

void TerminalEditor::OpenFiles(const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    std::string error;
    if (editor_->OpenFile(file, &error) == nullptr) {
      if (!open_errors_.empty()) open_errors_ += u"; ";
      open_errors_ += platform::FromUtf8("Cannot read " + file + ": " + error);
    }
  }
  if (editor_->Documents().empty()) editor_->NewFile();
  std::vector<platform::View*> views = editor_->ViewsOf(*editor_->Documents().front());
  if (!views.empty()) editor_->Focus(*views.front());
}

// The startup file as the command line chose it: --no-rc none, --rc FILE that file, else the
// search that ends in the program's own folder.
void TerminalEditor::RunStartupFile(const ProgramOptions& options) {
  host::StartupSource source;
  if (options.rc) {
    source.kind = host::StartupSource::Kind::kFile;
    source.file = *options.rc;
  } else if (!options.no_rc) {
    source.kind = host::StartupSource::Kind::kSearch;
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) source.program_dir = self.parent_path();
  }
  if (package_ != nullptr && !package_->RunStartupFile(source)) {
    open_errors_ = platform::FromUtf8("Cannot read " + *options.rc);
  }
}

int TerminalEditor::Run(const ProgramOptions& options) {
  UseUtf8Locale();
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    std::fputs("tavik: the editor needs a terminal; use --batch for other input\n", stderr);
    return 2;
  }
  SaveTerminalModes();
  if (pipe(resize_pipe_) == 0) {
    for (int fd : resize_pipe_) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
  if (!screen_.Start()) {
    std::fputs("tavik: cannot use this terminal\n", stderr);
    return 2;
  }
  InstallSignalHandlers(resize_pipe_[1]);
  screen_.QuerySize(rows_, cols_);
  editor_->keyboard().SetLayout(*platform::LayoutByName(options.keyboard));
  editor_->SetDefaultVisibleLines(static_cast<uint32_t>(std::max(1, rows_ - 2)));
  // The host reads its registry and loads the package it lists.
  OpenRegistry(*editor_, RegistrySourceOf(options.registry));
  package_ = LoadPackage(*editor_);
  // Before any document is opened: views copy the options the startup file set.
  RunStartupFile(options);
  OpenFiles(options.files);
  if (package_ != nullptr) package_->NoteFocusedView();
  pane_visible_ = !editor_->output().Lines().empty();  // startup errors
  pane_lines_seen_ = editor_->output().Lines().size();
  if (package_ != nullptr) package_->UpdateStatusBar();
  if (!open_errors_.empty()) editor_->SetStatusText(open_errors_);
  last_tick_ = std::chrono::steady_clock::now();
  ShowWelcome();
  if (const std::string state = platform::StateFolder(); !state.empty()) {
    recovery_ = std::make_unique<RecoveryKeeper>(*editor_, state + "/recovery");
    editor_->SetDocumentCloseListener(
        [this](const platform::Document& document) { recovery_->Closed(document); });
    AskAboutRecoveries();
  }

  while (!quit_ && !editor_->Documents().empty()) {
    if (keys_.empty()) {
      Redraw();
      if (!WaitAndRead(true)) break;
      if ((quit_signal_ = TakeQuitSignal()) != 0) break;
      UpdateRecoveryWhenDue();
      continue;
    }
    const KeyCode key = keys_.front();
    keys_.pop_front();
    status_dismissed_ = true;
    const bool line_was_open = CommandLineOpen();
    HandleKey(key);
    if (recovery_ != nullptr) {
      // After an ex command at once, else when the keys pause.
      if (line_was_open && !CommandLineOpen()) {
        recovery_->Update();
        recovery_due_.reset();
      } else {
        recovery_due_ =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(kRecoveryDelayMs);
      }
      AskAboutRecoveries();
    }
  }
  // Ended by a signal or a closed terminal: the recovery files stay for the next start.
  if (recovery_ != nullptr && (quit_signal_ != 0 || input_closed_)) {
    recovery_->Update();
    recovery_->KeepFilesOnClose();
  }
  clipboard_->SendCopies();
  screen_.Stop();
  RemoveSignalHandlers();
  return quit_signal_ != 0 ? 128 + quit_signal_ : 0;
}

bool TerminalEditor::CommandLineOpen() const {
  return package_ != nullptr && package_->Engine().Parser().IsCommandLineOpen();
}

void TerminalEditor::UpdateRecoveryWhenDue() {
  if (recovery_ == nullptr || !recovery_due_ || std::chrono::steady_clock::now() < *recovery_due_) {
    return;
  }
  recovery_due_.reset();
  recovery_->Update();
  const std::string error = recovery_->TakeError();
  if (!error.empty()) editor_->SetStatusText(platform::FromUtf8(error));
}

void TerminalEditor::AskAboutRecoveries() {
  for (const RecoveryKeeper::Found& found : recovery_->LookAtOpenedDocuments()) {
    const std::u16string name =
        platform::FromUtf8(std::filesystem::path(found.record.file).filename().string());
    char16_t answer = u'o';
    if (found.other_editor) {
      answer = AskChoice(u"\"" + name + u"\" is being edited by process " +
                             platform::FromUtf8(std::to_string(found.record.pid)) +
                             u". o: open anyway, r: recover its text",
                         u"or");
    } else {
      answer = AskChoice(u"\"" + name + u"\": recovery file found (" +
                             (found.newer ? u"newer" : u"older") +
                             u" than the file). r: recover, o: open as is, d: delete it",
                         u"rod");
    }
    if (answer == u'r') {
      recovery_->Recover(found);
      for (const auto& document : editor_->Documents()) {
        if (document->id != found.document_id) continue;
        for (platform::View* view : editor_->ViewsOf(*document)) {
          view->SetCaret(view->Buffer().Clamp(view->Caret()));
        }
      }
      editor_->SetStatusText(u"Recovered \"" + name + u"\": check the text, then write it");
    } else if (answer == u'd') {
      recovery_->Delete(found);
    }
  }
}

char16_t TerminalEditor::AskChoice(std::u16string_view question, std::u16string_view keys) {
  question_ = std::u16string(question);
  char16_t answer = keys.front();
  for (;;) {
    Redraw();
    const KeyCode key = ReadKeyForQuestion();
    if (key.IsChar(ch::kEscape) || key.IsChar(ch::kCtrlC)) break;
    if (key.IsChar() && keys.find(static_cast<char16_t>(key.code)) != std::u16string_view::npos) {
      answer = static_cast<char16_t>(key.code);
      break;
    }
    screen_.Bell();
  }
  question_.reset();
  return answer;
}

bool TerminalEditor::WaitAndRead(bool with_timers) {
  int timeout = -1;
  if (decoder_.HasPending()) {
    timeout = kEscapeDelayMs;
  } else if (with_timers) {
    timeout = MillisecondsToNextTimer();
  }
  const bool copies_waiting = clipboard_->HasUnsentCopy();
  if (copies_waiting && (timeout < 0 || timeout > kClipboardDelayMs)) timeout = kClipboardDelayMs;
  if (recovery_due_ && with_timers) {
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
                          *recovery_due_ - std::chrono::steady_clock::now())
                          .count() +
                      1;
    const int until_due = static_cast<int>(std::clamp<int64_t>(wait, 0, kRecoveryDelayMs));
    if (timeout < 0 || timeout > until_due) timeout = until_due;
  }
  pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {resize_pipe_[0], POLLIN, 0}};
  const int ready = poll(fds, resize_pipe_[0] >= 0 ? 2 : 1, timeout);
  if (with_timers) AdvanceClock();
  if (ready == 0 && copies_waiting) clipboard_->SendCopies();
  if (ready < 0) return errno == EINTR;
  if (resize_pipe_[0] >= 0 && (fds[1].revents & POLLIN) != 0) {
    char drain[64];
    while (read(resize_pipe_[0], drain, sizeof drain) > 0) {
    }
    Resize();
  }
  std::vector<KeyCode> decoded;
  if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
    char buffer[4096];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
      input_closed_ = true;
      return false;
    }
    if (n > 0) decoder_.Feed(std::string_view(buffer, static_cast<size_t>(n)), decoded);
  } else if (ready == 0 && decoder_.HasPending()) {
    decoder_.Flush(decoded);
  }
  keys_.insert(keys_.end(), decoded.begin(), decoded.end());
  return true;
}

void TerminalEditor::AdvanceClock() {
  const auto now = std::chrono::steady_clock::now();
  carried_us_ += static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(now - last_tick_).count());
  last_tick_ = now;
  const uint64_t ms = carried_us_ / 1000;
  carried_us_ %= 1000;
  if (ms > 0) editor_->AdvanceClock(ms);
}

int TerminalEditor::MillisecondsToNextTimer() const {
  const uint64_t now = editor_->clock().NowMs();
  int64_t best = -1;
  for (const auto& document : editor_->Documents()) {
    for (platform::View* view : editor_->ViewsOf(*document)) {
      const std::optional<uint64_t> due = view->NextTimerDueMs();
      if (!due) continue;
      const int64_t wait = *due > now ? static_cast<int64_t>(*due - now) : 0;
      if (best < 0 || wait < best) best = wait;
    }
  }
  // One more millisecond so that the clock has surely reached the due time.
  return best < 0 ? -1 : static_cast<int>(std::min<int64_t>(best + 1, 60000));
}

void TerminalEditor::Resize() {
  screen_.QuerySize(rows_, cols_);
  screen_.Resize(rows_, cols_);
}

void TerminalEditor::HandleKey(KeyCode key) {
  if (key == kPastedTextKey) {
    HandlePaste(decoder_.TakePaste());
    return;
  }
  // CTRL-L draws the whole screen again, whatever the terminal shows now; the key goes on.
  if (key.IsChar(12) && key.Has(key_mod::kCtrl)) {
    screen_.RepaintAll();
    composer_.ForgetDrawnRows();
  }
  // The front end's own commands run by their bindings before any view sees the key.
  if (const std::optional<std::u16string> command =
          editor_->bindings().Lookup(platform::KeyStrokeOf(key))) {
    if (*command == u"View.Output") {
      pane_visible_ = !pane_visible_;
      return;
    }
    if (IsFrontEndCommand(*command)) {
      editor_->Execute(*command);
      if (package_ != nullptr) package_->NoteFocusedView();
      return;
    }
  }
  platform::View* view = editor_->FocusedView();
  if (view == nullptr) {
    quit_ = true;
    return;
  }
  // What the terminal reported becomes the press of a key on the host's keyboard.
  editor_->PressKey(editor_->keyboard().PressFor(key));
  const platform::OutputPane& pane = editor_->output();
  if (pane.ShowCount() != pane_shows_seen_ || pane.Lines().size() != pane_lines_seen_) {
    pane_visible_ = true;
    pane_shows_seen_ = pane.ShowCount();
    pane_lines_seen_ = pane.Lines().size();
  }
}

void TerminalEditor::HandlePaste(std::u16string_view text) {
  platform::View* view = editor_->FocusedView();
  if (view == nullptr) return;
  AttachedView* attached =
      package_ != nullptr && package_->Enabled() ? package_->Attachment(*view) : nullptr;
  if (attached != nullptr && package_->Engine().PasteText(*attached, text)) {
    package_->UpdateStatusBar();
    return;
  }
  // Without the engine the host puts the text in at the caret, as one undo step.
  std::u16string body;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    body += text[i] == u'\r' ? u'\n' : text[i];
  }
  platform::TextBuffer& buffer = view->Buffer();
  if (buffer.ReadOnly()) {
    editor_->SetStatusText(u"The document is read-only: the pasted text was not inserted");
    return;
  }
  buffer.OpenCompound();
  const std::optional<TextPos> end = buffer.Insert(view->Caret(), body);
  buffer.CloseCompound();
  if (end) view->SetCaret(*end);
}

bool TerminalEditor::BuildCancelRequested() {
  // The build's output so far, and the status line saying it runs.
  const platform::OutputPane& pane = editor_->output();
  if (pane.Lines().size() != pane_lines_seen_) {
    pane_visible_ = true;
    pane_lines_seen_ = pane.Lines().size();
    Redraw();
  }
  if (input_closed_) return false;
  if (quit_signal_ == 0 && (quit_signal_ = TakeQuitSignal()) != 0) quit_ = true;
  if (quit_signal_ != 0) return true;
  pollfd fd{STDIN_FILENO, POLLIN, 0};
  if (poll(&fd, 1, 0) <= 0 || (fd.revents & POLLIN) == 0) return false;
  char buffer[4096];
  const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
  if (n <= 0) return false;
  std::vector<KeyCode> decoded;
  decoder_.Feed(std::string_view(buffer, static_cast<size_t>(n)), decoded);
  bool cancel = false;
  for (KeyCode key : decoded) {
    if (!cancel && key.IsChar(ch::kCtrlC)) {
      cancel = true;
    } else {
      keys_.push_back(key);
    }
  }
  return cancel;
}

void TerminalEditor::RequestQuit() {
  int modified = 0;
  for (const auto& document : editor_->Documents()) modified += document->Modified() ? 1 : 0;
  if (modified > 0) {
    const std::u16string question = platform::FromUtf8(
        std::to_string(modified) + (modified == 1 ? " document has" : " documents have") +
        " unsaved changes. Quit anyway?");
    if (AskYesNo(question) != platform::YesNoAnswer::kYes) return;
  }
  quit_ = true;
}

void TerminalEditor::Redraw() {
  if (grid_.Rows() != rows_ || grid_.Cols() != cols_) grid_.Resize(rows_, cols_);
  if (editor_->colours().Version() != colours_seen_) {
    colours_seen_ = editor_->colours().Version();
    screen_.SetLooks(LooksFromItems(editor_->colours()));
  }
  if (form_ != nullptr) {
    int row = rows_ - 1;
    int col = 0;
    form_->Draw(grid_, row, col);
    // A question the form asks shows on its last row.
    if (question_) {
      grid_.FillRow(rows_ - 1, 0, CellStyle::kStatus);
      grid_.PutText(rows_ - 1, 0, *question_, CellStyle::kStatus, cols_);
      row = rows_ - 1;
      col = std::min(cols_ - 1, ScreenGrid::TextWidth(*question_));
    }
    screen_.Show(grid_, row < 0 ? rows_ - 1 : row, col, CursorShape::kBar);
    return;
  }
  // A dialog is drawn over the rows the composer drew: it draws them all again next time.
  if (welcome_ != nullptr) composer_.ForgetDrawnRows();
  platform::View* focused = editor_->FocusedView();
  // The focused window paints: whoever subclassed it makes its caret then.
  if (focused != nullptr) editor_->SendMessage(*focused, {platform::wm::kPaint, 0, 0});
  DrawRequest request;
  request.pane_visible = pane_visible_;
  request.working_folder = working_folder_;
  // Without the package the host types every key.
  ViewEngine* engine = package_ != nullptr ? &package_->Engine() : nullptr;
  if (question_) {
    request.status_text = *question_;
    request.status_cursor = question_->size();
  } else {
    request.status_text = editor_->StatusText();
    const CommandParser* parser = engine != nullptr ? &engine->Parser() : nullptr;
    const std::u16string_view pending = parser != nullptr ? parser->PendingText() : u"";
    if (parser != nullptr && parser->IsCommandLineOpen() &&
        request.status_text.ends_with(pending)) {
      request.status_cursor =
          request.status_text.size() - pending.size() + parser->CommandLineCursor();
    }
  }
  // A status text shows whole until a key comes after it.
  if (request.status_text != status_shown_) {
    status_shown_ = request.status_text;
    status_dismissed_ = false;
  }
  request.status_whole = !status_dismissed_;
  const CursorShape shape = question_ || request.status_cursor || focused == nullptr
                                ? CursorShape::kBar
                                : ShapeOf(*focused);
  request.block_caret = shape == CursorShape::kBlock;
  DrawResult place = composer_.Draw(*editor_, request, grid_);
  if (welcome_ != nullptr) welcome_->Draw(grid_, place.cursor_row, place.cursor_col);
  screen_.Show(grid_, place.cursor_row, place.cursor_col, shape);
  if (beeps_ > 0) {
    screen_.Bell();
    beeps_ = 0;
  }
}

KeyCode TerminalEditor::ReadKeyForQuestion() {
  for (;;) {
    while (keys_.empty()) {
      if (input_closed_ || quit_signal_ != 0 || !WaitAndRead(false)) {
        return KeyCode::Char(ch::kEscape);
      }
      // Asked to end while a question is open: it is cancelled and the editor ends.
      if ((quit_signal_ = TakeQuitSignal()) != 0) {
        quit_ = true;
        return KeyCode::Char(ch::kEscape);
      }
    }
    const KeyCode key = keys_.front();
    keys_.pop_front();
    if (key != kPastedTextKey) return key;
    // A question takes pasted text as typed keys, a line break as Return.
    const std::u16string text = decoder_.TakePaste();
    for (size_t i = text.size(); i-- > 0;) {
      if (text[i] == u'\n' && i > 0 && text[i - 1] == u'\r') continue;
      const bool line_break = text[i] == u'\n' || text[i] == u'\r';
      keys_.push_front(KeyCode::Char(line_break ? ch::kReturn : text[i]));
    }
  }
}

platform::YesNoAnswer TerminalEditor::AskYesNo(std::u16string_view question) {
  question_ = std::u16string(question) + u" (y/n)";
  platform::YesNoAnswer answer = platform::YesNoAnswer::kNo;
  for (;;) {
    Redraw();
    const KeyCode key = ReadKeyForQuestion();
    if (key.IsChar(u'y') || key.IsChar(u'Y')) {
      answer = platform::YesNoAnswer::kYes;
      break;
    }
    if (key.IsChar(u'n') || key.IsChar(u'N') || key.IsChar(ch::kEscape) || key.IsChar(ch::kCtrlC)) {
      break;
    }
    screen_.Bell();
  }
  question_.reset();
  return answer;
}

platform::ConfirmAnswer TerminalEditor::AskConfirm(std::u16string_view prompt) {
  question_ = std::u16string(prompt);
  if (prompt.find(u"y/n/a/q/l") == std::u16string_view::npos) *question_ += u" (y/n/a/q/l)";
  platform::ConfirmAnswer answer = platform::ConfirmAnswer::kQuit;
  for (bool answered = false; !answered;) {
    Redraw();
    const KeyCode key = ReadKeyForQuestion();
    answered = true;
    if (key.IsChar(u'y')) {
      answer = platform::ConfirmAnswer::kYes;
    } else if (key.IsChar(u'n')) {
      answer = platform::ConfirmAnswer::kNo;
    } else if (key.IsChar(u'a')) {
      answer = platform::ConfirmAnswer::kAll;
    } else if (key.IsChar(u'l')) {
      answer = platform::ConfirmAnswer::kLast;
    } else if (key.IsChar(u'q') || key.IsChar(ch::kEscape) || key.IsChar(ch::kCtrlC)) {
      answer = platform::ConfirmAnswer::kQuit;
    } else {
      answered = false;
      screen_.Bell();
    }
  }
  question_.reset();
  return answer;
}

// The form reaches the settings through the package's automation object, as an IDE's options
// pages do; without the package there are no settings to show.
bool TerminalEditor::RunOptionsForm(std::u16string_view argument) {
  if (form_ != nullptr) return true;
  host::SettingsObject* settings =
      package_ != nullptr ? package_->GetAutomationObject(u"Tavik.General") : nullptr;
  if (settings == nullptr) {
    editor_->SetStatusText(u"Error accessing preferences");
    return false;
  }
  OptionsForm form(*settings, editor_->colours(), editor_->preferences(),
                   package_->KeyboardClashes(), [this](std::u16string_view question) {
                     return AskYesNo(question) == platform::YesNoAnswer::kYes;
                   });
  if (argument == u"Keyboard") form.ShowPage(OptionsForm::Page::kKeyboard);
  form_ = &form;
  while (form.Open()) {
    Redraw();
    form.HandleKey(ReadKeyForQuestion());
  }
  form_ = nullptr;
  composer_.ForgetDrawnRows();
  package_->UpdateStatusBar();
  return true;
}

void TerminalEditor::ShowWelcome() {
  host::SettingsObject* settings =
      package_ != nullptr ? package_->GetAutomationObject(u"Tavik.General") : nullptr;
  if (settings == nullptr || !package_->WelcomePending()) return;
  WelcomeDialog dialog;
  welcome_ = &dialog;
  while (dialog.Open()) {
    Redraw();
    dialog.HandleKey(ReadKeyForQuestion());
  }
  welcome_ = nullptr;
  composer_.ForgetDrawnRows();
  package_->WelcomeShown();
  settings->PutBool(SettingId::kDontShowWelcome2, dialog.DontShowAgain());
}

// A line typed on the status line after the prompt: Return takes it, Escape or CTRL-C cancels,
// Backspace erases.
std::optional<std::u16string> TerminalEditor::AskText(std::u16string_view prompt) {
  std::u16string typed;
  std::optional<std::u16string> answer;
  for (;;) {
    question_ = std::u16string(prompt) + typed;
    Redraw();
    const KeyCode key = ReadKeyForQuestion();
    if (key.IsChar(ch::kReturn)) {
      answer = typed;
      break;
    }
    if (key.IsChar(ch::kEscape) || key.IsChar(ch::kCtrlC)) break;
    if (key.IsChar(ch::kBackspace) || key.IsChar(0x7F)) {
      if (!typed.empty()) typed.pop_back();
    } else if (key.IsChar() && key.code >= 0x20 && !key.Has(key_mod::kCtrl)) {
      typed += static_cast<char16_t>(key.code);
    } else {
      screen_.Bell();
    }
  }
  question_.reset();
  return answer;
}

int RunTerminalEditor(const ProgramOptions& options) {
  TerminalEditor editor;
  return editor.Run(options);
}

}  // namespace tavik::app
