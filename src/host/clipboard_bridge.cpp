// Writing and reading the three clipboard formats that carry a register across copy and paste.
#include "host/clipboard_bridge.h"

#include <cstring>
#include <string>

namespace tavik::host {

bool ClipboardBridge::Put(std::u16string_view text, RegisterKind kind) {
  if (!Open()) return false;
  clipboard_->Clear();
  if (text.empty()) {
    known_sequence_ = clipboard_->Sequence();
    return true;
  }
  // The host clipboard's text format carries the length itself, so no terminating NUL is
  // stored; one that another program left is cut off on reading.
  clipboard_->SetText(text);
  if (kind == RegisterKind::kBlockwise) clipboard_->SetData(kColumnSelectFormat, std::string());
  auto value = static_cast<uint32_t>(kind);
  std::string bytes(4, '\0');
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  clipboard_->SetData(kRegisterKindFormat, std::move(bytes));
  known_sequence_ = clipboard_->Sequence();
  return true;
}

std::optional<RegisterContent> ClipboardBridge::Get() {
  if (!Open()) return std::nullopt;
  // Asking for a format first lets the host take in what other programs copied.
  bool has_text = clipboard_->Has(platform::kUnicodeTextFormat);
  if (known_sequence_ == clipboard_->Sequence()) return std::nullopt;
  known_sequence_ = clipboard_->Sequence();
  if (!has_text) return std::nullopt;
  std::optional<std::u16string> text = clipboard_->Text();
  if (!text) return std::nullopt;
  // The text ends at its terminating NUL, when it has one.
  if (size_t nul = text->find(u'\0'); nul != std::u16string::npos) text->resize(nul);

  RegisterContent content;
  std::optional<std::string> kind_bytes = clipboard_->Data(kRegisterKindFormat);
  if (kind_bytes && kind_bytes->size() >= 4) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
      value |= uint32_t{static_cast<unsigned char>((*kind_bytes)[i])} << (8 * i);
    }
    // A kind this program never writes is read as characterwise rather than trusted.
    content.kind = value <= 2 ? static_cast<RegisterKind>(value) : RegisterKind::kCharacterwise;
  } else if (clipboard_->Has(kColumnSelectFormat)) {
    content.kind = RegisterKind::kBlockwise;
  } else {
    content.kind = CountLines(*text) >= 2 ? RegisterKind::kLinewise : RegisterKind::kCharacterwise;
  }
  content.text = std::move(*text);
  return content;
}

size_t ClipboardBridge::CountLines(std::u16string_view text) {
  size_t lines = 0;
  size_t i = 0;
  while (i < text.size()) {
    // One line: up to and including its break, or to the end of the text.
    while (i < text.size() && text[i] != u'\r') ++i;
    ++lines;
    if (i < text.size()) {
      ++i;
      if (i < text.size() && text[i] == u'\n') ++i;
    }
  }
  return lines;
}

}  // namespace tavik::host
