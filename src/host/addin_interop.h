// What the package knows of other add-ins: whether the add-in that takes Escape for its own
// lists is connected, whether an add-in with an in-place rename is there (its rename commands
// and the marker type it puts on the name being renamed), found once when first needed; and
// which languages are edited in the special editors that send navigation keys only as editor
// commands.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/editor_host.h"

namespace tavik::host {

// The add-in whose lists close on Escape, by its name in the host's add-in list.
inline constexpr std::u16string_view kEscapeAddInName = u"Visual Assist X";
// The commands of the add-in whose in-place rename suspends the engine.
inline constexpr std::array<std::u16string_view, 7> kRenameCommands = {
    u"Resharper.Rename",          u"ResharperAddIn2003.Rename", u"ResharperAddIn2005.Rename",
    u"ResharperAddIn25.Rename",   u"ResharperAddIn25.QuickFix", u"Resharper.RefactorThisRename",
    u"Resharper.Resharper_Rename"};
// The marker type of the name being renamed.
inline constexpr std::string_view kRenameMarkerGuid = "{D2E2AC59-C532-4447-8619-FAF7CA81AF39}";
// Languages of the special editors of the database-edition host.
inline constexpr std::array<std::u16string_view, 1> kSpecialLanguages = {u"SQL"};

bool IsSpecialLanguage(std::u16string_view language);

class AddInInterop {
 public:
  explicit AddInInterop(platform::EditorHost& editor) : editor_(editor) {}

  // Looks at the host's add-ins, commands and marker types; only the first call does.
  void Detect();
  bool Detected() const { return detected_; }

  bool EscapeAddInConnected() const { return escape_add_in_; }
  bool RenameAddInPresent() const { return rename_add_in_; }
  uint32_t RenameMarkerType() const { return rename_marker_type_; }
  // One of the rename add-in's commands found by Detect.
  bool IsRenameCommand(std::string_view group, uint32_t id) const;
  // A rename is in progress in the document: its buffer holds a rename marker.
  bool RenameInProgress(const platform::Document& document) const;

 private:
  struct FoundCommand {
    std::string group;
    uint32_t id;
  };
  platform::EditorHost& editor_;
  bool detected_ = false;
  bool escape_add_in_ = false;
  bool rename_add_in_ = false;
  uint32_t rename_marker_type_ = 0;
  std::vector<FoundCommand> rename_commands_;
};

}  // namespace tavik::host
