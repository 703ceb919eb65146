// Recovery files of the terminal editor's documents.
#include "app/terminal_recovery.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace tavik::app {

namespace fs = std::filesystem;

RecoveryKeeper::RecoveryKeeper(platform::EditorHost& editor, std::string folder)
    : editor_(editor), folder_(std::move(folder)) {}

platform::Document* RecoveryKeeper::DocumentById(uint64_t id) const {
  for (const auto& document : editor_.Documents()) {
    if (document->id == id) return document.get();
  }
  return nullptr;
}

// The first name no other running editor holds for this file.
std::string RecoveryKeeper::PathFor(const platform::Document& document) const {
  for (int slot = 0; slot < platform::kRecoverySlots; ++slot) {
    const std::string path = platform::RecoveryPath(folder_, document.path, slot);
    const std::optional<platform::RecoveryRecord> record = platform::ReadRecovery(path);
    if (!record || !platform::WrittenByAnotherLiveEditor(*record)) return path;
  }
  return platform::RecoveryPath(folder_, document.path, platform::kRecoverySlots);
}

void RecoveryKeeper::Update() {
  for (const auto& document : editor_.Documents()) {
    if (document->path.empty() || document->tool_buffer) continue;
    auto kept = kept_.find(document->id);
    if (!document->Modified()) {
      if (kept != kept_.end()) {
        ::unlink(kept->second.path.c_str());
        kept_.erase(kept);
      }
      continue;
    }
    const uint64_t state = document->buffer.TextState();
    if (kept != kept_.end() && kept->second.state == state) continue;
    const std::string path = kept != kept_.end() ? kept->second.path : PathFor(*document);
    if (std::optional<std::string> error =
            platform::WriteRecovery(path, platform::RecordOf(*document))) {
      error_ = *error;
      continue;
    }
    kept_[document->id] = {path, state};
  }
}

void RecoveryKeeper::Closed(const platform::Document& document) {
  auto kept = kept_.find(document.id);
  if (kept == kept_.end()) return;
  if (!keep_on_close_) ::unlink(kept->second.path.c_str());
  kept_.erase(kept);
}

std::vector<RecoveryKeeper::Found> RecoveryKeeper::LookAtOpenedDocuments() {
  std::vector<Found> found;
  for (const auto& document : editor_.Documents()) {
    if (!seen_.insert(document->id).second || document->path.empty()) continue;
    for (int slot = 0; slot <= platform::kRecoverySlots; ++slot) {
      const std::string path = platform::RecoveryPath(folder_, document->path, slot);
      std::optional<platform::RecoveryRecord> record = platform::ReadRecovery(path);
      if (!record || record->file != document->path) continue;
      std::error_code ec;
      const auto written = fs::last_write_time(path, ec);
      const auto file_time = fs::last_write_time(document->path, ec);
      Found f;
      f.document_id = document->id;
      f.path = path;
      f.newer = ec || written > file_time;
      f.other_editor = platform::WrittenByAnotherLiveEditor(*record);
      f.record = std::move(*record);
      found.push_back(std::move(f));
    }
  }
  return found;
}

void RecoveryKeeper::Recover(const Found& found) {
  platform::Document* document = DocumentById(found.document_id);
  if (document == nullptr) return;
  platform::Recover(*document, found.record);
  if (found.other_editor) return;  // that editor keeps its file
  kept_[document->id] = {found.path, 0};
  Update();
}

void RecoveryKeeper::Delete(const Found& found) {
  if (!found.other_editor) ::unlink(found.path.c_str());
}

}  // namespace tavik::app
