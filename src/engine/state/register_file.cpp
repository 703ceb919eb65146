// Register storage, name resolution, the line index and the exchange of the clipboard register
// with the system clipboard.
#include "engine/state/register_file.h"

namespace tavik {

void Register::IndexLines() const {
  lines_.clear();
  const char16_t* text = text_.data();
  const size_t size = text_.size();
  size_t start = 0;
  for (size_t i = 1; i < size; ++i) {
    if (text[i] != u'\n' || text[i - 1] != u'\r') continue;
    lines_.push_back({start, i - 1});
    start = i + 1;
  }
  if (start < size) lines_.push_back({start, size});
  indexed_ = true;
}

RegisterFile::RegisterFile(ClipboardService* clipboard, bool default_is_clipboard)
    : clipboard_(clipboard), default_is_clipboard_(default_is_clipboard) {}

RegisterFile::Resolved RegisterFile::Resolve(char16_t name) const {
  if (name == u'*') return {kClipboardSlot, false};
  if (name >= u'0' && name <= u'9') return {static_cast<size_t>(1 + (name - u'0')), false};
  if (name >= u'a' && name <= u'z') return {static_cast<size_t>(11 + (name - u'a')), false};
  if (name >= u'A' && name <= u'Z') return {static_cast<size_t>(11 + (name - u'A')), true};
  return {default_is_clipboard_ ? kClipboardSlot : size_t{1}, false};
}

size_t RegisterFile::BeginWrite(char16_t name, RegisterKind kind) {
  Resolved r = Resolve(name);
  Register& slot = slots_[r.slot];
  if (!r.append || !slot.set_) slot.text_.clear();
  slot.kind_ = kind;
  return r.slot;
}

void RegisterFile::EndWrite(size_t slot) {
  Register& reg = slots_[slot];
  reg.ForgetLineIndex();
  reg.set_ = true;
  if (slot != kClipboardSlot || clipboard_ == nullptr) return;
  if (clipboard_held_ > 0) {
    clipboard_pending_ = true;
    return;
  }
  clipboard_->Put(reg.text_, reg.kind_);
}

void RegisterFile::HoldClipboard() {
  ++clipboard_held_;
}

void RegisterFile::ReleaseClipboard() {
  if (clipboard_held_ == 0 || --clipboard_held_ > 0) return;
  FlushClipboard();
}

void RegisterFile::FlushClipboard() {
  if (!clipboard_pending_) return;
  clipboard_pending_ = false;
  const Register& reg = slots_[kClipboardSlot];
  if (clipboard_ != nullptr) clipboard_->Put(reg.text_, reg.kind_);
}

void RegisterFile::Write(char16_t name, std::u16string_view text, RegisterKind kind) {
  size_t slot = BeginWrite(name, kind);
  Append(slot, text);
  EndWrite(slot);
}

const Register* RegisterFile::Get(char16_t name) {
  size_t index = Resolve(name).slot;
  Register& slot = slots_[index];
  if (index == kClipboardSlot && clipboard_ != nullptr) {
    // A held write is newer than what the clipboard has: it goes out first.
    FlushClipboard();
    if (auto content = clipboard_->Get()) {
      slot.text_ = std::move(content->text);
      slot.kind_ = content->kind;
      slot.set_ = true;
      slot.ForgetLineIndex();
    }
  }
  return slot.set_ ? &slot : nullptr;
}

std::optional<RegisterContent> RegisterFile::Read(char16_t name) {
  const Register* reg = Get(name);
  if (reg == nullptr) return std::nullopt;
  return RegisterContent{reg->Text(), reg->Kind()};
}

}  // namespace tavik
