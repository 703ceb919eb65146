// Saving text over a file so that the old text survives every failure: through a symbolic link
// to the file it names, and either through a new file and a rename or, when a rename would
// break hard links or lose the owner, in place after a backup copy.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_io.h"

namespace tavik::platform {

// The calls a save makes that tests replace: a write that fails part way (a full disk), and
// the names of temporary files (to plant a link where one will be created).
struct SaveHooks {
  // As write(2): the number of bytes written, or -1 with errno set.
  std::function<ssize_t(int fd, const void* data, size_t size)> write;
  // The varying part of a temporary file's name; random when not given.
  std::function<std::string()> unique_part;
};

enum class SaveMethod {
  kRename,   // a new file beside the target, then a rename over it
  kInPlace,  // the target's own bytes rewritten, after a backup copy
};

// What decides the method, read from the file system before writing.
struct SaveSituation {
  bool target_exists = false;
  unsigned link_count = 1;
  bool folder_writable = true;
  bool owner_keepable = true;  // the new file can be given the target's owner and group
};

// A rename loses other hard links and an owner that cannot be given back, and needs a
// writable folder; everything else goes through a new file.
SaveMethod ChooseSaveMethod(const SaveSituation& situation);

// The file a path finally names, following symbolic links (also one naming a file that does not
// exist yet); the error text for a loop or an unreadable link.
std::optional<std::string> FollowLinks(const std::string& path, std::string& target);

// Writes the bytes as the file at `path`. The error text on failure, and then the file is as it
// was. `backup_folder` takes the backup copy of an in-place save when the target's own folder
// cannot.
std::optional<std::string> SaveBytes(const std::string& path, std::string_view bytes,
                                     const SaveHooks& hooks = {},
                                     const std::string& backup_folder = {});

// Encodes the lines and saves them as SaveBytes does.
std::optional<std::string> SaveFile(const std::string& path, const LineStore& lines,
                                    const FileFormat& format, const SaveHooks& hooks = {},
                                    const std::string& backup_folder = {});

// Creates a file that did not exist, never through a link, readable and writable by the owner
// alone: `folder`/`prefix` followed by a unique part. The descriptor, or -1 with errno set.
int CreateUniqueFile(const std::string& folder, std::string_view prefix, std::string& path,
                     const SaveHooks& hooks = {}, mode_t mode = 0600);

}  // namespace tavik::platform
