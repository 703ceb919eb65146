// Finding the other add-ins the package works with.
#include "host/addin_interop.h"

#include <algorithm>

namespace tavik::host {

namespace {

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return std::ranges::equal(a, b, [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

}  // namespace

bool IsSpecialLanguage(std::u16string_view language) {
  return std::ranges::find(kSpecialLanguages, language) != kSpecialLanguages.end();
}

void AddInInterop::Detect() {
  if (detected_) return;
  detected_ = true;
  platform::Automation& automation = editor_.automation();
  for (const platform::AddIn& add_in : automation.AddIns()) {
    if (add_in.connected && SameIgnoringCase(add_in.name, kEscapeAddInName)) escape_add_in_ = true;
  }
  for (std::u16string_view name : kRenameCommands) {
    if (const platform::AddInCommand* command = automation.FindCommand(name)) {
      rename_commands_.push_back({command->group_guid, command->id});
    }
  }
  rename_marker_type_ = editor_.colours().RegisteredMarkerTypeId(kRenameMarkerGuid);
  rename_add_in_ = !rename_commands_.empty() || rename_marker_type_ != 0;
}

bool AddInInterop::IsRenameCommand(std::string_view group, uint32_t id) const {
  return std::ranges::any_of(rename_commands_, [&](const FoundCommand& command) {
    return command.id == id &&
           SameIgnoringCase(std::u16string(group.begin(), group.end()),
                            std::u16string(command.group.begin(), command.group.end()));
  });
}

bool AddInInterop::RenameInProgress(const platform::Document& document) const {
  return rename_add_in_ && rename_marker_type_ != 0 &&
         editor_.automation().MarkerCount(document.id, rename_marker_type_) > 0;
}

}  // namespace tavik::host
