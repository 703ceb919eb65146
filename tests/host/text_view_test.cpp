// TextView over the in-process host editor: reads and the line cache, display columns, clamping,
// collapsed regions in both coordinate spaces, edit primitives with mark ".", and the grouping of
// engine commands and host edits into undo steps.
#include "engine/text/text_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/state/buffer_marks.h"
#include "host/host_view_adapter.h"
#include "platform/editor_host.h"

namespace tavik {
namespace {

class TextViewTest : public ::testing::Test {
 protected:
  void Open(std::u16string_view text, uint32_t tab_size = 8) {
    host_.OpenText(text);
    view_ = host_.FocusedView();
    view_->Preferences().tab_size = tab_size;
    text_.reset();  // before the adapter it uses
    adapter_ = std::make_unique<host::HostViewAdapter>(host_, *view_);
    text_ = std::make_unique<TextView>(adapter_.get());
    text_->SetMarks(&marks_);
  }

  std::u16string Buffer() const { return view_->Buffer().Text(); }
  TextView& T() { return *text_; }

  // One engine command that inserts text at a position.
  void InsertCommand(TextPos pos, std::u16string_view text) {
    TextView::CommandScope command(T());
    T().InsertText(pos, text);
  }

  platform::EditorHost host_;
  platform::View* view_ = nullptr;
  BufferMarks marks_;
  std::unique_ptr<host::HostViewAdapter> adapter_;
  std::unique_ptr<TextView> text_;
};

// ---- Reading ----

TEST_F(TextViewTest, EmptyBufferAndReadsAtTheLineEnd) {
  Open(u"");
  EXPECT_EQ(T().LineCount(), 1u);
  EXPECT_EQ(T().LineLength(0), 0u);
  EXPECT_EQ(T().CharAt(0, 0), 0);
  EXPECT_EQ(T().LineText(0), u"");
  EXPECT_EQ(T().LineLength(5), 0u);
  EXPECT_EQ(T().CharAt(5, 0), 0);
}

TEST_F(TextViewTest, CharAtAndLeadingSpaces) {
  Open(u"abc\n  \tx");
  EXPECT_EQ(T().CharAt(0, 2), u'c');
  EXPECT_EQ(T().CharAt(0, 3), 0);  // at the line length
  EXPECT_EQ(T().CharAt(0, 99), 0);
  EXPECT_EQ(T().CharAt(1, 2), u'\t');
  EXPECT_EQ(T().LeadingSpaces(1), 2u);  // spaces only, not the tab
  EXPECT_EQ(T().LeadingSpaces(0), 0u);
}

TEST_F(TextViewTest, LineCacheFollowsEditsAndHostChanges) {
  Open(u"one\ntwo");
  EXPECT_EQ(T().LineText(0), u"one");
  EXPECT_EQ(T().CharAt(0, 0), u'o');
  // An edit through the TextView.
  T().InsertText({0, 0}, u"X");
  EXPECT_EQ(T().LineText(0), u"Xone");
  EXPECT_EQ(T().LineLength(0), 4u);
  // An edit made by the host itself reaches the TextView only as a notification.
  EXPECT_EQ(T().CharAt(1, 0), u't');
  view_->Buffer().Replace({1, 0}, {1, 3}, u"2");
  EXPECT_EQ(T().CharAt(1, 0), u'2');
  EXPECT_EQ(T().LineText(1), u"2");
  // A host command run by the engine.
  view_->SetCaret({1, 1});
  T().ExecuteHostCommand(u"Edit.BreakLine");
  EXPECT_EQ(T().LineCount(), 3u);
  EXPECT_EQ(T().LineText(1), u"2");
  EXPECT_EQ(T().LineText(2), u"");
}

// ---- Display columns ----

TEST_F(TextViewTest, VirtualColumnExpandsTabs) {
  Open(u"\tab\nabc\na\tb", 4);
  EXPECT_EQ(T().VirtualColumn(0, 0), 0u);
  EXPECT_EQ(T().VirtualColumn(0, 1), 4u);
  EXPECT_EQ(T().VirtualColumn(0, 3), 6u);
  EXPECT_EQ(T().VirtualColumn(0, 5), 8u);  // two past the end
  EXPECT_EQ(T().VirtualColumn(2, 2), 4u);  // a tab after one character reaches the stop
  EXPECT_EQ(T().VirtualColumn(1, 3), 3u);
}

TEST_F(TextViewTest, ColumnOfVirtualInsideAndBeyondTheLine) {
  Open(u"\tab\nabc\na\tb", 4);
  for (uint32_t v = 0; v < 4; ++v) EXPECT_EQ(T().ColumnOfVirtual(0, v, false), 0u) << v;
  EXPECT_EQ(T().ColumnOfVirtual(0, 4, false), 1u);
  EXPECT_EQ(T().ColumnOfVirtual(0, 5, false), 2u);
  EXPECT_EQ(T().ColumnOfVirtual(1, 10, false), 3u);
  EXPECT_EQ(T().ColumnOfVirtual(1, 10, true), 10u);
  EXPECT_EQ(T().ColumnOfVirtual(1, 2, true), 2u);
  EXPECT_EQ(T().ColumnOfVirtual(0, 9, true), 6u);   // width 6, three missing columns
  EXPECT_EQ(T().ColumnOfVirtual(2, 3, false), 1u);  // inside the tab
  // Round trip for every character start.
  for (uint32_t c = 0; c <= 3; ++c) {
    EXPECT_EQ(T().ColumnOfVirtual(2, T().VirtualColumn(2, c), false), c) << c;
  }
}

TEST_F(TextViewTest, TabSizeZeroFromTheHostBecomesEight) {
  Open(u"\tx", 0);
  EXPECT_EQ(T().TabSize(), 8u);
  EXPECT_EQ(T().VirtualColumn(0, 1), 8u);
}

// ---- Clamping ----

TEST_F(TextViewTest, ClampPositionToLinesAndColumns) {
  Open(u"abc\n\nxy");
  EXPECT_EQ(T().ClampPosition(1, 5, false, false), (TextPos{1, 0}));  // empty line
  EXPECT_EQ(T().ClampPosition(1, 5, true, false), (TextPos{1, 0}));
  EXPECT_EQ(T().ClampPosition(0, 9, false, false), (TextPos{0, 2}));
  EXPECT_EQ(T().ClampPosition(0, 9, true, false), (TextPos{0, 3}));
  EXPECT_EQ(T().ClampPosition(7, 9, false, false), (TextPos{2, 1}));  // line past the end
  EXPECT_EQ(T().ClampPosition(7, 9, false, true), (TextPos{2, 9}));   // keep-column
  EXPECT_EQ(T().ClampPosition(0, 1, false, false), (TextPos{0, 1}));
}

TEST_F(TextViewTest, ClampingIntoACollapsedRegionGivesItsStart) {
  Open(u"ab{xy}\nc {\n  d\n}");
  ASSERT_EQ(adapter_->CreateCollapsedRegion({0, 2}, {0, 6}, u"..."), HostResult::kOk);
  ASSERT_EQ(adapter_->CreateCollapsedRegion({1, 2}, {3, 1}, u"{...}"), HostResult::kOk);
  // Column clamped back from past the region to its last character.
  EXPECT_EQ(T().ClampPosition(0, 9, false, false), (TextPos{0, 2}));
  // Line clamped from past the end into the region that hides the last line.
  EXPECT_EQ(T().ClampPosition(9, 0, false, false), (TextPos{1, 2}));
  // A position already inside a region stays.
  EXPECT_EQ(T().ClampPosition(2, 1, false, false), (TextPos{2, 1}));
  // Nothing moved: no region look-up changes it.
  EXPECT_EQ(T().ClampPosition(0, 1, false, false), (TextPos{0, 1}));
}

// ---- Collapsed regions ----

class CollapsedTextViewTest : public TextViewTest {
 protected:
  CollapsedTextViewTest() {
    Open(u"alpha\nbeta {\n  gamma\n}\ndelta", 4);
    EXPECT_EQ(adapter_->CreateCollapsedRegion({1, 5}, {3, 1}, u"{...}"), HostResult::kOk);
  }
};

TEST_F(CollapsedTextViewTest, LineEndsAndStartsThroughARegion) {
  EXPECT_EQ(T().EndOfLine(1), (TextPos{3, 1}));
  EXPECT_EQ(T().EndOfLine(2), (TextPos{3, 1}));
  EXPECT_EQ(T().EndOfLine(0), (TextPos{0, 5}));
  EXPECT_EQ(T().EndOfLine(4), (TextPos{4, 5}));
  EXPECT_EQ(T().EndOfLine(99), (TextPos{4, 5}));
  EXPECT_EQ(T().StartOfLine(3), (TextPos{1, 0}));
  EXPECT_EQ(T().StartOfLine(2), (TextPos{1, 0}));
  EXPECT_EQ(T().StartOfLine(1), (TextPos{1, 0}));
  EXPECT_EQ(T().StartOfLine(4), (TextPos{4, 0}));
  EXPECT_EQ(T().StartOfLine(0), (TextPos{0, 0}));
}

TEST_F(CollapsedTextViewTest, BufferAndViewCoordinates) {
  EXPECT_EQ(T().ViewLineCount(), 3u);
  EXPECT_EQ(T().ViewLineLength(1), 6u);  // "beta " and the placeholder unit
  EXPECT_EQ(T().ViewLineLength(7), 0u);
  EXPECT_EQ(T().BufferToView({0, 3}), (ViewPos{0, 3}));
  EXPECT_EQ(T().BufferToView({1, 2}), (ViewPos{1, 2}));
  EXPECT_EQ(T().BufferToView({2, 3}), (ViewPos{1, 5}));  // inside: the region's start
  EXPECT_EQ(T().BufferToView({1, 5}), (ViewPos{1, 5}));
  EXPECT_EQ(T().BufferToView({4, 3}), (ViewPos{2, 3}));
  EXPECT_EQ(T().ViewToBuffer({1, 5}), (TextPos{1, 5}));
  EXPECT_EQ(T().ViewToBuffer({1, 6}), (TextPos{3, 1}));  // just after the placeholder
  EXPECT_EQ(T().ViewToBuffer({1, 8}), (TextPos{3, 3}));  // the excess carries over
  EXPECT_EQ(T().ViewToBuffer({2, 3}), (TextPos{4, 3}));
  EXPECT_EQ(T().ViewToBuffer({2, 9}), (TextPos{4, 9}));
  // Round trips outside the region.
  for (TextPos p : {TextPos{0, 0}, TextPos{0, 5}, TextPos{1, 4}, TextPos{4, 5}}) {
    EXPECT_EQ(T().ViewToBuffer(T().BufferToView(p)), p);
  }
}

TEST_F(CollapsedTextViewTest, ViewDisplayColumnsCountThePlaceholder) {
  EXPECT_EQ(T().ViewVirtualColumn(1, 5), 5u);
  EXPECT_EQ(T().ViewVirtualColumn(1, 6), 10u);  // after "{...}"
  EXPECT_EQ(T().ViewVirtualColumn(1, 8), 12u);
  EXPECT_EQ(T().ViewColumnOfVirtual(1, 5), 5u);
  EXPECT_EQ(T().ViewColumnOfVirtual(1, 7), 5u);  // inside the placeholder
  EXPECT_EQ(T().ViewColumnOfVirtual(1, 10), 6u);
  EXPECT_EQ(T().ViewColumnOfVirtual(1, 40), 6u);
  EXPECT_EQ(T().ViewColumnOfVirtual(2, 2), 2u);
}

TEST_F(TextViewTest, ViewDisplayColumnsWithTabsAndTwoRegions) {
  Open(u"\tf(a) {b} {c}\nz", 4);
  ASSERT_EQ(adapter_->CreateCollapsedRegion({0, 6}, {0, 9}, u"<>"), HostResult::kOk);
  ASSERT_EQ(adapter_->CreateCollapsedRegion({0, 10}, {0, 13}, u"<...>"), HostResult::kOk);
  // View line: tab f ( a ) blank FFFC blank FFFC
  EXPECT_EQ(T().ViewLineLength(0), 9u);
  EXPECT_EQ(T().ViewVirtualColumn(0, 1), 4u);
  EXPECT_EQ(T().ViewVirtualColumn(0, 6), 9u);
  EXPECT_EQ(T().ViewVirtualColumn(0, 7), 11u);  // + "<>"
  EXPECT_EQ(T().ViewVirtualColumn(0, 8), 12u);
  EXPECT_EQ(T().ViewVirtualColumn(0, 9), 17u);   // + "<...>"
  EXPECT_EQ(T().ViewColumnOfVirtual(0, 2), 0u);  // inside the tab
  EXPECT_EQ(T().ViewColumnOfVirtual(0, 11), 7u);
  EXPECT_EQ(T().ViewColumnOfVirtual(0, 14), 8u);  // inside the second placeholder
  EXPECT_EQ(T().ViewColumnOfVirtual(0, 17), 9u);
}

// ---- Edits and mark "." ----

TEST_F(TextViewTest, DeleteRangeInEitherOrder) {
  Open(u"alpha\nbeta\ngamma");
  T().DeleteRange({0, 2}, {2, 1});
  std::u16string forward = Buffer();
  TextPos forward_caret = T().GetCaret();

  Open(u"alpha\nbeta\ngamma");
  view_->SetCaret({2, 4});
  T().DeleteRange({2, 1}, {0, 2});
  EXPECT_EQ(Buffer(), forward);
  EXPECT_EQ(Buffer(), u"alamma");
  EXPECT_EQ(T().GetCaret(), (TextPos{0, 2}));
  EXPECT_EQ(view_->Caret(), (TextPos{0, 2}));
  EXPECT_EQ(forward_caret, (TextPos{0, 2}));
  // Mark "." goes to the first position as passed.
  EXPECT_EQ(marks_.Get(u'.'), (TextPos{2, 1}));
}

TEST_F(TextViewTest, DeleteRangeWithEndOfLineColumn) {
  Open(u"abc\ndef");
  T().DeleteRange({0, 1}, {0, kEndOfLineColumn});
  EXPECT_EQ(Buffer(), u"a\ndef");
  T().DeleteRange({0, kEndOfLineColumn}, {1, 0});  // joins the lines
  EXPECT_EQ(Buffer(), u"adef");
}

TEST_F(TextViewTest, InsertTextSetsDotAndSplitsLines) {
  Open(u"abc\ndef");
  T().InsertText({1, 2}, u"X\r\nY");
  EXPECT_EQ(Buffer(), u"abc\ndeX\nYf");
  EXPECT_EQ(marks_.Get(u'.'), (TextPos{1, 2}));
  T().InsertText({0, kEndOfLineColumn}, u"!");
  EXPECT_EQ(T().LineText(0), u"abc!");
}

TEST_F(TextViewTest, ReplaceCharsStopsAtTheLineEnd) {
  Open(u"abcd\nnext");
  marks_.Set(u'.', {1, 1});
  T().ReplaceChars({0, 2}, 10, u"XY");
  EXPECT_EQ(Buffer(), u"abXY\nnext");
  EXPECT_EQ(marks_.Get(u'.'), (TextPos{1, 1}));  // callers set it, not ReplaceChars
  T().ReplaceChars({0, 1}, 0, u"-");             // count 0 inserts
  EXPECT_EQ(T().LineText(0), u"a-bXY");
  T().ReplaceChars({0, 0}, 2, u"Z");
  EXPECT_EQ(T().LineText(0), u"ZbXY");
}

TEST_F(TextViewTest, ReplaceCharsIsOneUndoUnit) {
  Open(u"abcd");
  {
    TextView::CommandScope command(T());
    T().ReplaceChars({0, 1}, 2, u"XYZ");
  }
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abcd");
}

TEST_F(TextViewTest, OpenLineBelowIndentsLikeTheLineAbove) {
  Open(u"    foo\nbar");
  T().OpenLineBelow(T().EndOfLine(0));
  EXPECT_EQ(T().LineCount(), 3u);
  EXPECT_EQ(T().LineText(0), u"    foo");
  EXPECT_EQ(T().LineText(1), u"    ");
  EXPECT_EQ(T().LineText(2), u"bar");
  EXPECT_EQ(T().GetCaret(), (TextPos{1, 4}));
  EXPECT_EQ(view_->Caret(), (TextPos{1, 4}));
  EXPECT_EQ(marks_.Get(u'.'), (TextPos{1, 0}));
}

// ---- Undo grouping ----

TEST_F(TextViewTest, EachEngineCommandIsOneUndoStep) {
  Open(u"abc");
  {
    TextView::CommandScope command(T());
    T().InsertText({0, 0}, u"1");
    T().InsertText({0, 4}, u"2");
  }
  {
    TextView::CommandScope command(T());
    T().DeleteRange({0, 1}, {0, 2});
    T().InsertText({0, 0}, u"3");
  }
  EXPECT_EQ(Buffer(), u"31bc2");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"1abc2");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
  T().UndoStep();  // nothing left
  EXPECT_EQ(Buffer(), u"abc");
}

TEST_F(TextViewTest, UndoOnAnEmptyHistoryDoesNothing) {
  Open(u"abc\ndef");
  view_->SetCaret({1, 2});
  T().UndoStep();
  T().RedoStep();
  EXPECT_EQ(Buffer(), u"abc\ndef");
  EXPECT_EQ(T().GetCaret(), (TextPos{1, 2}));
}

TEST_F(TextViewTest, ACommandWithoutEditsLeavesNoStep) {
  Open(u"abc");
  InsertCommand({0, 0}, u"1");
  { TextView::CommandScope command(T()); }
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
}

TEST_F(TextViewTest, NestedCommandsFormOneStep) {
  Open(u"abc");
  {
    TextView::CommandScope outer(T());
    T().InsertText({0, 0}, u"1");
    {
      TextView::CommandScope inner(T());
      EXPECT_EQ(T().CommandDepth(), 2u);
      T().InsertText({0, 0}, u"2");
    }
    T().InsertText({0, 0}, u"3");
  }
  EXPECT_EQ(T().CommandDepth(), 0u);
  TextView::CommandScope::CloseKept(T());  // with no command kept open it does nothing
  EXPECT_EQ(T().CommandDepth(), 0u);
  EXPECT_EQ(Buffer(), u"321abc");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
}

TEST_F(TextViewTest, AHostEditBetweenCommandsIsItsOwnStep) {
  Open(u"abc");
  InsertCommand({0, 0}, u"1");
  view_->Buffer().Replace({0, 4}, {0, 4}, u"H");  // the host edits on its own
  EXPECT_EQ(Buffer(), u"1abcH");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"1abc");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
}

TEST_F(TextViewTest, AHostEditFollowedByACommandStaysApart) {
  Open(u"abc");
  InsertCommand({0, 0}, u"1");
  view_->SetCaret({0, 4});
  host_.TypeKey(*view_, KeyCode::Char(u'H'));
  host_.TypeKey(*view_, KeyCode::Char(u'I'));
  InsertCommand({0, 0}, u"2");
  EXPECT_EQ(Buffer(), u"21abcHI");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"1abcHI");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"1abc");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
}

// An insert session: the command its first key opened stays open over later batches of keys,
// each bracketed by its own scope, and all of it is one step.
TEST_F(TextViewTest, AKeptCommandIsOneStepUntilClosed) {
  Open(u"abc");
  {
    TextView::CommandScope command(T());
    T().InsertText({0, 0}, u"1");
    command.KeepOpen();
  }
  EXPECT_EQ(T().CommandDepth(), 1u);
  InsertCommand({0, 0}, u"2");
  TextView::CommandScope::CloseKept(T());
  EXPECT_EQ(T().CommandDepth(), 0u);
  InsertCommand({0, 0}, u"3");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"21abc");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
}

TEST_F(TextViewTest, AHostEditInsideACommandBelongsToIt) {
  Open(u"abc");
  {
    TextView::CommandScope command(T());
    T().InsertText({0, 0}, u"1");
    view_->Buffer().Replace({0, 4}, {0, 4}, u"H");
  }
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
}

TEST_F(TextViewTest, RedoStepRedoesOneEngineCommand) {
  Open(u"abc");
  InsertCommand({0, 0}, u"1");
  {
    TextView::CommandScope command(T());
    T().InsertText({0, 0}, u"2");
    T().InsertText({0, 0}, u"3");
  }
  T().UndoStep();
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
  T().RedoStep();
  EXPECT_EQ(Buffer(), u"1abc");
  T().RedoStep();
  EXPECT_EQ(Buffer(), u"321abc");
  T().RedoStep();  // nothing left
  EXPECT_EQ(Buffer(), u"321abc");
}

TEST_F(TextViewTest, ACommandAfterRedoIsItsOwnStep) {
  Open(u"abc");
  InsertCommand({0, 0}, u"1");
  T().UndoStep();
  T().RedoStep();
  EXPECT_EQ(Buffer(), u"1abc");
  InsertCommand({0, 0}, u"2");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"1abc");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
}

TEST_F(TextViewTest, UndoNotificationsDoNotOpenAHostStep) {
  Open(u"abc");
  InsertCommand({0, 0}, u"1");
  InsertCommand({0, 0}, u"2");
  T().UndoStep();  // outside any command: its own change notifications are not host edits
  InsertCommand({0, 0}, u"3");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"1abc");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
}

TEST_F(TextViewTest, UndoStepReadsTheCaretBack) {
  Open(u"abc\ndef");
  view_->SetCaret({1, 2});
  T().RefreshFromHost(true);
  InsertCommand({0, 1}, u"xyz");
  view_->SetCaret({1, 0});
  T().RefreshFromHost(true);
  T().UndoStep();
  EXPECT_EQ(T().GetCaret(), view_->Caret());
}

TEST_F(TextViewTest, EndCommandClosesOpenCompoundEdits) {
  Open(u"abc");
  {
    TextView::CommandScope command(T());
    TextView::CompoundScope outer(T());
    TextView::CompoundScope inner(T());
    T().InsertText({0, 0}, u"1");
    command.Close();  // the command ends before the compounds opened inside it
    InsertCommand({0, 0}, u"2");
  }
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"1abc");
}

// An undo inside an open compound edit (a command run by ":g" that undoes) reverts the edits
// of the compound so far, never an older unit underneath them; later edits join a new compound
// and the whole command is still one step.
TEST_F(TextViewTest, UndoAndRedoInsideAnOpenCompoundKeepTextAndHistoryInStep) {
  Open(u"abc");
  InsertCommand({0, 0}, u"1");
  {
    TextView::CommandScope command(T());
    TextView::CompoundScope compound(T());
    T().InsertText({0, 4}, u"2");
    EXPECT_EQ(Buffer(), u"1abc2");
    T().UndoStep();
    EXPECT_EQ(Buffer(), u"1abc");
    T().RedoStep();
    EXPECT_EQ(Buffer(), u"1abc2");
    T().InsertText({0, 0}, u"3");
  }
  EXPECT_EQ(Buffer(), u"31abc2");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"1abc");
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc");
}

// ---- Caret, selection, scrolling and a detached view ----

TEST_F(TextViewTest, LineSelectionWidensThroughRegions) {
  Open(u"alpha\nbeta {\n  gamma\n}\ndelta");
  ASSERT_EQ(adapter_->CreateCollapsedRegion({1, 5}, {3, 1}, u"{...}"), HostResult::kOk);
  T().SetSelection({4, 2}, {1, 3}, SelectionKind::kLine);
  Selection s = T().GetSelection();
  EXPECT_TRUE(s.has_selection);
  EXPECT_EQ(s.anchor, (TextPos{4, 5}));
  EXPECT_EQ(s.active, (TextPos{1, 0}));
}

TEST_F(TextViewTest, RefreshReportsHostCaretMoves) {
  Open(u"abc\ndef");
  EXPECT_FALSE(T().RefreshFromHost(false));
  view_->SetCaret({1, 1});
  EXPECT_TRUE(T().RefreshFromHost(false));
  EXPECT_EQ(T().GetCaret(), (TextPos{1, 1}));
  EXPECT_FALSE(T().RefreshFromHost(false));
  view_->SetSelection({0, 0}, {1, 2}, true);
  T().RefreshFromHost(false, true);
  EXPECT_EQ(T().GetSelection().kind, SelectionKind::kBlock);
  T().RefreshFromHost(false, false);
  EXPECT_FALSE(T().GetSelection().has_selection);
}

TEST_F(TextViewTest, ScrollingStaysAtOrAboveLineZero) {
  std::u16string text;
  for (int i = 0; i < 100; ++i) text += u"line\n";
  Open(text);
  view_->SetVisibleLineCount(10);
  T().ScrollBy(5);
  EXPECT_EQ(T().VisibleLines().first_line, 5u);
  T().ScrollBy(-20);
  EXPECT_EQ(T().VisibleLines().first_line, 0u);
  T().ScrollLineTo({50, 0}, ScrollPlacement::kCenter);
  EXPECT_EQ(T().VisibleLines().first_line, 45u);
  T().ScrollLineTo({50, 0}, ScrollPlacement::kBottom);
  EXPECT_EQ(T().VisibleLines().first_line, 41u);
  T().ScrollLineTo({2, 0}, ScrollPlacement::kBottom);
  EXPECT_EQ(T().VisibleLines().first_line, 0u);
}

TEST_F(TextViewTest, ADetachedViewGivesNeutralValues) {
  Open(u"abc\ndef");
  T().Detach();
  EXPECT_FALSE(T().IsAttached());
  EXPECT_EQ(T().LineCount(), 1u);
  EXPECT_EQ(T().LineLength(0), 0u);
  EXPECT_EQ(T().CharAt(0, 0), 0);
  EXPECT_EQ(T().BufferToView({1, 1}), (ViewPos{0, 0}));
  EXPECT_EQ(T().InsertText({0, 0}, u"x"), HostResult::kUnexpected);
  T().UndoStep();
  EXPECT_EQ(Buffer(), u"abc\ndef");
}

}  // namespace
}  // namespace tavik
