// A small host for engine tests: one buffer of lines in memory shown unwrapped, without collapsed
// regions or undo history, and an engine host that records output and answers questions as told.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_host.h"
#include "engine/text/host_view.h"

namespace tavik {

class FakeHostView : public HostView {
 public:
  // Lines split on '\n' (so "a\n" has two lines, the second empty).
  explicit FakeHostView(std::u16string_view text = u"");

  std::u16string Text() const;
  const std::vector<std::u16string>& Lines() const { return lines_; }
  // Host commands the engine ran, as "Name" or "Name argument".
  const std::vector<std::u16string>& Commands() const { return commands_; }
  uint32_t beeps() const { return beeps_; }
  void set_tab_size(uint32_t size) { tab_size_ = size; }
  void set_insert_tabs(bool on) { insert_tabs_ = on; }
  void set_visible_lines(uint32_t count) { visible_lines_ = count; }
  // Hands out lines one byte per unit as well, as a host storing Latin-1 lines narrow does.
  void set_narrow_lines(bool on) { narrow_lines_ = on; }

  bool IsAlive() const override { return true; }
  uint32_t LineCount() const override { return uint32_t(lines_.size()); }
  uint32_t LineLength(uint32_t line) const override;
  bool ReadLine(uint32_t line, std::u16string& out) const override;
  uint32_t ReadNarrowLines(uint32_t first, std::span<std::string_view> out) const override;
  HostResult ReplaceText(TextPos start, TextPos end, std::u16string_view text) override;
  HostResult OpenCompoundEdit() override { return HostResult::kOk; }
  HostResult CloseCompoundEdit() override { return HostResult::kOk; }

  uint32_t UndoUnitCount() const override { return 0; }
  UndoUnitInfo UndoUnitAt(uint32_t) const override { return {}; }
  uint32_t RedoUnitCount() const override { return 0; }
  UndoUnitInfo RedoUnitAt(uint32_t) const override { return {}; }
  HostResult PushUndoMarker(const void*) override { return HostResult::kOk; }
  HostResult RedoThrough(uint64_t) override { return HostResult::kFail; }

  TextPos Caret() const override { return caret_; }
  void SetCaret(TextPos pos) override { caret_ = pos; }
  HostSelection Selection() const override { return selection_; }
  void SetSelection(TextPos anchor, TextPos active, SelectionShape shape) override {
    selection_ = {anchor, active, shape, anchor == active};
  }
  void ClearSelection() override { selection_ = {caret_, caret_, SelectionShape::kCharacter}; }

  std::optional<CollapsedRegion> CollapsedRegionAt(TextPos) const override { return {}; }
  ViewPos BufferToView(TextPos pos) const override { return {pos.line, pos.column}; }
  TextPos ViewToBuffer(ViewPos pos) const override { return {pos.line, pos.column}; }
  uint32_t ViewLineCount() const override { return LineCount(); }
  bool ReadViewLine(uint32_t view_line, std::u16string& out) const override {
    return ReadLine(view_line, out);
  }
  std::vector<CollapsedRegion> RegionsOnViewLine(uint32_t) const override { return {}; }

  uint32_t FirstVisibleLine() const override { return first_visible_; }
  uint32_t VisibleLineCount() const override { return visible_lines_; }
  // Kept on a line of the buffer, as a host does.
  void SetFirstVisibleLine(uint32_t view_line) override {
    first_visible_ = std::min(view_line, LineCount() - 1);
  }

  const std::u16string& DocumentName() const override { return name_; }
  uint32_t TabSize() const override { return tab_size_; }
  uint32_t IndentSize() const override { return tab_size_; }
  bool InsertTabs() const override { return insert_tabs_; }
  void SetVisibleWhitespace(bool) override {}
  bool IsSplit() const override { return false; }
  void FocusOtherView() override {}
  HostResult ExecuteCommand(std::u16string_view name, std::u16string_view argument) override;
  void CancelUi() override {}
  void Beep() override { ++beeps_; }
  void SetChangeListener(std::function<void(const TextChange&)> listener) override {
    listener_ = std::move(listener);
  }

 private:
  TextPos Clamp(TextPos pos) const;

  std::vector<std::u16string> lines_;
  bool narrow_lines_ = false;
  // The narrow copies of the lines (empty for a line with a unit at or above 256), made on the
  // first narrow read after an edit.
  mutable std::vector<std::string> narrow_;
  mutable std::vector<bool> fits_narrow_;
  std::vector<std::u16string> commands_;
  std::function<void(const TextChange&)> listener_;
  std::u16string name_ = u"fake.txt";
  TextPos caret_;
  HostSelection selection_;
  uint32_t tab_size_ = 8;
  bool insert_tabs_ = false;
  uint32_t first_visible_ = 0;
  uint32_t visible_lines_ = 25;
  uint32_t beeps_ = 0;
};

class FakeEngineHost : public EngineHost {
 public:
  void WriteOutput(std::u16string_view line) override { output.emplace_back(line); }
  bool AskYesNo(std::u16string_view, std::u16string_view) override { return answer_yes; }
  ConfirmAnswer AskConfirm(std::u16string_view) override { return ConfirmAnswer::kYes; }
  bool SwitchToDocument(std::u16string_view, TextPos) override { return false; }

  std::vector<std::u16string> output;
  bool answer_yes = true;
};

}  // namespace tavik
