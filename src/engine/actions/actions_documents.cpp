// CTRL-^, gt and gT: switching between the documents of the buffer list.
#include "engine/actions/actions.h"
#include "engine/attached_view.h"
#include "engine/state/buffer_list.h"
#include "engine/state/document_switch.h"
#include "engine/view_engine.h"

namespace tavik::actions {

void AlternateDocument(ActionContext& context) {
  const uint32_t count = context.remaining_count;
  context.remaining_count = 0;
  TextView& text = context.text;
  const BufferList& list = context.engine.State().buffers;
  if (list.Size() == 0 || count > list.Size()) {
    context.engine.Beep(text);
    return;
  }
  // Without a count: the document used before the current one.
  const size_t target = count >= 1 ? count - 1 : *list.Alternate();
  const BufferEntry entry = list.Entry(target);
  context.engine.Marks().jumps.Record(text.DocumentName(), text.GetCaret(), true);
  if (!SwitchToDocument(context.engine, text, entry.name, entry.caret, false, false)) {
    context.engine.Beep(text);
  }
}

void NextDocument(ActionContext& context) {
  const uint32_t count = context.remaining_count;
  context.remaining_count = 0;
  context.engine.Marks().jumps.Record(context.text.DocumentName(), context.text.GetCaret(), true);
  StepThroughDocuments(context.engine, context.text, true, count);
}

void PreviousDocument(ActionContext& context) {
  const uint32_t count = context.remaining_count;
  context.remaining_count = 0;
  context.engine.Marks().jumps.Record(context.text.DocumentName(), context.text.GetCaret(), true);
  StepThroughDocuments(context.engine, context.text, false, count);
}

}  // namespace tavik::actions
