// Checks of a whole fuzzed session: the host editor with the package. Also the sandbox that
// keeps such a session away from the file system and from build processes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_session.h"
#include "engine/attached_view.h"
#include "fuzz_invariants.h"
#include "platform/automation.h"
#include "platform/command_bindings.h"
#include "platform/editor_host.h"
#include "platform/text_buffer.h"

namespace tavik::fuzz {

// Host commands that would touch files, start processes or close documents are taken over
// (cancelled) by a command-event handler, as an add-in would; everything else runs.
inline void Sandbox(platform::EditorHost& editor) {
  static constexpr std::u16string_view kRefused[] = {
      u"File.OpenFile",
      u"File.SaveSelectedItems",
      u"File.SaveAll",
      u"File.Close",
      u"Window.CloseAllDocuments",
      u"File.NewFile",
      u"Build.BuildSolution",
      u"Build.Compile",
      u"Build.BuildSelection",
      u"Debug.Start",
      u"Edit.GotoDefinition",
      u"Window.CloseDocumentWindow",
  };
  std::vector<uint32_t> ids;
  const std::vector<std::u16string_view> names = platform::HostCommandNames();
  for (size_t i = 0; i < names.size(); ++i) {
    if (std::ranges::find(kRefused, names[i]) != std::end(kRefused)) {
      ids.push_back(static_cast<uint32_t>(i + 1));
    }
  }
  editor.automation().AddCommandEvents(
      [ids](std::string_view group, uint32_t id, bool& cancel) {
        if (group == platform::kHostCommandsGuid && std::ranges::find(ids, id) != ids.end()) {
          cancel = true;
        }
      },
      nullptr);
  editor.SetBuildCommandLine("true");
  editor.SetWorkingFolder("/nonexistent-tavik-fuzz");
}

inline uint64_t TextUnits(const platform::TextBuffer& buffer) {
  uint64_t units = 0;
  for (uint32_t line = 0; line < buffer.LineCount(); ++line) units += buffer.LineLength(line) + 1;
  return units;
}

// Every view of every document: the caret and selection lie inside the text, and the engine's
// TextView of an attached view reads exactly the host buffer's lines; in the focused view the
// engine's caret lies inside the text too.
inline void CheckViews(app::BatchSession& session) {
  platform::EditorHost& editor = session.Editor();
  for (const auto& document : editor.Documents()) {
    const platform::TextBuffer& buffer = document->buffer;
    FUZZ_CHECK(buffer.LineCount() >= 1);
    for (platform::View* view : editor.ViewsOf(*document)) {
      const TextPos caret = view->Caret();
      FUZZ_CHECK(caret.line < buffer.LineCount());
      FUZZ_CHECK(caret.column <= buffer.LineLength(caret.line));
      const platform::ViewSelection& selection = view->Selection();
      FUZZ_CHECK(selection.anchor.line < buffer.LineCount());
      FUZZ_CHECK(selection.active.line < buffer.LineCount());
      if (!session.HasPackage()) continue;
      AttachedView* attached = session.Package().Attachment(*view);
      if (attached == nullptr || !attached->text.IsAttached()) continue;
      TextView& text = attached->text;
      FUZZ_CHECK(text.LineCount() == buffer.LineCount());
      std::u16string host_line;
      for (uint32_t line = 0; line < buffer.LineCount(); ++line) {
        buffer.ReadLine(line, host_line);
        FUZZ_CHECK(text.LineLength(line) == host_line.size());
        FUZZ_CHECK(text.LineText(line) == host_line);
      }
      // A view without the focus takes up the host's caret when it gets the focus back.
      if (view != editor.FocusedView()) continue;
      const TextPos engine_caret = text.GetCaret();
      FUZZ_CHECK(engine_caret.line < buffer.LineCount());
      FUZZ_CHECK(engine_caret.column <= buffer.LineLength(engine_caret.line));
    }
  }
}

// Undoes every engine command of the view's buffer and compares the text with `start`; then
// redoes until the redo list is back to what it held before the undoing, and compares with the
// text before the undoing. (A step may undo a lone marker and change nothing, and redo passes
// over such markers, so the steps are not counted against each other.)
inline void CheckUndoRedoAll(TextView& text, const platform::TextBuffer& buffer,
                             const std::u16string& start) {
  const std::u16string end = buffer.Text();
  const platform::UndoHistory& history = buffer.History();
  const size_t undo_units = history.UndoCount();
  const size_t redo_units = history.RedoCount();
  size_t steps = 0;
  while (text.UndoStep()) {
    FUZZ_CHECK(++steps <= undo_units);
  }
  FUZZ_CHECK(buffer.Text() == start);
  // Lone markers left at the bottom of the redo list are no step of their own.
  while (history.RedoCount() > redo_units && text.RedoStep()) {
  }
  FUZZ_CHECK(history.RedoCount() >= redo_units);
  FUZZ_CHECK(buffer.Text() == end);
}

// The same for the document the run started with, when it is still open and attached.
inline void CheckStartingDocument(app::BatchSession& session, uint64_t document_id,
                                  const std::u16string& start) {
  for (const auto& document : session.Editor().Documents()) {
    if (document->id != document_id) continue;
    std::vector<platform::View*> views = session.Editor().ViewsOf(*document);
    if (views.empty()) return;
    AttachedView* attached = session.Package().Attachment(*views.front());
    if (attached == nullptr || !attached->text.IsAttached()) return;
    CheckUndoRedoAll(attached->text, document->buffer, start);
    return;
  }
}

}  // namespace tavik::fuzz
