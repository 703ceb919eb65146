// The batch contract: tools outside the project depend on its output, so keep it exact.
#include "app/batch_mode.h"

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/batch_session.h"

namespace tavik::app {

namespace {

// The directory of the running program, the last place the startup file is looked for.
std::filesystem::path ProgramDirectory() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self.parent_path();
}

host::StartupSource StartupSourceOf(const ProgramOptions& options) {
  host::StartupSource source;
  if (options.no_rc) return source;
  if (options.rc) {
    source.kind = host::StartupSource::Kind::kFile;
    source.file = *options.rc;
  } else {
    source.kind = host::StartupSource::Kind::kSearch;
    source.program_dir = ProgramDirectory();
  }
  return source;
}

}  // namespace

int RunBatch(const ProgramOptions& options) {
  // The startup file is read in the multibyte encoding the environment names.
  std::setlocale(LC_CTYPE, "");
  BatchSession session(RegistrySourceOf(options.registry));
  session.Editor().keyboard().SetLayout(*platform::LayoutByName(options.keyboard));
  session.SetPaneSink([](const std::string& line) {
    std::fprintf(stderr, "pane: %s\n", line.c_str());
    std::fflush(stderr);
  });
  // Before any document is opened: views copy the options the startup file set.
  if (session.HasPackage() && !session.Package().RunStartupFile(StartupSourceOf(options))) {
    std::fprintf(stderr, "tavik: cannot read %s\n", options.rc->c_str());
    return 1;
  }
  if (options.files.empty()) {
    session.OpenText("", "");
  }
  for (const std::string& file : options.files) {
    if (auto error = session.OpenFile(file)) {
      std::fprintf(stderr, "tavik: cannot read %s: %s\n", file.c_str(), error->c_str());
      return 1;
    }
  }
  // Focus the first document, as an editor opening several files shows the first.
  session.FocusFirstDocument();
  session.SetAnswers(options.answers);

  std::string keys;
  for (const std::string& text : options.keys) keys += text;
  session.FeedNotation(keys);
  session.FinishKeys();

  std::fflush(stderr);
  if (!session.WriteBufferText(stdout) || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "tavik: cannot write the buffer to standard output\n");
    return 1;
  }
  if (options.print_state) {
    auto [line, column] = session.Cursor();
    std::fprintf(stderr, "cursor %u %u\n", line + 1, column);
    std::fprintf(stderr, "mode %s\n", session.ModeName().c_str());
    std::fprintf(stderr, "status %s\n", session.StatusBarUtf8().c_str());
    std::fprintf(stderr, "beeps %d\n", session.Beeps());
  }
  return 0;
}

}  // namespace tavik::app
