// The named host commands: a table from the published command names to handlers. Commands
// that have no meaning in this editor report kNotImpl; unknown names report kFail.
#include <array>
#include <filesystem>
#include <string_view>

#include "platform/build_commands.h"
#include "platform/edit_operations.h"
#include "platform/editing_commands.h"
#include "platform/editor_host.h"
#include "platform/navigation_commands.h"
#include "platform/utf8_codec.h"

namespace tavik::platform {

namespace {

using Handler = CommandResult (*)(EditorHost& host, std::u16string_view argument);

struct HostCommand {
  std::u16string_view name;
  Handler handler;
};

CommandResult NotImplemented(EditorHost&, std::u16string_view) {
  return CommandResult::kNotImpl;
}

CommandResult Ok(bool done) {
  return done ? CommandResult::kOk : CommandResult::kFail;
}

// Runs `fn` on the focused view, failing when there is none.
template <typename Fn>
CommandResult OnView(EditorHost& host, Fn fn) {
  View* view = host.FocusedView();
  if (view == nullptr) return CommandResult::kFail;
  const CommandResult result = fn(*view);
  if (View* after = host.FocusedView()) after->ScrollToCaret();
  return result;
}

// As OnView, for commands that change the text: a read-only buffer is asked about first.
template <typename Fn>
CommandResult EditOnView(EditorHost& host, Fn fn) {
  View* view = host.FocusedView();
  if (view == nullptr || !host.QueryEdit(view->Buffer())) return CommandResult::kFail;
  const CommandResult result = fn(*view);
  if (View* after = host.FocusedView()) after->ScrollToCaret();
  return result;
}

std::string PathArgument(std::u16string_view argument) {
  while (!argument.empty() && argument.front() == u' ') argument.remove_prefix(1);
  while (!argument.empty() && argument.back() == u' ') argument.remove_suffix(1);
  if (argument.size() >= 2 && argument.front() == u'"' && argument.back() == u'"') {
    argument = argument.substr(1, argument.size() - 2);
  }
  return ToUtf8(argument);
}

CommandResult Undo(EditorHost& host, std::u16string_view) {
  return EditOnView(host, [](View& view) {
    const TextBuffer::ReplayResult r = view.Buffer().Undo();
    if (r.where) view.SetCaret(*r.where);
    return Ok(r.done);
  });
}

CommandResult Redo(EditorHost& host, std::u16string_view) {
  return EditOnView(host, [](View& view) {
    const TextBuffer::ReplayResult r = view.Buffer().Redo();
    if (r.where) view.SetCaret(*r.where);
    return Ok(r.done);
  });
}

CommandResult BreakLineCommand(EditorHost& host, std::u16string_view) {
  return EditOnView(host, [](View& view) {
    BreakLine(view);
    return CommandResult::kOk;
  });
}

CommandResult SelectAll(EditorHost& host, std::u16string_view) {
  return OnView(host, [](View& view) {
    view.SetSelection({0, 0}, view.Buffer().End(), false);
    return CommandResult::kOk;
  });
}

CommandResult FormatSelection(EditorHost& host, std::u16string_view) {
  return EditOnView(host, [](View& view) {
    const ViewSelection sel = view.Selection();
    uint32_t last = sel.End().line;
    // A selection ending at the start of a line does not take that line in.
    if (!sel.Empty() && sel.End().column == 0 && last > sel.Start().line) --last;
    FormatLines(view, sel.Start().line, last);
    return CommandResult::kOk;
  });
}

CommandResult CompleteWordCommand(EditorHost& host, std::u16string_view) {
  return EditOnView(host, [](View& view) { return Ok(CompleteWord(view)); });
}

CommandResult CollapseToDefinitionsCommand(EditorHost& host, std::u16string_view) {
  return OnView(host, [](View& view) { return Ok(CollapseToDefinitions(view) > 0); });
}

CommandResult StopHidingCurrent(EditorHost& host, std::u16string_view) {
  return OnView(host, [](View& view) {
    const OutlineRegion* r = view.Regions().InnermostAt(view.Caret());
    return Ok(r != nullptr && view.Regions().Remove(r->id));
  });
}

CommandResult ToggleOutliningExpansion(EditorHost& host, std::u16string_view) {
  return OnView(host, [](View& view) {
    const OutlineRegion* r = view.Regions().InnermostAt(view.Caret());
    if (r == nullptr || !view.Regions().Toggle(r->id)) return CommandResult::kFail;
    if (const OutlineRegion* h = view.Layout().HidingRegionAt(view.Caret())) {
      view.SetCaret(h->start);
    }
    return CommandResult::kOk;
  });
}

CommandResult Split(EditorHost& host, std::u16string_view) {
  Window* window = host.ActiveWindow();
  if (window == nullptr) return CommandResult::kFail;
  host.ToggleSplit(*window);
  return CommandResult::kOk;
}

// Unsaved changes are only thrown away when the user says so.
bool MayDiscard(EditorHost& host, std::u16string_view question) {
  if (host.dialogs().AskYesNo(question) == YesNoAnswer::kYes) return true;
  host.SetStatusText(u"Not closed: there are unsaved changes");
  return false;
}

CommandResult CloseFile(EditorHost& host, std::u16string_view) {
  Document* doc = host.FocusedDocument();
  if (doc == nullptr) return CommandResult::kFail;
  // The file name alone keeps the question short enough for one status line.
  const std::u16string name =
      FromUtf8(std::filesystem::path(ToUtf8(doc->Name())).filename().string());
  if (doc->Modified() &&
      !MayDiscard(host, u"\"" + name + u"\" has unsaved changes. Close it anyway?")) {
    return CommandResult::kFail;
  }
  host.Close(*doc);
  return CommandResult::kOk;
}

CommandResult CloseAll(EditorHost& host, std::u16string_view) {
  size_t modified = 0;
  for (const auto& doc : host.Documents()) modified += doc->Modified() ? 1 : 0;
  if (modified > 0) {
    const std::u16string question = FromUtf8(std::to_string(modified)) +
                                    (modified == 1 ? u" document has" : u" documents have") +
                                    u" unsaved changes. Close all anyway?";
    if (!MayDiscard(host, question)) return CommandResult::kFail;
  }
  while (!host.Documents().empty()) host.Close(*host.Documents().back());
  return CommandResult::kOk;
}

CommandResult Report(EditorHost& host, const std::optional<std::string>& error) {
  if (!error) return CommandResult::kOk;
  host.SetStatusText(FromUtf8(*error));
  return CommandResult::kFail;
}

CommandResult SaveSelected(EditorHost& host, std::u16string_view argument) {
  Document* doc = host.FocusedDocument();
  if (doc == nullptr) return CommandResult::kFail;
  const std::string path = PathArgument(argument);
  const std::string target = path.empty() ? doc->path : host.ResolvePath(path);
  if (Report(host, host.Save(*doc, path)) != CommandResult::kOk) return CommandResult::kFail;
  // A document without a file takes the name it was first written to.
  if (doc->path.empty() && !target.empty()) {
    doc->path = target;
    doc->MarkSaved();
    doc->disk_stamp = ReadFileStamp(target);
  }
  std::error_code ec;
  const uintmax_t bytes = std::filesystem::file_size(target, ec);
  host.SetStatusText(u"\"" + FromUtf8(target) + u"\" " +
                     FromUtf8(std::to_string(doc->buffer.LineCount())) + u"L, " +
                     FromUtf8(std::to_string(ec ? 0 : bytes)) + u"B written");
  return CommandResult::kOk;
}

CommandResult SaveAll(EditorHost& host, std::u16string_view) {
  CommandResult result = CommandResult::kOk;
  for (const auto& doc : host.Documents()) {
    if (doc->path.empty() || !doc->Modified()) continue;
    if (Report(host, host.Save(*doc)) != CommandResult::kOk) result = CommandResult::kFail;
  }
  return result;
}

CommandResult Open(EditorHost& host, std::u16string_view argument, bool must_exist) {
  std::string path = PathArgument(argument);
  // The open dialog of this editor is a question on the status line.
  if (path.empty() && !must_exist) {
    if (const std::optional<std::u16string> answer = host.dialogs().AskText(u"Open file: ")) {
      path = PathArgument(*answer);
    }
  }
  if (path.empty()) return CommandResult::kFail;
  const std::string full = host.ResolvePath(path);
  std::error_code ec;
  if (must_exist && !std::filesystem::exists(full, ec)) {
    host.SetStatusText(u"Cannot open \"" + FromUtf8(full) + u"\"");
    return CommandResult::kFail;
  }
  std::string error;
  const size_t open_before = host.Documents().size();
  // The name as given: an open document may be known by it rather than by the resolved path.
  const Document* document = host.OpenFile(path, &error);
  if (document == nullptr) return Report(host, error);
  if (host.Documents().size() != open_before) {
    const std::u16string name = u"\"" + document->Name() + u"\" ";
    host.SetStatusText(std::filesystem::exists(full, ec)
                           ? name + FromUtf8(std::to_string(document->buffer.LineCount())) + u"L"
                           : name + u"[New]");
  }
  return CommandResult::kOk;
}

CommandResult EditOpenFile(EditorHost& host, std::u16string_view argument) {
  if (PathArgument(argument).empty()) return OpenFileUnderCaret(host);
  return Open(host, argument, true);
}

CommandResult FileOpenFile(EditorHost& host, std::u16string_view argument) {
  return Open(host, argument, false);
}

CommandResult NewFile(EditorHost& host, std::u16string_view) {
  host.NewFile();
  return CommandResult::kOk;
}

CommandResult NextWindow(EditorHost& host, std::u16string_view) {
  host.ActivateNextWindow(1);
  return Ok(host.ActiveWindow() != nullptr);
}

CommandResult PreviousWindow(EditorHost& host, std::u16string_view) {
  host.ActivateNextWindow(-1);
  return Ok(host.ActiveWindow() != nullptr);
}

CommandResult ActivateDocumentWindow(EditorHost& host, std::u16string_view) {
  return Ok(host.ActiveWindow() != nullptr);
}

CommandResult ShowOutput(EditorHost& host, std::u16string_view) {
  host.output().Show();
  return CommandResult::kOk;
}

constexpr std::array kCommands = {
    HostCommand{u"Edit.Undo", Undo},
    HostCommand{u"Edit.Redo", Redo},
    HostCommand{u"Edit.BreakLine", BreakLineCommand},
    HostCommand{u"Edit.SelectAll", SelectAll},
    HostCommand{u"Edit.FormatSelection", FormatSelection},
    HostCommand{u"Edit.CompleteWord", CompleteWordCommand},
    HostCommand{u"Edit.Find", FindCommand},
    HostCommand{u"Edit.Replace", ReplaceCommand},
    HostCommand{u"Edit.GoTo", GoToLineCommand},
    HostCommand{u"Edit.Cut", CutCommand},
    HostCommand{u"Edit.Copy", CopyCommand},
    HostCommand{u"Edit.Paste", PasteCommand},
    HostCommand{u"Edit.IncrementalSearch", IncrementalSearchCommand},
    HostCommand{u"Edit.InsertCharacterCode", InsertCharacterCodeCommand},
    HostCommand{u"Edit.CollapsetoDefinitions", CollapseToDefinitionsCommand},
    HostCommand{u"Edit.StopHidingCurrent", StopHidingCurrent},
    HostCommand{u"Edit.ToggleOutliningExpansion", ToggleOutliningExpansion},
    HostCommand{u"Edit.OpenFile", EditOpenFile},
    HostCommand{u"Edit.GotoDefinition", GotoDefinition},
    HostCommand{u"Edit.GotoOutputWindowNextLocation", NextLocation},
    HostCommand{u"Edit.GotoOutputWindowPreviousLocation", PreviousLocation},
    HostCommand{u"File.OpenFile", FileOpenFile},
    HostCommand{u"File.NewFile", NewFile},
    HostCommand{u"File.Close", CloseFile},
    HostCommand{u"File.SaveSelectedItems", SaveSelected},
    HostCommand{u"File.SaveAll", SaveAll},
    HostCommand{u"Window.Split", Split},
    HostCommand{u"Window.NextDocumentWindow", NextWindow},
    HostCommand{u"Window.PreviousDocumentWindow", PreviousWindow},
    HostCommand{u"Window.ActivateDocumentWindow", ActivateDocumentWindow},
    HostCommand{u"Window.CloseAllDocuments", CloseAll},
    HostCommand{u"View.Output", ShowOutput},
    HostCommand{u"View.PopBrowseContext", PopBrowseContext},
    HostCommand{u"View.NextError", NextError},
    HostCommand{u"View.PreviousError", PreviousError},
    HostCommand{u"Build.BuildSolution", BuildCommand},
    HostCommand{u"Build.Compile", BuildCommand},
    HostCommand{u"Build.BuildSelection", BuildCommand},
    HostCommand{u"Debug.Start", NotImplemented},
    HostCommand{u"Query.Execute", NotImplemented},
};

}  // namespace

std::vector<std::u16string_view> HostCommandNames() {
  std::vector<std::u16string_view> names;
  for (const HostCommand& command : kCommands) names.push_back(command.name);
  return names;
}

CommandResult EditorHost::Execute(std::u16string_view name, std::u16string_view argument) {
  // A whole command line may come as the name: "File.OpenFile foo.cpp".
  if (argument.empty()) {
    const size_t blank = name.find(u' ');
    if (blank != std::u16string_view::npos) {
      argument = name.substr(blank + 1);
      name = name.substr(0, blank);
    }
  }
  // The command events of automation hear of every named command, by group and id; a handler
  // there may take the command over.
  auto with_events = [this](std::string_view group, uint32_t id, auto&& run) {
    if (automation_.BeforeCommand(group, id)) return CommandResult::kOk;
    const CommandResult result = run();
    automation_.AfterCommand(group, id);
    return result;
  };
  for (size_t i = 0; i < kCommands.size(); ++i) {
    if (kCommands[i].name != name) continue;
    return with_events(kHostCommandsGuid, static_cast<uint32_t>(i + 1),
                       [&] { return kCommands[i].handler(*this, argument); });
  }
  if (const AddInCommand* command = automation_.FindCommand(name)) {
    // Copies: the command may remove itself.
    const std::string group = command->group_guid;
    const auto run = command->run;
    return with_events(group, command->id,
                       [&] { return run ? run(argument) : CommandResult::kNotImpl; });
  }
  for (const auto& [command, handler] : front_end_commands_) {
    if (command == name) return handler(argument);
  }
  if (name == kExitCommand || name == kOptionsCommand) return CommandResult::kNotImpl;
  // Recorded macros are not available in this editor.
  if (name.starts_with(u"Macros.")) return CommandResult::kNotImpl;
  return CommandResult::kFail;
}

void EditorHost::SetFrontEndCommand(std::u16string name, FrontEndCommand handler) {
  std::erase_if(front_end_commands_, [&](const auto& entry) { return entry.first == name; });
  if (handler) front_end_commands_.emplace_back(std::move(name), std::move(handler));
}

}  // namespace tavik::platform
