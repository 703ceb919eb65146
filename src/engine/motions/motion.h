// The input and output of every motion: cursor motions, text objects, mark jumps and searches
// all compute a MotionResult from the cursor; only actions change text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/text_pos.h"
#include "engine/actions/command_record.h"
#include "engine/visual_kind.h"

namespace tavik {

class TextView;
struct ViewState;
struct EngineMarks;
class SearchState;

enum class MotionKind : uint8_t { kInclusive = 0, kExclusive = 1, kLinewise = 2, kBlockwise = 3 };

struct MotionArgs {
  MotionCode code = 0;
  uint32_t count = 0;     // 0 when no count was typed
  char32_t modifier = 0;  // the character after f/F/t/T, or 'g' for the g-prefixed forms
  std::u16string_view pattern;
  bool change_word = false;  // the pending operator is c and the cursor is on a non-blank
  int32_t line_delta = 0;    // extent of the last visual selection, for repeating it
  int32_t column_delta = 0;
  bool visual_active = false;
  VisualKind visual_kind = VisualKind::kCharacterwise;
};

struct MotionResult {
  TextPos start;
  TextPos anchor;
  TextPos target;
  ViewPos view_target;
  bool has_view_target = false;
  MotionKind kind = MotionKind::kExclusive;
  bool line_changed = false;
  bool keep_desired_column = false;
  bool want_end_of_line = false;
  bool failed = false;
  bool no_beep = false;
  bool explicit_start = false;
  bool to_linewise_visual = false;
  bool to_characterwise_visual = false;
  bool use_view_target = false;
  bool show_search_message = false;
  // A jump into another document (a global mark there): the motion fails and the executor opens
  // this file at this position instead.
  std::u16string open_file;
  TextPos open_pos;
};

struct MotionContext {
  const MotionArgs& args;
  TextView& view;
  ViewState& state;
  EngineMarks* marks = nullptr;   // global marks and the jump list; null in isolated tests
  SearchState* search = nullptr;  // the engine's last search; null in isolated tests
  uint32_t remaining_count = 0;   // a handler that uses the count itself sets it to 0
  bool last_iteration = true;
  bool jump = false;
  bool add_position = true;
  bool jump_even_if_failed = false;
};

using MotionHandler = void (*)(MotionContext& context, MotionResult& result);

// Runs the motion `args.code` from `start`; `anchor` is the other end of a visual selection.
// A jump motion records its start in the jump list of `marks`.
MotionResult RunMotion(const MotionArgs& args, TextView& view, ViewState& state, TextPos start,
                       TextPos anchor, EngineMarks* marks = nullptr, SearchState* search = nullptr);

}  // namespace tavik
