// Custom keyboard schemes: a file that holds the key bindings a user changed, one command a line,
// "Name=binding||binding", LF between lines. Hosts whose default scheme is read-only change
// bindings only once such a file was chosen as the scheme. The file lives in the user's
// application-data folder, which on this platform is $XDG_DATA_HOME (default ~/.local/share).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavik::platform {

// The application-data folder; empty when neither $XDG_DATA_HOME nor $HOME gives one.
std::string ApplicationDataFolder();

using SchemeEntries = std::vector<std::pair<std::u16string, std::u16string>>;  // name, joined

// Writes the entries through a temporary file in the same folder and a rename, creating the
// folder; the error text on failure.
std::optional<std::string> WriteSchemeFile(const std::string& path, const SchemeEntries& entries);
// Reads the entries; nothing when the file cannot be read. Lines without "=" are skipped.
std::optional<SchemeEntries> ReadSchemeFile(const std::string& path);

}  // namespace tavik::platform
