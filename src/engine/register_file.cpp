// Register storage and name resolution.
#include "engine/register_file.h"

namespace tavik {

RegisterFile::RegisterFile(ClipboardService* clipboard, bool default_is_clipboard)
    : clipboard_(clipboard), default_is_clipboard_(default_is_clipboard) {}

RegisterFile::Resolved RegisterFile::Resolve(char16_t name) const {
  size_t default_slot = default_is_clipboard_ ? 0 : 1;
  if (name == u'*') return {0, false};
  if (name >= u'0' && name <= u'9') return {static_cast<size_t>(1 + (name - u'0')), false};
  if (name >= u'a' && name <= u'z') return {static_cast<size_t>(11 + (name - u'a')), false};
  if (name >= u'A' && name <= u'Z') return {static_cast<size_t>(11 + (name - u'A')), true};
  return {default_slot, false};
}

void RegisterFile::Write(char16_t name, std::u16string_view text, RegisterKind kind) {
  Resolved r = Resolve(name);
  Slot& slot = slots_[r.slot];
  if (!r.append || !slot.set) slot.text.clear();
  slot.text += text;
  slot.kind = kind;
  slot.set = true;
  if (r.slot == 0 && clipboard_ != nullptr) clipboard_->Put(slot.text, slot.kind);
}

std::optional<RegisterContent> RegisterFile::Read(char16_t name) {
  Resolved r = Resolve(name);
  Slot& slot = slots_[r.slot];
  if (r.slot == 0 && clipboard_ != nullptr) {
    if (auto content = clipboard_->Get()) {
      slot.text = std::move(content->text);
      slot.kind = content->kind;
      slot.set = true;
    }
  }
  if (!slot.set) return std::nullopt;
  return RegisterContent{slot.text, slot.kind};
}

}  // namespace tavik
