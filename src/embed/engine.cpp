// The embedding facade: the engine, its ex command line and its settings built together, and one
// attached view with its marks for each host view the engine serves.
#include "tavik/engine.h"

#include <algorithm>
#include <vector>

#include "config/set_command.h"
#include "config/settings.h"
#include "config/startup_file.h"
#include "engine/attached_view.h"
#include "engine/state/buffer_marks.h"
#include "engine/view_engine.h"
#include "ex/ex_command_line.h"

namespace tavik {

namespace {

// A view the engine serves, with the marks of its buffer following every edit made in it.
struct Attachment {
  Attachment(HostView& host, const OptionSet& global_options)
      : host(&host), view(&host, global_options) {
    view.text.SetMarks(&marks);
    view.text.AddChangeListener([this](const TextChange& change) {
      marks.AdjustForEdit(change.start, change.old_end, change.new_end);
    });
  }

  HostView* host;
  BufferMarks marks;
  AttachedView view;
};

}  // namespace

struct Engine::Impl {
  Impl(EngineHost& host, SettingsStore* store)
      : settings(store != nullptr ? *store : own_store), engine(settings, host) {
    engine.SetExLine(&ex_line);
    engine.Registers().SetDefaultIsClipboard(settings.DefaultWinClipboard());
    engine.SetEnabled(settings.Enable());
    CopyMirroredOptions(settings, engine.GlobalOptions());
  }

  AttachedView* Find(const HostView& host) {
    auto it = std::find_if(views.begin(), views.end(),
                           [&host](const auto& attachment) { return attachment->host == &host; });
    return it == views.end() ? nullptr : &(*it)->view;
  }

  MemorySettingsStore own_store;
  Settings settings;
  ExCommandLine ex_line;  // outlives the engine using it
  ViewEngine engine;
  // Destroyed before the engine, each attachment leaving its host view.
  std::vector<std::unique_ptr<Attachment>> views;
};

Engine::Engine(EngineHost& host, SettingsStore* settings)
    : impl_(std::make_unique<Impl>(host, settings)) {}

Engine::~Engine() = default;

void Engine::Attach(HostView& view) {
  if (impl_->Find(view) != nullptr) return;
  impl_->views.push_back(std::make_unique<Attachment>(view, impl_->engine.GlobalOptions()));
}

void Engine::Detach(HostView& view) {
  std::erase_if(impl_->views,
                [&view](const auto& attachment) { return attachment->host == &view; });
}

bool Engine::FeedKey(HostView& view, KeyCode key) {
  AttachedView* attached = impl_->Find(view);
  return attached != nullptr && impl_->engine.FeedKey(*attached, key);
}

void Engine::TimerFired(HostView& view) {
  if (AttachedView* attached = impl_->Find(view)) impl_->engine.ProcessPendingKeys(*attached);
}

void Engine::HostMovedCaret(HostView& view) {
  if (AttachedView* attached = impl_->Find(view)) impl_->engine.SyncWithHost(*attached);
}

std::u16string Engine::StatusText() const {
  return impl_->engine.StatusText();
}

CaretStyle Engine::Caret() const {
  switch (impl_->engine.GetCaretShape()) {
    case CaretShape::kThin:
      return CaretStyle::kThin;
    case CaretShape::kReplace:
      return CaretStyle::kReplace;
    case CaretShape::kBlock:
      break;
  }
  return CaretStyle::kBlock;
}

bool Engine::Enabled() const {
  return impl_->engine.Enabled();
}

void Engine::SetEnabled(bool enabled) {
  impl_->engine.ResetToNormal(nullptr);
  impl_->engine.SetEnabled(enabled);
}

std::u16string Engine::Set(std::u16string_view argument, HostView* view) {
  ViewEngine& engine = impl_->engine;
  AttachedView* attached = view != nullptr ? impl_->Find(*view) : nullptr;
  SetOutcome outcome =
      RunSetCommand(argument, engine.GlobalOptions(), attached ? &attached->options : nullptr);
  if (outcome.stored_id == OptionId::kHlSearch) engine.HighlightSuspended() = false;
  if (outcome.stored_id != OptionId::kNull && attached != nullptr) {
    engine.OptionChanged(*attached, outcome.stored_id);
  }
  return outcome.message;
}

bool Engine::RunStartupLine(std::u16string_view line) {
  ViewEngine& engine = impl_->engine;
  StartupContext context{engine.GlobalOptions(), engine.Mappings(),
                         [&engine](std::u16string_view message) { engine.SetMessage(message); }};
  return tavik::RunStartupLine(context, line);
}

}  // namespace tavik
