// Test helpers for the command parser: key strings such as "d2w" or ":ab<Left><BS><CR>" turned
// into KeyCodes, and a ParserServices double with settable registers.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/key_code.h"
#include "engine/input/command_line.h"

namespace tavik::testing {

// Plain ASCII characters stand for themselves. Named keys: <CR> <BS> <Tab> <Esc> <lt> <Left>
// <Right> <Up> <Down> <Home> <End> <Del> <Ins> <PageUp> <PageDown> <F1>; <C-x> is the control
// character of x with CTRL (or a special key with CTRL), <A-x> a key with ALT, <S-x> with SHIFT.
inline std::vector<KeyCode> Keys(std::string_view text) {
  struct Named {
    std::string_view name;
    KeyCode key;
  };
  static constexpr Named kNamed[] = {
      {"CR", KeyCode::Char(ch::kReturn)},
      {"BS", KeyCode::Char(ch::kBackspace)},
      {"Tab", KeyCode::Char(ch::kTab)},
      {"Esc", KeyCode::Char(ch::kEscape)},
      {"lt", KeyCode::Char(u'<')},
      {"Left", KeyCode::Special(vk::kLeft)},
      {"Right", KeyCode::Special(vk::kRight)},
      {"Up", KeyCode::Special(vk::kUp)},
      {"Down", KeyCode::Special(vk::kDown)},
      {"Home", KeyCode::Special(vk::kHome)},
      {"End", KeyCode::Special(vk::kEnd)},
      {"Del", KeyCode::Special(vk::kDelete)},
      {"Ins", KeyCode::Special(vk::kInsert)},
      {"PageUp", KeyCode::Special(vk::kPageUp)},
      {"PageDown", KeyCode::Special(vk::kPageDown)},
      {"F1", KeyCode::Special(vk::kF1)},
  };
  std::vector<KeyCode> keys;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '<' || text.find('>', i) == std::string_view::npos || i + 1 == text.size() ||
        text[i + 1] == '>') {
      keys.push_back(KeyCode::Char(static_cast<char16_t>(text[i])));
      continue;
    }
    size_t close = text.find('>', i + 1);
    std::string_view name = text.substr(i + 1, close - i - 1);
    i = close;
    uint32_t mods = 0;
    while (name.size() > 2 && name[1] == '-') {
      mods |= name[0] == 'C' ? key_mod::kCtrl : name[0] == 'A' ? key_mod::kAlt : key_mod::kShift;
      name.remove_prefix(2);
    }
    KeyCode key;
    if (name.size() == 1) {
      char16_t c = static_cast<char16_t>(name[0]);
      if ((mods & key_mod::kCtrl) != 0) c = static_cast<char16_t>(c & 0x1f);
      key = KeyCode::Char(c);
    } else {
      bool found = false;
      for (const Named& named : kNamed) {
        if (named.name == name) {
          key = named.key;
          found = true;
        }
      }
      if (!found) throw std::invalid_argument("unknown key name in test");
    }
    key.flags |= mods;
    keys.push_back(key);
  }
  return keys;
}

inline std::u16string U16(std::string_view text) {
  return {text.begin(), text.end()};
}

class FakeServices : public ParserServices {
 public:
  std::optional<std::u16string> RegisterTextForCommandLine(char16_t name) override {
    auto it = registers.find(name);
    if (it == registers.end()) return std::nullopt;
    return it->second;
  }
  void YankToDefaultRegister(std::u16string_view text) override { yanked = text; }

  std::map<char16_t, std::u16string> registers;
  std::optional<std::u16string> yanked;
};

}  // namespace tavik::testing
