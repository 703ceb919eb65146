// Editor commands routed through a view's command-filter chain: each command is a group and an
// id; every target in the chain may report a command's status, carry it out, or pass it on to
// the next target. The view's own editor is the last target.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/hresult.h"

namespace tavik::platform {

// Command groups, named by the identifiers the editor publishes them under.
enum class CommandGroup : uint8_t {
  kStandard2K,   // {1496A755-94DE-11D0-8C3F-00C04FC2AAE2}: the text editor's commands
  kStandard97,   // {5EFC7975-14BC-11CF-9B2B-00AA00573819}: the general commands
  kEditorExtra,  // {52692960-56BC-4989-B5D3-94C47A513E8D}: the host's own editor command set
};

struct EditorCommand {
  CommandGroup group = CommandGroup::kStandard2K;
  uint32_t id = 0;
  char16_t typed = 0;  // the character of a TypeChar command
  friend bool operator==(const EditorCommand&, const EditorCommand&) = default;
};

// Standard text editor command ids.
namespace cmd2k {
inline constexpr uint32_t kTypeChar = 1;
inline constexpr uint32_t kBackspace = 2;
inline constexpr uint32_t kReturn = 3;
inline constexpr uint32_t kTab = 4;
inline constexpr uint32_t kBackTab = 5;
inline constexpr uint32_t kDelete = 6;
inline constexpr uint32_t kLeft = 7;
inline constexpr uint32_t kRight = 9;
inline constexpr uint32_t kUp = 11;
inline constexpr uint32_t kDown = 13;
inline constexpr uint32_t kDocumentStart = 15;
inline constexpr uint32_t kDocumentEnd = 17;
inline constexpr uint32_t kHome = 19;
inline constexpr uint32_t kEnd = 23;
inline constexpr uint32_t kPageUp = 27;
inline constexpr uint32_t kPageDown = 29;
inline constexpr uint32_t kScrollUp = 35;
inline constexpr uint32_t kScrollDown = 36;
inline constexpr uint32_t kToggleOvertype = 57;
inline constexpr uint32_t kWordPrevious = 93;
inline constexpr uint32_t kWordNext = 96;
inline constexpr uint32_t kCancel = 103;
inline constexpr uint32_t kIncrementalSearch = 122;
inline constexpr uint32_t kSecondModalInput = 1561;
// The same movements extending the selection, and the rest of the movement family.
inline constexpr uint32_t kLeftExtend = 8;
inline constexpr uint32_t kRightExtend = 10;
inline constexpr uint32_t kUpExtend = 12;
inline constexpr uint32_t kDownExtend = 14;
inline constexpr uint32_t kDocumentStartExtend = 16;
inline constexpr uint32_t kDocumentEndExtend = 18;
inline constexpr uint32_t kHomeExtend = 20;
inline constexpr uint32_t kFirstChar = 21;
inline constexpr uint32_t kFirstCharExtend = 22;
inline constexpr uint32_t kEndExtend = 24;
inline constexpr uint32_t kLastChar = 25;
inline constexpr uint32_t kLastCharExtend = 26;
inline constexpr uint32_t kPageUpExtend = 28;
inline constexpr uint32_t kPageDownExtend = 30;
inline constexpr uint32_t kTopLine = 31;
inline constexpr uint32_t kTopLineExtend = 32;
inline constexpr uint32_t kBottomLine = 33;
inline constexpr uint32_t kBottomLineExtend = 34;
inline constexpr uint32_t kWordPreviousExtend = 94;
inline constexpr uint32_t kWordNextExtend = 97;
}  // namespace cmd2k

// General command ids.
namespace cmd97 {
inline constexpr uint32_t kDelete = 17;
}  // namespace cmd97

// Ids of the host's own editor command set.
namespace cmd_extra {
inline constexpr uint32_t kCtrlU = 4;  // a command of the host's own bound to Ctrl+U
}  // namespace cmd_extra

enum class CommandStatus : uint8_t {
  kSupported,    // enabled and handled by some target
  kUnsupported,  // no target in the chain handles it
};

class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  virtual CommandStatus QueryStatus(const EditorCommand& command) = 0;
  virtual HResult Exec(const EditorCommand& command) = 0;
};

}  // namespace tavik::platform
