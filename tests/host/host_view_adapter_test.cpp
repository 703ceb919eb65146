// The engine's host operations over a platform view: reads, edits, undo units, coordinates,
// commands, listeners and behaviour once the view is gone.
#include "host/host_view_adapter.h"

#include <gtest/gtest.h>

namespace tavik::host {
namespace {

class HostViewAdapterTest : public ::testing::Test {
 protected:
  HostViewAdapterTest() {
    host_.OpenText(u"alpha\nbeta {\n  gamma\n}\ndelta");
    adapter_ = std::make_unique<HostViewAdapter>(host_, *host_.FocusedView());
  }

  platform::EditorHost host_;
  std::unique_ptr<HostViewAdapter> adapter_;
};

TEST_F(HostViewAdapterTest, ReadsAndEditsWithNotifications) {
  EXPECT_EQ(adapter_->LineCount(), 5u);
  EXPECT_EQ(adapter_->LineLength(1), 6u);
  EXPECT_EQ(adapter_->LineLength(9), 0u);
  std::u16string line;
  EXPECT_TRUE(adapter_->ReadLine(2, line));
  EXPECT_EQ(line, u"  gamma");
  EXPECT_FALSE(adapter_->ReadLine(5, line));

  std::vector<TextChange> changes;
  adapter_->SetChangeListener([&changes](const TextChange& c) { changes.push_back(c); });
  EXPECT_EQ(adapter_->ReplaceText({0, 5}, {1, 0}, u"\r\nnew\r\n"), HostResult::kOk);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].old_line_count, 2u);
  EXPECT_EQ(changes[0].new_line_count, 3u);
  EXPECT_EQ(changes[0].new_end, (TextPos{2, 0}));
  EXPECT_EQ(adapter_->LineCount(), 6u);
  EXPECT_EQ(adapter_->ReplaceText({9, 0}, {9, 0}, u"x"), HostResult::kFail);
  adapter_->SetChangeListener(nullptr);
  adapter_->ReplaceText({0, 0}, {0, 0}, u"x");
  EXPECT_EQ(changes.size(), 1u);
}

TEST_F(HostViewAdapterTest, UndoUnitsMarkersAndRedoThrough) {
  const int marker = 0;
  adapter_->OpenCompoundEdit();
  adapter_->ReplaceText({0, 0}, {0, 0}, u"1");
  adapter_->ReplaceText({1, 0}, {1, 0}, u"2");
  EXPECT_EQ(adapter_->CloseCompoundEdit(), HostResult::kOk);
  EXPECT_EQ(adapter_->PushUndoMarker(&marker), HostResult::kOk);
  adapter_->ReplaceText({4, 0}, {4, 5}, u"");
  ASSERT_EQ(adapter_->UndoUnitCount(), 3u);
  EXPECT_EQ(adapter_->UndoUnitAt(1).marker_tag, &marker);
  EXPECT_EQ(adapter_->UndoUnitAt(7).id, 0u);

  EXPECT_EQ(adapter_->ExecuteCommand(u"Edit.Undo", u""), HostResult::kOk);
  EXPECT_EQ(adapter_->ExecuteCommand(u"Edit.Undo", u""), HostResult::kOk);  // the marker
  EXPECT_EQ(adapter_->ExecuteCommand(u"Edit.Undo", u""), HostResult::kOk);
  std::u16string line;
  adapter_->ReadLine(0, line);
  EXPECT_EQ(line, u"alpha");
  EXPECT_EQ(adapter_->Caret(), (TextPos{0, 0}));
  ASSERT_EQ(adapter_->RedoUnitCount(), 3u);
  EXPECT_EQ(adapter_->RedoThrough(adapter_->RedoUnitAt(1).id), HostResult::kOk);
  adapter_->ReadLine(1, line);
  EXPECT_EQ(line, u"2beta {");
  EXPECT_EQ(adapter_->RedoUnitCount(), 1u);
  EXPECT_EQ(adapter_->RedoThrough(12345), HostResult::kFail);
}

TEST_F(HostViewAdapterTest, CollapsedRegionsThroughTheView) {
  EXPECT_EQ(adapter_->CreateCollapsedRegion({1, 5}, {3, 1}, u"{...}"), HostResult::kOk);
  EXPECT_EQ(adapter_->Caret(), (TextPos{1, 5}));
  EXPECT_EQ(adapter_->ViewLineCount(), 3u);
  std::u16string line;
  EXPECT_TRUE(adapter_->ReadViewLine(1, line));
  EXPECT_EQ(line, u"beta \uFFFC");
  EXPECT_EQ(adapter_->BufferToView({4, 3}), (ViewPos{2, 3}));
  EXPECT_EQ(adapter_->ViewToBuffer({1, 6}), (TextPos{3, 1}));
  ASSERT_TRUE(adapter_->CollapsedRegionAt({2, 0}));
  EXPECT_EQ(adapter_->CollapsedRegionAt({2, 0})->placeholder, u"{...}");
  EXPECT_FALSE(adapter_->CollapsedRegionAt({3, 1}));
  EXPECT_EQ(adapter_->RegionsOnViewLine(1).size(), 1u);
  adapter_->ExpandAllRegions();
  EXPECT_EQ(adapter_->ViewLineCount(), 5u);
}

TEST_F(HostViewAdapterTest, SelectionPreferencesAndScrolling) {
  adapter_->SetSelection({0, 1}, {2, 3}, SelectionShape::kBlock);
  const HostSelection sel = adapter_->Selection();
  EXPECT_EQ(sel.anchor, (TextPos{0, 1}));
  EXPECT_EQ(sel.active, (TextPos{2, 3}));
  EXPECT_EQ(sel.shape, SelectionShape::kBlock);
  EXPECT_FALSE(sel.empty);
  adapter_->ClearSelection();
  EXPECT_TRUE(adapter_->Selection().empty);
  EXPECT_EQ(adapter_->TabSize(), 8u);
  EXPECT_EQ(adapter_->IndentSize(), 4u);
  EXPECT_FALSE(adapter_->InsertTabs());
  adapter_->SetFirstVisibleLine(99);
  EXPECT_EQ(adapter_->FirstVisibleLine(), 4u);
  EXPECT_EQ(adapter_->DocumentName(), u"Untitled-1");
}

TEST_F(HostViewAdapterTest, SplitFocusCloseAndAfterlife) {
  EXPECT_FALSE(adapter_->IsSplit());
  EXPECT_EQ(adapter_->ExecuteCommand(u"Window.Split", u""), HostResult::kOk);
  EXPECT_TRUE(adapter_->IsSplit());
  platform::View* other = host_.ActiveWindow()->views[1].get();
  HostViewAdapter second(host_, *other);
  adapter_->FocusOtherView();
  EXPECT_EQ(host_.FocusedView(), other);
  EXPECT_EQ(second.DocumentId(), adapter_->DocumentId());
  // Removing the split from the other pane closes this view, not the document.
  EXPECT_EQ(second.ExecuteCommand(u"Window.Split", u""), HostResult::kOk);
  EXPECT_FALSE(adapter_->IsAlive());
  EXPECT_TRUE(second.IsAlive());
  EXPECT_EQ(adapter_->LineCount(), 1u);
  EXPECT_EQ(adapter_->ReplaceText({0, 0}, {0, 0}, u"x"), HostResult::kUnexpected);
  EXPECT_EQ(second.ExecuteCommand(u"File.Close", u""), HostResult::kOk);
  EXPECT_FALSE(second.IsAlive());
  EXPECT_EQ(second.ExecuteCommand(u"Edit.Undo", u""), HostResult::kUnexpected);
  EXPECT_EQ(second.Caret(), (TextPos{0, 0}));
}

TEST_F(HostViewAdapterTest, TimerComesAsATimerMessageWhenTheClockComesDue) {
  platform::View& view = *host_.FocusedView();
  int fired = 0;
  const platform::WindowProcedure host = view.SetWindowProcedure(
      [&](platform::View& v, const platform::WindowMessage& message) -> intptr_t {
        if (message.message == platform::wm::kTimer && message.wparam == 7) ++fired;
        return host(v, message);
      });
  adapter_->SetWindowTimerId(7);
  adapter_->StartTimer(1000);
  host_.AdvanceClock(500);
  adapter_->StopTimer();
  host_.AdvanceClock(600);
  EXPECT_EQ(fired, 0);
  adapter_->StartTimer(1000);
  host_.AdvanceClock(1000);
  EXPECT_EQ(fired, 1);
}

}  // namespace
}  // namespace tavik::host
