// Scanning, removing and restoring clashing host key bindings.
#include "host/keyboard_clashes.h"

#include <filesystem>

#include "platform/keyboard_scheme.h"
#include "platform/utf8_codec.h"

namespace tavik::host {

bool InClashScope(std::u16string_view binding) {
  for (std::u16string_view scope : kClashScopes) {
    if (binding.starts_with(scope)) return true;
  }
  return false;
}

bool FirstKeystrokeClashes(std::u16string_view binding, std::u16string_view keys) {
  for (std::u16string_view modifier :
       {std::u16string_view(u":Ctrl+"), std::u16string_view(u":Strg+")}) {
    for (size_t at = binding.find(modifier); at != std::u16string_view::npos;
         at = binding.find(modifier, at + 1)) {
      const size_t key = at + modifier.size();
      if (key >= binding.size()) continue;
      const size_t after = key + 1;
      if (after != binding.size() && binding[after] != u',') continue;
      if (keys.find(binding[key]) != std::u16string_view::npos) return true;
    }
  }
  return false;
}

std::u16string ClashManager::SchemePath() const {
  const std::filesystem::path folder = platform::ApplicationDataFolder();
  return platform::FromUtf8((folder / "tavik" / "Host" / host_version_ / "Tavik.vsk").string());
}

void ClashManager::EnsureCustomScheme() {
  if (!host_is_version7_) return;
  const std::u16string path = SchemePath();
  const std::optional<std::u16string> scheme = commands_.Scheme();
  // A host whose keyboard properties cannot be read keeps its scheme.
  if (!scheme || *scheme == path) return;
  commands_.SetScheme(path);
}

ClashList ClashManager::Scan(std::u16string_view keys) const {
  ClashList clashes;
  const size_t count = commands_.Count();
  for (size_t i = 1; i <= count; ++i) {
    const std::optional<std::vector<std::u16string>> bindings = commands_.Bindings(i);
    if (!bindings) continue;
    bool clashes_here = false;
    for (const std::u16string& binding : *bindings) {
      if (InClashScope(binding) && FirstKeystrokeClashes(binding, keys)) {
        clashes_here = true;
        break;
      }
    }
    if (!clashes_here) continue;
    std::u16string name = commands_.Name(i);
    if (name.empty()) name = platform::FromUtf8(std::to_string(i));
    clashes.push_back({std::move(name), *bindings});
  }
  return clashes;
}

std::optional<size_t> ClashManager::Find(const ClashRecord& record) const {
  const size_t count = commands_.Count();
  if (NamesByIndex(record)) {
    size_t index = 0;
    for (char16_t c : record.command) {
      if (c < u'0' || c > u'9' || index > count) return std::nullopt;
      index = index * 10 + (c - u'0');
    }
    if (index == 0 || index > count) return std::nullopt;
    return index;
  }
  for (size_t i = 1; i <= count; ++i) {
    if (commands_.Name(i) == record.command) return i;
  }
  return std::nullopt;
}

void ClashManager::Remove(const ClashList& clashes) {
  for (const ClashRecord& record : clashes) {
    // A refusal is skipped: the next record may still go.
    if (const std::optional<size_t> index = Find(record)) commands_.SetBindings(*index, {});
  }
}

void ClashManager::Restore(const ClashList& clashes) {
  EnsureCustomScheme();
  for (const ClashRecord& record : clashes) {
    if (const std::optional<size_t> index = Find(record)) {
      commands_.SetBindings(*index, record.bindings);
    }
  }
}

}  // namespace tavik::host
