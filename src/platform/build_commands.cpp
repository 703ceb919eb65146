// Build commands and the walk over the places in their output.
#include "platform/build_commands.h"

#include <filesystem>
#include <string>

#include "platform/build_runner.h"
#include "platform/utf8_codec.h"

namespace tavik::platform {

namespace {

namespace fs = std::filesystem;

std::u16string Decimal(uint64_t value) {
  return FromUtf8(std::to_string(value));
}

// The folder a build runs in: the focused document's, else the editor's working folder.
std::string BuildFolder(EditorHost& host) {
  const Document* document = host.FocusedDocument();
  if (document != nullptr && !document->path.empty()) {
    return fs::path(document->path).parent_path().string();
  }
  return host.ResolvePath(".");
}

std::string PlaceFile(const BuildLog& log, const OutputLocation& location) {
  fs::path file{ToUtf8(location.file)};
  if (file.is_relative() && !log.Folder().empty()) file = fs::path(log.Folder()) / file;
  return file.lexically_normal().string();
}

CommandResult Walk(EditorHost& host, bool forward, bool errors_only) {
  BuildLog& log = host.build_log();
  std::error_code ec;
  const std::optional<size_t> index = log.Step(forward, errors_only, [&](const OutputLocation& l) {
    const std::string file = PlaceFile(log, l);
    return fs::is_regular_file(file, ec);
  });
  if (!index) {
    host.SetStatusText(errors_only ? u"No more errors" : u"No more locations");
    return CommandResult::kFail;
  }
  const OutputLocation location = *ParseLocation(log.Lines()[*index]);
  std::string error;
  Document* document = host.OpenFile(PlaceFile(log, location), &error);
  if (document == nullptr) {
    host.SetStatusText(FromUtf8(error));
    return CommandResult::kFail;
  }
  View* view = host.FocusedView();
  if (view == nullptr) return CommandResult::kFail;
  const uint32_t column = location.column > 0 ? location.column - 1 : 0;
  view->SetCaret({location.line - 1, column});
  view->ScrollToCaret();
  host.SetStatusText(u"(" + Decimal(log.OrdinalOf(*index, errors_only)) + u" of " +
                     Decimal(log.CountLocations(errors_only)) + u") " + log.Lines()[*index]);
  return CommandResult::kOk;
}

}  // namespace

CommandResult BuildCommand(EditorHost& host, std::u16string_view argument) {
  const std::string folder = BuildFolder(host);
  // ":make clean" builds the target it names.
  std::string command = host.BuildCommandLine();
  if (!argument.empty()) command += " " + ToUtf8(argument);
  OutputPane& pane = host.output();
  BuildLog& log = host.build_log();
  log.Start(folder);
  pane.Show();
  pane.AppendLine(FromUtf8("Build started: " + command + " (in " + folder + ")"));
  host.SetStatusText(FromUtf8("Building: " + command));
  // Lines go to the pane and the log as they come, so a long build shows its progress.
  std::string partial;
  auto take_line = [&](std::string_view bytes) {
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    std::u16string line;
    DecodeUtf8(bytes, line);
    log.AddLine(line);
    pane.AppendLine(line);
  };
  auto on_output = [&](std::string_view chunk) {
    partial.append(chunk);
    size_t begin = 0;
    for (size_t nl = partial.find('\n'); nl != std::string::npos; nl = partial.find('\n', begin)) {
      take_line(std::string_view(partial).substr(begin, nl - begin));
      begin = nl + 1;
    }
    partial.erase(0, begin);
  };
  const BuildResult result =
      RunBuildCommand(command, folder, host.BuildTimeoutMs(), host.BuildCancelCheck(), on_output);
  if (!result.started) {
    pane.AppendLine(FromUtf8("Build could not start: " + result.error));
    host.SetStatusText(u"Build could not start");
    return CommandResult::kFail;
  }
  if (!partial.empty()) take_line(partial);
  if (result.output_cut) pane.AppendLine(u"(output cut: too long)");
  std::u16string outcome;
  if (result.cancelled) {
    outcome = u"Build stopped";
  } else if (result.timed_out) {
    outcome = u"Build stopped after " + Decimal(host.BuildTimeoutMs()) + u" ms";
  } else if (result.exit_code == 0) {
    outcome = u"Build succeeded";
  } else {
    outcome = u"Build failed: exit code " + FromUtf8(std::to_string(result.exit_code));
  }
  const size_t errors = log.CountLocations(true);
  if (errors > 0) outcome += u", " + Decimal(errors) + (errors == 1 ? u" error" : u" errors");
  pane.AppendLine(outcome);
  host.SetStatusText(outcome);
  return result.exit_code == 0 && !result.timed_out && !result.cancelled ? CommandResult::kOk
                                                                         : CommandResult::kFail;
}

CommandResult NextLocation(EditorHost& host, std::u16string_view) {
  return Walk(host, true, false);
}
CommandResult PreviousLocation(EditorHost& host, std::u16string_view) {
  return Walk(host, false, false);
}
CommandResult NextError(EditorHost& host, std::u16string_view) {
  return Walk(host, true, true);
}
CommandResult PreviousError(EditorHost& host, std::u16string_view) {
  return Walk(host, false, true);
}

}  // namespace tavik::platform
