// Decoding the bytes a terminal sends for typed keys into the host's key events: UTF-8 text,
// control characters, Escape, ALT as an Escape prefix, and the CSI and SS3 sequences of the
// cursor, editing and function keys with their xterm modifier parameter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/key_code.h"

namespace tavik::app {

class TerminalKeyDecoder {
 public:
  // Decodes the bytes, together with any left over from the last call, and appends the keys to
  // `out`. Bytes that may be the start of a longer sequence (an Escape, a partial sequence or a
  // partial UTF-8 character) are kept until more bytes arrive or Flush is called.
  void Feed(std::string_view bytes, std::vector<KeyCode>& out);
  // No more bytes came within the escape delay: what is kept is taken as typed (a lone Escape
  // is the Escape key).
  void Flush(std::vector<KeyCode>& out);
  bool HasPending() const { return !pending_.empty(); }

 private:
  // Decodes one key at the start of `pending_`; returns the bytes it used, or 0 when the bytes
  // so far are an incomplete sequence (and `final` is false).
  size_t DecodeOne(bool final, std::vector<KeyCode>& out);
  size_t DecodeEscape(bool final, std::vector<KeyCode>& out);
  size_t DecodeCsi(size_t start, std::vector<KeyCode>& out);
  size_t DecodeText(size_t at, bool final, uint32_t extra_flags, std::vector<KeyCode>& out);

  std::string pending_;
};

// The key for one byte below 128 typed without a sequence: control characters carry CTRL,
// except Tab, Return and Escape; DEL (what the Backspace key sends) becomes Backspace 8.
KeyCode KeyForByte(unsigned char byte);

}  // namespace tavik::app
