// Pasted text, which the user meant as text whatever mode the engine is in.
#include "engine/state/document_switch.h"
#include "engine/view_engine.h"

namespace tavik {

bool ViewEngine::PasteText(AttachedView& view, std::u16string_view text) {
  if (!enabled_ || !view.text.IsAttached()) return false;
  view.text.RefreshFromHost(false, settings_.UseVSSel());
  CheckDocument(view);
  expansions_in_a_row_ = 0;
  // Keys held back for a mapping were typed before the paste: they are taken as they are.
  if (!queue_.empty()) RunQueue(view, true);
  if (parser_.IsCommandLineOpen()) {
    for (char16_t c : text) {
      if (c != u'\r' && c != u'\n') queue_.push_back({KeyCode::Char(c), false});
    }
    RunQueue(view, false);
  } else {
    const bool from_insert = mode_ == EngineMode::kInsert;
    if (!from_insert) {
      // A half-typed command or a selection gives way to the text.
      if (mode_ == EngineMode::kVisual) {
        queue_.push_back({KeyCode::Char(ch::kEscape), false});
        RunQueue(view, false);
      }
      parser_.ResetParser(false);
      queue_.push_back({KeyCode::Char(u'i'), false});
      RunQueue(view, false);
    }
    if (mode_ == EngineMode::kInsert && view.text.IsAttached()) {
      {
        TextView::CommandScope command(view.text);
        insert_.PasteText(view.text, text);
      }
      if (!from_insert) {
        queue_.push_back({KeyCode::Char(ch::kEscape), false});
        RunQueue(view, false);
      }
    }
  }
  TrackDocumentAfterKey(*this, view);
  if (view.text.IsAttached()) search_.RefreshHighlights(view.text);
  UpdateCaretShape();
  return true;
}

}  // namespace tavik
