// The record of the host key bindings the package took away, so that they can be given back:
// one line per command, the command's name (or its 1-based place in the host's command list
// when it has no name), "=", then every binding the command had, joined by "||". Lines are
// separated by CR LF, with none after the last.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavik::host {

struct ClashRecord {
  std::u16string command;                // the name, or the index in decimal digits
  std::vector<std::u16string> bindings;  // all of the command's bindings, not only the clashes
  friend bool operator==(const ClashRecord&, const ClashRecord&) = default;
};

using ClashList = std::vector<ClashRecord>;

std::u16string WriteRemovedKeySet(const ClashList& clashes);
// Reads the text back. A line without "=" names no command and is skipped, as is an empty line;
// a record with nothing after "=" has no bindings.
ClashList ParseRemovedKeySet(std::u16string_view text);

// A record names its command by index when the name starts with a digit.
bool NamesByIndex(const ClashRecord& record);

}  // namespace tavik::host
