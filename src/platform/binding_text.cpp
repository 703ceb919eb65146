// Reading and writing key binding strings.
#include "platform/binding_text.h"

#include "common/ascii_case.h"

#include <array>

namespace tavik::platform {

namespace {

struct ScopeName {
  std::u16string_view text;
  BindingScope scope;
};

// Scope texts as hosts in several languages write them.
constexpr std::array kScopeNames = {
    ScopeName{u"Global", BindingScope::kGlobal},
    ScopeName{u"Text Editor", BindingScope::kTextEditor},
    ScopeName{u"Text-Editor", BindingScope::kTextEditor},
    ScopeName{u"\u5168\u4F53", BindingScope::kGlobal},
    ScopeName{u"\u30C6\u30AD\u30B9\u30C8 \u30A8\u30C7\u30A3\u30BF", BindingScope::kTextEditor},
    ScopeName{u"\uC804\uC5ED", BindingScope::kGlobal},
    ScopeName{u"\uD14D\uC2A4\uD2B8 \uD3B8\uC9D1\uAE30", BindingScope::kTextEditor},
    ScopeName{u"\u5168\u5C40", BindingScope::kGlobal},
    ScopeName{u"\u6587\u672C\u7F16\u8F91\u5668", BindingScope::kTextEditor},
};

struct KeyName {
  std::u16string_view name;
  uint32_t virtual_key;
};

// Named keys; letters, digits and F1-F12 are computed.
constexpr std::array kKeyNames = {
    KeyName{u"Bkspce", vkey::kBack},
    KeyName{u"Tab", vkey::kTab},
    KeyName{u"Enter", vkey::kReturn},
    KeyName{u"Esc", vkey::kEscape},
    KeyName{u"Space", vkey::kSpace},
    KeyName{u"PgUp", vk::kPageUp},
    KeyName{u"PgDn", vk::kPageDown},
    KeyName{u"End", vk::kEnd},
    KeyName{u"Home", vk::kHome},
    KeyName{u"Left Arrow", vk::kLeft},
    KeyName{u"Up Arrow", vk::kUp},
    KeyName{u"Right Arrow", vk::kRight},
    KeyName{u"Down Arrow", vk::kDown},
    KeyName{u"Ins", vk::kInsert},
    KeyName{u"Del", vk::kDelete},
    KeyName{u";", 0xBA},
    KeyName{u"=", 0xBB},
    KeyName{u",", 0xBC},
    KeyName{u"-", 0xBD},
    KeyName{u".", 0xBE},
    KeyName{u"/", 0xBF},
    KeyName{u"`", 0xC0},
    KeyName{u"[", 0xDB},
    KeyName{u"\\", 0xDC},
    KeyName{u"]", 0xDD},
    KeyName{u"'", 0xDE},
};

struct ModifierName {
  std::u16string_view name;
  uint32_t bit;
};

// In the order they are written.
constexpr std::array kModifierNames = {
    ModifierName{u"Ctrl", key_mod::kCtrl},
    ModifierName{u"Shift", key_mod::kShift},
    ModifierName{u"Alt", key_mod::kAlt},
};

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

std::optional<uint32_t> KeyOfName(std::u16string_view name) {
  if (name.size() == 1) {
    const char16_t c = name[0];
    if (c >= u'a' && c <= u'z') return c - u'a' + u'A';
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return c;
  }
  if (name.size() >= 2 && name.size() <= 3 && AsciiLower(name[0]) == u'f') {
    uint32_t n = 0;
    for (char16_t c : name.substr(1)) {
      if (c < u'0' || c > u'9') return std::nullopt;
      n = n * 10 + (c - u'0');
    }
    if (n >= 1 && n <= 12) return vk::kF1 + n - 1;
    return std::nullopt;
  }
  for (const KeyName& key : kKeyNames) {
    if (EqualIgnoringAsciiCase(key.name, name)) return key.virtual_key;
  }
  return std::nullopt;
}

std::u16string NameOfKey(uint32_t virtual_key) {
  if ((virtual_key >= 'A' && virtual_key <= 'Z') || (virtual_key >= '0' && virtual_key <= '9')) {
    return std::u16string(1, static_cast<char16_t>(virtual_key));
  }
  if (virtual_key >= vk::kF1 && virtual_key <= vk::kF12) {
    std::u16string name = u"F";
    const uint32_t n = virtual_key - vk::kF1 + 1;
    if (n >= 10) name += static_cast<char16_t>(u'0' + n / 10);
    name += static_cast<char16_t>(u'0' + n % 10);
    return name;
  }
  for (const KeyName& key : kKeyNames) {
    if (key.virtual_key == virtual_key) return std::u16string(key.name);
  }
  return u"?";
}

// The virtual key of a punctuation character on a US keyboard, shifted or not.
constexpr std::u16string_view kPunctuation = u";=,-./`[\\]'";
constexpr std::u16string_view kShiftedPunctuation = u":+<_>?~{|}\"";
constexpr std::array<uint32_t, 11> kPunctuationKeys = {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF,
                                                       0xC0, 0xDB, 0xDC, 0xDD, 0xDE};

}  // namespace

BindingScope ScopeOfText(std::u16string_view scope) {
  for (const ScopeName& name : kScopeNames) {
    if (name.text == scope) return name.scope;
  }
  return BindingScope::kOther;
}

std::optional<KeyStroke> ParseKeyStroke(std::u16string_view text) {
  text = Trim(text);
  KeyStroke stroke;
  // Modifiers are the parts before the last "+"; the key itself may be "+"-free punctuation.
  for (;;) {
    const size_t plus = text.find(u'+');
    if (plus == std::u16string_view::npos || plus + 1 >= text.size()) break;
    const std::u16string_view part = Trim(text.substr(0, plus));
    bool known = false;
    for (const ModifierName& modifier : kModifierNames) {
      if (EqualIgnoringAsciiCase(modifier.name, part)) {
        stroke.modifiers |= modifier.bit;
        known = true;
      }
    }
    if (!known) return std::nullopt;
    text = Trim(text.substr(plus + 1));
  }
  const std::optional<uint32_t> key = KeyOfName(text);
  if (!key) return std::nullopt;
  stroke.virtual_key = *key;
  return stroke;
}

std::u16string FormatKeyStroke(KeyStroke stroke) {
  std::u16string text;
  for (const ModifierName& modifier : kModifierNames) {
    if ((stroke.modifiers & modifier.bit) == 0) continue;
    text += modifier.name;
    text += u'+';
  }
  text += NameOfKey(stroke.virtual_key);
  return text;
}

std::optional<Binding> ParseBinding(std::u16string_view text) {
  const size_t colons = text.find(u"::");
  if (colons == std::u16string_view::npos || colons == 0) return std::nullopt;
  Binding binding;
  binding.scope = std::u16string(text.substr(0, colons));
  std::u16string_view keys = text.substr(colons + 2);
  // A chord's strokes are separated by ", "; a lone "," is the comma key.
  const size_t comma = keys.find(u", ");
  const std::u16string_view first =
      comma == std::u16string_view::npos ? keys : keys.substr(0, comma);
  std::optional<KeyStroke> stroke = ParseKeyStroke(first);
  if (!stroke) return std::nullopt;
  binding.strokes.push_back(*stroke);
  if (comma != std::u16string_view::npos) {
    stroke = ParseKeyStroke(keys.substr(comma + 2));
    if (!stroke) return std::nullopt;
    binding.strokes.push_back(*stroke);
  }
  return binding;
}

std::u16string FormatBinding(const Binding& binding) {
  std::u16string text = binding.scope + u"::";
  for (size_t i = 0; i < binding.strokes.size(); ++i) {
    if (i > 0) text += u", ";
    text += FormatKeyStroke(binding.strokes[i]);
  }
  return text;
}

KeyStroke KeyStrokeOf(KeyCode key) {
  KeyStroke stroke{0, key.flags & (key_mod::kShift | key_mod::kCtrl | key_mod::kAlt)};
  if (key.IsSpecial()) {
    stroke.virtual_key = key.code;
    return stroke;
  }
  const auto c = static_cast<char16_t>(key.code);
  if (c == ch::kBackspace || c == ch::kTab || c == ch::kReturn || c == ch::kEscape || c == u' ') {
    stroke.virtual_key = c;
  } else if (c < 32) {
    // A control character is the key typed with Ctrl: 1 is A, 27 is [, 29 is ], 30 is 6.
    stroke.modifiers |= key_mod::kCtrl;
    if (c == 30) {
      stroke.virtual_key = u'6';
    } else if (c >= 1 && c <= 26) {
      stroke.virtual_key = u'A' + c - 1;
    } else {
      stroke.virtual_key = KeyStrokeOf(KeyCode::Char(static_cast<char16_t>(c + 64))).virtual_key;
    }
  } else if (c >= u'a' && c <= u'z') {
    stroke.virtual_key = c - u'a' + u'A';
  } else if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) {
    stroke.virtual_key = c;
  } else if (const size_t at = kPunctuation.find(c); at != std::u16string_view::npos) {
    stroke.virtual_key = kPunctuationKeys[at];
  } else if (const size_t shifted = kShiftedPunctuation.find(c);
             shifted != std::u16string_view::npos) {
    stroke.virtual_key = kPunctuationKeys[shifted];
    stroke.modifiers |= key_mod::kShift;
  }
  return stroke;
}

}  // namespace tavik::platform
