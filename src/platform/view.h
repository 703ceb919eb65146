// A view onto a buffer: caret, selection, scrolling, outlining regions, display preferences
// and a one-shot timer. Several views may show one buffer; each follows the buffer's edits.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/text_pos.h"
#include "platform/collapsed_regions.h"
#include "platform/command_filter.h"
#include "platform/text_buffer.h"
#include "platform/timers.h"
#include "platform/view_layout.h"
#include "platform/window_message.h"

namespace tavik::platform {

struct ViewSelection {
  TextPos anchor;
  TextPos active;
  bool block = false;

  bool Empty() const { return anchor == active; }
  TextPos Start() const { return anchor < active ? anchor : active; }
  TextPos End() const { return anchor < active ? active : anchor; }
  friend bool operator==(const ViewSelection&, const ViewSelection&) = default;
};

// The height of a line in the views' windows, in pixels, and the host's own caret: a 2-pixel
// bar of a line's height.
inline constexpr uint32_t kCaretLineHeight = 16;

struct ViewPreferences {
  uint32_t tab_size = 8;
  uint32_t indent_size = 4;
  bool insert_tabs = false;
  bool visible_whitespace = false;
  bool line_numbers = false;
  bool word_wrap = false;
  friend bool operator==(const ViewPreferences&, const ViewPreferences&) = default;
};

class View {
 public:
  View(TextBuffer& buffer, const ManualClock& clock, uint64_t id);
  ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  uint64_t Id() const { return id_; }
  TextBuffer& Buffer() { return buffer_; }
  const TextBuffer& Buffer() const { return buffer_; }
  // Becomes false when the view is destroyed; holders of a raw pointer check it first.
  std::shared_ptr<const bool> LifeToken() const { return alive_; }

  TextPos Caret() const { return caret_; }
  // Moves the caret (clamped into the text) and drops the selection.
  void SetCaret(TextPos pos);
  const ViewSelection& Selection() const { return selection_; }
  // Sets the selection; the caret goes to its active end.
  void SetSelection(TextPos anchor, TextPos active, bool block);
  void ClearSelection();

  uint32_t FirstVisibleLine() const { return first_visible_; }
  uint32_t VisibleLineCount() const { return visible_count_; }
  void SetFirstVisibleLine(uint32_t view_line);
  void SetVisibleLineCount(uint32_t count);
  // With word wrap, the display row of the first visible view line shown at the top (a line
  // taller than the view starts part way down); 0 otherwise.
  uint32_t FirstVisibleRow() const { return Layout().Wraps() ? first_row_ : 0; }
  void SetFirstVisibleRow(uint32_t row) { first_row_ = row; }
  // Scrolls as little as possible so that the caret's view line (display row, with word wrap)
  // is visible.
  void ScrollToCaret();

  CollapsedRegions& Regions() { return regions_; }
  const CollapsedRegions& Regions() const { return regions_; }
  ViewLayout Layout() const {
    return ViewLayout(buffer_, regions_,
                      WrapShape{prefs_.word_wrap ? wrap_width_ : 0, prefs_.tab_size, cell_width_});
  }
  // The width the front end shows text in, and how many columns a character takes there: with
  // the word-wrap preference on, lines longer than the width show as several display rows.
  uint32_t WrapWidth() const { return wrap_width_; }
  void SetWrapWidth(uint32_t width, CellWidthFunction cell_width = nullptr) {
    wrap_width_ = width;
    cell_width_ = cell_width;
  }

  ViewPreferences& Preferences() { return prefs_; }
  const ViewPreferences& Preferences() const { return prefs_; }
  OneShotTimer& Timer() { return timer_; }

  // Window timers by id, as the window system keeps them: each fires once, as a timer message
  // to the view's window procedure, when it comes due (EditorHost::AdvanceClock sends it).
  // Setting a running timer again restarts it.
  void SetWindowTimer(uint32_t id, uint64_t delay_ms);
  void KillWindowTimer(uint32_t id);
  bool WindowTimerRunning(uint32_t id) const;
  // Stops and returns the ids of the window timers due now, or of all running ones with `force`.
  std::vector<uint32_t> TakeDueWindowTimers(bool force);
  // When the next of the view's timers (window timers and Timer()) comes due.
  std::optional<uint64_t> NextTimerDueMs() const;

  // The caret the view's window shows, as its last creation made it (0 by 0 before that).
  void CreateCaret(uint32_t width, uint32_t height) {
    caret_width_ = width;
    caret_height_ = height;
    ++caret_creations_;
  }
  uint32_t CaretWidth() const { return caret_width_; }
  uint32_t CaretHeight() const { return caret_height_; }
  uint64_t CaretCreations() const { return caret_creations_; }

  // The window procedure that gets the view's window messages first. Installing one returns the
  // procedure it replaced, which the new one calls for what it does not consume.
  WindowProcedure SetWindowProcedure(WindowProcedure procedure) {
    std::swap(procedure, window_procedure_);
    return procedure;
  }
  const WindowProcedure& GetWindowProcedure() const { return window_procedure_; }

  // The view's command-filter chain, the view's own editor at its tail.
  CommandFilterChain& Filters() { return filters_; }

 private:
  void OnChange(const BufferChange& change);
  void ScrollToCaretRow(const ViewLayout& layout);

  TextBuffer& buffer_;
  uint64_t id_;
  uint64_t listener_id_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  TextPos caret_;
  ViewSelection selection_;
  uint32_t first_visible_ = 0;
  uint32_t first_row_ = 0;
  uint32_t visible_count_ = 25;
  uint32_t wrap_width_ = 0;
  CellWidthFunction cell_width_ = nullptr;
  CollapsedRegions regions_;
  ViewPreferences prefs_;
  OneShotTimer timer_;
  const ManualClock& clock_;
  std::vector<std::pair<uint32_t, uint64_t>> window_timers_;  // id, due time
  uint32_t caret_width_ = 0;
  uint32_t caret_height_ = 0;
  uint64_t caret_creations_ = 0;
  WindowProcedure window_procedure_;
  CommandFilterChain filters_;
};

}  // namespace tavik::platform
