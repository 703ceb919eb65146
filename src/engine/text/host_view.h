// The host operations a TextView is built on: what any editor must offer to host the engine.
// The engine never talks to a concrete editor; the host package implements this interface.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_pos.h"

namespace tavik {

// Result codes of host operations, in the manner of the host's own status codes.
enum class HostResult : int32_t {
  kOk = 0,
  kFail = 1,        // the operation was refused or failed
  kNotImpl = 2,     // the host has no meaning for the request
  kUnexpected = 3,  // the view or buffer is gone
};

inline bool Succeeded(HostResult r) {
  return r == HostResult::kOk;
}

enum class SelectionShape : uint8_t { kCharacter = 0, kBlock = 2 };

struct HostSelection {
  TextPos anchor;
  TextPos active;
  SelectionShape shape = SelectionShape::kCharacter;
  bool empty = true;
};

// The kinds of highlighted ranges the engine hands to the host for drawing.
enum class HighlightLayer : uint8_t { kSelection = 0, kSearch = 1, kIncSearch = 2 };

// A highlighted span from `start` to the exclusive `end`.
struct HighlightRange {
  TextPos start;
  TextPos end;
  friend bool operator==(const HighlightRange&, const HighlightRange&) = default;
};

// A collapsed (hidden) region of the view: buffer start and end and the text shown instead.
struct CollapsedRegion {
  TextPos start;
  TextPos end;
  std::u16string placeholder;
};

// One unit of the host's undo or redo history as the engine sees it. `marker_tag` is non-null
// for marker units that the engine pushed; the engine recognises its own by that identity.
struct UndoUnitInfo {
  uint64_t id = 0;
  const void* marker_tag = nullptr;
};

// What changed in a buffer: the lines [first_line, first_line + old_line_count) were replaced by
// [first_line, first_line + new_line_count). Sent after every host edit, including undo and redo.
struct TextChange {
  uint32_t first_line = 0;
  uint32_t old_line_count = 0;
  uint32_t new_line_count = 0;
  TextPos start;    // start of the changed span
  TextPos old_end;  // end of the replaced span before the edit
  TextPos new_end;  // end of the inserted text after the edit
};

class HostView {
 public:
  virtual ~HostView() = default;

  // The view still exists (false after the host closed it).
  virtual bool IsAlive() const = 0;

  // Buffer reading. A line is delivered as UTF-16 into `out` (replacing its content).
  virtual uint32_t LineCount() const = 0;
  virtual uint32_t LineLength(uint32_t line) const = 0;
  virtual bool ReadLine(uint32_t line, std::u16string& out) const = 0;
  // Lines from `first` on without copying them, one byte per unit, for hosts that keep lines
  // whose units are all below 256 so: fills `out` from its start with the lines in order and
  // returns how many it filled, stopping early at the end of the buffer or at a line it cannot
  // hand out so (which ReadLine then reads). The views stay valid until the buffer's next edit.
  virtual uint32_t ReadNarrowLines(uint32_t first, std::span<std::string_view> out) const {
    (void)first;
    (void)out;
    return 0;
  }

  // Buffer edits. Text may contain line breaks ("\n" or "\r\n"), which split lines.
  virtual HostResult ReplaceText(TextPos start, TextPos end, std::u16string_view text) = 0;
  // Replaces the whole lines [first, first + old_count) by `lines` (at least one, none holding a
  // line break) as one edit, each line kept as given. Hosts without such an operation return
  // kNotImpl and the caller edits line by line.
  virtual HostResult ReplaceLines(uint32_t first, uint32_t old_count,
                                  std::span<const std::u16string_view> lines) {
    (void)first;
    (void)old_count;
    (void)lines;
    return HostResult::kNotImpl;
  }
  // The same for lines whose units are all below 256, given one byte per unit; kNotImpl where
  // the host takes lines only as UTF-16.
  virtual HostResult ReplaceNarrowLines(uint32_t first, uint32_t old_count,
                                        std::span<const std::string_view> lines) {
    (void)first;
    (void)old_count;
    (void)lines;
    return HostResult::kNotImpl;
  }
  virtual HostResult OpenCompoundEdit() = 0;
  virtual HostResult CloseCompoundEdit() = 0;
  virtual void FlushPendingEdits() {}

  // Undo history, oldest first; the redo history, next unit to redo first.
  virtual uint32_t UndoUnitCount() const = 0;
  virtual UndoUnitInfo UndoUnitAt(uint32_t index) const = 0;
  virtual uint32_t RedoUnitCount() const = 0;
  virtual UndoUnitInfo RedoUnitAt(uint32_t index) const = 0;
  virtual HostResult PushUndoMarker(const void* marker_tag) = 0;
  virtual HostResult RedoThrough(uint64_t unit_id) = 0;

  // Caret and selection, in buffer coordinates.
  virtual TextPos Caret() const = 0;
  virtual void SetCaret(TextPos pos) = 0;
  virtual HostSelection Selection() const = 0;
  virtual void SetSelection(TextPos anchor, TextPos active, SelectionShape shape) = 0;
  virtual void ClearSelection() = 0;

  // Collapsed regions and the view layer.
  virtual std::optional<CollapsedRegion> CollapsedRegionAt(TextPos pos) const = 0;
  virtual ViewPos BufferToView(TextPos pos) const = 0;
  virtual TextPos ViewToBuffer(ViewPos pos) const = 0;
  virtual uint32_t ViewLineCount() const = 0;
  // The text of a view line; a collapsed region appears as one U+FFFC unit.
  virtual bool ReadViewLine(uint32_t view_line, std::u16string& out) const = 0;
  // The collapsed regions whose U+FFFC units appear on a view line, in order.
  virtual std::vector<CollapsedRegion> RegionsOnViewLine(uint32_t view_line) const = 0;

  // Creating and expanding collapsed regions through the host's hidden-text service.
  virtual HostResult CreateCollapsedRegion(TextPos start, TextPos end) {
    (void)start;
    (void)end;
    return HostResult::kNotImpl;
  }
  virtual HostResult ExpandAllRegions() { return HostResult::kNotImpl; }

  // Places a host bookmark on a line, for the host's own bookmark navigation.
  virtual HostResult AddBookmark(uint32_t line) {
    (void)line;
    return HostResult::kNotImpl;
  }

  // Replaces every highlighted range of one kind in the view's buffer.
  virtual void SetHighlights(HighlightLayer layer, const std::vector<HighlightRange>& ranges) {
    (void)layer;
    (void)ranges;
  }

  // Display rows: with word wrap, a view line shows as several rows, each starting at a view
  // column. Hosts without wrapping show each view line as one row.
  virtual std::vector<uint32_t> DisplayRowStarts(uint32_t view_line) const {
    (void)view_line;
    return {0};
  }
  // The display row of the first visible view line that is shown at the top.
  virtual uint32_t FirstVisibleRow() const { return 0; }
  // Scrolls so that the row of the view line is at the top.
  virtual void SetFirstVisibleRow(uint32_t view_line, uint32_t row) {
    (void)row;
    SetFirstVisibleLine(view_line);
  }

  // Scrolling.
  virtual uint32_t FirstVisibleLine() const = 0;
  virtual uint32_t VisibleLineCount() const = 0;
  virtual void SetFirstVisibleLine(uint32_t view_line) = 0;

  // View services.
  // Valid until the next call; the host keeps the text.
  virtual const std::u16string& DocumentName() const = 0;
  virtual uint32_t TabSize() const = 0;
  virtual uint32_t IndentSize() const = 0;
  virtual bool InsertTabs() const = 0;
  virtual void SetVisibleWhitespace(bool on) = 0;
  virtual bool IsSplit() const = 0;
  virtual void FocusOtherView() = 0;
  virtual HostResult ExecuteCommand(std::u16string_view name, std::u16string_view argument) = 0;
  virtual void CancelUi() = 0;
  virtual void Beep() = 0;

  // Identity of the document the view shows; views of one document report the same value.
  virtual uint64_t DocumentId() const { return 0; }

  // The view's one-shot timer (the mapping time-out); the host calls the engine when it fires.
  virtual void StartTimer(uint32_t milliseconds) { (void)milliseconds; }
  virtual void StopTimer() {}

  // Text-change notifications for this view's buffer. One listener per view; empty to remove.
  virtual void SetChangeListener(std::function<void(const TextChange&)> listener) = 0;
};

}  // namespace tavik
