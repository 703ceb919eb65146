// The host's automation surface beyond running commands by name: the add-ins the host loaded
// (each with a name and whether it is connected), commands that add-ins provide, events before
// and after any command runs (a handler before may cancel the host's own handling), and the
// text markers add-ins place in buffers with marker types they registered by GUID.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text_pos.h"
#include "platform/command_target.h"

namespace tavik::platform {

enum class CommandResult;

// The GUID text of an editor command group ("{1496A755-...}").
std::string_view CommandGroupGuid(CommandGroup group);
// The group of the host's own named commands ("File.Close" ...); their ids count from 1 in the
// order of the host's command table.
inline constexpr std::string_view kHostCommandsGuid = "{7D2B6A10-3C4E-4F5A-9B81-2E6C0D4A7F13}";

struct AddIn {
  std::u16string name;
  bool connected = false;
};

// A command an add-in provides: run by name like the host's own.
struct AddInCommand {
  std::u16string name;  // "Group.Command"
  std::string group_guid;
  uint32_t id = 0;
  std::function<CommandResult(std::u16string_view argument)> run;
};

class Automation {
 public:
  // Add-ins: loaded into the list (connected or not) and taken out again by the id given.
  uint64_t AddAddIn(AddIn add_in);
  void RemoveAddIn(uint64_t id);
  std::vector<AddIn> AddIns() const;

  // Commands of add-ins; a second command of the same name replaces the first.
  void AddCommand(AddInCommand command);
  void RemoveCommand(std::u16string_view name);
  const AddInCommand* FindCommand(std::u16string_view name) const;

  // Command events: `before` may set its flag to cancel the host's own handling; `after` runs
  // once the command ran (not when it was cancelled). Returns an id for RemoveCommandEvents.
  using BeforeExecute = std::function<void(std::string_view group, uint32_t id, bool& cancel)>;
  using AfterExecute = std::function<void(std::string_view group, uint32_t id)>;
  uint64_t AddCommandEvents(BeforeExecute before, AfterExecute after);
  void RemoveCommandEvents(uint64_t id);
  // Tells every `before` handler; true when one cancelled the command.
  bool BeforeCommand(std::string_view group, uint32_t id);
  void AfterCommand(std::string_view group, uint32_t id);

  // Markers of registered marker types that add-ins place in a document's buffer. They stay
  // where they were put until the add-in clears them.
  void PlaceMarker(uint64_t document, uint32_t marker_type, TextPos start, TextPos end);
  void ClearMarkers(uint64_t document, uint32_t marker_type);
  size_t MarkerCount(uint64_t document, uint32_t marker_type) const;

 private:
  struct Marker {
    uint64_t document;
    uint32_t type;
    TextPos start;
    TextPos end;
  };
  struct Events {
    uint64_t id;
    BeforeExecute before;
    AfterExecute after;
  };
  std::vector<std::pair<uint64_t, AddIn>> add_ins_;
  std::vector<AddInCommand> commands_;
  std::vector<Events> events_;
  std::vector<Marker> markers_;
  uint64_t last_id_ = 0;
};

}  // namespace tavik::platform
