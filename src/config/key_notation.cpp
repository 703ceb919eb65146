// Parsing and printing of the key notation.
#include "config/key_notation.h"

#include <cassert>

namespace tavik {
namespace {

char16_t AsciiLower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}

// Whether `name` is written at `pos` (any letter case) and directly followed by '>'.
bool NameClosesAt(std::u16string_view text, size_t pos, std::string_view name) {
  if (text.size() - pos <= name.size()) return false;  // room for the name and the '>'
  for (size_t i = 0; i < name.size(); ++i) {
    if (AsciiLower(text[pos + i]) != AsciiLower(static_cast<unsigned char>(name[i]))) {
      return false;
    }
  }
  return text[pos + name.size()] == u'>';
}

uint32_t ModifierFlag(char16_t c) {
  switch (c) {
    case u'A':
    case u'a':
    case u'M':
    case u'm':
      return key_mod::kAlt;
    case u'C':
    case u'c':
      return key_mod::kCtrl;
    case u'S':
    case u's':
      return key_mod::kShift;
    default:
      return 0;
  }
}

// Ctrl without Alt turns the letters and `@` to `_` into control characters, the way a
// keyboard delivers them; the Ctrl flag stays so both forms compare equal.
KeyCode ApplyCtrl(KeyCode key) {
  if (!key.IsChar() || !key.Has(key_mod::kCtrl) || key.Has(key_mod::kAlt)) return key;
  if (key.code >= u'@' && key.code <= u'_') {
    key.code -= 64;
  } else if (key.code >= u'a' && key.code <= u'z') {
    key.code -= 96;
  }
  return key;
}

// The bracketed key starting at the '<' at `pos`, or next == 0 when there is none.
ParsedKey ParseBracketed(std::u16string_view text, size_t pos) {
  size_t p = pos + 1;
  uint32_t flags = 0;
  while (p + 1 < text.size() && text[p + 1] == u'-' && ModifierFlag(text[p]) != 0) {
    flags |= ModifierFlag(text[p]);
    p += 2;
  }
  for (const KeyNameRow& row : kKeyNames) {
    if (NameClosesAt(text, p, row.name)) {
      const KeyCode key{row.code, row.kind, flags};
      return {ApplyCtrl(key), p + row.name.size() + 1};
    }
  }
  if (p + 1 < text.size() && text[p + 1] == u'>') {
    return {ApplyCtrl(KeyCode::Char(text[p], flags)), p + 2};
  }
  return {KeyCode{}, 0};
}

std::string_view SpecialKeyName(uint32_t virtual_key) {
  for (const KeyNameRow& row : kKeyNames) {
    if (row.kind == KeyKind::kSpecial && row.code == virtual_key) return row.name;
  }
  return {};
}

void AppendAscii(std::u16string& out, std::string_view text) {
  for (char c : text) out.push_back(static_cast<unsigned char>(c));
}

// The part between the modifier prefixes and '>' for a bracketed character key.
void AppendBracketedChar(char16_t c, bool ctrl, std::u16string& out) {
  if (c >= 32) {
    if (ctrl) out.append(u"C-");
    out.push_back(c);
    return;
  }
  switch (c) {
    case 8:
      out.append(u"Backspace");
      return;
    case 9:
      out.append(u"Tab");
      return;
    case 10:
      out.append(u"LF");  // printed for reading only; `<LF>` does not parse back
      return;
    case 13:
      out.append(u"CR");
      return;
    case 27:
      out.append(u"Escape");
      return;
    default:
      out.append(u"C-");
      out.push_back(static_cast<char16_t>(c + 64));
      return;
  }
}

void PrintCharKey(const KeyCode& key, std::u16string& out) {
  if (key.code > 0xFFFF) return;  // not a UTF-16 unit: nothing sensible to write
  const auto c = static_cast<char16_t>(key.code);
  const bool ctrl = key.Has(key_mod::kCtrl);
  const bool alt = key.Has(key_mod::kAlt);
  const bool shift = key.Has(key_mod::kShift);
  const bool plain_non_ascii = c > 127 && !ctrl && !alt && !shift;
  if (!ctrl && !alt && c >= 32 && (c <= 127 || plain_non_ascii)) {
    if (c == u'<' || c == u'\\') out.push_back(u'\\');
    out.push_back(c);
    return;
  }
  out.push_back(u'<');
  if (alt) out.append(u"A-");
  if (shift) out.append(u"S-");
  AppendBracketedChar(c, ctrl, out);
  out.push_back(u'>');
}

void PrintSpecialKey(const KeyCode& key, std::u16string& out) {
  const std::string_view name = SpecialKeyName(key.code);
  if (name.empty()) return;
  out.push_back(u'<');
  if (key.Has(key_mod::kCtrl)) out.append(u"C-");
  if (key.Has(key_mod::kAlt)) out.append(u"A-");
  if (key.Has(key_mod::kShift)) out.append(u"S-");
  AppendAscii(out, name);
  out.push_back(u'>');
}

}  // namespace

ParsedKey ParseKey(std::u16string_view text, size_t pos) {
  assert(pos < text.size());
  if (pos >= text.size()) return {KeyCode{}, text.size()};
  const char16_t c = text[pos];
  if (c == u'\\') {
    if (pos + 1 < text.size()) return {KeyCode::Char(text[pos + 1]), pos + 2};
    return {KeyCode::Char(u'\\'), pos + 1};
  }
  if (c == u'<') {
    const ParsedKey bracketed = ParseBracketed(text, pos);
    if (bracketed.next != 0) return bracketed;
  }
  return {KeyCode::Char(c), pos + 1};
}

std::vector<KeyCode> ParseKeys(std::u16string_view text) {
  std::vector<KeyCode> keys;
  for (size_t pos = 0; pos < text.size();) {
    const ParsedKey parsed = ParseKey(text, pos);
    keys.push_back(parsed.key);
    pos = parsed.next;
  }
  return keys;
}

void PrintKey(const KeyCode& key, std::u16string& out) {
  if (key.IsChar()) {
    PrintCharKey(key, out);
  } else if (key.IsSpecial()) {
    PrintSpecialKey(key, out);
  }
}

std::u16string PrintKeys(std::span<const KeyCode> keys) {
  std::u16string out;
  for (const KeyCode& key : keys) PrintKey(key, out);
  return out;
}

}  // namespace tavik
