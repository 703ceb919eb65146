// Drawing the host editor into the screen model: line layout (tabs, widths, control characters,
// placeholders), the screen's parts, split windows, highlights, scrolling and the output pane.
#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/terminal_draw.h"
#include "app/terminal_line_layout.h"
#include "platform/utf8_codec.h"

namespace tavik::app {
namespace {

using platform::FromUtf8;
using platform::HighlightKind;

class TerminalDrawTest : public ::testing::Test {
 protected:
  void SetUp() override { std::setlocale(LC_CTYPE, "C.UTF-8"); }

  std::string Shown(const LineLayout& line) {
    std::string text;
    for (const Cell& c : line.Cells()) {
      if (c.width == 0) continue;
      AppendUtf8(c.ch, text);
      if (c.mark != 0) AppendUtf8(c.mark, text);
    }
    return text;
  }

  // Draws the host on a grid of the size, over the frame before as the editor does; returns the
  // rows as text.
  std::vector<std::string> Draw(int rows, int cols, DrawRequest request = {}) {
    if (grid_.Rows() != rows || grid_.Cols() != cols) grid_.Resize(rows, cols);
    result_ = composer_.Draw(host_, request, grid_);
    std::vector<std::string> lines;
    for (int r = 0; r < rows; ++r) {
      std::string line = grid_.RowText(r);
      while (!line.empty() && line.back() == ' ') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  // The styles of a row's first `count` cells, one letter each: t text, s search, v selection,
  // h the host's own selection, i incremental search, p placeholder, c special character.
  std::string Styles(int row, int count) {
    std::string out;
    for (int c = 0; c < count; ++c) {
      switch (grid_.At(row, c).style) {
        case CellStyle::kSearch:
          out += 's';
          break;
        case CellStyle::kSelection:
          out += 'v';
          break;
        case CellStyle::kHostSelection:
          out += 'h';
          break;
        case CellStyle::kIncSearch:
          out += 'i';
          break;
        case CellStyle::kPlaceholder:
          out += 'p';
          break;
        case CellStyle::kSpecialChar:
          out += 'c';
          break;
        default:
          out += 't';
          break;
      }
    }
    return out;
  }

  platform::EditorHost host_;
  ScreenComposer composer_;
  ScreenGrid grid_;
  DrawResult result_;
};

TEST_F(TerminalDrawTest, LineLayoutExpandsTabsAndShowsWidths) {
  const std::vector<std::u16string> none;
  LineLayout tabs(u"a\tb\tc", 4, none);
  EXPECT_EQ(Shown(tabs), "a   b   c");
  EXPECT_EQ(tabs.ColumnOfUnit(2), 4u);
  EXPECT_EQ(LineLayout(u"\tx", 8, none).ColumnOfUnit(1), 8u);
  // Wide characters take two columns; a combining mark none.
  LineLayout wide(FromUtf8("中x"), 8, none);
  EXPECT_EQ(wide.Cells().size(), 3u);
  EXPECT_EQ(wide.ColumnOfUnit(1), 2u);
  LineLayout combining(FromUtf8("e\xcc\x81x"), 8, none);
  EXPECT_EQ(combining.Cells().size(), 2u);
  EXPECT_EQ(Shown(combining), "e\xcc\x81x");
  EXPECT_EQ(combining.ColumnOfUnit(2), 1u);
  // A character above U+FFFF is two units and (for an emoji) two columns.
  LineLayout pair(FromUtf8("\xf0\x9f\x98\x80z"), 8, none);
  EXPECT_EQ(pair.ColumnOfUnit(2), 2u);
  // Units past the end continue one column each, for a caret after the last character.
  EXPECT_EQ(LineLayout(u"ab", 8, none).ColumnOfUnit(3), 3u);
}

TEST_F(TerminalDrawTest, LineLayoutShowsControlCharactersRawBytesAndPlaceholders) {
  std::u16string text = u"a";
  text += char16_t{1};
  text += char16_t{0x7F};
  text += char16_t{0xDCFF};  // an undecodable byte 0xff kept by the loader
  text += u"b";
  LineLayout special(text, 8, {});
  EXPECT_EQ(Shown(special), "a^A^?<ff>b");
  EXPECT_EQ(special.ColumnOfUnit(4), 9u);
  EXPECT_EQ(special.Cells()[1].style, CellStyle::kSpecialChar);

  LineLayout folded(u"if {\xFFFC} else {\xFFFC}", 8, {u"...", u"[2 lines]"});
  EXPECT_EQ(Shown(folded), "if {...} else {[2 lines]}");
  EXPECT_EQ(folded.ColumnOfUnit(5), 7u);  // the "}" after the first placeholder
  EXPECT_EQ(folded.Cells()[4].style, CellStyle::kPlaceholder);
  // Layout stops once the wanted columns are there, but not before the wanted unit.
  EXPECT_EQ(LineLayout(u"abcdefgh", 8, {}, 3).Cells().size(), 3u);
  EXPECT_EQ(LineLayout(u"abcdefgh", 8, {}, 3, 6).ColumnOfUnit(5), 5u);
}

TEST_F(TerminalDrawTest, ScreenPartsTabLineViewStatusAndEmptyLines) {
  host_.OpenText(u"first line\n\tsecond", "/work/a.txt");
  host_.OpenText(u"other", "/work/sub/b.txt");
  host_.Focus(*host_.ViewsOf(*host_.Documents()[0]).front());
  host_.FocusedView()->SetCaret({1, 1});
  DrawRequest request;
  request.status_text = u"-- NORMAL --";
  request.working_folder = "/work";
  const std::vector<std::string> rows = Draw(6, 40, request);
  EXPECT_EQ(rows[0], " a.txt | b.txt |");
  EXPECT_EQ(grid_.At(0, 1).style, CellStyle::kTabActive);
  EXPECT_EQ(grid_.At(0, 9).style, CellStyle::kTabLine);
  EXPECT_EQ(rows[1], "first line");
  EXPECT_EQ(rows[2], "        second");
  EXPECT_EQ(rows[3], "~");
  EXPECT_EQ(rows[5], "-- NORMAL --" + std::string(16, ' ') + "a.txt  2,2-9");
  // The view was told how many lines it shows; the cursor stands on the caret.
  EXPECT_EQ(host_.FocusedView()->VisibleLineCount(), 4u);
  EXPECT_EQ(result_.cursor_row, 2);
  EXPECT_EQ(result_.cursor_col, 8);
  // A block caret on a tab stands on the tab's last column.
  host_.FocusedView()->SetCaret({1, 0});
  request.block_caret = true;
  EXPECT_EQ(Draw(6, 40, request)[5], "-- NORMAL --" + std::string(16, ' ') + "a.txt  2,1-8");
  EXPECT_EQ(result_.cursor_col, 7);
  request.block_caret = false;
  host_.FocusedView()->SetCaret({1, 1});

  // A modified document is marked in the tab line and the status bar.
  host_.FocusedView()->Buffer().Insert({0, 0}, u"x");
  const std::vector<std::string> after = Draw(6, 40, request);
  EXPECT_EQ(after[0], " a.txt + | b.txt |");
  EXPECT_NE(after[5].find("a.txt [+]  2,2-9"), std::string::npos);
  // A status text too long for both leaves the document part out.
  request.status_text = std::u16string(36, u'm');
  EXPECT_EQ(Draw(6, 40, request)[5], std::string(36, 'm'));
}

TEST_F(TerminalDrawTest, AnotherDocumentIsDrawnWholeThoughNothingInItChanged) {
  host_.OpenText(u"one\nalpha");
  host_.OpenText(u"two\nbeta");
  host_.Focus(*host_.ViewsOf(*host_.Documents()[0]).front());
  EXPECT_EQ(Draw(6, 40)[1], "one");
  host_.Focus(*host_.ViewsOf(*host_.Documents()[1]).front());
  const std::vector<std::string> rows = Draw(6, 40);
  EXPECT_EQ(rows[1], "two");
  EXPECT_EQ(rows[2], "beta");
}

TEST_F(TerminalDrawTest, CommandLineCursorAndWideCharacterAtTheEdge) {
  host_.OpenText(u"abcdefgh中");
  DrawRequest request;
  request.status_text = u":set ts";
  request.status_cursor = 4;
  Draw(4, 9, request);
  EXPECT_EQ(result_.cursor_row, 3);
  EXPECT_EQ(result_.cursor_col, 4);
  // The wide character does not fit in the last column: a blank stands there.
  EXPECT_EQ(grid_.RowText(1), "abcdefgh ");
}

TEST_F(TerminalDrawTest, AStatusTextWiderThanTheScreenShowsWholeOverTheRowsAbove) {
  host_.OpenText(u"one\ntwo\nthree\nfour");
  DrawRequest request;
  request.status_text = FromUtf8(
      "0123456789abcdefghi\xe4\xb8\xad"
      "0123456789abcdefghXYZ");
  request.status_whole = true;
  std::vector<std::string> rows = Draw(7, 20, request);
  // A wide character that does not fit at a row's end starts the next row.
  EXPECT_EQ(rows[4], "0123456789abcdefghi");
  EXPECT_EQ(rows[5],
            "\xe4\xb8\xad"
            "0123456789abcdefgh");
  EXPECT_EQ(rows[6], "XYZ");
  EXPECT_EQ(grid_.At(4, 0).style, CellStyle::kStatus);
  EXPECT_EQ(rows[3], "three");
  // A command line's cursor after a full last row stands on a row of its own.
  request.status_text = u":" + std::u16string(39, u's');
  request.status_cursor = request.status_text.size();
  rows = Draw(7, 20, request);
  EXPECT_EQ(rows[4], ":" + std::string(19, 's'));
  EXPECT_EQ(rows[6], "");
  EXPECT_EQ(result_.cursor_row, 6);
  EXPECT_EQ(result_.cursor_col, 0);
  // Once a key dismissed it, the text is cut at the edge and the rows above show the view again.
  request.status_whole = false;
  request.status_cursor.reset();
  rows = Draw(7, 20, request);
  EXPECT_EQ(rows[4], "four");
  EXPECT_EQ(rows[5], "~");
  EXPECT_EQ(rows[6], ":" + std::string(19, 's'));
  EXPECT_EQ(WrapStatusText(u"abcd", 2), (std::vector<size_t>{0, 2}));
}

TEST_F(TerminalDrawTest, SplitWindowShowsTwoViewsEachScrolledItsOwnWay) {
  std::u16string text;
  for (int i = 1; i <= 40; ++i) text += FromUtf8("line " + std::to_string(i) + "\n");
  host_.OpenText(text, "/w/f.txt");
  platform::Window& window = *host_.ActiveWindow();
  host_.ToggleSplit(window);
  window.views[0]->SetFirstVisibleLine(10);
  window.views[0]->SetCaret({12, 0});
  window.views[1]->SetCaret({0, 0});
  window.focused = 1;
  const std::vector<std::string> rows = Draw(12, 30);
  // Tab line, 4 + separator + 5 lines, status.
  EXPECT_EQ(rows[1], "line 11");
  EXPECT_EQ(rows[4], "line 14");
  EXPECT_EQ(rows[5], " /w/f.txt");
  EXPECT_EQ(grid_.At(5, 0).style, CellStyle::kSeparator);
  EXPECT_EQ(rows[6], "line 1");
  EXPECT_EQ(rows[10], "line 5");
  EXPECT_EQ(window.views[0]->VisibleLineCount(), 4u);
  EXPECT_EQ(window.views[1]->VisibleLineCount(), 5u);
  EXPECT_EQ(result_.cursor_row, 6);
  EXPECT_NE(rows[11].find("1,1"), std::string::npos);
  // Removing the split gives the remaining view the whole window.
  host_.ToggleSplit(window);
  EXPECT_EQ(Draw(12, 30)[1], "line 1");
  EXPECT_EQ(host_.FocusedView()->VisibleLineCount(), 10u);
}

TEST_F(TerminalDrawTest, HighlightsFromMarkersAndTheHostSelection) {
  host_.OpenText(u"foo bar foo\nbaz foo\n\nend");
  platform::View& view = *host_.FocusedView();
  platform::HighlightMarkers& markers = view.Buffer().Markers();
  markers.Add(HighlightKind::kSearch, {0, 0}, {0, 3});
  markers.Add(HighlightKind::kSearch, {0, 8}, {0, 11});
  markers.Add(HighlightKind::kSearch, {1, 4}, {1, 7});
  markers.Add(HighlightKind::kIncSearch, {1, 4}, {1, 7});
  Draw(6, 20);
  EXPECT_EQ(Styles(1, 11), "ssstttttsss");
  EXPECT_EQ(Styles(2, 8), "ttttiiit");  // the match being typed shows over the others
  // A selection running over an empty line marks one cell there.
  markers.Add(HighlightKind::kSelection, {1, 1}, {3, 1});
  Draw(6, 20);
  EXPECT_EQ(Styles(2, 8), "tvvviiiv");  // and the line break after it
  EXPECT_EQ(Styles(3, 2), "vt");
  EXPECT_EQ(Styles(4, 3), "vtt");
  // Markers follow edits: a line inserted above moves them down.
  view.Buffer().Insert({0, 0}, u"new\n");
  markers.Clear(HighlightKind::kSelection);
  markers.Clear(HighlightKind::kIncSearch);
  Draw(6, 20);
  EXPECT_EQ(Styles(2, 11), "ssstttttsss");
  // The host's own selection, characterwise and as a block.
  markers.Clear(HighlightKind::kSearch);
  view.SetSelection({1, 2}, {2, 2}, false);
  Draw(6, 20);
  EXPECT_EQ(Styles(2, 12), "tthhhhhhhhhh");
  EXPECT_EQ(Styles(3, 4), "hhtt");
  view.SetSelection({1, 1}, {2, 2}, true);
  Draw(6, 20);
  EXPECT_EQ(Styles(2, 5), "thhtt");
  EXPECT_EQ(Styles(3, 5), "thhtt");
}

TEST_F(TerminalDrawTest, CollapsedRegionsHorizontalScrollAndOutputPane) {
  host_.OpenText(u"head {\n  body\n}\n" + std::u16string(100, u'x') + u"END");
  platform::View& view = *host_.FocusedView();
  view.Regions().Add({0, 5}, {2, 1}, u"{...}");
  std::vector<std::string> rows = Draw(6, 20);
  EXPECT_EQ(rows[1], "head {...}");
  EXPECT_EQ(Styles(1, 11), "tttttpppppt");
  EXPECT_EQ(rows[2], std::string(20, 'x'));

  // The caret far right scrolls the view sideways by half a screen past it, so that it stays
  // in sight and the next keys along the line do not scroll again.
  view.SetCaret({3, 102});
  rows = Draw(6, 20);
  EXPECT_EQ(rows[2], std::string(8, 'x') + "END");
  EXPECT_EQ(result_.cursor_row, 2);
  EXPECT_EQ(result_.cursor_col, 10);
  view.SetCaret({3, 95});
  rows = Draw(6, 20);
  EXPECT_EQ(rows[2], std::string(8, 'x') + "END");
  EXPECT_EQ(result_.cursor_col, 3);
  // Back past the left edge: half a screen again, and never before the line's start.
  view.SetCaret({3, 91});
  Draw(6, 20);
  EXPECT_EQ(result_.cursor_col, 10);
  view.SetCaret({3, 4});
  rows = Draw(6, 20);
  EXPECT_EQ(rows[2], std::string(20, 'x'));
  EXPECT_EQ(result_.cursor_col, 4);

  host_.output().AppendLine(u"first");
  host_.output().AppendLine(u"second");
  host_.output().AppendLine(u"third");
  DrawRequest request;
  request.pane_visible = true;
  rows = Draw(12, 20, request);
  // A third of the window at most: the title and the last two lines.
  EXPECT_EQ(rows[8], " Output (F9 hides)");
  EXPECT_EQ(rows[9], "second");
  EXPECT_EQ(rows[10], "third");
  EXPECT_EQ(view.VisibleLineCount(), 7u);
}

TEST_F(TerminalDrawTest, VisibleWhitespaceLineNumbersAndWrappedLines) {
  host_.OpenText(u"\tab  \nword word word word word\n\u4e16\u754c\u4e16\u754c\u4e16x\nend");
  platform::View& view = *host_.FocusedView();
  view.Preferences().visible_whitespace = true;
  std::vector<std::string> rows = Draw(6, 12);
  // A tab as an arrow and blanks, trailing blanks as dots, dimmed; blanks inside a line stay.
  EXPECT_EQ(rows[1], "\u2192       ab\u00B7\u00B7");
  EXPECT_EQ(grid_.At(1, 0).style, CellStyle::kWhitespace);
  EXPECT_EQ(grid_.At(1, 8).style, CellStyle::kText);
  EXPECT_EQ(rows[2], "word word wo");

  view.Preferences().visible_whitespace = false;
  view.Preferences().line_numbers = true;
  view.Preferences().word_wrap = true;
  view.SetCaret({1, 20});
  rows = Draw(12, 12);
  // Four columns of numbers, eight of text. A row breaks after its last blank; the first line's
  // tab fills its first row. Further rows of a line have no number.
  EXPECT_EQ(rows[1], "  1");
  EXPECT_EQ(rows[2], "    ab");
  EXPECT_EQ(rows[3], "  2 word");
  for (int r = 4; r <= 7; ++r) EXPECT_EQ(rows[r], "    word") << r;
  // Wide characters go whole to the next row.
  EXPECT_EQ(rows[8], "  3 \u4e16\u754c\u4e16\u754c");
  EXPECT_EQ(rows[9], "    \u4e16x");
  EXPECT_EQ(rows[10], "  4 end");
  EXPECT_EQ(grid_.At(1, 2).style, CellStyle::kLineNumber);
  // The caret on the last "word" of line 2: its row, after the number column.
  EXPECT_EQ(result_.cursor_row, 7);
  EXPECT_EQ(result_.cursor_col, 4);
  // A lower view scrolls by rows to keep the caret shown: the top is part way into line 2.
  view.SetCaret({3, 2});
  rows = Draw(9, 12);
  EXPECT_EQ(rows[1], "    word");
  EXPECT_EQ(rows[7], "  4 end");
  EXPECT_EQ(result_.cursor_row, 7);
  EXPECT_EQ(result_.cursor_col, 6);
}

// Rows kept from the draw before must come out as a full layout would draw them, whatever
// changed in between: text, markers, selections, caret, sideways scroll, tab size, whitespace,
// line numbers, word wrap, folds, split.
// Rows drawn anew are handed the cells of rows moved away, and must overwrite all of them; rows
// the grid does not mark as changed must hold what they held.
TEST_F(TerminalDrawTest, KeptRowsMatchAFullLayoutAfterEveryChange) {
  const std::u16string pieces[] = {u"a",  u"\t",      u"\u4e16\u754c",          u"e\u0301",
                                   u"\n", u"xyz xyz", std::u16string(45, u'w'), u"\x01"};
  std::u16string start;
  for (int i = 0; i < 30; ++i) {
    start += u"\tline " + FromUtf8(std::to_string(i)) + u"\tfoo" +
             std::u16string(i % 3 == 0 ? 50 : 0, u'z') + u"\n";
  }
  host_.OpenText(start);
  ScreenComposer reference;
  ScreenGrid drawn;
  ScreenGrid expected;
  std::mt19937 random(7);
  auto pick = [&](uint32_t n) { return n == 0 ? 0u : static_cast<uint32_t>(random() % n); };
  for (int step = 0; step < 600; ++step) {
    platform::Window& window = *host_.ActiveWindow();
    platform::View& view = window.FocusedView();
    platform::TextBuffer& buffer = view.Buffer();
    auto any_pos = [&] {
      const uint32_t line = pick(buffer.LineCount());
      return TextPos{line, pick(buffer.LineLength(line) + 1)};
    };
    switch (pick(10)) {
      case 0:
        buffer.Insert(any_pos(), pieces[pick(std::size(pieces))]);
        break;
      case 1:
        // Whole lines put in, as `o` and `p` do.
        buffer.Insert({pick(buffer.LineCount()), 0}, pick(2) == 0 ? u"new\n" : u"\tone\ntwo\n");
        break;
      case 2: {
        const TextPos at = any_pos();
        if (pick(2) == 0 && at.line + 1 < buffer.LineCount()) {
          // Whole lines taken out, as `dd` does.
          const uint32_t end = std::min(at.line + 1 + pick(3), buffer.LineCount() - 1);
          buffer.Replace({at.line, 0}, {end, 0}, u"");
        } else {
          buffer.Replace(at, {at.line, std::min(at.column + 3, buffer.LineLength(at.line))}, u"");
        }
        break;
      }
      case 3: {
        const TextPos from = any_pos();
        buffer.Markers().Add(pick(2) == 0 ? HighlightKind::kSearch : HighlightKind::kIncSearch,
                             from, {from.line + pick(2), pick(12)});
        if (pick(4) == 0) buffer.Markers().Clear(HighlightKind::kSearch);
        break;
      }
      case 4:
        if (pick(3) == 0) {
          view.ClearSelection();
        } else {
          view.SetSelection(any_pos(), any_pos(), pick(2) == 0);
        }
        break;
      case 5: {
        // To the start or end of a line at the top of the view: a long line scrolls the view
        // sideways and back, and nothing else changes.
        const uint32_t line = std::min(view.FirstVisibleLine() + pick(3), buffer.LineCount() - 1);
        view.SetCaret({line, pick(2) == 0 ? buffer.LineLength(line) : 0});
        break;
      }
      case 6:
        view.SetCaret(any_pos());
        view.ScrollToCaret();
        break;
      case 7: {
        // Tab size, whitespace shown, the number column and word wrap come and go.
        platform::ViewPreferences& prefs = view.Preferences();
        const uint32_t which = pick(4);
        if (which == 0) prefs.tab_size = pick(2) == 0 ? 4 : 8;
        if (which == 1) prefs.visible_whitespace = !prefs.visible_whitespace;
        if (which == 2) prefs.line_numbers = !prefs.line_numbers;
        if (which == 3) prefs.word_wrap = !prefs.word_wrap;
        break;
      }
      case 8:
        // Folds come and go quickly: rows of a folded view are never kept.
        if (!view.Regions().All().empty()) {
          view.Regions().Clear();
        } else if (pick(3) == 0) {
          const TextPos from = any_pos();
          const uint32_t end = std::min(from.line + 1 + pick(3), buffer.LineCount() - 1);
          view.Regions().Add(from, {end, 0}, u"[..]");
        }
        break;
      default:
        if (pick(3) == 0) {
          host_.ToggleSplit(window);
        } else if (pick(2) == 0) {
          view.SetFirstVisibleLine(pick(buffer.LineCount()));
        } else {
          // A few lines up or down, as CTRL-E and CTRL-Y do.
          const uint32_t by = 1 + pick(3);
          const uint32_t first = view.FirstVisibleLine();
          view.SetFirstVisibleLine(pick(2) == 0 ? first + by : (first > by ? first - by : 0));
        }
        break;
    }
    // The grid drawn into holds the frame before, as the terminal editor's does. The rows it
    // does not mark as changed are all the terminal is not sent again.
    if (step == 0) drawn.Resize(14, 40);
    const ScreenGrid before = drawn;
    drawn.ClearChanges();
    const DrawResult kept = composer_.Draw(host_, {}, drawn);
    expected.Resize(14, 40);
    reference.ForgetDrawnRows();
    const DrawResult full = reference.Draw(host_, {}, expected);
    ASSERT_TRUE(drawn == expected) << "step " << step;
    for (int r = 0; r < 14; ++r) {
      if (drawn.RowChanged(r)) continue;
      for (int c = 0; c < 40; ++c) ASSERT_EQ(drawn.At(r, c), before.At(r, c)) << "step " << step;
    }
    ASSERT_EQ(kept.cursor_row, full.cursor_row) << "step " << step;
    ASSERT_EQ(kept.cursor_col, full.cursor_col) << "step " << step;
  }
}

TEST_F(TerminalDrawTest, AMillionLinesDrawOnlyTheShownLines) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tavik_draw_" + std::to_string(getpid()));
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 1; i <= 1000000; ++i) out << "row " << i << "\n";
  }
  ASSERT_NE(host_.OpenFile(path.string()), nullptr);
  std::filesystem::remove(path);
  platform::View& view = *host_.FocusedView();
  view.SetCaret({999999, 0});
  view.ScrollToCaret();
  std::vector<std::string> rows = Draw(6, 60);
  // Telling the view its height keeps the caret's line in sight at the bottom.
  EXPECT_EQ(rows[1], "row 999997");
  EXPECT_EQ(rows[4], "row 1000000");
  EXPECT_EQ(result_.cursor_row, 4);
  EXPECT_NE(rows[5].find("1000000,1"), std::string::npos);
  view.SetFirstVisibleLine(999998);
  rows = Draw(6, 60);
  EXPECT_EQ(rows[1], "row 999999");
  EXPECT_EQ(rows[3], "~");
}

}  // namespace
}  // namespace tavik::app
