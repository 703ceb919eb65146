// Finding the startup file, reading it in lines of at most 65536 bytes, and running each line
// through the startup command table. A failed line is reported and the next one runs.
#include "config/startup_file.h"

#include <array>
#include <cwchar>
#include <fstream>
#include <istream>
#include <system_error>

#include "common/char_class.h"
#include "common/decimal.h"
#include "config/map_commands.h"
#include "config/set_command.h"
#include "config/version_text.h"

namespace tavik {
namespace {

enum class StartupHandler : uint8_t { kSet, kMap, kComment, kVersion };

struct StartupRow {
  std::u16string_view prefix;
  std::u16string_view rest;
  StartupHandler handler;
  size_t map_row;  // the row in kMapCommands, for kMap
};

// Searched in order: set, the 21 map commands in their own order, the comment, version.
constexpr std::array<StartupRow, 24> MakeStartupCommands() {
  std::array<StartupRow, 24> rows{};
  rows[0] = {u"se", u"t", StartupHandler::kSet, 0};
  for (size_t i = 0; i < kMapCommands.size(); ++i) {
    rows[i + 1] = {kMapCommands[i].prefix, kMapCommands[i].rest, StartupHandler::kMap, i};
  }
  rows[22] = {u"\"", u"", StartupHandler::kComment, 0};
  rows[23] = {u"ve", u"rsion", StartupHandler::kVersion, 0};
  return rows;
}

constexpr std::array<StartupRow, 24> kStartupCommands = MakeStartupCommands();

constexpr std::array<std::string_view, 2> kFileNames = {".tavikrc", "_tavikrc"};

bool NameMatches(std::u16string_view name, const StartupRow& row) {
  return name.starts_with(row.prefix) && row.rest.starts_with(name.substr(row.prefix.size()));
}

// The characters a line range starts with; ranges have no meaning without a buffer.
bool StartsRange(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'\'' || c == u'+' || c == u'-' || c == u'.' ||
         c == u'/' || c == u'?';
}

// One line of at most kStartupLineBytes bytes, its line feed included; false at the end.
bool ReadLineBytes(std::streambuf& in, std::string& line) {
  line.clear();
  while (line.size() < kStartupLineBytes) {
    int c = in.sbumpc();
    if (c == std::char_traits<char>::eof()) return !line.empty();
    line.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return true;
}

void AppendCodePoint(char32_t c, std::u16string& out) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    out.push_back(u'\uFFFD');
  } else if (c > 0xFFFF) {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(c));
  }
}

}  // namespace

std::vector<std::filesystem::path> StartupDirectories(const char* homedrive, const char* homepath,
                                                      const char* home,
                                                      const std::filesystem::path& program_dir) {
  std::vector<std::filesystem::path> directories;
  // An empty value would name the current directory, which is not a home.
  if (homedrive != nullptr && homepath != nullptr) {
    std::string joined = std::string(homedrive) + homepath;
    if (!joined.empty()) directories.emplace_back(joined);
  }
  if (home != nullptr && *home != '\0') directories.emplace_back(home);
  if (!program_dir.empty()) directories.push_back(program_dir);
  return directories;
}

std::optional<std::filesystem::path> FindStartupFile(
    std::span<const std::filesystem::path> directories) {
  for (const std::filesystem::path& directory : directories) {
    for (std::string_view name : kFileNames) {
      std::filesystem::path candidate = directory / name;
      std::error_code error;
      if (std::filesystem::is_directory(candidate, error)) continue;
      std::ifstream file(candidate, std::ios::binary);
      if (file.is_open()) return candidate;
    }
  }
  return std::nullopt;
}

bool RunStartupLine(StartupContext& context, std::u16string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlankChar(text[pos])) ++pos;
  if (pos == text.size()) return true;
  if (StartsRange(text[pos])) return false;

  size_t name_start = pos;
  if (text[pos] == u'"') {
    ++pos;
  } else {
    while (pos < text.size() && IsAlphaChar(text[pos])) ++pos;
  }
  std::u16string_view name = text.substr(name_start, pos - name_start);
  bool bang = pos < text.size() && text[pos] == u'!';
  if (bang) ++pos;
  while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t')) ++pos;
  std::u16string_view argument = text.substr(pos);
  if (name.empty()) return false;

  for (const StartupRow& row : kStartupCommands) {
    if (!NameMatches(name, row)) continue;
    std::u16string message;
    switch (row.handler) {
      case StartupHandler::kSet:
        message = RunSetCommand(argument, context.options, nullptr).message;
        break;
      case StartupHandler::kMap:
        message = RunMapCommand(kMapCommands[row.map_row], argument, bang, context.mappings);
        break;
      case StartupHandler::kComment:
        break;
      case StartupHandler::kVersion:
        message = kVersionText;
        break;
    }
    if (!message.empty() && context.show_message) context.show_message(message);
    return true;
  }
  return false;
}

size_t RunStartupLines(std::istream& in, std::u16string_view file_name, StartupContext& context,
                       const std::function<void(std::u16string_view)>& report_error) {
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr) return 0;
  size_t failures = 0;
  size_t line_number = 1;
  std::string bytes;
  while (ReadLineBytes(*buffer, bytes)) {
    size_t end = bytes.find_first_of("\r\n");
    std::u16string text = MultiByteToUtf16(std::string_view(bytes).substr(0, end));
    std::u16string_view line = text;
    if (!line.empty() && line.front() == u':') line.remove_prefix(1);
    if (!line.empty() && !RunStartupLine(context, line)) {
      ++failures;
      if (report_error) {
        std::u16string error = u"Error processing ";
        error += file_name;
        error += u": line ";
        error += DecimalText(line_number);
        report_error(error);
      }
    }
    ++line_number;
  }
  return failures;
}

std::u16string MultiByteToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::mbstate_t state{};
  size_t pos = 0;
  while (pos < bytes.size()) {
    wchar_t wide = 0;
    size_t used = std::mbrtowc(&wide, bytes.data() + pos, bytes.size() - pos, &state);
    if (used == 0) break;  // a NUL byte
    if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2)) {
      out.push_back(u'\uFFFD');
      state = std::mbstate_t{};
      if (used == static_cast<size_t>(-2)) break;  // cut off at the end
      ++pos;
      continue;
    }
    AppendCodePoint(static_cast<char32_t>(wide), out);
    pos += used;
  }
  return out;
}

}  // namespace tavik
