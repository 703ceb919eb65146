// Drawing what the host editor holds into the screen model: the open documents as a tab line,
// the active window with one view or two stacked views, each scrolled as the host says, the
// highlights of the buffer's markers and the host selection, the output pane and the status
// bar with the engine's status text on the left and the document and caret on the right.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/terminal_grid.h"
#include "app/terminal_line_layout.h"
#include "platform/editor_host.h"

namespace tavik::app {

struct DrawRequest {
  std::u16string status_text;           // the engine's status text, or a question
  std::optional<size_t> status_cursor;  // the cursor stands in the status text at this unit
  bool pane_visible = false;
  bool block_caret = false;    // a block caret on a tab stands on its last column
  std::string working_folder;  // paths below it are shown relative to it
  // A status text wider than the screen is shown whole over as many rows as it takes, above
  // and on the status bar; otherwise it is cut at the right edge.
  bool status_whole = false;
};

struct DrawResult {
  int cursor_row = 0;
  int cursor_col = 0;
};

// Where each row of `text` begins (unit offsets) when it is wrapped at `cols` columns; a wide
// character that does not fit at the end of a row begins the next. With `cursor`, a cursor at
// the end of a full last row gets a row of its own.
std::vector<size_t> WrapStatusText(std::u16string_view text, int cols,
                                   std::optional<size_t> cursor = std::nullopt);

class ScreenComposer {
 public:
  // Divides the grid among tab line, views, output pane and status bar, tells each shown view
  // how many lines it has, and draws everything. Costs only the lines shown. `grid` holds the
  // frame this composer drew last (or has another size, or ForgetDrawnRows was called): rows
  // that show the same as then are left alone or moved, not drawn again.
  DrawResult Draw(platform::EditorHost& host, const DrawRequest& request, ScreenGrid& grid);
  // Rows drawn from the same text, highlights and scroll as last time are taken over from
  // then; after this, the next draw lays out every line again (the grid drawn into is another).
  void ForgetDrawnRows() {
    drawn_rows_.clear();
    drawn_bands_.clear();
  }

 private:
  struct CaretPlace {
    int row = -1;
    int col = 0;
    uint32_t line = 0;  // buffer line, for the status bar
    uint32_t unit_column = 0;
    uint32_t display_column = 0;
  };

  void DrawTabLine(platform::EditorHost& host, ScreenGrid& grid) const;
  CaretPlace DrawView(platform::View& view, int top, int height, bool block_caret,
                      ScreenGrid& grid);
  void DrawPane(const platform::OutputPane& pane, int top, int height, ScreenGrid& grid) const;
  void DrawStatus(const DrawRequest& request, const std::u16string& right, ScreenGrid& grid,
                  DrawResult& result) const;
  // A status text too wide for one row, over the bottom rows starting at `top`.
  void DrawLongStatus(const DrawRequest& request, const std::vector<size_t>& starts, int top,
                      ScreenGrid& grid, DrawResult& result) const;
  std::u16string ShownName(const platform::Document& document, bool base_name_only) const;

  // A highlight as it falls on one view line: units [from, to), or display columns for a block
  // selection.
  struct RowMark {
    uint32_t from = 0;
    uint32_t to = 0;
    CellStyle style = CellStyle::kText;
    bool columns = false;
    friend bool operator==(const RowMark&, const RowMark&) = default;
  };
  // How a row shows its part of a line beyond the text and marks: the display columns [left,
  // right) of the line when it wraps, whitespace, and the number column.
  struct RowLook {
    uint32_t right = UINT32_MAX;  // the display column where a wrapped row ends
    uint32_t number = 0;          // the line number shown, 0 for none
    uint32_t gutter = 0;          // columns of the number column
    bool whitespace = false;
    friend bool operator==(const RowLook&, const RowLook&) = default;
  };
  // What a screen row of a view was drawn from. A row drawn from the same things again keeps
  // its cells, or moves with them: most keys change a line or two, or move the others by a row.
  // The marks hold all a view adds to its text (selection included), so two views of the same
  // text at the same scroll draw the same row.
  struct DrawnRow {
    bool kept = false;      // the grid row holds what these say, and may be taken over
    bool past_end = false;  // a line past the end of the buffer
    std::u16string text;
    uint32_t left = 0;
    uint32_t tab_size = 0;
    std::vector<RowMark> marks;
    RowLook look;
  };
  // All a view's band of rows is drawn from, but for the lines' text and highlights, whose
  // changes the buffer's markers count and log.
  struct DrawnBand {
    int top = 0;
    int height = 0;
    uint64_t view = 0;  // a view's id, never reused, stands for its buffer too
    uint64_t lines_version = 0;
    uint32_t first = 0;
    uint32_t left = 0;
    uint32_t tab_size = 0;
    uint32_t gutter = 0;
    bool whitespace = false;
    platform::ViewSelection selection;
    friend bool operator==(const DrawnBand&, const DrawnBand&) = default;
  };
  // When the band was drawn last time from all the same but its first line and the lines'
  // changes, and those are known: sets `sources_` to the row of the last draw that shows what
  // each row shows now (-1: none), and returns true.
  bool FollowLastDraw(const DrawnBand& band, const platform::HighlightMarkers& markers);
  // The row of the last draw, in the view's band of rows, that the row being drawn (its text in
  // `text_`, its marks in `row_marks_`) can take over; -1 when none.
  int KeptRow(int row, int top, int height, bool past_end, uint32_t left, uint32_t tab_size,
              const RowLook& look) const;
  // Lays out a view line into a row of the grid.
  void DrawLine(int row, std::u16string_view text, const std::vector<RowMark>& marks,
                const std::vector<std::u16string>& placeholders, uint32_t left, uint32_t tab_size,
                const RowLook& look, ScreenGrid& grid);
  // Which part of which view line each row of a view shows.
  struct RowSource {
    uint32_t view_line = 0;
    uint32_t row = 0;  // display row of the view line
    uint32_t left = 0;
    RowLook look;
  };
  // The rows of a view from its top, wrapped lines taking several: `rows_`.
  void WrappedRows(const platform::View& view, const platform::ViewLayout& layout, uint32_t first,
                   int height, const RowLook& look);

  // The steps of drawing a view (terminal_draw_view.cpp), and what they share.
  struct ViewFrame {
    platform::View& view;
    const platform::TextBuffer& buffer;
    platform::ViewLayout layout;
    int top = 0;
    int height = 0;
    RowLook look;
    uint32_t text_cols = 0;
    uint32_t tab_size = 0;
    uint32_t view_lines = 0;
    uint32_t first = 0;  // the first view line shown
    bool wrapping = false;
    bool folded = false;
    // The placeholder texts of the collapsed regions on a view line.
    std::vector<std::u16string> PlaceholdersOf(uint32_t view_line) const;
    ViewPos ToView(TextPos pos) const;
  };
  // The highlights touching the lines a view shows, gathered once per draw.
  struct ViewHighlights {
    std::vector<std::pair<platform::HighlightSpan, CellStyle>> spans;
    std::vector<std::pair<ViewPos, ViewPos>> view_spans;
    std::vector<platform::HighlightSpan> found;  // scratch
    uint32_t block_left = 0;
    uint32_t block_right = 0;
    uint32_t block_top = 1;  // the view lines of a block selection; none when top > bottom
    uint32_t block_bottom = 0;
  };
  // Sets the number column, the wrap width and the lines the view shows.
  ViewFrame FrameView(platform::View& view, int top, int height, int cols);
  // Where the caret is drawn; scrolls the view sideways (`left`) or, wrapping, down to it.
  CaretPlace PlaceCaret(ViewFrame& frame, bool block_caret, uint32_t& left);
  // Takes over the rows of the last draw that still show the same; true when all of them do.
  bool TakeOverBand(const ViewFrame& frame, uint32_t left);
  // `rows_` for a view without wrap: one row per view line.
  void LineRows(const ViewFrame& frame, uint32_t left);
  void GatherHighlights(const ViewFrame& frame);
  // The highlights as they fall on a view line.
  void MarksOf(uint32_t view_line, std::vector<RowMark>& marks) const;
  // Each row's text and marks, or the row of the last draw it takes over.
  void CollectRows(const ViewFrame& frame);
  // Moves the kept rows into place and lays out the others.
  void PaintRows(const ViewFrame& frame, ScreenGrid& grid);

  std::map<uint64_t, uint32_t> left_columns_;  // horizontal scroll of each view, by view id
  std::vector<DrawnRow> drawn_rows_;           // by screen row, as the last draw left them
  std::vector<DrawnRow> next_rows_;            // by screen row, for this draw
  std::vector<DrawnBand> drawn_bands_;         // the unfolded views' bands, as last drawn
  std::vector<DrawnBand> next_bands_;
  bool drew_over_views_ = false;  // the last draw put a long status text over the views
  int drawn_grid_rows_ = 0;       // the size of the grid drawn last
  int drawn_grid_cols_ = 0;
  std::vector<RowMark> row_marks_;  // scratch: the marks of the row being drawn
  std::vector<int> sources_;        // scratch: where each row of a view comes from
  std::vector<RowSource> rows_;     // scratch: what each row of a view shows
  ViewHighlights highlights_;       // scratch: the highlights of the view being drawn
  // Scratch space for the lines of a view, kept so that drawing a line allocates nothing.
  LineLayout line_;
  std::u16string text_;
  std::string working_folder_;
  // The highlight layers in the order they are drawn, each over the ones before.
  std::array<platform::HighlightKind, platform::kHighlightKindCount> drawing_order_{};
};

}  // namespace tavik::app
