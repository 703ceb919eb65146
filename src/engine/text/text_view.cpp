// TextView: reading through a one-line cache, display columns, collapsed regions, edits and the
// grouping of host edits into one undo step per engine command.
#include "engine/text/text_view.h"

#include <algorithm>
#include <cassert>

#include "common/narrow_text.h"
#include "common/utf16_chars.h"
#include "engine/state/buffer_marks.h"

namespace tavik {
namespace {

// The identity of the engine's own undo marker units in the host's history.
constexpr char kUndoMarkerClass = 'U';
const void* UndoMarkerTag() {
  return &kUndoMarkerClass;
}

bool IsMarker(const UndoUnitInfo& unit) {
  return unit.marker_tag == UndoMarkerTag();
}

constexpr char16_t kPlaceholderUnit = 0xFFFC;

uint32_t NextTabStop(uint32_t width, uint32_t tab) {
  return tab * ((width + tab) / tab);
}

}  // namespace

TextView::TextView(HostView* host) : host_(host) {
  if (host_ == nullptr) return;
  host_->SetChangeListener([this](const TextChange& change) { OnHostChange(change); });
  ReadPreferences();
  RefreshFromHost(true);
}

TextView::~TextView() {
  Detach();
}

void TextView::ReadPreferences() {
  if (host_ == nullptr) return;
  tab_size_ = host_->TabSize();
  indent_size_ = host_->IndentSize();
  if (tab_size_ == 0) tab_size_ = 8;
  if (indent_size_ == 0) indent_size_ = 8;
  insert_tabs_ = host_->InsertTabs();
}

void TextView::Detach() {
  if (host_ != nullptr) host_->SetChangeListener(nullptr);
  host_ = nullptr;
  cache_valid_ = false;
  caret_ = {};
  selection_ = {};
  command_depth_ = compound_depth_ = undo_in_progress_ = kept_commands_ = 0;
  modified_in_command_ = pending_boundary_ = false;
}

// ---- Reading ----

uint32_t TextView::LineCount() const {
  if (!IsAttached()) return 1;
  return std::max<uint32_t>(1, host_->LineCount());
}

uint32_t TextView::LineLength(uint32_t line) const {
  // The host knows the length without copying the line out.
  if (cache_valid_ && cache_line_ == line) return static_cast<uint32_t>(cache_text_.size());
  return IsAttached() ? host_->LineLength(line) : 0;
}

std::u16string_view TextView::LineText(uint32_t line) const {
  if (cache_valid_ && cache_line_ == line) return cache_text_;
  if (!IsAttached() || !host_->ReadLine(line, cache_text_)) {
    cache_text_.clear();
    cache_valid_ = false;
    return {};
  }
  cache_line_ = line;
  cache_valid_ = true;
  return cache_text_;
}

char16_t TextView::CharAt(uint32_t line, uint32_t column) const {
  std::u16string_view text = LineText(line);
  return column < text.size() ? text[column] : 0;
}

// Asking the host for a line where it stores it one byte per unit is cheap where copying a long
// line is not; the cached line answers as cheaply, so it is used when it is the one asked for.
std::optional<std::string_view> TextView::NarrowLine(uint32_t line) const {
  if (cache_valid_ && cache_line_ == line) return std::nullopt;
  std::string_view narrow[1];
  if (NarrowLines(line, narrow) != 1) return std::nullopt;
  return narrow[0];
}

TextPos TextView::CharStart(TextPos pos) const {
  if (pos.column == 0 || pos.column == kEndOfLineColumn || pos.line >= LineCount()) return pos;
  // A narrow line holds no surrogate pair.
  if (NarrowLine(pos.line)) return pos;
  return {pos.line, CharStartColumn(LineText(pos.line), pos.column)};
}

uint32_t TextView::NextCharColumn(uint32_t line, uint32_t column) const {
  if (NarrowLine(line)) return column + 1;
  return tavik::NextCharColumn(LineText(line), column);
}

uint32_t TextView::PrevCharColumn(uint32_t line, uint32_t column) const {
  if (NarrowLine(line)) return column == 0 ? 0 : column - 1;
  return tavik::PrevCharColumn(LineText(line), column);
}

uint32_t TextView::LeadingSpaces(uint32_t line) const {
  std::u16string_view text = LineText(line);
  uint32_t n = 0;
  while (n < text.size() && text[n] == u' ') ++n;
  return n;
}

namespace {

// The display column of `column` in a line of either unit width.
template <typename Unit>
uint32_t DisplayColumn(std::basic_string_view<Unit> text, uint32_t column, uint32_t tab_size) {
  // Without a tab before the column every unit is one display column. The check has no early
  // exit, so it runs as vector code: typing at the end of a long line asks this on every key.
  size_t before = std::min<size_t>(column, text.size());
  const Unit* units = text.data();
  uint32_t tabs = 0;
  for (size_t i = 0; i < before; ++i) tabs += units[i] == Unit{'\t'};
  if (tabs == 0) return column;
  uint32_t width = 0;
  for (uint32_t i = 0; i < text.size(); ++i) {
    if (i >= column) return width;
    width = text[i] == Unit{'\t'} ? NextTabStop(width, tab_size) : width + 1;
  }
  return column > text.size() ? width + (column - static_cast<uint32_t>(text.size())) : width;
}

}  // namespace

uint32_t TextView::VirtualColumn(uint32_t line, uint32_t column) const {
  if (std::optional<std::string_view> narrow = NarrowLine(line)) {
    return DisplayColumn(*narrow, column, tab_size_);
  }
  return DisplayColumn(LineText(line), column, tab_size_);
}

uint32_t TextView::ColumnOfVirtual(uint32_t line, uint32_t display_column,
                                   bool allow_beyond_end) const {
  std::u16string_view text = LineText(line);
  uint32_t d = 0;
  uint32_t i = 0;
  while (i < text.size() && d < display_column) {
    // A pair is two units and two display columns; a column on its second half is the pair's.
    uint32_t units = CharUnitsAt(text, i);
    uint32_t e = text[i] == u'\t' ? NextTabStop(d, tab_size_) - d : units;
    if (d + e > display_column) break;
    d += e;
    i += units;
  }
  if (allow_beyond_end && i == text.size() && d < display_column) return i + (display_column - d);
  return i;
}

std::optional<CollapsedRegion> TextView::RegionAt(TextPos pos) const {
  if (!IsAttached()) return std::nullopt;
  return host_->CollapsedRegionAt(pos);
}

TextPos TextView::ClampPosition(uint32_t line, uint32_t column, bool allow_past_end,
                                bool keep_column) const {
  TextPos requested{line, column};
  uint32_t last = LineCount() - 1;
  TextPos result{std::min(line, last), column};
  if (!keep_column) {
    uint32_t length = LineLength(result.line);
    uint32_t limit = allow_past_end ? length : (length > 0 ? length - 1 : 0);
    result.column = std::min(column, limit);
  }
  result = CharStart(result);
  if (result != requested && !RegionAt(requested)) {
    if (auto region = RegionAt(result)) return region->start;
  }
  return result;
}

TextPos TextView::EndOfLine(uint32_t line) const {
  uint32_t count = LineCount();
  for (;;) {
    if (line + 1 >= count) {
      line = count - 1;
      break;
    }
    auto region = RegionAt({line, LineLength(line)});
    if (!region) break;
    line = region->end.line > line ? region->end.line : line + 1;
  }
  return {line, LineLength(line)};
}

TextPos TextView::StartOfLine(uint32_t line) const {
  line = std::min(line, LineCount() - 1);
  while (line > 0) {
    auto region = RegionAt({line - 1, LineLength(line - 1)});
    if (!region) break;
    line = region->start.line < line ? region->start.line : line - 1;
  }
  return {line, 0};
}

// ---- View coordinates ----

ViewPos TextView::BufferToView(TextPos pos) const {
  if (!IsAttached()) return {};
  if (compound_depth_ > 0) host_->FlushPendingEdits();
  return host_->BufferToView(pos);
}

TextPos TextView::ViewToBuffer(ViewPos pos) const {
  if (!IsAttached()) return {};
  if (compound_depth_ > 0) host_->FlushPendingEdits();
  return host_->ViewToBuffer(pos);
}

uint32_t TextView::ViewLineCount() const {
  if (!IsAttached()) return 1;
  return std::max<uint32_t>(1, host_->ViewLineCount());
}

uint32_t TextView::ViewLineLength(uint32_t view_line) const {
  std::u16string text;
  if (!IsAttached() || !host_->ReadViewLine(view_line, text)) return 0;
  return static_cast<uint32_t>(text.size());
}

uint32_t TextView::ViewVirtualColumn(uint32_t view_line, uint32_t column) const {
  std::u16string text;
  if (!IsAttached() || !host_->ReadViewLine(view_line, text)) return column;
  std::vector<CollapsedRegion> regions = host_->RegionsOnViewLine(view_line);
  size_t next_region = 0;
  uint32_t width = 0;
  for (uint32_t i = 0; i < text.size(); ++i) {
    if (i >= column) return width;
    if (text[i] == u'\t') {
      width = NextTabStop(width, tab_size_);
    } else if (text[i] == kPlaceholderUnit && next_region < regions.size()) {
      width += static_cast<uint32_t>(regions[next_region++].placeholder.size());
    } else {
      ++width;
    }
  }
  return column > text.size() ? width + (column - static_cast<uint32_t>(text.size())) : width;
}

uint32_t TextView::ViewColumnOfVirtual(uint32_t view_line, uint32_t display_column) const {
  std::u16string text;
  if (!IsAttached() || !host_->ReadViewLine(view_line, text)) return 0;
  std::vector<CollapsedRegion> regions = host_->RegionsOnViewLine(view_line);
  size_t next_region = 0;
  uint32_t d = 0;
  uint32_t i = 0;
  while (i < text.size() && d < display_column) {
    uint32_t units = CharUnitsAt(text, i);
    uint32_t e = units;
    if (text[i] == u'\t') {
      e = NextTabStop(d, tab_size_) - d;
    } else if (text[i] == kPlaceholderUnit && next_region < regions.size()) {
      e = static_cast<uint32_t>(regions[next_region++].placeholder.size());
    }
    if (d + e > display_column) break;
    d += e;
    i += units;
  }
  return i;
}

// ---- Caret and selection ----

bool TextView::RefreshFromHost(bool force, bool use_host_selection) {
  if (!IsAttached()) return false;
  // A click between the halves of a pair takes the caret to the pair's start.
  const TextPos host_caret = host_->Caret();
  TextPos caret = CharStart(host_caret);
  if (caret != host_caret && host_->Selection().empty) host_->SetCaret(caret);
  Selection selection;
  selection.anchor = selection.active = caret;
  if (use_host_selection) {
    HostSelection host = host_->Selection();
    if (!host.empty) {
      selection.has_selection = true;
      selection.anchor = CharStart(host.anchor);
      selection.active = CharStart(host.active);
      selection.kind =
          host.shape == SelectionShape::kBlock ? SelectionKind::kBlock : SelectionKind::kCharacter;
    }
  }
  bool selection_changed =
      use_host_selection &&
      (selection.has_selection != selection_.has_selection ||
       selection.anchor != selection_.anchor || selection.active != selection_.active);
  bool changed = force || caret != caret_ || selection_changed;
  caret_ = caret;
  selection_ = selection;
  return changed;
}

void TextView::SetCaret(TextPos pos) {
  pos = CharStart(pos);
  caret_ = pos;
  if (IsAttached()) host_->SetCaret(pos);
}

Selection TextView::GetSelection() const {
  Selection s = selection_;
  if (s.kind == SelectionKind::kLine && s.has_selection) {
    bool forward = s.anchor <= s.active;
    TextPos& first = forward ? s.anchor : s.active;
    TextPos& last = forward ? s.active : s.anchor;
    first = StartOfLine(first.line);
    last = EndOfLine(last.line);
  }
  return s;
}

void TextView::SetSelection(TextPos anchor, TextPos active, SelectionKind kind) {
  selection_ = {true, anchor, active, kind};
  if (!IsAttached()) return;
  host_->SetSelection(
      anchor, active,
      kind == SelectionKind::kBlock ? SelectionShape::kBlock : SelectionShape::kCharacter);
}

void TextView::ClearSelection() {
  selection_ = {false, caret_, caret_, SelectionKind::kCharacter};
  if (IsAttached()) host_->ClearSelection();
}

// ---- Edits ----

void TextView::SetDotMark(TextPos pos) {
  if (marks_ != nullptr) marks_->Set(u'.', pos);
}

// Resolves the "end of line" column and keeps positions inside the buffer.
TextPos TextView::ResolveEnd(TextPos pos) const {
  uint32_t last = LineCount() - 1;
  if (pos.line > last) return {last, LineLength(last)};
  uint32_t length = LineLength(pos.line);
  if (pos.column == kEndOfLineColumn || pos.column > length) pos.column = length;
  return pos;
}

void TextView::CountEdit(TextPos start, TextPos end, size_t inserted) {
  edit_work_ += LineLength(start.line) + inserted + (end.line - start.line);
  if (end.line != start.line) edit_work_ += LineLength(end.line);
}

HostResult TextView::InsertText(TextPos pos, std::u16string_view text) {
  if (!IsAttached()) return HostResult::kUnexpected;
  SetDotMark(pos);
  pos = ResolveEnd(pos);
  modified_in_command_ = true;
  CountEdit(pos, pos, text.size());
  InvalidateCache();
  HostResult result = host_->ReplaceText(pos, pos, text);
  InvalidateCache();
  return result;
}

HostResult TextView::ReplaceChars(TextPos pos, uint32_t count, std::u16string_view text) {
  if (!IsAttached()) return HostResult::kUnexpected;
  pos = ResolveEnd(pos);
  uint32_t length = LineLength(pos.line);
  uint32_t removed = std::min(count, length - pos.column);
  modified_in_command_ = true;
  CountEdit(pos, pos, text.size());
  BeginCompound();
  InvalidateCache();
  HostResult result = host_->ReplaceText(pos, {pos.line, pos.column + removed}, text);
  EndCompound();
  InvalidateCache();
  return result;
}

HostResult TextView::DeleteRange(TextPos a, TextPos b) {
  if (!IsAttached()) return HostResult::kUnexpected;
  SetDotMark(a);
  if (b < a) std::swap(a, b);
  a = ResolveEnd(a);
  b = ResolveEnd(b);
  SetCaret(a);
  modified_in_command_ = true;
  CountEdit(a, b, 0);
  BeginCompound();
  InvalidateCache();
  HostResult result = host_->ReplaceText(a, b, u"");
  EndCompound();
  InvalidateCache();
  return result;
}

HostResult TextView::ReplaceRange(TextPos start, TextPos end, std::u16string_view text) {
  if (!IsAttached()) return HostResult::kUnexpected;
  if (end < start) std::swap(start, end);
  start = ResolveEnd(start);
  end = ResolveEnd(end);
  modified_in_command_ = true;
  CountEdit(start, end, text.size());
  BeginCompound();
  InvalidateCache();
  HostResult result = host_->ReplaceText(start, end, text);
  EndCompound();
  InvalidateCache();
  return result;
}

HostResult TextView::OpenLineBelow(TextPos pos) {
  if (!IsAttached()) return HostResult::kUnexpected;
  SetCaret(ResolveEnd(pos));
  modified_in_command_ = true;
  HostResult result = ExecuteHostCommand(u"Edit.BreakLine");
  if (IsAttached()) caret_ = host_->Caret();
  SetDotMark({pos.line + 1, 0});
  return result;
}

HostResult TextView::ReplaceLines(uint32_t first, uint32_t old_count,
                                  std::span<const std::u16string_view> lines) {
  if (!IsAttached()) return HostResult::kUnexpected;
  if (lines.empty() || old_count == 0 || first + old_count > LineCount()) return HostResult::kFail;
  modified_in_command_ = true;
  edit_work_ += old_count;
  for (std::u16string_view line : lines) edit_work_ += line.size() + 1;
  BeginCompound();
  InvalidateCache();
  HostResult result = host_->ReplaceLines(first, old_count, lines);
  if (result == HostResult::kNotImpl) {
    // Line by line: the common lines in place, then the surplus old lines removed or the extra
    // new ones added one at a time, so no CR before a line break is ever handed over.
    result = HostResult::kOk;
    const uint32_t new_count = static_cast<uint32_t>(lines.size());
    const uint32_t common = std::min(old_count, new_count);
    for (uint32_t i = 0; i < common && Succeeded(result); ++i) {
      uint32_t line = first + i;
      result = host_->ReplaceText({line, 0}, {line, host_->LineLength(line)}, lines[i]);
    }
    if (old_count > common && Succeeded(result)) {
      uint32_t keep = first + common - 1;
      uint32_t last = first + old_count - 1;
      result =
          host_->ReplaceText({keep, host_->LineLength(keep)}, {last, host_->LineLength(last)}, u"");
    }
    std::u16string piece;
    for (uint32_t i = common; i < new_count && Succeeded(result); ++i) {
      uint32_t above = first + i - 1;
      piece.assign(1, u'\n');
      piece.append(lines[i]);
      TextPos end_of_above{above, host_->LineLength(above)};
      result = host_->ReplaceText(end_of_above, end_of_above, piece);
    }
  }
  EndCompound();
  InvalidateCache();
  return result;
}

HostResult TextView::ReplaceNarrowLines(uint32_t first, uint32_t old_count,
                                        std::span<const std::string_view> lines) {
  if (!IsAttached()) return HostResult::kUnexpected;
  if (lines.empty() || old_count == 0 || first + old_count > LineCount()) return HostResult::kFail;
  InvalidateCache();
  const HostResult result = host_->ReplaceNarrowLines(first, old_count, lines);
  if (result == HostResult::kNotImpl) {
    std::vector<std::u16string> wide;
    wide.reserve(lines.size());
    for (std::string_view line : lines) wide.push_back(WidenNarrow(line));
    const std::vector<std::u16string_view> views(wide.begin(), wide.end());
    return ReplaceLines(first, old_count, views);
  }
  modified_in_command_ = true;
  edit_work_ += old_count;
  for (std::string_view line : lines) edit_work_ += line.size() + 1;
  InvalidateCache();
  return result;
}

void TextView::BeginCompound() {
  if (!IsAttached()) return;
  if (++compound_depth_ == 1 && !Succeeded(host_->OpenCompoundEdit())) compound_depth_ = 0;
}

void TextView::EndCompound() {
  if (compound_depth_ == 0) return;
  if (--compound_depth_ == 0 && IsAttached() && !Succeeded(host_->CloseCompoundEdit())) {
    compound_depth_ = 1;
  }
}

// ---- Undo grouping ----

// Undo and redo inside an open compound edit: the compound is closed first, so that the edits
// made so far are a unit of the history and undo never reverts an older unit under them; it is
// opened again afterwards.
TextView::CompoundPause::CompoundPause(TextView& view) : view_(view) {
  paused_ = view_.compound_depth_ > 0 && Succeeded(view_.host_->CloseCompoundEdit());
}

TextView::CompoundPause::~CompoundPause() {
  if (paused_ && view_.IsAttached() && !Succeeded(view_.host_->OpenCompoundEdit())) {
    view_.compound_depth_ = 0;
  }
}

void TextView::BeginCommand() {
  if (++command_depth_ != 1) return;
  if (pending_boundary_ && IsAttached()) {
    host_->PushUndoMarker(UndoMarkerTag());
    pending_boundary_ = false;
  }
  modified_in_command_ = false;
}

void TextView::EndCommand() {
  if (command_depth_ == 0) return;
  if (--command_depth_ != 0) return;
  while (compound_depth_ > 0) {
    uint32_t before = compound_depth_;
    EndCompound();
    if (compound_depth_ >= before) compound_depth_ = 0;  // the host refused; do not loop
  }
  // A command marked modified may have changed nothing (a key passed to the host that typed
  // nothing): a second marker in a row would only throw away what there is to redo.
  if (modified_in_command_ && IsAttached()) {
    const uint32_t count = host_->UndoUnitCount();
    if (count > 0 && !IsMarker(host_->UndoUnitAt(count - 1))) {
      host_->PushUndoMarker(UndoMarkerTag());
    }
  }
  modified_in_command_ = false;
}

void TextView::CommandScope::CloseKept(TextView& view) {
  if (view.kept_commands_ == 0) return;
  --view.kept_commands_;
  view.EndCommand();
}

bool TextView::UndoStep() {
  if (!IsAttached()) return false;
  CompoundPause pause(*this);
  ++undo_in_progress_;
  uint32_t count = host_->UndoUnitCount();
  if (count > 0) {
    // The first unit of the newest engine command: walk back over trailing markers, then over
    // the command's ordinary units to the marker before them.
    int64_t i = static_cast<int64_t>(count) - 1;
    while (i >= 0 && IsMarker(host_->UndoUnitAt(static_cast<uint32_t>(i)))) --i;
    if (i >= 0) {
      while (i > 0 && !IsMarker(host_->UndoUnitAt(static_cast<uint32_t>(i - 1)))) --i;
      uint32_t index = static_cast<uint32_t>(i);
      uint64_t first_id = host_->UndoUnitAt(index).id;
      // Undo down to that unit: every newer unit and the unit itself.
      for (;;) {
        uint32_t now = IsAttached() ? host_->UndoUnitCount() : 0;
        if (index >= now || host_->UndoUnitAt(index).id != first_id) break;
        bool newer = index + 1 < now;
        if (!Succeeded(ExecuteHostCommand(u"Edit.Undo")) || !newer) break;
      }
    } else {
      ExecuteHostCommand(u"Edit.Undo");
    }
  }
  InvalidateCache();
  if (IsAttached()) caret_ = host_->Caret();
  --undo_in_progress_;
  return count > 0;
}

bool TextView::RedoStep() {
  if (!IsAttached()) return false;
  CompoundPause pause(*this);
  ++undo_in_progress_;
  uint32_t count = host_->RedoUnitCount();
  uint32_t i = 0;
  while (i < count && IsMarker(host_->RedoUnitAt(i))) ++i;
  const bool any = i < count;
  if (any) {
    while (i + 1 < count && !IsMarker(host_->RedoUnitAt(i + 1))) ++i;
    // The command's closing marker comes back too; without it the next command would join the
    // redone one in a single undo step.
    if (i + 1 < count) ++i;
    host_->RedoThrough(host_->RedoUnitAt(i).id);
  }
  InvalidateCache();
  if (IsAttached()) caret_ = host_->Caret();
  --undo_in_progress_;
  return any;
}

void TextView::OnHostChange(const TextChange& change) {
  InvalidateCache();
  // A few hundred edits are plenty for those who look back (highlights of the shown lines);
  // the older half goes when the log is full.
  constexpr size_t kLoggedEdits = 256;
  if (change.old_line_count == 0 || change.new_line_count == 0) {
    edit_log_.clear();
    edit_log_from_ = change_count_ + 1;
  } else {
    if (edit_log_.size() == kLoggedEdits) {
      edit_log_.erase(edit_log_.begin(), edit_log_.begin() + kLoggedEdits / 2);
      edit_log_from_ += kLoggedEdits / 2;
    }
    edit_log_.push_back({change.first_line, change.old_line_count, change.new_line_count});
  }
  ++change_count_;
  if (command_depth_ == 0 && undo_in_progress_ == 0) pending_boundary_ = true;
  for (auto& [id, listener] : listeners_) listener(change);
}

std::optional<std::span<const TextView::LineEdit>> TextView::LineEditsSince(uint64_t since) const {
  if (since < edit_log_from_ || since > change_count_) return std::nullopt;
  return std::span<const LineEdit>(edit_log_).subspan(since - edit_log_from_);
}

int TextView::AddChangeListener(ChangeListener listener) {
  listeners_.emplace_back(next_listener_id_, std::move(listener));
  return next_listener_id_++;
}

void TextView::RemoveChangeListener(int id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

// ---- Host commands and view services ----

HostResult TextView::ExecuteHostCommand(std::u16string_view command_line) {
  if (!IsAttached()) return HostResult::kUnexpected;
  size_t blank = command_line.find(u' ');
  std::u16string_view name = command_line.substr(0, blank);
  std::u16string_view argument =
      blank == std::u16string_view::npos ? std::u16string_view{} : command_line.substr(blank + 1);
  InvalidateCache();
  HostResult result = host_->ExecuteCommand(name, argument);
  InvalidateCache();
  return result;
}

void TextView::CancelHostUi() {
  if (IsAttached()) host_->CancelUi();
}

std::vector<uint32_t> TextView::DisplayRowStarts(uint32_t view_line) const {
  if (!IsAttached()) return {0};
  std::vector<uint32_t> starts = host_->DisplayRowStarts(view_line);
  if (starts.empty()) starts.push_back(0);
  return starts;
}

VisibleRange TextView::VisibleLines() const {
  if (!IsAttached()) return {0, 1};
  return {host_->FirstVisibleLine(), std::max<uint32_t>(1, host_->VisibleLineCount()),
          host_->FirstVisibleRow()};
}

void TextView::ScrollBy(int32_t lines) {
  if (!IsAttached()) return;
  int64_t first = static_cast<int64_t>(host_->FirstVisibleLine()) + lines;
  host_->SetFirstVisibleLine(static_cast<uint32_t>(std::max<int64_t>(0, first)));
}

void TextView::ScrollToRow(uint32_t view_line, uint32_t row) {
  if (IsAttached()) host_->SetFirstVisibleRow(view_line, row);
}

void TextView::ScrollLineTo(TextPos pos, ScrollPlacement placement) {
  if (!IsAttached()) return;
  int64_t v = BufferToView(pos).line;
  int64_t visible = VisibleLines().line_count;
  int64_t first = v;
  if (placement == ScrollPlacement::kCenter) first = v - visible / 2;
  if (placement == ScrollPlacement::kBottom) first = v - (visible - 1);
  host_->SetFirstVisibleLine(static_cast<uint32_t>(std::max<int64_t>(0, first)));
}

void TextView::SetVisibleWhitespace(bool on) {
  if (IsAttached()) host_->SetVisibleWhitespace(on);
}

HostResult TextView::CreateCollapsedRegion(TextPos start, TextPos end) {
  if (!IsAttached()) return HostResult::kUnexpected;
  InvalidateCache();
  return host_->CreateCollapsedRegion(start, end);
}

HostResult TextView::AddBookmark(uint32_t line) {
  return IsAttached() ? host_->AddBookmark(line) : HostResult::kUnexpected;
}

HostResult TextView::ExpandAllRegions() {
  if (!IsAttached()) return HostResult::kUnexpected;
  return host_->ExpandAllRegions();
}

void TextView::FocusOtherView() {
  if (IsAttached() && host_->IsSplit()) host_->FocusOtherView();
}

void TextView::SplitWindow() {
  if (IsAttached() && !host_->IsSplit()) ExecuteHostCommand(u"Window.Split");
}

void TextView::CloseWindow() {
  if (!IsAttached()) return;
  ExecuteHostCommand(host_->IsSplit() ? u"Window.Split" : u"File.Close");
}

void TextView::Beep() {
  if (IsAttached()) host_->Beep();
}

const std::u16string& TextView::DocumentName() const {
  static const std::u16string kNoName;
  return IsAttached() ? host_->DocumentName() : kNoName;
}

}  // namespace tavik
