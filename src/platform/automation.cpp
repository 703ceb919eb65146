// The host's add-in list, add-in commands, command events and add-in markers.
#include "platform/automation.h"

#include <algorithm>

namespace tavik::platform {

std::string_view CommandGroupGuid(CommandGroup group) {
  switch (group) {
    case CommandGroup::kStandard2K:
      return "{1496A755-94DE-11D0-8C3F-00C04FC2AAE2}";
    case CommandGroup::kStandard97:
      return "{5EFC7975-14BC-11CF-9B2B-00AA00573819}";
    case CommandGroup::kEditorExtra:
      return "{52692960-56BC-4989-B5D3-94C47A513E8D}";
  }
  return {};
}

uint64_t Automation::AddAddIn(AddIn add_in) {
  add_ins_.emplace_back(++last_id_, std::move(add_in));
  return last_id_;
}

void Automation::RemoveAddIn(uint64_t id) {
  std::erase_if(add_ins_, [id](const auto& entry) { return entry.first == id; });
}

std::vector<AddIn> Automation::AddIns() const {
  std::vector<AddIn> list;
  for (const auto& [id, add_in] : add_ins_) list.push_back(add_in);
  return list;
}

void Automation::AddCommand(AddInCommand command) {
  RemoveCommand(command.name);
  commands_.push_back(std::move(command));
}

void Automation::RemoveCommand(std::u16string_view name) {
  std::erase_if(commands_, [name](const AddInCommand& command) { return command.name == name; });
}

const AddInCommand* Automation::FindCommand(std::u16string_view name) const {
  for (const AddInCommand& command : commands_) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

uint64_t Automation::AddCommandEvents(BeforeExecute before, AfterExecute after) {
  events_.push_back({++last_id_, std::move(before), std::move(after)});
  return last_id_;
}

void Automation::RemoveCommandEvents(uint64_t id) {
  std::erase_if(events_, [id](const Events& events) { return events.id == id; });
}

bool Automation::BeforeCommand(std::string_view group, uint32_t id) {
  if (events_.empty()) return false;
  bool cancel = false;
  // By index: a handler may remove itself or add others.
  for (size_t i = 0; i < events_.size(); ++i) {
    const BeforeExecute before = events_[i].before;
    if (before) before(group, id, cancel);
  }
  return cancel;
}

void Automation::AfterCommand(std::string_view group, uint32_t id) {
  if (events_.empty()) return;
  for (size_t i = 0; i < events_.size(); ++i) {
    const AfterExecute after = events_[i].after;
    if (after) after(group, id);
  }
}

void Automation::PlaceMarker(uint64_t document, uint32_t marker_type, TextPos start, TextPos end) {
  markers_.push_back({document, marker_type, start, end});
}

void Automation::ClearMarkers(uint64_t document, uint32_t marker_type) {
  std::erase_if(markers_, [&](const Marker& marker) {
    return marker.document == document && marker.type == marker_type;
  });
}

size_t Automation::MarkerCount(uint64_t document, uint32_t marker_type) const {
  return static_cast<size_t>(std::count_if(markers_.begin(), markers_.end(), [&](const Marker& m) {
    return m.document == document && m.type == marker_type;
  }));
}

}  // namespace tavik::platform
