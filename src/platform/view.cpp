// Caret, selection and scrolling of a view, kept valid across edits of its buffer.
#include "platform/view.h"

#include <algorithm>

namespace tavik::platform {

View::View(TextBuffer& buffer, const ManualClock& clock, uint64_t id)
    : buffer_(buffer), id_(id), timer_(clock), clock_(clock) {
  listener_id_ = buffer_.AddListener([this](const BufferChange& c) { OnChange(c); });
}

View::~View() {
  *alive_ = false;
  buffer_.RemoveListener(listener_id_);
}

void View::SetWindowTimer(uint32_t id, uint64_t delay_ms) {
  const uint64_t due = clock_.NowMs() + delay_ms;
  for (auto& [timer_id, timer_due] : window_timers_) {
    if (timer_id == id) {
      timer_due = due;
      return;
    }
  }
  window_timers_.emplace_back(id, due);
}

void View::KillWindowTimer(uint32_t id) {
  std::erase_if(window_timers_, [id](const auto& timer) { return timer.first == id; });
}

bool View::WindowTimerRunning(uint32_t id) const {
  return std::ranges::any_of(window_timers_, [id](const auto& timer) { return timer.first == id; });
}

std::vector<uint32_t> View::TakeDueWindowTimers(bool force) {
  std::vector<uint32_t> due;
  const uint64_t now = clock_.NowMs();
  std::erase_if(window_timers_, [&](const auto& timer) {
    if (!force && timer.second > now) return false;
    due.push_back(timer.first);
    return true;
  });
  return due;
}

std::optional<uint64_t> View::NextTimerDueMs() const {
  std::optional<uint64_t> next;
  if (timer_.Running()) next = timer_.DueMs();
  for (const auto& [id, due] : window_timers_) {
    if (!next || due < *next) next = due;
  }
  return next;
}

void View::SetCaret(TextPos pos) {
  caret_ = buffer_.Clamp(pos);
  selection_ = {caret_, caret_, false};
}

void View::SetSelection(TextPos anchor, TextPos active, bool block) {
  selection_ = {buffer_.Clamp(anchor), buffer_.Clamp(active), block};
  caret_ = selection_.active;
}

void View::ClearSelection() {
  selection_ = {caret_, caret_, false};
}

void View::SetFirstVisibleLine(uint32_t view_line) {
  const uint32_t count = Layout().ViewLineCount();
  first_visible_ = std::min(view_line, count - 1);
  first_row_ = 0;
}

void View::SetVisibleLineCount(uint32_t count) {
  visible_count_ = std::max<uint32_t>(count, 1);
}

void View::ScrollToCaret() {
  const ViewLayout layout = Layout();
  if (layout.Wraps()) {
    ScrollToCaretRow(layout);
    return;
  }
  // With nothing collapsed, view lines are buffer lines; the layout is only walked otherwise.
  const uint32_t line =
      regions_.Hiding().empty() ? caret_.line : Layout().BufferToView(caret_).line;
  if (line < first_visible_) {
    first_visible_ = line;
  } else if (line >= first_visible_ + visible_count_) {
    first_visible_ = line - visible_count_ + 1;
  }
}

// The top of the view is a display row: the first visible view line and a row of it. The
// caret's row must lie between the top and the top moved down by the rows shown less one.
void View::ScrollToCaretRow(const ViewLayout& layout) {
  const ViewPos caret = layout.BufferToView(caret_);
  const uint32_t caret_row = layout.RowOf(caret);
  first_row_ = std::min(first_row_, layout.RowCount(first_visible_) - 1);
  auto before = [](uint32_t line_a, uint32_t row_a, uint32_t line_b, uint32_t row_b) {
    return line_a < line_b || (line_a == line_b && row_a < row_b);
  };
  if (before(caret.line, caret_row, first_visible_, first_row_)) {
    first_visible_ = caret.line;
    first_row_ = caret_row;
    return;
  }
  // The highest top that still shows the caret's row at the bottom: walk up from it.
  uint32_t top_line = caret.line;
  uint32_t top_row = caret_row;
  uint32_t rows_left = visible_count_ - 1;
  while (rows_left > 0) {
    if (top_row >= rows_left) {
      top_row -= rows_left;
      break;
    }
    rows_left -= top_row;
    if (top_line == 0) {
      top_row = 0;
      break;
    }
    --top_line;
    top_row = layout.RowCount(top_line);
    --rows_left;
    --top_row;
  }
  if (before(first_visible_, first_row_, top_line, top_row)) {
    first_visible_ = top_line;
    first_row_ = top_row;
  }
}

void View::OnChange(const BufferChange& change) {
  regions_.OnChange(change);
  caret_ = buffer_.Clamp(MovePastChange(caret_, change));
  selection_.anchor = buffer_.Clamp(MovePastChange(selection_.anchor, change));
  selection_.active = buffer_.Clamp(MovePastChange(selection_.active, change));
  const uint32_t count = Layout().ViewLineCount();
  if (first_visible_ >= count) first_visible_ = count - 1;
}

}  // namespace tavik::platform
