// Decoding the bytes a terminal sends for typed keys into the host's key events: UTF-8 text,
// control characters, Escape, ALT as an Escape prefix, and the CSI and SS3 sequences of the
// cursor, editing and function keys with their xterm modifier parameter.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "common/key_code.h"

namespace tavik::app {

// Stands in the keys for a text pasted while bracketed paste is on; TakePaste gives the text.
// No terminal key has this number.
inline constexpr KeyCode kPastedTextKey = KeyCode::Special(0x10000);

class TerminalKeyDecoder {
 public:
  // Decodes the bytes of one read, together with any left over from the last call, and appends
  // the keys to `out`. Bytes that may be the start of a longer sequence (an Escape, a partial
  // sequence or a partial UTF-8 character) are kept until more bytes arrive or Flush is called.
  // Escape followed by a key is ALT with that key only when the two were all of one read (a
  // terminal sends them so for one key press) and the terminal does not report ALT otherwise;
  // else it is the Escape key and then the key, as typed quickly or pasted.
  void Feed(std::string_view bytes, std::vector<KeyCode>& out);
  // No more bytes came within the escape delay: what is kept is taken as typed (a lone Escape
  // is the Escape key). A paste goes on until its end marker.
  void Flush(std::vector<KeyCode>& out);
  bool HasPending() const { return !pending_.empty() || in_paste_; }
  // The text of the oldest kPastedTextKey not yet taken, line breaks as the terminal sent them.
  std::u16string TakePaste();
  // The terminal said it reports Escape and ALT with keys as sequences of their own.
  bool KeysReported() const { return keys_reported_; }

 private:
  // While a paste is open: moves its bytes out of `pending_`, up to its end marker; returns the
  // bytes used, 0 when all that is left may be the start of the marker.
  size_t TakePasteBytes(std::vector<KeyCode>& out);
  // Decodes one key at the start of `pending_`; returns the bytes it used, or 0 when the bytes
  // so far are an incomplete sequence (and `final` is false).
  size_t DecodeOne(bool final, std::vector<KeyCode>& out);
  size_t DecodeEscape(bool final, std::vector<KeyCode>& out);
  size_t DecodeCsi(size_t start, std::vector<KeyCode>& out);
  size_t DecodeText(size_t at, bool final, uint32_t extra_flags, std::vector<KeyCode>& out);

  std::string pending_;
  bool alt_pair_ = false;  // the Escape at the front came with one key, alone in its read
  bool keys_reported_ = false;
  bool in_paste_ = false;
  std::string paste_;  // the bytes of the open paste so far
  std::deque<std::u16string> pastes_;
};

// The key for one byte below 128 typed without a sequence: control characters carry CTRL,
// except Tab, Return and Escape; DEL (what the Backspace key sends) becomes Backspace 8.
KeyCode KeyForByte(unsigned char byte);

}  // namespace tavik::app
