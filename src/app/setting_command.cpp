// Settings and registration from the command line, through the same host and package the
// editor starts, so that a put has every effect it has on the options form.
#include "app/setting_command.h"

#include <cstdio>
#include <string>

#include "app/host_start.h"
#include "host/package.h"
#include "host/registration.h"
#include "platform/editor_host.h"
#include "platform/utf8_codec.h"

namespace tavik::app {
namespace {

// The registry's own complaints (a file that does not parse) go to stderr.
void OpenRegistryFor(platform::EditorHost& editor, const ProgramOptions& options) {
  OpenRegistry(editor, RegistrySourceOf(options.registry));
  for (const std::u16string& line : editor.output().Lines()) {
    std::fprintf(stderr, "tavik: %s\n", platform::ToUtf8(line).c_str());
  }
}

std::optional<bool> ParseBool(const std::string& text) {
  if (text == "true" || text == "1") return true;
  if (text == "false" || text == "0") return false;
  return std::nullopt;
}

std::string RegistryName(platform::EditorHost& editor) {
  const std::string& file = editor.registry().BackingFile();
  return file.empty() ? std::string("the registry") : file;
}

}  // namespace

int RunSettingCommand(const ProgramOptions& options) {
  const std::string& argument = *options.setting;
  const size_t equals = argument.find('=');
  const std::string name = argument.substr(0, equals);
  const std::optional<SettingId> id = host::SettingsObject::IdOf(name);
  if (!id) {
    std::fprintf(stderr, "tavik: unknown setting %s\n", name.c_str());
    return 2;
  }
  const bool is_bool = SettingRowOf(*id).type == SettingType::kBool;
  std::optional<bool> flag;
  if (equals != std::string::npos && is_bool) {
    flag = ParseBool(argument.substr(equals + 1));
    if (!flag) {
      std::fprintf(stderr, "tavik: %s takes true, false, 1 or 0\n", name.c_str());
      return 2;
    }
  }

  platform::EditorHost editor;
  OpenRegistryFor(editor, options);
  host::Package package(editor);
  host::SettingsObject& settings = *package.GetAutomationObject(u"Tavik.General");

  if (equals == std::string::npos) {
    std::string shown;
    if (is_bool) {
      bool value = false;
      settings.GetBool(*id, &value);
      shown = value ? "true" : "false";
    } else {
      std::u16string value;
      settings.GetString(*id, &value);
      shown = platform::ToUtf8(value);
    }
    std::printf("%s\n", shown.c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
  }

  const std::u16string text = platform::FromUtf8(argument.substr(equals + 1));
  const platform::HResult result =
      is_bool ? settings.PutBool(*id, *flag) : settings.PutString(*id, text);
  if (platform::Succeeded(result)) return 0;
  if (*id == SettingId::kFileTabCaption && text.size() > kMaxFileTabCaption) {
    std::fprintf(stderr, "tavik: %s takes at most %zu characters\n", name.c_str(),
                 kMaxFileTabCaption);
  } else {
    std::fprintf(stderr, "tavik: cannot write %s to %s\n", name.c_str(),
                 RegistryName(editor).c_str());
  }
  return 1;
}

int RunRegistration(const ProgramOptions& options) {
  platform::EditorHost editor;
  OpenRegistryFor(editor, options);
  const std::string root = editor.LocalRegistryRoot();
  const bool done = options.register_package
                        ? host::RegisterPackage(editor.registry(), root, ModulePath())
                        : host::UnregisterPackage(editor.registry(), root);
  if (done) return 0;
  std::fprintf(stderr, "tavik: cannot write the registration to %s\n",
               RegistryName(editor).c_str());
  return 1;
}

// The host alone, as it starts with this registry: bindings as the package left them.
int RunKeyBindings(const ProgramOptions& options) {
  platform::EditorHost editor;
  OpenRegistryFor(editor, options);
  for (const platform::BoundCommand& command : editor.bindings().Commands()) {
    std::string line = platform::ToUtf8(command.name) + '\t';
    for (size_t i = 0; i < command.bindings.size(); ++i) {
      if (i != 0) line += "||";
      line += platform::ToUtf8(command.bindings[i]);
    }
    std::printf("%s\n", line.c_str());
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace tavik::app
