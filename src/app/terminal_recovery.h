// The terminal editor's recovery files: written for modified documents when typing pauses and
// after ex commands, removed once a document is saved or closed, and looked for whenever a
// document is opened, so that the user can take back the text a crash would have lost.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/editor_host.h"
#include "platform/recovery_file.h"

namespace tavik::app {

class RecoveryKeeper {
 public:
  RecoveryKeeper(platform::EditorHost& editor, std::string folder);

  // Writes the files of modified documents whose text changed since their last one, and
  // removes those of documents that are no longer modified.
  void Update();
  // A document is closing: its file goes, unless the editor is ending on a signal.
  void Closed(const platform::Document& document);
  void KeepFilesOnClose() { keep_on_close_ = true; }
  // The last error writing a file, once; empty when there was none since.
  std::string TakeError() { return std::exchange(error_, {}); }

  struct Found {
    uint64_t document_id = 0;
    std::string path;  // the recovery file
    platform::RecoveryRecord record;
    bool newer = false;         // newer than the document's file (or the file is gone)
    bool other_editor = false;  // another editor that still runs wrote it
  };
  // The recovery files of documents opened since the last call.
  std::vector<Found> LookAtOpenedDocuments();
  // Takes the found text into its document; the file becomes this editor's.
  void Recover(const Found& found);
  void Delete(const Found& found);

 private:
  std::string PathFor(const platform::Document& document) const;
  platform::Document* DocumentById(uint64_t id) const;

  struct Kept {
    std::string path;
    uint64_t state = 0;  // the text's state written last
  };
  platform::EditorHost& editor_;
  std::string folder_;
  std::map<uint64_t, Kept> kept_;  // by document id: the files this editor wrote
  std::set<uint64_t> seen_;        // documents already looked at
  bool keep_on_close_ = false;
  std::string error_;
};

}  // namespace tavik::app
