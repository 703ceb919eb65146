// The command line of the tavik program: the batch-mode contract and the editor's file list.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavik::app {

struct ProgramOptions {
  bool batch = false;
  std::vector<std::string> keys;     // --keys texts, in order
  bool print_state = false;          // --state
  std::vector<std::string> answers;  // --answer values, in order
  bool no_rc = false;                // --no-rc
  std::optional<std::string> rc;     // --rc FILE
  std::vector<std::string> files;
  std::string keyboard = "us";  // --keyboard LAYOUT: "us" or "de"
  bool help = false;
};

struct ParsedArguments {
  ProgramOptions options;
  std::string error;  // non-empty: bad arguments, with what was wrong
};

ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

std::string UsageText();

}  // namespace tavik::app
