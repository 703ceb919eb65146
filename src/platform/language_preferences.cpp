// Per-language editor preferences and the language of a file.
#include "platform/language_preferences.h"

#include "common/ascii_case.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/registry_store.h"
#include "platform/utf8_codec.h"

namespace tavik::platform {

namespace {

constexpr std::u16string_view kPlainText = u"Plain Text";

// Each language with what it starts with: most indent by four spaces; make insists on tabs.
struct LanguageDefaults {
  std::u16string_view language;
  LanguagePreferences preferences;
};
constexpr LanguagePreferences Spaces(uint32_t tab, uint32_t indent) {
  return LanguagePreferences{.tab_size = tab, .indent_size = indent};
}
constexpr LanguagePreferences Tabs(uint32_t size) {
  return LanguagePreferences{.tab_size = size, .indent_size = size, .insert_tabs = true};
}
constexpr std::array kLanguages = {
    LanguageDefaults{kPlainText, Spaces(8, 4)},    LanguageDefaults{u"C/C++", Spaces(4, 4)},
    LanguageDefaults{u"C#", Spaces(4, 4)},         LanguageDefaults{u"Python", Spaces(4, 4)},
    LanguageDefaults{u"JavaScript", Spaces(4, 4)}, LanguageDefaults{u"TypeScript", Spaces(4, 4)},
    LanguageDefaults{u"Makefile", Tabs(8)},        LanguageDefaults{u"Go", Tabs(4)},
    LanguageDefaults{u"Rust", Spaces(4, 4)},       LanguageDefaults{u"Shell", Spaces(4, 4)},
    LanguageDefaults{u"CMake", Spaces(2, 2)},      LanguageDefaults{u"Markdown", Spaces(4, 4)},
    LanguageDefaults{u"JSON", Spaces(2, 2)},       LanguageDefaults{u"XML", Spaces(2, 2)},
    LanguageDefaults{u"HTML", Spaces(4, 4)},       LanguageDefaults{u"SQL", Spaces(4, 4)},
};

// Whole file names come first, then extensions (compared without regard to case).
struct NameRule {
  std::string_view name;
  std::u16string_view language;
};
constexpr NameRule kFileNames[] = {
    {"Makefile", u"Makefile"},
    {"makefile", u"Makefile"},
    {"GNUmakefile", u"Makefile"},
    {"CMakeLists.txt", u"CMake"},
};
constexpr NameRule kExtensions[] = {
    {"c", u"C/C++"},        {"h", u"C/C++"},
    {"cc", u"C/C++"},       {"cpp", u"C/C++"},
    {"cxx", u"C/C++"},      {"hh", u"C/C++"},
    {"hpp", u"C/C++"},      {"hxx", u"C/C++"},
    {"inl", u"C/C++"},      {"cs", u"C#"},
    {"py", u"Python"},      {"pyw", u"Python"},
    {"js", u"JavaScript"},  {"mjs", u"JavaScript"},
    {"cjs", u"JavaScript"}, {"jsx", u"JavaScript"},
    {"ts", u"TypeScript"},  {"tsx", u"TypeScript"},
    {"mk", u"Makefile"},    {"mak", u"Makefile"},
    {"go", u"Go"},          {"rs", u"Rust"},
    {"sh", u"Shell"},       {"bash", u"Shell"},
    {"zsh", u"Shell"},      {"cmake", u"CMake"},
    {"md", u"Markdown"},    {"markdown", u"Markdown"},
    {"json", u"JSON"},      {"xml", u"XML"},
    {"xaml", u"XML"},       {"xsd", u"XML"},
    {"csproj", u"XML"},     {"vcxproj", u"XML"},
    {"props", u"XML"},      {"targets", u"XML"},
    {"html", u"HTML"},      {"htm", u"HTML"},
    {"sql", u"SQL"},        {"txt", kPlainText},
};

// Registry value names, as the IDE names them.
constexpr const char* kTabSize = "Tab Size";
constexpr const char* kIndentSize = "Indent Size";
constexpr const char* kInsertTabs = "Insert Tabs";
constexpr const char* kLineNumbers = "Line Numbers";
constexpr const char* kVisibleWhitespace = "Visible Whitespace";
constexpr const char* kWordWrap = "Word Wrap";
// Sizes beyond this are taken for damage and ignored.
constexpr uint32_t kLargestSize = 64;

}  // namespace

std::u16string LanguageOfPath(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  for (const NameRule& rule : kFileNames) {
    if (name == rule.name) return std::u16string(rule.language);
  }
  const size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) {
    const std::string_view extension = name.substr(dot + 1);
    for (const NameRule& rule : kExtensions) {
      if (EqualIgnoringAsciiCase(extension, rule.name)) return std::u16string(rule.language);
    }
  }
  return std::u16string(kPlainText);
}

LanguagePreferences DefaultPreferences(std::u16string_view language) {
  for (const LanguageDefaults& entry : kLanguages) {
    if (entry.language == language) return entry.preferences;
  }
  return kLanguages.front().preferences;
}

PreferenceStore::PreferenceStore() {
  for (const LanguageDefaults& entry : kLanguages)
    languages_.emplace_back(std::u16string(entry.language), entry.preferences);
}

std::string PreferenceStore::KeyOf(std::u16string_view language) const {
  return key_ + "\\" + ToUtf8(language);
}

LanguagePreferences PreferenceStore::Read(std::u16string_view language,
                                          const LanguagePreferences& base) const {
  LanguagePreferences read = base;
  const std::string key = KeyOf(language);
  auto size = [&](const char* name, uint32_t& field) {
    const std::optional<uint32_t> value = registry_->Dword(key, name);
    if (value && *value >= 1 && *value <= kLargestSize) field = *value;
  };
  auto flag = [&](const char* name, bool& field) {
    if (const std::optional<uint32_t> value = registry_->Dword(key, name)) field = *value != 0;
  };
  size(kTabSize, read.tab_size);
  size(kIndentSize, read.indent_size);
  flag(kInsertTabs, read.insert_tabs);
  flag(kLineNumbers, read.line_numbers);
  flag(kVisibleWhitespace, read.visible_whitespace);
  flag(kWordWrap, read.word_wrap);
  return read;
}

void PreferenceStore::Persist(RegistryStore* registry, std::string key) {
  registry_ = registry;
  key_ = std::move(key);
  if (registry_ == nullptr) return;
  for (auto& [language, preferences] : languages_) {
    const LanguagePreferences read = Read(language, DefaultPreferences(language));
    if (read == preferences) continue;
    preferences = read;
    Notify(language);
  }
}

const LanguagePreferences& PreferenceStore::For(std::u16string_view language) const {
  for (const auto& [name, preferences] : languages_) {
    if (name == language) return preferences;
  }
  return languages_.front().second;
}

bool PreferenceStore::Set(std::u16string_view language, const LanguagePreferences& preferences) {
  auto it =
      std::ranges::find_if(languages_, [&](const auto& entry) { return entry.first == language; });
  if (it != languages_.end() && it->second == preferences) return true;
  if (registry_ != nullptr) {
    // All six values or none: a registry that cannot be written changes nothing.
    const std::string key = KeyOf(language);
    RegistryStore::Changes changes;
    changes.SetDword(key, kTabSize, preferences.tab_size);
    changes.SetDword(key, kIndentSize, preferences.indent_size);
    changes.SetDword(key, kInsertTabs, preferences.insert_tabs ? 1 : 0);
    changes.SetDword(key, kLineNumbers, preferences.line_numbers ? 1 : 0);
    changes.SetDword(key, kVisibleWhitespace, preferences.visible_whitespace ? 1 : 0);
    changes.SetDword(key, kWordWrap, preferences.word_wrap ? 1 : 0);
    if (!registry_->Commit(changes)) return false;
  }
  if (it != languages_.end()) {
    it->second = preferences;
  } else {
    languages_.emplace_back(std::u16string(language), preferences);
  }
  Notify(language);
  return true;
}

void PreferenceStore::Notify(std::u16string_view language) {
  // A listener may add or remove listeners: walk a copy.
  const auto listeners = listeners_;
  const std::u16string name(language);
  for (const auto& [id, listener] : listeners) listener(name);
}

std::vector<std::u16string> PreferenceStore::Languages() const {
  std::vector<std::u16string> names;
  for (const auto& [name, preferences] : languages_) names.push_back(name);
  return names;
}

uint64_t PreferenceStore::AddListener(Listener listener) {
  listeners_.emplace_back(++last_listener_, std::move(listener));
  return last_listener_;
}

void PreferenceStore::RemoveListener(uint64_t id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

}  // namespace tavik::platform
