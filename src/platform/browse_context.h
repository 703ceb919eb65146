// The places that "go to definition" left, newest last, so that "pop browse context" can go
// back to them in order. The host keeps one stack for all its views.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/text_pos.h"

namespace tavik::platform {

struct BrowseContext {
  uint64_t view_id = 0;      // the view the jump started in
  uint64_t document_id = 0;  // its document, for when that view has gone
  std::string path;          // the document's file, for when the document was closed
  TextPos caret;
};

class BrowseContextStack {
 public:
  // Deep enough for any chain of lookups a user follows; the oldest place goes first.
  static constexpr size_t kMaxDepth = 100;

  void Push(BrowseContext context) {
    if (entries_.size() == kMaxDepth) entries_.erase(entries_.begin());
    entries_.push_back(std::move(context));
  }
  std::optional<BrowseContext> Pop() {
    if (entries_.empty()) return std::nullopt;
    BrowseContext top = std::move(entries_.back());
    entries_.pop_back();
    return top;
  }
  size_t Size() const { return entries_.size(); }

 private:
  std::vector<BrowseContext> entries_;
};

}  // namespace tavik::platform
