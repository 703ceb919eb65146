// The registry export text: a "REGEDIT4" header, then "[HIVE\Key\Path]" sections holding
// "Name"=dword:0000000a, "Name"="text" (backslash escapes, UTF-8), hex(2):.. expandable strings
// and other typed bytes, and @= for a key's default value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry_store.h"

namespace tavik::platform {

// Reads the text into `keys`; on a line that does not parse, the error ("line 7: ...") and
// `keys` holds what came before it.
std::optional<std::string> ParseRegistryFile(std::string_view text, RegistryKeys& keys);

// The text that ParseRegistryFile reads back into the same keys and values.
std::string WriteRegistryFile(const RegistryKeys& keys);

}  // namespace tavik::platform
