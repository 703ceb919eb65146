// The batch contract: tools outside the project depend on its output, so keep it exact.
#include "app/batch_mode.h"

#include <cstdio>

#include "app/batch_session.h"

namespace tavik::app {

int RunBatch(const ProgramOptions& options) {
  BatchSession session;
  session.SetPaneSink([](const std::string& line) {
    std::fprintf(stderr, "pane: %s\n", line.c_str());
    std::fflush(stderr);
  });
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
    std::fprintf(stderr, "status %s\n", session.StatusUtf8().c_str());
    std::fprintf(stderr, "beeps %d\n", session.Beeps());
  }
  return 0;
}

}  // namespace tavik::app
