// Each operation checks that the view still exists and falls back to the neutral values of the
// interface when it does not.
#include "host/host_view_adapter.h"

#include <algorithm>

namespace tavik::host {

namespace {

HostResult ToHostResult(platform::CommandResult r) {
  switch (r) {
    case platform::CommandResult::kOk:
      return HostResult::kOk;
    case platform::CommandResult::kNotImpl:
      return HostResult::kNotImpl;
    case platform::CommandResult::kFail:
      break;
  }
  return HostResult::kFail;
}

CollapsedRegion ToRegion(const platform::OutlineRegion& r) {
  return CollapsedRegion{r.start, r.end, r.placeholder};
}

UndoUnitInfo ToInfo(const platform::UndoUnit& unit) {
  return {unit.id, unit.marker_tag};
}

uint32_t NonZero(uint32_t size) {
  return size == 0 ? 8 : size;
}

}  // namespace

HostViewAdapter::HostViewAdapter(platform::EditorHost& host, platform::View& view)
    : host_(host),
      view_(&view),
      buffer_(&view.Buffer()),
      view_alive_(view.LifeToken()),
      buffer_alive_(view.Buffer().LifeToken()) {}

HostViewAdapter::~HostViewAdapter() {
  RemoveListener();
  if (IsAlive() && window_timer_id_ != 0) view_->KillWindowTimer(window_timer_id_);
}

bool HostViewAdapter::IsAlive() const {
  return *view_alive_;
}

uint32_t HostViewAdapter::LineCount() const {
  return IsAlive() ? buffer_->LineCount() : 1;
}

uint32_t HostViewAdapter::LineLength(uint32_t line) const {
  return IsAlive() && line < buffer_->LineCount() ? buffer_->LineLength(line) : 0;
}

bool HostViewAdapter::ReadLine(uint32_t line, std::u16string& out) const {
  if (!IsAlive() || line >= buffer_->LineCount()) {
    out.clear();
    return false;
  }
  buffer_->ReadLine(line, out);
  return true;
}

uint32_t HostViewAdapter::ReadNarrowLines(uint32_t first, std::span<std::string_view> out) const {
  if (!IsAlive() || first >= buffer_->LineCount()) return 0;
  return buffer_->Lines().ReadNarrow(first, out);
}

HostResult HostViewAdapter::ReplaceText(TextPos start, TextPos end, std::u16string_view text) {
  if (!IsAlive()) return HostResult::kUnexpected;
  if (!host_.QueryEdit(*buffer_)) return HostResult::kFail;
  return buffer_->Replace(start, end, text) ? HostResult::kOk : HostResult::kFail;
}

HostResult HostViewAdapter::ReplaceLines(uint32_t first, uint32_t old_count,
                                         std::span<const std::u16string_view> lines) {
  if (!IsAlive()) return HostResult::kUnexpected;
  if (!host_.QueryEdit(*buffer_)) return HostResult::kFail;
  return buffer_->ReplaceLines(first, old_count, lines) ? HostResult::kOk : HostResult::kFail;
}

HostResult HostViewAdapter::ReplaceNarrowLines(uint32_t first, uint32_t old_count,
                                               std::span<const std::string_view> lines) {
  if (!IsAlive()) return HostResult::kUnexpected;
  if (!host_.QueryEdit(*buffer_)) return HostResult::kFail;
  return buffer_->ReplaceNarrowLines(first, old_count, lines) ? HostResult::kOk : HostResult::kFail;
}

HostResult HostViewAdapter::OpenCompoundEdit() {
  if (!IsAlive()) return HostResult::kUnexpected;
  buffer_->OpenCompound();
  return HostResult::kOk;
}

HostResult HostViewAdapter::CloseCompoundEdit() {
  if (!IsAlive()) return HostResult::kUnexpected;
  return buffer_->CloseCompound() ? HostResult::kOk : HostResult::kFail;
}

uint32_t HostViewAdapter::UndoUnitCount() const {
  return IsAlive() ? static_cast<uint32_t>(buffer_->History().UndoCount()) : 0;
}

UndoUnitInfo HostViewAdapter::UndoUnitAt(uint32_t index) const {
  if (index >= UndoUnitCount()) return {};
  return ToInfo(buffer_->History().UndoAt(index));
}

uint32_t HostViewAdapter::RedoUnitCount() const {
  return IsAlive() ? static_cast<uint32_t>(buffer_->History().RedoCount()) : 0;
}

UndoUnitInfo HostViewAdapter::RedoUnitAt(uint32_t index) const {
  if (index >= RedoUnitCount()) return {};
  return ToInfo(buffer_->History().RedoAt(index));
}

HostResult HostViewAdapter::PushUndoMarker(const void* marker_tag) {
  if (!IsAlive()) return HostResult::kUnexpected;
  if (marker_tag == nullptr) return HostResult::kFail;
  buffer_->PushMarker(marker_tag);
  return HostResult::kOk;
}

HostResult HostViewAdapter::RedoThrough(uint64_t unit_id) {
  if (!IsAlive()) return HostResult::kUnexpected;
  std::optional<TextPos> where;
  if (!buffer_->RedoThrough(unit_id, &where)) return HostResult::kFail;
  if (where) view_->SetCaret(*where);
  return HostResult::kOk;
}

TextPos HostViewAdapter::Caret() const {
  return IsAlive() ? view_->Caret() : TextPos{};
}

void HostViewAdapter::SetCaret(TextPos pos) {
  if (!IsAlive()) return;
  view_->SetCaret(pos);
  view_->ScrollToCaret();
}

HostSelection HostViewAdapter::Selection() const {
  HostSelection out;
  if (!IsAlive()) return out;
  const platform::ViewSelection& sel = view_->Selection();
  out.anchor = sel.anchor;
  out.active = sel.active;
  out.shape = sel.block ? SelectionShape::kBlock : SelectionShape::kCharacter;
  out.empty = sel.Empty();
  return out;
}

void HostViewAdapter::SetSelection(TextPos anchor, TextPos active, SelectionShape shape) {
  if (IsAlive()) view_->SetSelection(anchor, active, shape == SelectionShape::kBlock);
}

void HostViewAdapter::ClearSelection() {
  if (IsAlive()) view_->ClearSelection();
}

std::optional<CollapsedRegion> HostViewAdapter::CollapsedRegionAt(TextPos pos) const {
  if (!IsAlive()) return std::nullopt;
  const platform::OutlineRegion* r = view_->Layout().HidingRegionAt(pos);
  if (r == nullptr) return std::nullopt;
  return ToRegion(*r);
}

ViewPos HostViewAdapter::BufferToView(TextPos pos) const {
  return IsAlive() ? view_->Layout().BufferToView(pos) : ViewPos{};
}

TextPos HostViewAdapter::ViewToBuffer(ViewPos pos) const {
  return IsAlive() ? view_->Layout().ViewToBuffer(pos) : TextPos{};
}

uint32_t HostViewAdapter::ViewLineCount() const {
  return IsAlive() ? view_->Layout().ViewLineCount() : 1;
}

bool HostViewAdapter::ReadViewLine(uint32_t view_line, std::u16string& out) const {
  out.clear();
  if (!IsAlive() || view_line >= ViewLineCount()) return false;
  out = view_->Layout().ViewLineText(view_line);
  return true;
}

std::vector<CollapsedRegion> HostViewAdapter::RegionsOnViewLine(uint32_t view_line) const {
  std::vector<CollapsedRegion> regions;
  if (!IsAlive() || view_line >= ViewLineCount()) return regions;
  for (const platform::OutlineRegion* r : view_->Layout().RegionsOnViewLine(view_line)) {
    regions.push_back(ToRegion(*r));
  }
  return regions;
}

std::vector<uint32_t> HostViewAdapter::DisplayRowStarts(uint32_t view_line) const {
  if (!IsAlive() || view_line >= ViewLineCount()) return {0};
  return view_->Layout().RowStarts(view_line);
}

uint32_t HostViewAdapter::FirstVisibleRow() const {
  return IsAlive() ? view_->FirstVisibleRow() : 0;
}

void HostViewAdapter::SetFirstVisibleRow(uint32_t view_line, uint32_t row) {
  if (!IsAlive()) return;
  view_->SetFirstVisibleLine(view_line);
  view_->SetFirstVisibleRow(row);
}

uint32_t HostViewAdapter::FirstVisibleLine() const {
  return IsAlive() ? view_->FirstVisibleLine() : 0;
}

uint32_t HostViewAdapter::VisibleLineCount() const {
  return IsAlive() ? view_->VisibleLineCount() : 1;
}

void HostViewAdapter::SetFirstVisibleLine(uint32_t view_line) {
  if (IsAlive()) view_->SetFirstVisibleLine(view_line);
}

const std::u16string& HostViewAdapter::DocumentName() const {
  const platform::Document* doc = IsAlive() ? host_.DocumentOf(*view_) : nullptr;
  // Asked several times per key: the name is made again only when the document's changed.
  if (doc == nullptr) {
    name_path_.clear();
    name_.clear();
  } else if (doc->path.empty()) {
    name_path_.clear();
    if (name_ != doc->untitled_name) name_ = doc->untitled_name;
  } else if (doc->path != name_path_) {
    name_path_ = doc->path;
    name_ = doc->Name();
  }
  return name_;
}

uint32_t HostViewAdapter::TabSize() const {
  return IsAlive() ? NonZero(view_->Preferences().tab_size) : 8;
}

uint32_t HostViewAdapter::IndentSize() const {
  return IsAlive() ? NonZero(view_->Preferences().indent_size) : 8;
}

bool HostViewAdapter::InsertTabs() const {
  return IsAlive() && view_->Preferences().insert_tabs;
}

// Visible whitespace is a preference of the view's language: every view of that language shows
// it, and it persists.
void HostViewAdapter::SetVisibleWhitespace(bool on) {
  if (!IsAlive()) return;
  view_->Preferences().visible_whitespace = on;
  const platform::Document* doc = host_.DocumentOf(*view_);
  if (doc == nullptr) return;
  platform::LanguagePreferences prefs = host_.preferences().For(doc->language);
  prefs.visible_whitespace = on;
  host_.preferences().Set(doc->language, prefs);
}

bool HostViewAdapter::IsSplit() const {
  if (!IsAlive()) return false;
  const platform::Window* window = host_.WindowOf(*view_);
  return window != nullptr && window->IsSplit();
}

void HostViewAdapter::FocusOtherView() {
  if (!IsAlive()) return;
  platform::Window* window = host_.WindowOf(*view_);
  if (window == nullptr || !window->IsSplit()) return;
  host_.Focus(window->views[0].get() == view_ ? *window->views[1] : *window->views[0]);
}

HostResult HostViewAdapter::ExecuteCommand(std::u16string_view name, std::u16string_view argument) {
  if (!IsAlive()) return HostResult::kUnexpected;
  if (before_command_) before_command_();
  if (!IsAlive()) return HostResult::kUnexpected;
  return ToHostResult(host_.Execute(*view_, name, argument));
}

void HostViewAdapter::Beep() {
  host_.Beep();
}

uint64_t HostViewAdapter::DocumentId() const {
  if (!IsAlive()) return 0;
  const platform::Document* doc = host_.DocumentOf(*view_);
  return doc == nullptr ? 0 : doc->id;
}

void HostViewAdapter::StartTimer(uint32_t milliseconds) {
  if (!IsAlive()) return;
  if (window_timer_id_ != 0) view_->SetWindowTimer(window_timer_id_, milliseconds);
}

void HostViewAdapter::StopTimer() {
  if (!IsAlive()) return;
  if (window_timer_id_ != 0) view_->KillWindowTimer(window_timer_id_);
}

void HostViewAdapter::RemoveListener() {
  if (listener_id_ != 0 && *buffer_alive_) buffer_->RemoveListener(listener_id_);
  listener_id_ = 0;
}

void HostViewAdapter::SetChangeListener(std::function<void(const TextChange&)> listener) {
  RemoveListener();
  if (!listener || !*buffer_alive_) return;
  listener_id_ = buffer_->AddListener([fn = std::move(listener),
                                       alive = view_alive_](const platform::BufferChange& c) {
    if (!*alive) return;
    fn(TextChange{c.first_line, c.old_line_count, c.new_line_count, c.start, c.old_end, c.new_end});
  });
}

HostResult HostViewAdapter::CreateCollapsedRegion(TextPos start, TextPos end,
                                                  std::u16string_view placeholder) {
  if (!IsAlive()) return HostResult::kUnexpected;
  if (!buffer_->Resolve(start) || !buffer_->Resolve(end)) return HostResult::kFail;
  if (view_->Regions().Add(start, end, std::u16string(placeholder)) == 0) return HostResult::kFail;
  view_->SetCaret(std::min(start, end));
  return HostResult::kOk;
}

HostResult HostViewAdapter::AddBookmark(uint32_t line) {
  if (!IsAlive()) return HostResult::kUnexpected;
  platform::Document* document = host_.DocumentOf(*view_);
  if (document == nullptr || line >= document->buffer.LineCount()) return HostResult::kFail;
  document->bookmarks.Add(line);
  return HostResult::kOk;
}

void HostViewAdapter::SetHighlights(HighlightLayer layer,
                                    const std::vector<HighlightRange>& ranges) {
  if (!IsAlive()) return;
  auto kind = static_cast<platform::HighlightKind>(layer);
  // Only spans that differ are changed: the front end draws again only the lines they are on.
  spans_.clear();
  for (const HighlightRange& range : ranges) spans_.push_back({range.start, range.end});
  buffer_->Markers().Set(kind, spans_);
}

HostResult HostViewAdapter::ExpandAllRegions() {
  if (!IsAlive()) return HostResult::kUnexpected;
  view_->Regions().ExpandAll();
  return HostResult::kOk;
}

void HostViewAdapter::TypeKey(KeyCode key) {
  if (IsAlive()) host_.TypeKey(*view_, key);
}

}  // namespace tavik::host
