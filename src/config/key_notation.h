// Keys written as text: `<C-a>`, `<Esc>`, `<S-F5>`, `\<`. Parsing serves the map commands and
// the replay of recorded keys; printing writes recorded keys back in the same notation.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/key_code.h"

namespace tavik {

struct KeyNameRow {
  std::string_view name;  // compared without regard to letter case
  KeyKind kind;
  uint32_t code;  // virtual key for a special row, character for a character row
};

// Searched in this order by both parsing and printing: `<Escape>` must pass over "Esc" and
// `<F10>` over "F1", which the "followed by >" test takes care of.
inline constexpr std::array<KeyNameRow, 35> kKeyNames = {{
    {"F1", KeyKind::kSpecial, 0x70},     {"F2", KeyKind::kSpecial, 0x71},
    {"F3", KeyKind::kSpecial, 0x72},     {"F4", KeyKind::kSpecial, 0x73},
    {"F5", KeyKind::kSpecial, 0x74},     {"F6", KeyKind::kSpecial, 0x75},
    {"F7", KeyKind::kSpecial, 0x76},     {"F8", KeyKind::kSpecial, 0x77},
    {"F9", KeyKind::kSpecial, 0x78},     {"F10", KeyKind::kSpecial, 0x79},
    {"F11", KeyKind::kSpecial, 0x7A},    {"F12", KeyKind::kSpecial, 0x7B},
    {"Up", KeyKind::kSpecial, 0x26},     {"Down", KeyKind::kSpecial, 0x28},
    {"Left", KeyKind::kSpecial, 0x25},   {"Right", KeyKind::kSpecial, 0x27},
    {"Home", KeyKind::kSpecial, 0x24},   {"End", KeyKind::kSpecial, 0x23},
    {"PageUp", KeyKind::kSpecial, 0x21}, {"PageDown", KeyKind::kSpecial, 0x22},
    {"Delete", KeyKind::kSpecial, 0x2E}, {"Insert", KeyKind::kSpecial, 0x2D},
    {"BS", KeyKind::kChar, 8},           {"Backspace", KeyKind::kChar, 8},
    {"CR", KeyKind::kChar, 13},          {"Return", KeyKind::kChar, 13},
    {"Enter", KeyKind::kChar, 13},       {"Space", KeyKind::kChar, 32},
    {"Bslash", KeyKind::kChar, u'\\'},   {"Bar", KeyKind::kChar, u'|'},
    {"Esc", KeyKind::kChar, 27},         {"Escape", KeyKind::kChar, 27},
    {"lt", KeyKind::kChar, u'<'},        {"gt", KeyKind::kChar, u'>'},
    {"Tab", KeyKind::kChar, 9},
}};

struct ParsedKey {
  KeyCode key;
  size_t next = 0;  // position after the key's text
};

// Parses the key at `pos`, which must be inside `text`. Never fails: text that is not a valid
// bracketed key stands for its own characters.
ParsedKey ParseKey(std::u16string_view text, size_t pos);
std::vector<KeyCode> ParseKeys(std::u16string_view text);

// Appends the notation of `key`. A special key without a name, or a key of no kind, appends
// nothing. A character above 127 without modifiers is written bare, so recorded text replays
// as the same keys.
void PrintKey(const KeyCode& key, std::u16string& out);
std::u16string PrintKeys(std::span<const KeyCode> keys);

}  // namespace tavik
