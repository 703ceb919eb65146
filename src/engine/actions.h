// Action handlers, grouped by family in actions_*.cpp and named in the action table.
#pragma once

#include "engine/action_context.h"

namespace tavik::actions {

// Undo and redo (actions_undo.cpp).
void Undo(ActionContext& context);
void Redo(ActionContext& context);

// Scrolling, windows, outlining and host navigation (actions_view.cpp).
void ScrollLineToTop(ActionContext& context);
void ScrollLineToCenter(ActionContext& context);
void ScrollLineToBottom(ActionContext& context);
void ScrollUp(ActionContext& context);
void ScrollDown(ActionContext& context);
void SplitWindow(ActionContext& context);
void FocusOtherView(ActionContext& context);
void CloseWindow(ActionContext& context);
void StopHidingCurrent(ActionContext& context);
void ToggleOutlining(ActionContext& context);
void CollapseToDefinitions(ActionContext& context);
void OpenFileUnderCursor(ActionContext& context);
void SaveAndClose(ActionContext& context);
void PopBrowseContext(ActionContext& context);

// Yank and put (actions_registers.cpp).
void Yank(ActionContext& context);
void YankLines(ActionContext& context);
void PutAfter(ActionContext& context);
void PutBefore(ActionContext& context);
void PutIndented(ActionContext& context);

// The ":" command line (actions_ex.cpp).
void RunExLine(ActionContext& context);

}  // namespace tavik::actions
