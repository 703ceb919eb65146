// Fuzz target of the key notation: arbitrary text parsed key by key and as a whole, then printed
// and parsed again. Parsing always moves forward and never past the text; the keys read one at a
// time are the keys read as a whole; a printed key parses back to one key that prints the same,
// and to the very key wherever the notation can say all of it.
//
// Input layout: UTF-8 bytes, at most 1024; invalid bytes become U+FFFD.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/key_notation.h"
#include "fuzz_invariants.h"
#include "platform/utf8_codec.h"

namespace {

constexpr size_t kMaxBytes = 1024;

// Keys whose printed text parses back to exactly themselves. Printing drops what the notation
// cannot say: Ctrl on Backspace, Tab, Return and Escape (printed by name), Shift alone on an
// ASCII character (printed bare); a control character comes back as one with Ctrl, and with
// Alt as the letter it is written with.
bool RoundTrips(const tavik::KeyCode& key) {
  using tavik::key_mod::kAlt;
  using tavik::key_mod::kCtrl;
  using tavik::key_mod::kShift;
  if (key.IsSpecial()) return true;
  const uint32_t c = key.code;
  if (c == 8 || c == 9 || c == 13 || c == 27) return !key.Has(kCtrl);
  if (c < 32) return key.Has(kCtrl) && !key.Has(kAlt);
  return !(key.Has(kShift) && !key.Has(kCtrl | kAlt) && c <= 127);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavik;
  if (size > kMaxBytes) return 0;
  const std::u16string text =
      platform::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));

  std::vector<KeyCode> one_by_one;
  for (size_t pos = 0; pos < text.size();) {
    const ParsedKey parsed = ParseKey(text, pos);
    FUZZ_CHECK(parsed.next > pos && parsed.next <= text.size());
    one_by_one.push_back(parsed.key);
    pos = parsed.next;
  }
  const std::vector<KeyCode> keys = ParseKeys(text);
  FUZZ_CHECK(keys == one_by_one);

  for (const KeyCode& key : keys) {
    FUZZ_CHECK(key.kind != KeyKind::kNone);
    std::u16string printed;
    PrintKey(key, printed);
    // Line feed prints as <LF>, which is not a name the notation reads.
    if (printed.empty() || (key.IsChar() && key.code == ch::kLineFeed)) continue;
    const std::vector<KeyCode> back = ParseKeys(printed);
    FUZZ_CHECK(back.size() == 1);
    if (RoundTrips(key)) FUZZ_CHECK(back.front() == key);
    std::u16string again;
    PrintKey(back.front(), again);
    FUZZ_CHECK(again == printed);
  }
  return 0;
}
