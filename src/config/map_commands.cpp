// Argument parsing of the map families and the definition or removal it leads to.
#include "config/map_commands.h"

#include "config/key_notation.h"

namespace tavik {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

size_t SkipBlanks(std::u16string_view text, size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

}  // namespace

ParsedMapArgument ParseMapArgument(std::u16string_view argument) {
  ParsedMapArgument parsed;
  size_t pos = SkipBlanks(argument, 0);
  while (pos < argument.size() && !IsBlank(argument[pos])) {
    ParsedKey key = ParseKey(argument, pos);
    parsed.lhs.push_back(key.key);
    pos = key.next;
  }
  pos = SkipBlanks(argument, pos);
  parsed.rhs = argument.substr(pos);
  return parsed;
}

std::u16string RunMapCommand(const MapCommandRow& row, std::u16string_view argument, bool bang,
                             MappingList& list) {
  uint32_t modes = bang ? row.bang_modes : row.modes;
  ParsedMapArgument parsed = ParseMapArgument(argument);
  if (row.kind == MapCommandKind::kUnmap) {
    if (!list.Remove(parsed.lhs, modes)) return u"No such mapping";
    return {};
  }
  list.Add(std::move(parsed.lhs), std::u16string(parsed.rhs), modes,
           row.kind == MapCommandKind::kMap);
  return {};
}

}  // namespace tavik
