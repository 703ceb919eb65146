// The buffer list kept from the key path, and document switches through the host.
#include "engine/state/document_switch.h"

#include <algorithm>
#include <string>

#include "engine/attached_view.h"
#include "engine/state/buffer_list.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik {

void TrackDocumentBeforeKey(ViewEngine& engine, AttachedView& view) {
  TextView& text = view.text;
  if (!text.IsAttached()) return;
  BufferList& list = engine.State().buffers;
  const std::u16string& name = text.DocumentName();
  if (list.has_current && SameDocumentName(name, list.current_name) && list.Find(name)) return;
  const TextPos caret = text.GetCaret();
  if (list.has_current) engine.Marks().jumps.Record(list.current_name, list.current_caret, true);
  list.has_current = true;
  list.current_name = name;
  list.current_caret = caret;
  list.Touch(name, caret);
  engine.Parser().ResetParser(engine.Mode() == EngineMode::kVisual);
  engine.State().desired_column = text.VirtualColumn(caret.line, caret.column);
}

void TrackDocumentAfterKey(ViewEngine& engine, AttachedView& view) {
  TextView& text = view.text;
  if (!text.IsAttached()) return;
  BufferList& list = engine.State().buffers;
  const std::u16string& name = text.DocumentName();
  // Another document is taken up by the next key's check.
  if (!list.has_current || !SameDocumentName(name, list.current_name)) return;
  list.current_caret = text.GetCaret();
  list.Touch(name, list.current_caret);
}

bool SwitchToDocument(ViewEngine& engine, TextView& current, std::u16string_view name,
                      TextPos caret, bool display_column, bool force) {
  if (!force && current.IsAttached() && SameDocumentName(name, current.DocumentName())) {
    return true;
  }
  if (name.empty() || name.size() > kMaxSwitchName) return false;
  std::u16string command = u"File.OpenFile \"";
  command += name;
  command += u'"';
  if (!Succeeded(current.ExecuteHostCommand(command))) return false;
  AttachedView* focused = engine.Host().FocusedView();
  if (focused == nullptr || !focused->text.IsAttached()) return true;
  TextView& text = focused->text;
  text.RefreshFromHost(true);
  const uint32_t line = std::min(caret.line, text.LineCount() - 1);
  uint32_t column = caret.column;
  if (display_column && column != kEndOfLineColumn) {
    column = text.ColumnOfVirtual(line, column, false);
  }
  text.SetCaret(text.ClampPosition(line, column, false, false));
  return true;
}

bool StepThroughDocuments(ViewEngine& engine, TextView& current, bool forward, uint32_t count) {
  BufferList& list = engine.State().buffers;
  if (!list.has_current) return false;
  const std::optional<size_t> here = list.Find(list.current_name);
  if (!here) return false;
  const size_t n = list.Size();
  const size_t step = std::max<uint32_t>(count, 1) % n;
  size_t i = forward ? (*here + step) % n : (*here + n - step) % n;
  for (; i != *here; i = forward ? (i + 1) % n : (i + n - 1) % n) {
    const BufferEntry entry = list.Entry(i);  // a copy: the switch may change the list
    if (SwitchToDocument(engine, current, entry.name, entry.caret, false, false)) return true;
  }
  return false;
}

}  // namespace tavik
