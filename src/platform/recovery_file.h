// Recovery files: the text of a modified document, kept in the editor's state folder so that a
// crash, a closed terminal or a power loss loses at most the last moments of typing. A file
// names the document's file and the editor that wrote it, and holds the bytes a save would
// write with the format to read them back exactly.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/document.h"

namespace tavik::platform {

struct RecoveryRecord {
  std::string file;  // the document's file
  pid_t pid = 0;     // the editor that wrote it
  std::string host;  // the machine it ran on
  FileFormat format;
  bool emptied = false;  // the document held no lines at all
  std::string bytes;     // the text as a save would write it
};

// The record of a document's text now, written by this process.
RecoveryRecord RecordOf(const Document& document);

std::string EncodeRecovery(const RecoveryRecord& record);
// Nothing when the bytes are not a recovery file.
std::optional<RecoveryRecord> DecodeRecovery(std::string_view bytes);

// The recovery file of `file` in `folder`; `slot` > 0 gives the names used when another editor
// holds the first ones.
std::string RecoveryPath(const std::string& folder, const std::string& file, int slot = 0);
constexpr int kRecoverySlots = 4;

// Writes the file through a unique new file and a rename, readable by its owner alone. The
// folder is created (owner only) and must not be a link. The error text on failure.
std::optional<std::string> WriteRecovery(const std::string& path, const RecoveryRecord& record);
// Reads a recovery file, never through a link.
std::optional<RecoveryRecord> ReadRecovery(const std::string& path);

// The editor that wrote the record still runs (on this machine, and is not this process).
bool WrittenByAnotherLiveEditor(const RecoveryRecord& record);
std::string ThisHostName();

// Puts the recovered text into the document as one undoable edit; the document is then
// modified against its file.
void Recover(Document& document, const RecoveryRecord& record);

}  // namespace tavik::platform
