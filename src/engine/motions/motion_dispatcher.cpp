// The motion dispatcher: looks a motion code up in the motion table and runs its handler with
// the count. A code without a handler leaves the cursor where it is.
#include <array>

#include "engine/motions/motion.h"
#include "engine/motions/motion_table.h"
#include "engine/state/jump_list.h"
#include "engine/text/text_view.h"

namespace tavik {

MotionResult RunMotion(const MotionArgs& args, TextView& view, ViewState& state, TextPos start,
                       TextPos anchor, EngineMarks* marks, SearchState* search) {
  MotionResult result;
  result.start = start;
  result.target = start;
  result.anchor = anchor;
  result.view_target = view.BufferToView(start);
  result.kind = MotionKind::kExclusive;

  MotionHandler handler = MotionHandlerFor(args.code);
  MotionContext context{args, view, state, marks, search};
  context.remaining_count = args.count;
  if (handler != nullptr) {
    for (;;) {
      context.last_iteration = context.remaining_count <= 1;
      handler(context, result);
      if (context.remaining_count != 0) --context.remaining_count;
      if (result.failed || context.remaining_count == 0) break;
    }
  }
  if (marks != nullptr && context.jump && (!result.failed || context.jump_even_if_failed)) {
    marks->jumps.Record(view.DocumentName(), start, context.add_position);
  }
  return result;
}

}  // namespace tavik
