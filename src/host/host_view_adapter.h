// The engine's host operations implemented over one view of the in-process host editor. The
// adapter stays safe to call after the host closed the view: it then reports failure.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "common/key_code.h"
#include "engine/text/host_view.h"
#include "platform/editor_host.h"

namespace tavik::host {

class HostViewAdapter : public tavik::HostView {
 public:
  HostViewAdapter(platform::EditorHost& host, platform::View& view);
  ~HostViewAdapter() override;
  HostViewAdapter(const HostViewAdapter&) = delete;
  HostViewAdapter& operator=(const HostViewAdapter&) = delete;

  bool IsAlive() const override;

  uint32_t LineCount() const override;
  uint32_t LineLength(uint32_t line) const override;
  bool ReadLine(uint32_t line, std::u16string& out) const override;
  uint32_t ReadNarrowLines(uint32_t first, std::span<std::string_view> out) const override;

  HostResult ReplaceText(TextPos start, TextPos end, std::u16string_view text) override;
  HostResult ReplaceLines(uint32_t first, uint32_t old_count,
                          std::span<const std::u16string_view> lines) override;
  HostResult ReplaceNarrowLines(uint32_t first, uint32_t old_count,
                                std::span<const std::string_view> lines) override;
  HostResult OpenCompoundEdit() override;
  HostResult CloseCompoundEdit() override;

  uint32_t UndoUnitCount() const override;
  UndoUnitInfo UndoUnitAt(uint32_t index) const override;
  uint32_t RedoUnitCount() const override;
  UndoUnitInfo RedoUnitAt(uint32_t index) const override;
  HostResult PushUndoMarker(const void* marker_tag) override;
  HostResult RedoThrough(uint64_t unit_id) override;

  TextPos Caret() const override;
  void SetCaret(TextPos pos) override;
  HostSelection Selection() const override;
  void SetSelection(TextPos anchor, TextPos active, SelectionShape shape) override;
  void ClearSelection() override;

  std::optional<CollapsedRegion> CollapsedRegionAt(TextPos pos) const override;
  ViewPos BufferToView(TextPos pos) const override;
  TextPos ViewToBuffer(ViewPos pos) const override;
  uint32_t ViewLineCount() const override;
  bool ReadViewLine(uint32_t view_line, std::u16string& out) const override;
  std::vector<CollapsedRegion> RegionsOnViewLine(uint32_t view_line) const override;

  std::vector<uint32_t> DisplayRowStarts(uint32_t view_line) const override;
  uint32_t FirstVisibleRow() const override;
  void SetFirstVisibleRow(uint32_t view_line, uint32_t row) override;
  uint32_t FirstVisibleLine() const override;
  uint32_t VisibleLineCount() const override;
  void SetFirstVisibleLine(uint32_t view_line) override;

  const std::u16string& DocumentName() const override;
  uint32_t TabSize() const override;
  uint32_t IndentSize() const override;
  bool InsertTabs() const override;
  void SetVisibleWhitespace(bool on) override;
  bool IsSplit() const override;
  void FocusOtherView() override;
  HostResult ExecuteCommand(std::u16string_view name, std::u16string_view argument) override;
  void CancelUi() override {}
  void Beep() override;
  uint64_t DocumentId() const override;
  void StartTimer(uint32_t milliseconds) override;
  void StopTimer() override;

  void SetChangeListener(std::function<void(const TextChange&)> listener) override;

  // Outlining operations the view offers beyond the interface: make a span a collapsed region
  // (the caret goes to its start) and expand every region.
  HostResult CreateCollapsedRegion(TextPos start, TextPos end, std::u16string_view placeholder);
  // A region folded by the engine shows "..." in its place.
  HostResult CreateCollapsedRegion(TextPos start, TextPos end) override {
    return CreateCollapsedRegion(start, end, u"...");
  }
  HostResult ExpandAllRegions() override;
  HostResult AddBookmark(uint32_t line) override;
  void SetHighlights(HighlightLayer layer, const std::vector<HighlightRange>& ranges) override;
  // What runs before each named host command the engine runs through this view.
  void SetBeforeCommand(std::function<void()> callback) { before_command_ = std::move(callback); }
  // The engine's timer becomes the window timer with this id, which fires as a timer message to
  // the view's window procedure instead of calling back.
  void SetWindowTimerId(uint32_t id) { window_timer_id_ = id; }
  // Types a key into the view as the host editor does when the engine did not handle it.
  void TypeKey(KeyCode key);
  // The platform view, or nullptr once it is gone.
  platform::View* PlatformView() const { return IsAlive() ? view_ : nullptr; }

 private:
  void RemoveListener();

  platform::EditorHost& host_;
  std::function<void()> before_command_;
  platform::View* view_;
  platform::TextBuffer* buffer_;
  std::shared_ptr<const bool> view_alive_;
  std::shared_ptr<const bool> buffer_alive_;
  uint64_t listener_id_ = 0;
  uint32_t window_timer_id_ = 0;
  mutable std::string name_path_;  // the path DocumentName last converted, and its result
  mutable std::u16string name_;
  std::vector<platform::HighlightSpan> spans_;  // scratch for SetHighlights
};

}  // namespace tavik::host
