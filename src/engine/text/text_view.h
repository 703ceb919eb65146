// The engine's only access to a host editor view: text, caret, selection, scrolling, collapsed
// regions, undo history and named host commands. Keeps a one-line cache for repeated reads and
// groups host edits into one undo step per engine command with marker units.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text_pos.h"
#include "engine/text/host_view.h"
#include "engine/visual_kind.h"

namespace tavik {

class BufferMarks;

enum class SelectionKind : uint8_t { kCharacter = 0, kLine = 1, kBlock = 2 };

struct Selection {
  bool has_selection = false;
  TextPos anchor;
  TextPos active;
  SelectionKind kind = SelectionKind::kCharacter;
};

enum class ScrollPlacement : uint8_t { kTop = 0, kCenter = 1, kBottom = 2 };

struct VisibleRange {
  uint32_t first_line = 0;  // view line
  uint32_t line_count = 0;  // display rows shown
  uint32_t first_row = 0;   // display row of the first line shown at the top (word wrap)
};

class TextView {
 public:
  explicit TextView(HostView* host);
  ~TextView();
  TextView(const TextView&) = delete;
  TextView& operator=(const TextView&) = delete;

  // Reads the preferences and caches again (also after the host reports changed preferences).
  void ReadPreferences();
  void Detach();
  bool IsAttached() const { return host_ != nullptr && host_->IsAlive(); }
  HostView* Host() const { return host_; }

  // Reading text, in buffer coordinates.
  uint32_t LineCount() const;
  uint32_t LineLength(uint32_t line) const;
  std::u16string_view LineText(uint32_t line) const;
  // Lines from `first` on one byte per unit, as far as the host hands them out so (see
  // HostView::ReadNarrowLines); they stay valid until the next edit.
  uint32_t NarrowLines(uint32_t first, std::span<std::string_view> out) const {
    return IsAttached() ? host_->ReadNarrowLines(first, out) : 0;
  }
  char16_t CharAt(uint32_t line, uint32_t column) const;
  // Character steps: a surrogate pair is one character, and positions between its halves are
  // taken to its start.
  TextPos CharStart(TextPos pos) const;
  uint32_t NextCharColumn(uint32_t line, uint32_t column) const;
  uint32_t PrevCharColumn(uint32_t line, uint32_t column) const;
  uint32_t LeadingSpaces(uint32_t line) const;
  uint32_t VirtualColumn(uint32_t line, uint32_t column) const;
  uint32_t ColumnOfVirtual(uint32_t line, uint32_t display_column, bool allow_beyond_end) const;
  TextPos ClampPosition(uint32_t line, uint32_t column, bool allow_past_end,
                        bool keep_column) const;
  TextPos EndOfLine(uint32_t line) const;
  TextPos StartOfLine(uint32_t line) const;
  // The collapsed region that hides a position, if any.
  std::optional<CollapsedRegion> RegionAt(TextPos pos) const;

  // View coordinates.
  ViewPos BufferToView(TextPos pos) const;
  TextPos ViewToBuffer(ViewPos pos) const;
  uint32_t ViewLineCount() const;
  uint32_t ViewLineLength(uint32_t view_line) const;
  uint32_t ViewVirtualColumn(uint32_t view_line, uint32_t column) const;
  uint32_t ViewColumnOfVirtual(uint32_t view_line, uint32_t display_column) const;

  // Caret and selection.
  bool RefreshFromHost(bool force, bool use_host_selection = false);
  TextPos GetCaret() const { return caret_; }
  // A caret between the halves of a surrogate pair is placed at the pair's start.
  void SetCaret(TextPos pos);
  Selection GetSelection() const;
  void SetSelection(TextPos anchor, TextPos active, SelectionKind kind);
  void ClearSelection();

  // Edits. Each invalidates the line cache and marks the command as modified.
  HostResult InsertText(TextPos pos, std::u16string_view text);
  HostResult ReplaceChars(TextPos pos, uint32_t count, std::u16string_view text);
  HostResult DeleteRange(TextPos a, TextPos b);
  HostResult ReplaceRange(TextPos start, TextPos end, std::u16string_view text);
  HostResult OpenLineBelow(TextPos pos);
  // Replaces the whole lines [first, first + old_count) by `lines` (at least one, none holding a
  // line break), each kept as given: one host edit where the host offers it, else one edit per
  // line. Sets no mark.
  HostResult ReplaceLines(uint32_t first, uint32_t old_count,
                          std::span<const std::u16string_view> lines);
  // The same for lines whose units are all below 256, given one byte per unit; widened for a
  // host that takes lines only as UTF-16.
  HostResult ReplaceNarrowLines(uint32_t first, uint32_t old_count,
                                std::span<const std::string_view> lines);
  // Mark "." for edits made with ReplaceChars or ReplaceRange, which do not set it themselves.
  void SetDotMark(TextPos pos);

  // Undo grouping: every engine command is one step in the host's undo history. A command is
  // open while a CommandScope lives; scopes nest, and the outermost one closes the step.
  class CommandScope {
   public:
    // Opens a command; with `open` false the scope waits for Open.
    explicit CommandScope(TextView& view, bool open = true) : view_(view) {
      if (open) Open();
    }
    ~CommandScope() { Close(); }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

    void Open() {
      if (open_) return;
      open_ = true;
      view_.BeginCommand();
    }
    // Ends the command before the scope ends.
    void Close() {
      if (!open_) return;
      open_ = false;
      view_.EndCommand();
    }
    // Leaves the command open when the scope ends: an insert session is one step however many
    // key batches it takes. CloseKept ends it.
    void KeepOpen() {
      if (!open_) return;
      open_ = false;
      ++view_.kept_commands_;
    }
    // Ends a command a scope kept open; does nothing when none is.
    static void CloseKept(TextView& view);
    // The view was closed while the command ran (":q"): there is nothing left to end, and the
    // view may be gone, so the scope must not touch it again.
    void Release() { open_ = false; }

   private:
    TextView& view_;
    bool open_ = false;
  };

  // Edits made while a CompoundScope lives are one unit of the host's history.
  class CompoundScope {
   public:
    explicit CompoundScope(TextView& view) : view_(view) { view.BeginCompound(); }
    ~CompoundScope() { view_.EndCompound(); }
    CompoundScope(const CompoundScope&) = delete;
    CompoundScope& operator=(const CompoundScope&) = delete;

   private:
    TextView& view_;
  };

  // Both report whether the history held anything to undo or redo.
  bool UndoStep();
  bool RedoStep();
  uint32_t CommandDepth() const { return command_depth_; }
  // Lets a key the host types in insert mode count as a change of the open command.
  void MarkModified() { modified_in_command_ = true; }
  // A running total of what the edits through this view cost the host: the units of the lines
  // each edit rewrites and of the text it inserts, and one per line it removes or adds. Bounds
  // the work of keys that feed themselves (a recursive mapping growing one long line).
  uint64_t EditWork() const { return edit_work_; }

  // Host commands and view services.
  HostResult ExecuteHostCommand(std::u16string_view command_line);
  void CancelHostUi();
  VisibleRange VisibleLines() const;
  // The view columns where the display rows of a view line start (one row, at 0, without wrap).
  std::vector<uint32_t> DisplayRowStarts(uint32_t view_line) const;
  void ScrollBy(int32_t lines);
  // Puts a display row of a view line at the top of the view.
  void ScrollToRow(uint32_t view_line, uint32_t row);
  void ScrollLineTo(TextPos pos, ScrollPlacement placement);
  void SetVisibleWhitespace(bool on);
  HostResult CreateCollapsedRegion(TextPos start, TextPos end);
  HostResult ExpandAllRegions();
  HostResult AddBookmark(uint32_t line);
  void FocusOtherView();
  void SplitWindow();
  void CloseWindow();
  void Beep();

  const std::u16string& DocumentName() const;
  uint32_t TabSize() const { return tab_size_; }
  uint32_t IndentSize() const { return indent_size_; }
  bool InsertTabs() const { return insert_tabs_; }

  // The buffer's mark table, shared by the views of one buffer; mark "." follows every edit.
  void SetMarks(BufferMarks* marks) { marks_ = marks; }
  BufferMarks* Marks() const { return marks_; }

  // Further listeners of text changes in this view's buffer (marks, the global command).
  using ChangeListener = std::function<void(const TextChange&)>;
  int AddChangeListener(ChangeListener listener);
  void RemoveChangeListener(int id);
  // Counts the edits of this view's buffer (from any view), so that results computed from the
  // text can tell whether they are still current.
  uint64_t ChangeCount() const { return change_count_; }
  // The lines each edit made after the count `since` replaced, in order: lines
  // [first_line, first_line + old_line_count) became new_line_count lines. None when they are
  // no longer all known (too many, or an edit of unknown extent).
  struct LineEdit {
    uint32_t first_line = 0;
    uint32_t old_line_count = 0;
    uint32_t new_line_count = 0;
  };
  std::optional<std::span<const LineEdit>> LineEditsSince(uint64_t since) const;

  // The visual kind last left in this view, for reselecting it.
  VisualKind last_visual_kind = VisualKind::kCharacterwise;

 private:
  class CompoundPause {
   public:
    explicit CompoundPause(TextView& view);
    ~CompoundPause();
    CompoundPause(const CompoundPause&) = delete;
    CompoundPause& operator=(const CompoundPause&) = delete;

   private:
    TextView& view_;
    bool paused_ = false;
  };

  void BeginCompound();
  void EndCompound();
  void BeginCommand();
  void EndCommand();

  void OnHostChange(const TextChange& change);
  void InvalidateCache() const { cache_valid_ = false; }
  TextPos ResolveEnd(TextPos pos) const;
  // The line as the host stores it one byte per unit, when it does and the line is not the
  // cached one.
  std::optional<std::string_view> NarrowLine(uint32_t line) const;
  // Adds an edit of the resolved range [start, end) that inserts `inserted` units to EditWork.
  void CountEdit(TextPos start, TextPos end, size_t inserted);

  HostView* host_;
  uint32_t tab_size_ = 8;
  uint32_t indent_size_ = 4;
  bool insert_tabs_ = false;
  TextPos caret_;
  Selection selection_;

  mutable bool cache_valid_ = false;
  mutable uint32_t cache_line_ = 0;
  mutable std::u16string cache_text_;

  bool modified_in_command_ = false;
  uint64_t edit_work_ = 0;
  uint32_t command_depth_ = 0;
  uint32_t compound_depth_ = 0;
  // Commands left open by CommandScope::KeepOpen.
  uint32_t kept_commands_ = 0;
  bool pending_boundary_ = false;
  uint32_t undo_in_progress_ = 0;

  BufferMarks* marks_ = nullptr;
  std::vector<std::pair<int, ChangeListener>> listeners_;
  int next_listener_id_ = 1;
  uint64_t change_count_ = 0;
  // The latest edits, the first of them made at the change count `edit_log_from_`.
  std::vector<LineEdit> edit_log_;
  uint64_t edit_log_from_ = 0;
};

}  // namespace tavik
