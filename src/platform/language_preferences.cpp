// Per-language editor preferences and the language of a file.
#include "platform/language_preferences.h"

#include "platform/registry_store.h"

namespace tavik::platform {

std::u16string LanguageOfPath(std::string_view) {
  return u"Plain Text";
}

PreferenceStore::PreferenceStore() {
  languages_.emplace_back(u"Plain Text", LanguagePreferences{});
}

void PreferenceStore::Persist(RegistryStore* registry, std::string key) {
  registry_ = registry;
  key_ = std::move(key);
}

const LanguagePreferences& PreferenceStore::For(std::u16string_view language) const {
  for (const auto& [name, preferences] : languages_) {
    if (name == language) return preferences;
  }
  return languages_.front().second;
}

bool PreferenceStore::Set(std::u16string_view language, const LanguagePreferences& preferences) {
  for (auto& [name, stored] : languages_) {
    if (name == language) {
      stored = preferences;
      for (const auto& [id, listener] : listeners_) listener(language);
      return true;
    }
  }
  languages_.emplace_back(std::u16string(language), preferences);
  for (const auto& [id, listener] : listeners_) listener(language);
  return true;
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
