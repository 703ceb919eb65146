// The registers: 38 slots of text with a kind, addressed by name, one of them backed by the
// system clipboard. Yanks, deletes and recordings write them; puts and CTRL-R read them.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/motions/operated_range.h"

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

// One line of a register's text: offsets into the text, the line break not included.
struct RegisterLine {
  size_t start = 0;
  size_t end = 0;
};

class Register {
 public:
  const std::u16string& Text() const { return text_; }
  RegisterKind Kind() const { return kind_; }
  bool IsSet() const { return set_; }
  // Every line of the text; a final CR LF does not start a further line, so "a\r\n" and "a"
  // both have one line and the empty text has none.
  const std::vector<RegisterLine>& Lines() const {
    if (!indexed_) IndexLines();
    return lines_;
  }
  std::u16string_view LineText(size_t index) const {
    const RegisterLine& line = Lines()[index];
    return std::u16string_view(text_).substr(line.start, line.end - line.start);
  }
  // True when the text ends in a line break (linewise and blockwise texts always do).
  bool EndsWithLineBreak() const { return text_.ends_with(u"\r\n"); }

 private:
  friend class RegisterFile;
  // The line index is found when first asked for: a register that is only written (a large
  // delete) never pays for it.
  void ForgetLineIndex() { indexed_ = false; }
  void IndexLines() const;

  std::u16string text_;
  RegisterKind kind_ = RegisterKind::kCharacterwise;
  bool set_ = false;
  mutable std::vector<RegisterLine> lines_;
  mutable bool indexed_ = false;
};

class RegisterFile {
 public:
  static constexpr size_t kSlotCount = 38;
  static constexpr size_t kClipboardSlot = 0;

  explicit RegisterFile(ClipboardService* clipboard = nullptr, bool default_is_clipboard = true);

  void SetClipboard(ClipboardService* clipboard) { clipboard_ = clipboard; }
  void SetDefaultIsClipboard(bool on) { default_is_clipboard_ = on; }
  bool DefaultIsClipboard() const { return default_is_clipboard_; }

  // The slot a name addresses: 0 is the default register, "*" the clipboard, "0" to "9" and
  // "a" to "z" their own slots, "A" to "Z" the lower-case slots in append mode; every other
  // name is the default register too.
  struct Resolved {
    size_t slot;
    bool append;
  };
  Resolved Resolve(char16_t name) const;

  // Writing in steps: BeginWrite resolves the name, empties the text unless appending and
  // stores the kind; the caller appends; EndWrite indexes the lines, sets the register and
  // copies the clipboard register to the system clipboard.
  size_t BeginWrite(char16_t name, RegisterKind kind);
  void Append(size_t slot, std::u16string_view text) { slots_[slot].text_ += text; }
  void EndWrite(size_t slot);

  // While held, writes of the clipboard register reach the system clipboard only once, when
  // the hold ends (or when the register is read): a command that writes it many times in a row
  // hands the clipboard only the last text.
  void HoldClipboard();
  void ReleaseClipboard();

  // Writes a whole register in one call.
  void Write(char16_t name, std::u16string_view text, RegisterKind kind);
  // The same for a string the caller gives away: a deleted buffer of lines is moved into the
  // register instead of copied.
  template <class Text>
  requires std::same_as<Text, std::u16string>
  void Write(char16_t name, Text&& text, RegisterKind kind) {
    const size_t slot = BeginWrite(name, kind);
    if (slots_[slot].text_.empty()) {
      slots_[slot].text_ = std::move(text);
    } else {
      Append(slot, text);
    }
    EndWrite(slot);
  }

  // The register a name addresses, or nullptr when it was never written. The clipboard
  // register is refreshed from the system clipboard first; a clipboard that cannot be read
  // leaves it as it was. The reference stays valid until the next write or read.
  const Register* Get(char16_t name);
  // The same as a copy.
  std::optional<RegisterContent> Read(char16_t name);

  // A slot as it is, without refreshing the clipboard register (slot 37 has no name).
  const Register& Slot(size_t slot) const { return slots_[slot]; }

 private:
  std::array<Register, kSlotCount> slots_{};
  void FlushClipboard();

  ClipboardService* clipboard_;
  bool default_is_clipboard_;
  uint32_t clipboard_held_ = 0;
  bool clipboard_pending_ = false;
};

}  // namespace tavik
