// Actions that act on the view rather than the text: scrolling, windows, collapsed regions and
// navigation through host commands.
#include <algorithm>

#include "common/char_class.h"
#include "engine/actions/actions.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik::actions {
namespace {

void ScrollCaretLine(ActionContext& context, ScrollPlacement placement) {
  TextView& text = context.text;
  text.ScrollLineTo(text.GetCaret(), placement);
  if (context.argument() == u'x') {
    text.SetCaret(FirstNonBlankPos(text, text.GetCaret().line));
  }
  context.remaining_count = 0;
}

// CTRL-E and CTRL-Y: the caret stays on screen, at the desired column.
void ScrollLines(ActionContext& context, int32_t direction) {
  TextView& text = context.text;
  uint32_t count = std::max<uint32_t>(1, context.remaining_count);
  context.remaining_count = 0;
  text.ScrollBy(direction * static_cast<int32_t>(count));
  VisibleRange visible = text.VisibleLines();
  ViewPos caret = text.BufferToView(text.GetCaret());
  uint32_t last_visible = visible.first_line + visible.line_count - 1;
  uint32_t line = std::clamp(caret.line, visible.first_line, last_visible);
  line = std::min(line, text.ViewLineCount() - 1);
  if (line == caret.line) return;
  TextPos buffer_line = text.ViewToBuffer({line, 0});
  uint32_t desired = context.engine.State().desired_column;
  uint32_t column = desired == kDesiredColumnEndOfLine
                        ? text.LineLength(buffer_line.line)
                        : text.ColumnOfVirtual(buffer_line.line, desired, false);
  text.SetCaret(text.ClampPosition(buffer_line.line, column, false, false));
  context.caret_placed = false;
}

void RunHostCommandAndRefresh(ActionContext& context, std::u16string_view command) {
  context.text.ExecuteHostCommand(command);
  context.text.RefreshFromHost(true);
  context.remaining_count = 0;
}

}  // namespace

void ScrollLineToTop(ActionContext& context) {
  ScrollCaretLine(context, ScrollPlacement::kTop);
}
void ScrollLineToCenter(ActionContext& context) {
  ScrollCaretLine(context, ScrollPlacement::kCenter);
}
void ScrollLineToBottom(ActionContext& context) {
  ScrollCaretLine(context, ScrollPlacement::kBottom);
}
void ScrollUp(ActionContext& context) {
  ScrollLines(context, -1);
}
void ScrollDown(ActionContext& context) {
  ScrollLines(context, 1);
}

void SplitWindow(ActionContext& context) {
  context.text.SplitWindow();
  context.remaining_count = 0;
}

void FocusOtherView(ActionContext& context) {
  context.text.FocusOtherView();
  context.remaining_count = 0;
}

void CloseWindow(ActionContext& context) {
  context.text.CloseWindow();
  context.remaining_count = 0;
}

void StopHidingCurrent(ActionContext& context) {
  RunHostCommandAndRefresh(context, u"Edit.StopHidingCurrent");
}

void ToggleOutlining(ActionContext& context) {
  RunHostCommandAndRefresh(context, u"Edit.ToggleOutliningExpansion");
}

void CollapseToDefinitions(ActionContext& context) {
  RunHostCommandAndRefresh(context, u"Edit.CollapsetoDefinitions");
}

void OpenFileUnderCursor(ActionContext& context) {
  RunHostCommandAndRefresh(context, u"Edit.OpenFile");
}

void SaveAndClose(ActionContext& context) {
  context.remaining_count = 0;
  // A document whose save failed (or was declined) stays open, so no edit is lost.
  if (!Succeeded(context.text.ExecuteHostCommand(u"File.SaveSelectedItems"))) {
    context.engine.Beep(context.text);
    return;
  }
  context.text.ExecuteHostCommand(u"File.Close");
}

void PopBrowseContext(ActionContext& context) {
  RunHostCommandAndRefresh(context, u"View.PopBrowseContext");
}

}  // namespace tavik::actions
