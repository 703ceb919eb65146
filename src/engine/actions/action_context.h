// What an action handler receives from the executor, and what it may ask of it in return.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/actions/command_record.h"
#include "engine/insert/block_insert.h"
#include "engine/motions/operated_range.h"
#include "engine/visual_kind.h"

namespace tavik {

class ViewEngine;
class TextView;
struct AttachedView;

enum class EngineMode : uint8_t { kNormal = 0, kInsert = 1, kVisual = 2 };

// A mode an action asks the executor to enter after it ran.
struct ModeRequest {
  bool insert = false;
  uint32_t insert_repeat = 0;
  bool replace = false;
  uint8_t open_line = 0;  // 0 none, 1 a line below, 2 a line above
  bool block_insert = false;
  BlockInsertDescription block;  // with block_insert
  bool visual = false;
  VisualKind visual_kind = VisualKind::kCharacterwise;
  TextPos visual_start;
  TextPos visual_end;
};

struct ActionContext {
  const CommandRecord& record;
  ViewEngine& engine;
  AttachedView& view;
  TextView& text;
  uint32_t remaining_count = 0;  // a handler that uses the count itself sets it to 0
  std::optional<OperatedRange> range;
  uint8_t flags = 0;    // the change-word flag of the motion
  bool replay = false;  // the command is a repeat by "."

  // Outputs.
  ModeRequest mode_request;
  bool caret_placed = false;

  ActionCode code() const { return record.action; }
  char32_t argument() const { return record.action_arg; }
  std::u16string_view text_arg() const { return record.Text(); }
};

using ActionHandler = void (*)(ActionContext& context);

}  // namespace tavik
