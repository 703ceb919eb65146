// Following the document of every key's view in the buffer list, and switching to a document by
// name through the host's command that opens or activates a file.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/text_pos.h"

namespace tavik {

class ViewEngine;
class TextView;
struct AttachedView;

// Longest document name the open command is built with; a longer one is not switched to.
inline constexpr size_t kMaxSwitchName = 512;

// Before a key: a view that shows another document than the last key's makes its document
// current and drops the half-typed command.
void TrackDocumentBeforeKey(ViewEngine& engine, AttachedView& view);
// After a key: the current document's caret is remembered and it becomes the most recent one.
void TrackDocumentAfterKey(ViewEngine& engine, AttachedView& view);

// Opens or activates the named document from the view `current` and puts the caret of the view
// that then has the focus at `caret` (a display column with `display_column`). The current
// view's own document needs no switch unless `force`. False when the host could not open it.
bool SwitchToDocument(ViewEngine& engine, TextView& current, std::u16string_view name,
                      TextPos caret, bool display_column, bool force);

// Switches to the entry `count` places after (or before) the current document's entry, trying
// each following one in turn until a switch succeeds or the walk comes back to the current
// entry. False when the current document has no entry or no switch succeeded.
bool StepThroughDocuments(ViewEngine& engine, TextView& current, bool forward, uint32_t count);

}  // namespace tavik
