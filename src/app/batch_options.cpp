// Parsing the program's arguments.
#include "app/batch_options.h"

#include "config/version_text.h"
#include "platform/keyboard_layout.h"
#include "platform/utf8_codec.h"

namespace tavik::app {

std::string UsageText() {
  return "usage: tavik [options] [FILE...]         edit the files in the terminal\n"
         "       tavik --batch [options] FILE...   type keys into the files, print the text\n"
         "       tavik --setting NAME[=VALUE] | --register | --unregister | --keybindings\n"
         "\n"
         "options:\n"
         "  --batch               run without a terminal: type the --keys, print the text\n"
         "  --keys NOTATION       (batch) keys to type, in key notation; may be repeated\n"
         "  --state               (batch) print cursor, mode, status and beeps on stderr\n"
         "  --answer A            (batch) answer the next question with A; may be repeated\n"
         "  --rc FILE             run FILE as the startup file, without a search\n"
         "  --no-rc               run no startup file\n"
         "  --registry FILE       keep settings and bindings in FILE instead of the user's\n"
         "  --keyboard us|de      keyboard layout the keys are pressed on (default us)\n"
         "  --setting NAME        print a setting: true, false, or its text\n"
         "  --setting NAME=VALUE  put a setting\n"
         "  --register            register the package in the registry\n"
         "  --unregister          remove the package's registration\n"
         "  --keybindings         print each host command with its key bindings\n"
         "  --version             print the version and exit\n"
         "  -h, --help            print this help and exit\n"
         "  --                    only file names follow\n";
}

std::string VersionLine() {
  return platform::ToUtf8(kVersionText);
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
    } else if (a == "--version") {
      o.version = true;
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
