// The text manager's user preferences, kept per language as an IDE keeps them: a document's
// language comes from its file's extension, and each language has its own tab and indent
// sizes, tabs or spaces, line numbers, visible whitespace and word wrap. Changes persist in the
// registry and are announced to listeners.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::platform {

class RegistryStore;

struct LanguagePreferences {
  uint32_t tab_size = 4;
  uint32_t indent_size = 4;
  bool insert_tabs = false;
  bool line_numbers = false;
  bool visible_whitespace = false;
  bool word_wrap = false;
  friend bool operator==(const LanguagePreferences&, const LanguagePreferences&) = default;
};

// The language of a file by its extension or name ("C/C++", "Makefile", "Plain Text", ...).
std::u16string LanguageOfPath(std::string_view path);
// What a language starts with before the user changed anything.
LanguagePreferences DefaultPreferences(std::u16string_view language);

class PreferenceStore {
 public:
  using Listener = std::function<void(std::u16string_view language)>;

  PreferenceStore();

  // Reads the saved preferences and writes every later change under `key`. Calling it again
  // (after the registry was loaded, say) reads them anew; listeners hear of languages that
  // changed.
  void Persist(RegistryStore* registry, std::string key);

  const LanguagePreferences& For(std::u16string_view language) const;
  // Stores the language's preferences, persists them and tells every listener when they
  // differ from the stored ones; false when the registry refused the write (nothing changes
  // then).
  bool Set(std::u16string_view language, const LanguagePreferences& preferences);
  // Every language the store knows, in a stable order.
  std::vector<std::u16string> Languages() const;

  uint64_t AddListener(Listener listener);
  void RemoveListener(uint64_t id);

 private:
  void Notify(std::u16string_view language);
  std::string KeyOf(std::u16string_view language) const;
  LanguagePreferences Read(std::u16string_view language, const LanguagePreferences& base) const;

  std::vector<std::pair<std::u16string, LanguagePreferences>> languages_;
  std::vector<std::pair<uint64_t, Listener>> listeners_;
  uint64_t last_listener_ = 0;
  RegistryStore* registry_ = nullptr;
  std::string key_;
};

}  // namespace tavik::platform
