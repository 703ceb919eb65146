// Terminal input decoding. The sequences are those of xterm and the terminals that follow it
// (tmux, screen, rxvt, the Linux console for F1 to F5), with the modifier parameter
// 1 + SHIFT 1 + ALT 2 + CTRL 4 (+ META 8, taken as ALT).
#include "app/terminal_keys.h"

#include <array>
#include <optional>

#include "platform/utf8_codec.h"

namespace tavik::app {

namespace {

constexpr char kEsc = '\x1b';
constexpr std::string_view kPasteEnd = "\x1b[201~";

// The bytes of the UTF-8 character that starts with `lead` (1 for a byte that starts none).
size_t Utf8Length(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// The special key of a "CSI n ~" sequence, by n.
struct TildeKey {
  uint32_t number;
  uint32_t virtual_key;
};
constexpr std::array<TildeKey, 20> kTildeKeys = {{
    {1, vk::kHome},    {2, vk::kInsert},   {3, vk::kDelete},   {4, vk::kEnd},
    {5, vk::kPageUp},  {6, vk::kPageDown}, {7, vk::kHome},     {8, vk::kEnd},
    {11, vk::kF1},     {12, vk::kF1 + 1},  {13, vk::kF1 + 2},  {14, vk::kF1 + 3},
    {15, vk::kF1 + 4}, {17, vk::kF1 + 5},  {18, vk::kF1 + 6},  {19, vk::kF1 + 7},
    {20, vk::kF1 + 8}, {21, vk::kF1 + 9},  {23, vk::kF1 + 10}, {24, vk::kF1 + 11},
}};

// The special key of a CSI or SS3 sequence ending in a letter.
struct LetterKey {
  char final;
  uint32_t virtual_key;
};
constexpr std::array<LetterKey, 10> kLetterKeys = {{
    {'A', vk::kUp},
    {'B', vk::kDown},
    {'C', vk::kRight},
    {'D', vk::kLeft},
    {'H', vk::kHome},
    {'F', vk::kEnd},
    {'P', vk::kF1},
    {'Q', vk::kF1 + 1},
    {'R', vk::kF1 + 2},
    {'S', vk::kF1 + 3},
}};

std::optional<uint32_t> LetterKeyOf(char final) {
  for (const LetterKey& k : kLetterKeys) {
    if (k.final == final) return k.virtual_key;
  }
  return std::nullopt;
}

// Flags from an xterm modifier parameter (1 means none).
uint32_t FlagsOfModifier(uint32_t parameter) {
  if (parameter < 2) return 0;
  const uint32_t bits = parameter - 1;
  uint32_t flags = 0;
  if (bits & 1) flags |= key_mod::kShift;
  if (bits & (2 | 8)) flags |= key_mod::kAlt;
  if (bits & 4) flags |= key_mod::kCtrl;
  return flags;
}

// Appends a code point as one or two UTF-16 character keys.
void AppendCodePoint(uint32_t cp, uint32_t flags, std::vector<KeyCode>& out) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(KeyCode::Char(static_cast<char16_t>(0xD800 + (cp >> 10)), flags));
    out.push_back(KeyCode::Char(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)), flags));
  } else {
    out.push_back(KeyCode::Char(static_cast<char16_t>(cp), flags));
  }
}

// A code point typed with modifiers, as the CSI u and "CSI 27 ; m ; code ~" forms report it: a
// letter with CTRL becomes its control character, as the keyboard path gives it.
KeyCode ModifiedCharacter(uint32_t cp, uint32_t flags) {
  if ((flags & key_mod::kCtrl) != 0) {
    if (cp >= 'a' && cp <= 'z') return KeyCode::Char(static_cast<char16_t>(cp - 96), flags);
    if (cp >= '@' && cp <= '_') return KeyCode::Char(static_cast<char16_t>(cp - 64), flags);
  }
  if (cp == 127) return KeyCode::Char(ch::kBackspace, flags);
  if (cp == ch::kTab || cp == ch::kReturn || cp == ch::kEscape || cp == ch::kBackspace) {
    return KeyCode::Char(static_cast<char16_t>(cp), flags);
  }
  // Printable characters keep only SHIFT and ALT; the letter's case already says SHIFT.
  return KeyCode::Char(static_cast<char16_t>(cp), flags & ~key_mod::kCtrl);
}

}  // namespace

KeyCode KeyForByte(unsigned char byte) {
  switch (byte) {
    case 127:
      return KeyCode::Char(ch::kBackspace);
    case ch::kTab:
    case ch::kReturn:
    case ch::kEscape:
      return KeyCode::Char(byte);
    default:
      break;
  }
  if (byte < 32) return KeyCode::Char(byte, key_mod::kCtrl);
  return KeyCode::Char(byte);
}

void TerminalKeyDecoder::Feed(std::string_view bytes, std::vector<KeyCode>& out) {
  if (pending_.empty() && !in_paste_) {
    alt_pair_ = !keys_reported_ && bytes.size() >= 2 && bytes[0] == kEsc && bytes[1] != kEsc &&
                bytes.size() == 1 + Utf8Length(static_cast<unsigned char>(bytes[1]));
  }
  pending_.append(bytes);
  size_t used = 0;
  while (!pending_.empty() && (used = DecodeOne(false, out)) > 0) pending_.erase(0, used);
}

void TerminalKeyDecoder::Flush(std::vector<KeyCode>& out) {
  while (!pending_.empty()) {
    const size_t used = DecodeOne(true, out);
    if (used == 0) break;  // the start of a paste's end marker waits for the rest
    pending_.erase(0, used);
  }
}

std::u16string TerminalKeyDecoder::TakePaste() {
  if (pastes_.empty()) return {};
  std::u16string text = std::move(pastes_.front());
  pastes_.pop_front();
  return text;
}

size_t TerminalKeyDecoder::TakePasteBytes(std::vector<KeyCode>& out) {
  const size_t end = pending_.find(kPasteEnd);
  if (end != std::string::npos) {
    paste_.append(pending_, 0, end);
    std::u16string text;
    platform::DecodeUtf8(paste_, text);
    paste_.clear();
    in_paste_ = false;
    pastes_.push_back(std::move(text));
    out.push_back(kPastedTextKey);
    return end + kPasteEnd.size();
  }
  // Keeps what may be the start of the end marker.
  size_t keep = 0;
  for (size_t n = std::min(pending_.size(), kPasteEnd.size() - 1); n > 0 && keep == 0; --n) {
    if (kPasteEnd.starts_with(std::string_view(pending_).substr(pending_.size() - n))) keep = n;
  }
  paste_.append(pending_, 0, pending_.size() - keep);
  return pending_.size() - keep;
}

size_t TerminalKeyDecoder::DecodeOne(bool final, std::vector<KeyCode>& out) {
  if (in_paste_) return TakePasteBytes(out);
  size_t used = 0;
  if (pending_[0] == kEsc) {
    used = DecodeEscape(final, out);
    if (used > 0) alt_pair_ = false;
  } else {
    used = DecodeText(0, final, 0, out);
  }
  return used;
}

// One character at `at`: an ASCII byte or a UTF-8 sequence; invalid bytes give U+FFFD each.
size_t TerminalKeyDecoder::DecodeText(size_t at, bool final, uint32_t extra_flags,
                                      std::vector<KeyCode>& out) {
  const auto lead = static_cast<unsigned char>(pending_[at]);
  if (lead < 0x80) {
    KeyCode key = KeyForByte(lead);
    key.flags |= extra_flags;
    out.push_back(key);
    return at + 1;
  }
  size_t length = 0;
  uint32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07;
  } else {
    AppendCodePoint(0xFFFD, extra_flags, out);
    return at + 1;
  }
  for (size_t i = 1; i < length; ++i) {
    if (at + i >= pending_.size()) {
      if (!final) return 0;
      AppendCodePoint(0xFFFD, extra_flags, out);
      return at + i;
    }
    const auto next = static_cast<unsigned char>(pending_[at + i]);
    if ((next & 0xC0) != 0x80) {
      AppendCodePoint(0xFFFD, extra_flags, out);
      return at + i;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  static constexpr uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) cp = 0xFFFD;
  AppendCodePoint(cp, extra_flags, out);
  return at + length;
}

size_t TerminalKeyDecoder::DecodeEscape(bool final, std::vector<KeyCode>& out) {
  if (pending_.size() == 1) {
    if (!final) return 0;
    out.push_back(KeyCode::Char(ch::kEscape));
    return 1;
  }
  const char second = pending_[1];
  if (second == '[') {
    const size_t used = DecodeCsi(2, out);
    if (used > 0 || !final) return used;
    // A sequence cut short: an Escape followed by what came after it.
    out.push_back(KeyCode::Char(ch::kEscape));
    return 1;
  }
  if (second == 'O') {
    if (pending_.size() == 2) {
      if (!final) return 0;
      if (alt_pair_) {
        out.push_back(KeyCode::Char('O', key_mod::kShift | key_mod::kAlt));
        return 2;
      }
      out.push_back(KeyCode::Char(ch::kEscape));
      return 1;
    }
    // SS3 with an optional modifier digit: ESC O A, ESC O 5 A.
    size_t i = 2;
    uint32_t modifier = 1;
    if (pending_[i] >= '1' && pending_[i] <= '9') {
      modifier = static_cast<uint32_t>(pending_[i] - '0');
      if (++i >= pending_.size()) {
        if (!final) return 0;
        out.push_back(KeyCode::Char(ch::kEscape));
        return 1;
      }
    }
    if (std::optional<uint32_t> key = LetterKeyOf(pending_[i])) {
      out.push_back(KeyCode::Special(*key, FlagsOfModifier(modifier)));
      return i + 1;
    }
    // No key of the keypad: Escape, then "O" and what follows as typed.
    out.push_back(KeyCode::Char(ch::kEscape));
    return 1;
  }
  if (second == kEsc || !alt_pair_) {
    // The Escape key; what follows is a key of its own, or may start a sequence.
    out.push_back(KeyCode::Char(ch::kEscape));
    return 1;
  }
  // ALT held: the terminal sends Escape before the key, both in one write.
  return DecodeText(1, final, key_mod::kAlt, out);
}

// A CSI sequence whose parameters start at `start`: parameter bytes, then intermediates, then a
// final byte. Sequences the editor has no key for are dropped whole.
size_t TerminalKeyDecoder::DecodeCsi(size_t start, std::vector<KeyCode>& out) {
  // The Linux console's F1 to F5: ESC [ [ A .. E.
  if (start < pending_.size() && pending_[start] == '[') {
    if (start + 1 >= pending_.size()) return 0;
    const char letter = pending_[start + 1];
    if (letter >= 'A' && letter <= 'E') {
      out.push_back(KeyCode::Special(vk::kF1 + static_cast<uint32_t>(letter - 'A')));
    }
    return start + 2;
  }
  std::vector<uint32_t> params;
  uint32_t value = 0;
  bool has_value = false;
  size_t i = start;
  // A private marker first ("CSI ? ...", "CSI > ..."): the terminal answers a question.
  const char marker =
      i < pending_.size() && pending_[i] >= '<' && pending_[i] <= '?' ? pending_[i] : '\0';
  for (; i < pending_.size(); ++i) {
    const char c = pending_[i];
    if (c >= '0' && c <= '9') {
      value = value * 10 + static_cast<uint32_t>(c - '0');
      has_value = true;
      if (value > 1000000) value = 1000000;
    } else if (c == ';' || c == ':') {
      params.push_back(has_value ? value : 0);
      value = 0, has_value = false;
    } else if (c >= 0x20 && c <= 0x3F) {
      continue;  // private markers and intermediates: no key here uses them
    } else {
      break;
    }
  }
  if (i >= pending_.size()) return 0;  // incomplete
  const char fin = pending_[i];
  const size_t used = i + 1;
  if (static_cast<unsigned char>(fin) < 0x40 || static_cast<unsigned char>(fin) > 0x7E) {
    return used;  // not a valid sequence: drop what was read
  }
  params.push_back(has_value ? value : 0);
  if (marker != '\0') {
    // "CSI ? flags u": the progressive keyboard mode in force; no answer is a key.
    if (marker == '?' && fin == 'u') keys_reported_ = (params[0] & 1) != 0;
    return used;
  }
  const uint32_t first = params[0];
  const uint32_t modifier = params.size() > 1 ? params[1] : 1;
  const uint32_t flags = FlagsOfModifier(modifier);
  if (fin == '~') {
    if (first == 27 && params.size() >= 3) {  // xterm modifyOtherKeys: 27 ; m ; code ~
      out.push_back(ModifiedCharacter(params[2], flags));
      return used;
    }
    if (first == 200) {  // pasted text follows, up to "CSI 201 ~"
      in_paste_ = true;
      return used;
    }
    for (const TildeKey& k : kTildeKeys) {
      if (k.number == first) {
        out.push_back(KeyCode::Special(k.virtual_key, flags));
        break;
      }
    }
    return used;  // a stray 201 ~ and unknown numbers give no key
  }
  if (fin == 'u') {  // code ; m u
    if (first >= 0x10000) {
      AppendCodePoint(first, flags & ~key_mod::kCtrl, out);
    } else if (first > 0) {
      out.push_back(ModifiedCharacter(first, flags));
    }
    return used;
  }
  if (fin == 'Z') {
    out.push_back(KeyCode::Char(ch::kTab, key_mod::kShift | flags));
    return used;
  }
  if (std::optional<uint32_t> key = LetterKeyOf(fin)) {
    out.push_back(KeyCode::Special(*key, flags));
  }
  return used;
}

}  // namespace tavik::app
