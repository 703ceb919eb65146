// Mark jumps: buffer marks, global marks (which may live in another document) and the
// previous-context position reached through the backtick and quote names themselves.
#include "engine/motions/motions.h"

#include <optional>

#include "common/char_class.h"
#include "engine/state/buffer_marks.h"
#include "engine/state/jump_list.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"

namespace tavik::motions {
namespace {

void JumpToMark(MotionContext& context, MotionResult& result, bool exact) {
  context.jump = true;
  context.remaining_count = 0;
  TextView& view = context.view;
  char16_t name = context.args.modifier;
  std::optional<TextPos> target;
  if (name == u'`' || name == u'\'') {
    if (context.marks != nullptr) target = context.marks->jumps.PreviousContext();
  } else if (GlobalMarks::IsGlobalName(name)) {
    std::optional<FilePosition> mark =
        context.marks != nullptr ? context.marks->global.Get(name) : std::nullopt;
    if (mark && mark->file != view.DocumentName()) {
      // The mark is in another document: the executor opens it there.
      result.failed = true;
      result.no_beep = true;
      context.jump_even_if_failed = true;
      result.open_file = mark->file;
      result.open_pos = mark->pos;
      return;
    }
    if (mark) target = mark->pos;
  } else if (view.Marks() != nullptr) {
    target = view.Marks()->Get(name);
  }
  if (!target) {
    result.failed = true;
    return;
  }
  TextPos pos = view.ClampPosition(target->line, target->column, true, false);
  if (exact) {
    result.target = pos;
    result.kind = MotionKind::kExclusive;
  } else {
    result.target = FirstNonBlankPos(view, pos.line);
    result.kind = MotionKind::kLinewise;
  }
}

}  // namespace

void MarkExact(MotionContext& context, MotionResult& result) {
  JumpToMark(context, result, true);
}

void MarkLine(MotionContext& context, MotionResult& result) {
  JumpToMark(context, result, false);
}

}  // namespace tavik::motions
