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
  bool version = false;                 // --version
  std::optional<std::string> registry;  // --registry FILE: instead of the user's registry
  std::optional<std::string> setting;   // --setting NAME or NAME=VALUE
  bool register_package = false;        // --register
  bool unregister_package = false;      // --unregister
  bool key_bindings = false;            // --keybindings
};

struct ParsedArguments {
  ProgramOptions options;
  std::string error;  // non-empty: bad arguments, with what was wrong
};

ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

std::string UsageText();
std::string VersionLine();  // the version text, as `tavik --version` prints it

}  // namespace tavik::app
