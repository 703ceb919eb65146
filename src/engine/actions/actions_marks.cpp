// "m" sets a mark; CTRL-O and CTRL-I (Tab) walk the jump list, across documents.
#include <algorithm>

#include "engine/actions/actions.h"
#include "engine/attached_view.h"
#include "engine/state/buffer_marks.h"
#include "engine/state/jump_list.h"
#include "engine/view_engine.h"

namespace tavik::actions {
namespace {

// Goes to a jump-list entry: in this document by moving the caret, in another by opening it.
void GoToEntry(ActionContext& context, const FilePosition& entry) {
  TextView& text = context.text;
  if (entry.file != text.DocumentName()) {
    if (!context.engine.Host().SwitchToDocument(entry.file, entry.pos)) {
      context.engine.Marks().jumps.DropCurrent();
      context.engine.Beep(text);
    }
    return;
  }
  if (entry.pos.line >= text.LineCount()) {
    context.engine.Marks().jumps.DropCurrent();
    context.engine.Beep(text);
    return;
  }
  text.SetCaret(text.ClampPosition(entry.pos.line, entry.pos.column, false, false));
}

}  // namespace

void SetMark(ActionContext& context) {
  context.remaining_count = 0;
  TextView& text = context.text;
  char16_t name = context.argument();
  TextPos caret = text.GetCaret();
  // With LeaveVSMark the host's own bookmark navigation reaches named marks too.
  bool bookmark = context.engine.GetSettings().GetBool(SettingId::kLeaveVSMark);
  if (GlobalMarks::IsGlobalName(name)) {
    context.engine.Marks().global.Set(name, {text.DocumentName(), caret});
    if (bookmark) text.AddBookmark(caret.line);
    return;
  }
  if (text.Marks() == nullptr) return;
  caret.column = std::min(caret.column, text.LineLength(caret.line));
  text.Marks()->Set(name, caret);
  if (bookmark && name >= u'a' && name <= u'z') text.AddBookmark(caret.line);
}

void JumpOlder(ActionContext& context) {
  uint32_t count = context.remaining_count;
  context.remaining_count = 0;
  TextView& text = context.text;
  auto entry = context.engine.Marks().jumps.Older(count, text.DocumentName(), text.GetCaret());
  if (!entry) {
    context.engine.Beep(text);
    return;
  }
  GoToEntry(context, *entry);
}

void JumpNewer(ActionContext& context) {
  uint32_t count = context.remaining_count;
  context.remaining_count = 0;
  auto entry = context.engine.Marks().jumps.Newer(count);
  if (!entry) {
    context.engine.Beep(context.text);
    return;
  }
  GoToEntry(context, *entry);
}

}  // namespace tavik::actions
