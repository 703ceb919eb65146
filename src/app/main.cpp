// The tavik program: the terminal editor, or batch mode with --batch.
#include <cstdio>
#include <string>
#include <vector>

#include "app/batch_mode.h"
#include "app/batch_options.h"
#include "app/setting_command.h"
#include "app/terminal_editor.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  tavik::app::ParsedArguments parsed = tavik::app::ParseArguments(arguments);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "tavik: %s\n", parsed.error.c_str());
    std::fputs(tavik::app::UsageText().c_str(), stderr);
    return 2;
  }
  // Asked for, help and the version go to stdout, so that they can be paged or compared.
  if (parsed.options.help) {
    std::fputs(tavik::app::UsageText().c_str(), stdout);
    return 0;
  }
  if (parsed.options.version) {
    std::printf("%s\n", tavik::app::VersionLine().c_str());
    return 0;
  }
  if (parsed.options.setting) return tavik::app::RunSettingCommand(parsed.options);
  if (parsed.options.key_bindings) return tavik::app::RunKeyBindings(parsed.options);
  if (parsed.options.register_package || parsed.options.unregister_package) {
    return tavik::app::RunRegistration(parsed.options);
  }
  if (parsed.options.batch) return tavik::app::RunBatch(parsed.options);
  return tavik::app::RunTerminalEditor(parsed.options);
}
