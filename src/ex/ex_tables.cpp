// The rows of the ex command tables. Handlers live with their command families (ex_set.cpp ...);
// a row without a handler runs nothing (the comment line).
#include "ex/ex_tables.h"

#include <array>

#include "config/map_commands.h"
#include "ex/ex_commands.h"

namespace tavik {
namespace {

using FD = FirstDefault;
using LD = LastDefault;

constexpr std::array<RangedRow, 29> kRanged = {{
    {u"d", u"elete", ex_commands::DeleteLines, false, FD::kCurrent, LD::kSame},
    {u"y", u"ank", ex_commands::YankLines, false, FD::kCurrent, LD::kSame},
    {u"j", u"oin", ex_commands::JoinLines, true, FD::kCurrent, LD::kNext},
    {u"pu", u"t", ex_commands::PutLines, true, FD::kCurrent, LD::kSame},
    {u"co", u"py", ex_commands::CopyLines, false, FD::kCurrent, LD::kSame},
    {u"t", u"", ex_commands::CopyLines, false, FD::kCurrent, LD::kSame},
    {u"m", u"ove", ex_commands::MoveLines, false, FD::kCurrent, LD::kSame},
    {u"p", u"rint", ex_commands::PrintLines, false, FD::kCurrent, LD::kSame},
    {u"P", u"rint", ex_commands::PrintLines, false, FD::kCurrent, LD::kSame},
    {u"nu", u"mber", ex_commands::NumberLines, false, FD::kCurrent, LD::kSame},
    {u"#", u"", ex_commands::NumberLines, false, FD::kCurrent, LD::kSame},
    {u"s", u"ubstitute", ex_commands::Substitute, true, FD::kCurrent, LD::kSame},
    {u"&", u"", ex_commands::RepeatSubstitute, false, FD::kCurrent, LD::kSame},
    {u"g", u"lobal", ex_commands::Global, true, FD::kLineZero, LD::kWholeBuffer},
    {u"v", u"global", ex_commands::InverseGlobal, true, FD::kLineZero, LD::kWholeBuffer},
    {u"delm", u"ark", ex_commands::DeleteMarks, false, FD::kCurrent, LD::kSame},
    {u"b", u"uffer", ex_commands::GoToBuffer, false, FD::kCurrent, LD::kSame},
    {u"bn", u"ext", ex_commands::NextBuffer, false, FD::kCurrent, LD::kSame},
    {u"bp", u"revious", ex_commands::PreviousBuffer, false, FD::kCurrent, LD::kSame},
    {u"ls", u"", ex_commands::ListBuffers, false, FD::kCurrent, LD::kSame},
    {u"buffers", u"", ex_commands::ListBuffers, false, FD::kCurrent, LD::kSame},
    {u"noh", u"lsearch", ex_commands::NoHighlight, false, FD::kCurrent, LD::kSame},
    {u"bd", u"elete", ex_commands::DeleteBuffer, false, FD::kCurrent, LD::kSame},
    {u">", u"", ex_commands::ShiftRight, false, FD::kCurrent, LD::kSame},
    {u"<", u"", ex_commands::ShiftLeft, false, FD::kCurrent, LD::kSame},
    {u"u", u"ndo", ex_commands::Undo, false, FD::kCurrent, LD::kSame},
    {u"red", u"o", ex_commands::Redo, false, FD::kCurrent, LD::kSame},
    {u"n", u"ext", ex_commands::NextBuffer, false, FD::kCurrent, LD::kSame},
    {u"N", u"ext", ex_commands::PreviousBuffer, false, FD::kCurrent, LD::kSame},
}};

// The buffer-list commands ":bd", ":bn" and ":bp" are ranged rows, which are searched first, so
// this table has no rows of those names.
constexpr std::array<HostBackedRow, 27> kHostBacked = {{
    {u"sp", u"lit", false, u"Window.Split", u"", nullptr},
    {u"new", u"", false, u"File.NewFile", u"", nullptr},
    {u"q", u"uit", false, u"", u"", ex_commands::Quit},
    {u"e", u"dit", false, u"File.OpenFile", u"", nullptr},
    {u"wq", u"", false, u"File.SaveSelectedItems", u"File.Close", nullptr},
    {u"w", u"rite", true, u"File.SaveSelectedItems", u"", nullptr},
    {u"fd", u"", false, u"Edit.Find", u"", nullptr},
    {u"x", u"it", false, u"File.SaveSelectedItems", u"File.Close", nullptr},
    {u"bui", u"ld", false, u"Build.BuildSolution", u"", nullptr},
    {u"mak", u"e", false, u"Build.BuildSolution", u"", nullptr},
    {u"comp", u"ile", false, u"Build.Compile", u"", nullptr},
    {u"prb", u"uild", false, u"Build.BuildSelection", u"", nullptr},
    {u"deb", u"ug", false, u"Debug.Start", u"", nullptr},
    {u"wa", u"ll", false, u"File.SaveAll", u"", nullptr},
    {u"mac", u"ro", false, u"Macros.", u"", nullptr},
    {u"qa", u"ll", false, u"Window.CloseAllDocuments", u"", nullptr},
    {u"cn", u"ext", false, u"Edit.GotoOutputWindowNextLocation", u"Window.ActivateDocumentWindow",
     nullptr},
    {u"cp", u"revious", false, u"Edit.GotoOutputWindowPreviousLocation",
     u"Window.ActivateDocumentWindow", nullptr},
    {u"ern", u"ext", false, u"View.NextError", u"", nullptr},
    {u"erp", u"revious", false, u"View.PreviousError", u"", nullptr},
    {u"ta", u"g", false, u"Edit.GotoDefinition", u"", nullptr},
    {u"clo", u"se", false, u"", u"", ex_commands::CloseWindow},
    {u"f", u"ile", false, u"", u"", ex_commands::FileInfo},
    {u"xa", u"ll", false, u"File.SaveAll", u"Window.CloseAllDocuments", nullptr},
    {u"wqa", u"ll", false, u"File.SaveAll", u"Window.CloseAllDocuments", nullptr},
    {u"vsc", u"md", false, u"", u"", nullptr},  // the argument is the whole command line
    {u"run", u"", false, u"Query.Execute", u"", nullptr},
}};

constexpr std::array<RangelessRow, 24> kRangeless = {{
    {u"se", u"t", ex_commands::Set, false},
    {u"map", u"", ex_commands::Map<MapCommandIndex(u"map")>, true},
    {u"nm", u"ap", ex_commands::Map<MapCommandIndex(u"nm")>, false},
    {u"vm", u"ap", ex_commands::Map<MapCommandIndex(u"vm")>, false},
    {u"om", u"ap", ex_commands::Map<MapCommandIndex(u"om")>, false},
    {u"im", u"ap", ex_commands::Map<MapCommandIndex(u"im")>, false},
    {u"lm", u"ap", ex_commands::Map<MapCommandIndex(u"lm")>, false},
    {u"cm", u"ap", ex_commands::Map<MapCommandIndex(u"cm")>, false},
    {u"no", u"remap", ex_commands::Map<MapCommandIndex(u"no")>, true},
    {u"nn", u"oremap", ex_commands::Map<MapCommandIndex(u"nn")>, false},
    {u"vn", u"oremap", ex_commands::Map<MapCommandIndex(u"vn")>, false},
    {u"ono", u"remap", ex_commands::Map<MapCommandIndex(u"ono")>, false},
    {u"ino", u"remap", ex_commands::Map<MapCommandIndex(u"ino")>, false},
    {u"ln", u"oremap", ex_commands::Map<MapCommandIndex(u"ln")>, false},
    {u"cno", u"remap", ex_commands::Map<MapCommandIndex(u"cno")>, false},
    {u"unm", u"ap", ex_commands::Map<MapCommandIndex(u"unm")>, true},
    {u"nun", u"map", ex_commands::Map<MapCommandIndex(u"nun")>, false},
    {u"vu", u"nmap", ex_commands::Map<MapCommandIndex(u"vu")>, false},
    {u"ou", u"nmap", ex_commands::Map<MapCommandIndex(u"ou")>, false},
    {u"iu", u"nmap", ex_commands::Map<MapCommandIndex(u"iu")>, false},
    {u"lu", u"nmap", ex_commands::Map<MapCommandIndex(u"lu")>, false},
    {u"cu", u"nmap", ex_commands::Map<MapCommandIndex(u"cu")>, false},
    {u"\"", u"", nullptr, true},  // a comment line
    {u"ve", u"rsion", ex_commands::Version, false},
}};

}  // namespace

std::span<const RangedRow> RangedCommands() {
  return kRanged;
}
std::span<const HostBackedRow> HostBackedCommands() {
  return kHostBacked;
}
std::span<const RangelessRow> RangelessCommands() {
  return kRangeless;
}
HostBackedHandler HostBackedCommandHandler() {
  return ex_commands::ExecuteHostRow;
}

bool NameMatches(std::u16string_view name, std::u16string_view prefix, std::u16string_view rest) {
  if (!name.starts_with(prefix)) return false;
  return rest.starts_with(name.substr(prefix.size()));
}

}  // namespace tavik
