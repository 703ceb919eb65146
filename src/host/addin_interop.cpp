// Finding the other add-ins the package works with.
#include "host/addin_interop.h"

#include "common/ascii_case.h"

#include <algorithm>

namespace tavik::host {

bool IsSpecialLanguage(std::u16string_view language) {
  return std::ranges::find(kSpecialLanguages, language) != kSpecialLanguages.end();
}

void AddInInterop::Detect() {
  if (detected_) return;
  detected_ = true;
  platform::Automation& automation = editor_.automation();
  for (const platform::AddIn& add_in : automation.AddIns()) {
    if (add_in.connected && EqualIgnoringAsciiCase(add_in.name, kEscapeAddInName))
      escape_add_in_ = true;
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
           EqualIgnoringAsciiCase(std::string_view(group), std::string_view(command.group));
  });
}

bool AddInInterop::RenameInProgress(const platform::Document& document) const {
  return rename_add_in_ && rename_marker_type_ != 0 &&
         editor_.automation().MarkerCount(document.id, rename_marker_type_) > 0;
}

}  // namespace tavik::host
