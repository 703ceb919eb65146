// Driving the host editor and the package from key notation, and reading the result back.
#include "app/batch_session.h"

#include <cstdio>

#include "common/char_class.h"
#include "config/key_notation.h"
#include "platform/file_io.h"
#include "platform/utf8_codec.h"

namespace tavik::app {

KeyCode AsTypedKey(KeyCode key) {
  if (key.IsChar() && IsUpperChar(static_cast<char16_t>(key.code))) key.flags |= key_mod::kShift;
  return key;
}

BatchSession::BatchSession() : BatchSession(RegistrySource{}) {}

BatchSession::BatchSession(const RegistrySource& registry)
    : editor_(std::make_unique<platform::EditorHost>()) {
  OpenRegistry(*editor_, registry);
  package_ = LoadPackage(*editor_);
  editor_->dialogs().SetYesNoAnswerer([this](std::u16string_view) {
    return NextAnswer() == "y" ? platform::YesNoAnswer::kYes : platform::YesNoAnswer::kNo;
  });
  editor_->dialogs().SetConfirmAnswerer([this](std::u16string_view) {
    std::string a = NextAnswer();
    if (a == "y") return platform::ConfirmAnswer::kYes;
    if (a == "n") return platform::ConfirmAnswer::kNo;
    if (a == "a") return platform::ConfirmAnswer::kAll;
    if (a == "l") return platform::ConfirmAnswer::kLast;
    return platform::ConfirmAnswer::kQuit;
  });
  // A line of text is the next answer as it is; no answer left cancels.
  editor_->dialogs().SetTextAnswerer([this](std::u16string_view) -> std::optional<std::u16string> {
    if (answers_.empty()) return std::nullopt;
    return platform::FromUtf8(NextAnswer());
  });
  editor_->output().AddListener([this](std::u16string_view line) {
    if (pane_sink_) pane_sink_(platform::ToUtf8(line));
  });
  editor_->SetDocumentCloseListener([this](const platform::Document& document) {
    last_closed_text_ = platform::EncodeText(document.buffer.Lines(), document.SaveFormat());
  });
}

BatchSession::~BatchSession() {
  editor_->SetDocumentCloseListener(nullptr);
  package_.reset();
  editor_.reset();
}

std::string BatchSession::NextAnswer() {
  if (answers_.empty()) return "";
  std::string a = answers_.front();
  answers_.pop_front();
  return a;
}

void BatchSession::SetAnswers(std::vector<std::string> answers) {
  answers_.assign(answers.begin(), answers.end());
}

void BatchSession::SetPaneSink(std::function<void(const std::string&)> sink) {
  pane_sink_ = std::move(sink);
  if (pane_sink_) {
    for (const std::u16string& line : editor_->output().Lines()) {
      pane_sink_(platform::ToUtf8(line));
    }
  }
}

std::optional<std::string> BatchSession::OpenFile(const std::string& path) {
  std::string error;
  if (editor_->OpenFile(path, &error) == nullptr) return error;
  return std::nullopt;
}

void BatchSession::OpenText(const std::string& name, std::string_view utf8_text) {
  editor_->OpenText(platform::FromUtf8(utf8_text), name);
}

void BatchSession::FocusFirstDocument() {
  if (editor_->Documents().empty()) return;
  std::vector<platform::View*> views = editor_->ViewsOf(*editor_->Documents().front());
  if (!views.empty()) editor_->Focus(*views.front());
}

platform::View* BatchSession::CurrentView() const {
  return editor_->FocusedView();
}

void BatchSession::SetCursorUtf8(int line, int byte_column) {
  platform::View* view = CurrentView();
  if (view == nullptr) return;
  std::u16string text = view->Buffer().Line(static_cast<uint32_t>(line));
  std::string utf8 = platform::ToUtf8(text).substr(0, static_cast<size_t>(byte_column));
  auto column = static_cast<uint32_t>(platform::FromUtf8(utf8).size());
  view->SetCaret({static_cast<uint32_t>(line), column});
}

void BatchSession::FeedNotation(std::string_view utf8_notation) {
  for (KeyCode key : ParseKeys(platform::FromUtf8(utf8_notation))) FeedKey(key);
}

// The key press a keyboard makes for the key, through the window messages it sends.
void BatchSession::FeedKey(KeyCode key) {
  if (CurrentView() == nullptr) return;
  editor_->PressKey(editor_->keyboard().PressFor(key));
}

void BatchSession::FinishKeys() {
  platform::View* view = CurrentView();
  // Keys end as if they paused for good: timers that start again (an incremental search going
  // on slice by slice) fire until none is left.
  for (int rounds = 0; view != nullptr && rounds < kMaxTimerRounds && editor_->FireTimer(*view);
       ++rounds) {
    view = CurrentView();
  }
}

std::string BatchSession::BufferTextUtf8() const {
  platform::View* view = CurrentView();
  if (view == nullptr) return last_closed_text_;
  const platform::Document* document = editor_->DocumentOf(*view);
  return platform::EncodeText(view->Buffer().Lines(), document->SaveFormat());
}

bool BatchSession::WriteBufferText(std::FILE* out) const {
  platform::View* view = CurrentView();
  if (view == nullptr) {
    return std::fwrite(last_closed_text_.data(), 1, last_closed_text_.size(), out) ==
           last_closed_text_.size();
  }
  const platform::Document* document = editor_->DocumentOf(*view);
  return platform::WriteText(view->Buffer().Lines(), document->SaveFormat(), out);
}

std::pair<uint32_t, uint32_t> BatchSession::Cursor() const {
  platform::View* view = CurrentView();
  if (view == nullptr) return {0, 0};
  TextPos caret = view->Caret();
  return {caret.line, caret.column};
}

std::pair<int, int> BatchSession::CursorUtf8() const {
  platform::View* view = CurrentView();
  if (view == nullptr) return {0, 0};
  TextPos caret = view->Caret();
  std::u16string text = view->Buffer().Line(caret.line);
  std::string prefix = platform::ToUtf8(
      std::u16string_view(text).substr(0, std::min<size_t>(caret.column, text.size())));
  return {static_cast<int>(caret.line), static_cast<int>(prefix.size())};
}

std::string BatchSession::ModeName() const {
  if (package_ == nullptr) return "NORMAL";
  ViewEngine& engine = package_->Engine();
  switch (engine.Mode()) {
    case EngineMode::kNormal:
      return "NORMAL";
    case EngineMode::kInsert:
      return engine.ReplaceFlag() ? "REPLACE" : "INSERT";
    case EngineMode::kVisual:
      switch (engine.GetVisualKind()) {
        case VisualKind::kCharacterwise:
          return "VISUAL";
        case VisualKind::kLinewise:
          return "VISUAL LINE";
        case VisualKind::kBlockwise:
          return "VISUAL BLOCK";
      }
  }
  return "NORMAL";
}

std::string BatchSession::StatusUtf8() const {
  if (package_ == nullptr) return platform::ToUtf8(editor_->StatusText());
  return platform::ToUtf8(package_->Engine().StatusText());
}

std::string BatchSession::StatusBarUtf8() {
  if (package_ != nullptr) package_->UpdateStatusBar();
  return platform::ToUtf8(editor_->StatusText());
}

int BatchSession::Beeps() const {
  return editor_->BeepCount();
}

std::vector<std::string> BatchSession::PaneLines() const {
  std::vector<std::string> lines;
  for (const std::u16string& line : editor_->output().Lines()) {
    lines.push_back(platform::ToUtf8(line));
  }
  return lines;
}

}  // namespace tavik::app
