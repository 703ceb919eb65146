// The map, noremap and unmap command families: one table row per command, and the text after
// the command name turned into a definition or removal on the mapping list. The command line of a
// view and the startup file both run them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/key_code.h"
#include "config/mapping_list.h"

namespace tavik {

enum class MapCommandKind : uint8_t { kMap, kNoremap, kUnmap };

struct MapCommandRow {
  std::u16string_view prefix;  // the shortest form
  std::u16string_view rest;    // what may follow it
  MapCommandKind kind;
  uint32_t modes;
  uint32_t bang_modes;  // the modes with `!`; the same as `modes` when `!` means nothing
};

namespace map_rows {
using namespace mapping_mask;
inline constexpr uint32_t kNvo = kNormal | kVisual | kOperatorPending;
inline constexpr uint32_t kIc = kInsert | kCommandLine;
inline constexpr uint32_t kIcl = kInsert | kCommandLine | kLanguageArg;
using K = MapCommandKind;
}  // namespace map_rows

inline constexpr std::array<MapCommandRow, 21> kMapCommands = {{
    {u"map", u"", map_rows::K::kMap, map_rows::kNvo, map_rows::kIc},
    {u"nm", u"ap", map_rows::K::kMap, mapping_mask::kNormal, mapping_mask::kNormal},
    {u"vm", u"ap", map_rows::K::kMap, mapping_mask::kVisual, mapping_mask::kVisual},
    {u"om", u"ap", map_rows::K::kMap, mapping_mask::kOperatorPending,
     mapping_mask::kOperatorPending},
    {u"im", u"ap", map_rows::K::kMap, mapping_mask::kInsert, mapping_mask::kInsert},
    {u"lm", u"ap", map_rows::K::kMap, map_rows::kIcl, map_rows::kIcl},
    {u"cm", u"ap", map_rows::K::kMap, mapping_mask::kCommandLine, mapping_mask::kCommandLine},
    {u"no", u"remap", map_rows::K::kNoremap, map_rows::kNvo, map_rows::kIc},
    {u"nn", u"oremap", map_rows::K::kNoremap, mapping_mask::kNormal, mapping_mask::kNormal},
    {u"vn", u"oremap", map_rows::K::kNoremap, mapping_mask::kVisual, mapping_mask::kVisual},
    {u"ono", u"remap", map_rows::K::kNoremap, mapping_mask::kOperatorPending,
     mapping_mask::kOperatorPending},
    {u"ino", u"remap", map_rows::K::kNoremap, mapping_mask::kInsert, mapping_mask::kInsert},
    {u"ln", u"oremap", map_rows::K::kNoremap, map_rows::kIcl, map_rows::kIcl},
    {u"cno", u"remap", map_rows::K::kNoremap, mapping_mask::kCommandLine,
     mapping_mask::kCommandLine},
    {u"unm", u"ap", map_rows::K::kUnmap, map_rows::kNvo, map_rows::kIc},
    {u"nun", u"map", map_rows::K::kUnmap, mapping_mask::kNormal, mapping_mask::kNormal},
    {u"vu", u"nmap", map_rows::K::kUnmap, mapping_mask::kVisual, mapping_mask::kVisual},
    {u"ou", u"nmap", map_rows::K::kUnmap, mapping_mask::kOperatorPending,
     mapping_mask::kOperatorPending},
    {u"iu", u"nmap", map_rows::K::kUnmap, mapping_mask::kInsert, mapping_mask::kInsert},
    {u"lu", u"nmap", map_rows::K::kUnmap, map_rows::kIcl, map_rows::kIcl},
    {u"cu", u"nmap", map_rows::K::kUnmap, mapping_mask::kCommandLine, mapping_mask::kCommandLine},
}};

// The row index of a command in kMapCommands, by its shortest form; for the ex table.
constexpr size_t MapCommandIndex(std::u16string_view prefix) {
  for (size_t i = 0; i < kMapCommands.size(); ++i) {
    if (kMapCommands[i].prefix == prefix) return i;
  }
  return kMapCommands.size();
}

struct ParsedMapArgument {
  std::vector<KeyCode> lhs;
  std::u16string_view rhs;  // everything after the blanks that follow the left-hand side
};

// The left-hand side ends at the first blank that starts a key; `<Space>` or a backslash and a
// blank put a blank into it. The right-hand side keeps its trailing blanks.
ParsedMapArgument ParseMapArgument(std::u16string_view argument);

// Runs the command of `row` with the text after its name. Returns the message to show: empty,
// or "No such mapping" when an unmap command removed nothing.
std::u16string RunMapCommand(const MapCommandRow& row, std::u16string_view argument, bool bang,
                             MappingList& list);

}  // namespace tavik
