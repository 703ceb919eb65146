// Parsing the program's arguments.
#include "app/batch_options.h"

#include "platform/keyboard_layout.h"

namespace tavik::app {

std::string UsageText() {
  return "usage: tavik [--keyboard us|de] FILE...\n"
         "       tavik --batch [--keys NOTATION]... [--state] [--answer A]... "
         "[--no-rc | --rc FILE] [--keyboard us|de] FILE...\n"
         "       tavik --setting NAME | --setting NAME=VALUE\n"
         "       tavik --register | --unregister\n"
         "       tavik --keybindings\n"
         "       any of them with --registry FILE to use FILE as the registry\n";
}

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  ProgramOptions& o = parsed.options;
  bool only_files = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    auto value = [&](const char* flag) -> const std::string* {
      if (i + 1 >= arguments.size()) {
        parsed.error = std::string(flag) + " needs a value";
        return nullptr;
      }
      return &arguments[++i];
    };
    if (only_files || a.empty() || a[0] != '-' || a == "-") {
      o.files.push_back(a);
    } else if (a == "--") {
      only_files = true;
    } else if (a == "--batch") {
      o.batch = true;
    } else if (a == "--keys") {
      const std::string* v = value("--keys");
      if (v == nullptr) return parsed;
      o.keys.push_back(*v);
    } else if (a == "--state") {
      o.print_state = true;
    } else if (a == "--answer") {
      const std::string* v = value("--answer");
      if (v == nullptr) return parsed;
      o.answers.push_back(*v);
    } else if (a == "--no-rc") {
      o.no_rc = true;
    } else if (a == "--rc") {
      const std::string* v = value("--rc");
      if (v == nullptr) return parsed;
      o.rc = *v;
    } else if (a == "--registry") {
      const std::string* v = value("--registry");
      if (v == nullptr) return parsed;
      o.registry = *v;
    } else if (a == "--setting") {
      const std::string* v = value("--setting");
      if (v == nullptr) return parsed;
      o.setting = *v;
    } else if (a == "--keybindings") {
      o.key_bindings = true;
    } else if (a == "--register") {
      o.register_package = true;
    } else if (a == "--unregister") {
      o.unregister_package = true;
    } else if (a == "--keyboard") {
      const std::string* v = value("--keyboard");
      if (v == nullptr) return parsed;
      if (platform::LayoutByName(*v) == nullptr) {
        parsed.error = "unknown keyboard layout " + *v + " (us or de)";
        return parsed;
      }
      o.keyboard = *v;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else {
      parsed.error = "unknown option " + a;
      return parsed;
    }
  }
  const int alone = (o.setting ? 1 : 0) + (o.register_package ? 1 : 0) +
                    (o.unregister_package ? 1 : 0) + (o.key_bindings ? 1 : 0);
  if (alone > 1 || (alone == 1 && (o.batch || !o.files.empty()))) {
    parsed.error = "--setting, --register, --unregister and --keybindings each run alone";
  } else if (o.no_rc && o.rc) {
    parsed.error = "--no-rc and --rc exclude each other";
  } else if (!o.batch && (!o.keys.empty() || o.print_state || !o.answers.empty())) {
    parsed.error = "--keys, --state and --answer need --batch";
  }
  return parsed;
}

}  // namespace tavik::app
