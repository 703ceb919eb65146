// The startup file: where it is looked for, how its bytes become lines of text, and the small
// interpreter that runs each line with the commands that make sense before any view exists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/mapping_list.h"
#include "config/options.h"

namespace tavik {

// Bytes read for one line at most; the rest of a longer line is read as the next line.
inline constexpr size_t kStartupLineBytes = 65536;

// What the startup commands act on. Messages of the handlers ("Unknown option", "No such
// mapping", the version text) go to `show_message`, the engine's message line.
struct StartupContext {
  OptionSet& options;
  MappingList& mappings;
  std::function<void(std::u16string_view)> show_message;
};

// The directories searched, in order: HOMEDRIVE and HOMEPATH run together when both are set,
// then HOME when set, then the program's own directory. A null variable is an unset one.
std::vector<std::filesystem::path> StartupDirectories(const char* homedrive, const char* homepath,
                                                      const char* home,
                                                      const std::filesystem::path& program_dir);

// The first of ".tavikrc" then "_tavikrc" that opens for reading, directory by directory.
std::optional<std::filesystem::path> FindStartupFile(
    std::span<const std::filesystem::path> directories);

// Runs one line (without its line end and without a leading colon). False when the line is not
// a startup command: a range, an unknown name, or no name at all.
bool RunStartupLine(StartupContext& context, std::u16string_view text);

// Runs every line of `in`. Each failed line is reported through `report_error` as
// "Error processing <file_name>: line <n>". Returns the number of failed lines.
size_t RunStartupLines(std::istream& in, std::u16string_view file_name, StartupContext& context,
                       const std::function<void(std::u16string_view)>& report_error);

// Converts bytes in the process's multibyte encoding (its C locale). A byte sequence that does
// not convert becomes U+FFFD; a NUL byte ends the text, as it ends a C string.
std::u16string MultiByteToUtf16(std::string_view bytes);

}  // namespace tavik
