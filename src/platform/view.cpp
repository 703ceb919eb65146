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
}

void View::SetVisibleLineCount(uint32_t count) {
  visible_count_ = std::max<uint32_t>(count, 1);
}

void View::ScrollToCaret() {
  // With nothing collapsed, view lines are buffer lines; the layout is only walked otherwise.
  const uint32_t line =
      regions_.Hiding().empty() ? caret_.line : Layout().BufferToView(caret_).line;
  if (line < first_visible_) {
    first_visible_ = line;
  } else if (line >= first_visible_ + visible_count_) {
    first_visible_ = line - visible_count_ + 1;
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
