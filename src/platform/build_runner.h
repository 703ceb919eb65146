// Running the build command of a folder as a child process: its standard output and error
// captured together, its standard input empty, and the whole process group stopped when it runs
// longer than the time it was given, so a build can never hang the editor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tavik::platform {

struct BuildResult {
  bool started = false;     // false: the process could not be created (see `error`)
  bool timed_out = false;   // stopped after the time limit
  bool cancelled = false;   // stopped because `cancel` said so
  int exit_code = -1;       // the exit status, or 128 + the signal that ended it
  std::string output;       // standard output and error as they came, cut at kMaxBuildOutput
  bool output_cut = false;  // more came than was kept
  std::string error;
};

// Output beyond this many bytes is read and thrown away.
inline constexpr size_t kMaxBuildOutput = 8u << 20;

// Runs `command` with /bin/sh -c in `folder`. `cancel`, when given, is asked about ten times a
// second whether the user wants the build stopped; `on_output` receives the kept output as it
// arrives.
BuildResult RunBuildCommand(const std::string& command, const std::string& folder,
                            uint32_t timeout_ms, const std::function<bool()>& cancel = {},
                            const std::function<void(std::string_view)>& on_output = {});

}  // namespace tavik::platform
