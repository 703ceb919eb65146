// Writing and reading the removed key bindings as text.
#include "host/removed_key_set.h"

namespace tavik::host {

namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
constexpr std::u16string_view kJoin = u"||";

}  // namespace

std::u16string WriteRemovedKeySet(const ClashList& clashes) {
  std::u16string text;
  for (const ClashRecord& record : clashes) {
    if (!text.empty()) text += kLineBreak;
    text += record.command;
    text += u'=';
    for (size_t i = 0; i < record.bindings.size(); ++i) {
      if (i != 0) text += kJoin;
      text += record.bindings[i];
    }
  }
  return text;
}

ClashList ParseRemovedKeySet(std::u16string_view text) {
  ClashList clashes;
  while (!text.empty()) {
    // Lines end at LF; the CR before it goes, so a hand-edited value with bare LFs reads too.
    const size_t end = text.find(u'\n');
    std::u16string_view line = text.substr(0, end);
    text = end == std::u16string_view::npos ? std::u16string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    const size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos || equals == 0) continue;
    ClashRecord record;
    record.command = std::u16string(line.substr(0, equals));
    std::u16string_view rest = line.substr(equals + 1);
    while (!rest.empty()) {
      const size_t join = rest.find(kJoin);
      const std::u16string_view binding = rest.substr(0, join);
      if (!binding.empty()) record.bindings.emplace_back(binding);
      rest = join == std::u16string_view::npos ? std::u16string_view() : rest.substr(join + 2);
    }
    clashes.push_back(std::move(record));
  }
  return clashes;
}

bool NamesByIndex(const ClashRecord& record) {
  return !record.command.empty() && record.command.front() >= u'0' &&
         record.command.front() <= u'9';
}

}  // namespace tavik::host
