// The registers: 38 slots of text with a kind, addressed by name, one of them backed by the
// system clipboard. Yanks, deletes and recordings write them; puts and CTRL-R read them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/operated_range.h"

namespace tavik {

// Register kinds share their numbers with operated ranges: 0 characterwise, 1 linewise,
// 2 blockwise.
using RegisterKind = RangeKind;

struct RegisterContent {
  std::u16string text;  // lines separated by CR LF
  RegisterKind kind = RegisterKind::kCharacterwise;
};

// The system clipboard as the registers use it; the host package connects it.
class ClipboardService {
 public:
  virtual ~ClipboardService() = default;
  // Stores the text with its kind (and the column-select marker for a block). False when the
  // clipboard could not be opened.
  virtual bool Put(std::u16string_view text, RegisterKind kind) = 0;
  // The clipboard's text and kind, or nothing when it holds no text or cannot be opened.
  virtual std::optional<RegisterContent> Get() = 0;
};

class RegisterFile {
 public:
  explicit RegisterFile(ClipboardService* clipboard = nullptr, bool default_is_clipboard = true);

  void SetClipboard(ClipboardService* clipboard) { clipboard_ = clipboard; }
  void SetDefaultIsClipboard(bool on) { default_is_clipboard_ = on; }
  bool DefaultIsClipboard() const { return default_is_clipboard_; }

  // Writes a whole register: name 0 is the default register; "A" to "Z" append to "a" to "z".
  void Write(char16_t name, std::u16string_view text, RegisterKind kind);
  // Reads a register; nothing when it was never written (the clipboard register is refreshed
  // from the system clipboard first).
  std::optional<RegisterContent> Read(char16_t name);

 private:
  struct Slot {
    std::u16string text;
    RegisterKind kind = RegisterKind::kCharacterwise;
    bool set = false;
  };
  static constexpr size_t kSlotCount = 38;
  struct Resolved {
    size_t slot;
    bool append;
  };
  Resolved Resolve(char16_t name) const;

  std::array<Slot, kSlotCount> slots_{};
  ClipboardService* clipboard_;
  bool default_is_clipboard_;
};

}  // namespace tavik
