// Typed highlight markers on a buffer: the visual selection, the search matches and the
// incremental-search match. Clients clear a kind and place it again when what it shows changes;
// the markers follow edits in between, and front ends draw them in a colour per kind.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/text_pos.h"
#include "platform/buffer_change.h"

namespace tavik::platform {

enum class HighlightKind : uint8_t { kSelection = 0, kSearch = 1, kIncSearch = 2 };
inline constexpr size_t kHighlightKindCount = 3;

// A highlighted span from `start` to the exclusive `end`.
struct HighlightSpan {
  TextPos start;
  TextPos end;

  friend bool operator==(const HighlightSpan&, const HighlightSpan&) = default;
};

class HighlightMarkers {
 public:
  // Adds a span; an empty one is ignored and one touching or overlapping another span of its
  // kind is merged with it, so that the spans of a kind stay sorted and apart.
  void Add(HighlightKind kind, TextPos start, TextPos end);
  void Clear(HighlightKind kind);
  const std::vector<HighlightSpan>& Of(HighlightKind kind) const {
    return spans_[static_cast<size_t>(kind)];
  }
  // Appends to `out` the spans of the kind that touch the lines [first_line, last_line].
  void Overlapping(HighlightKind kind, uint32_t first_line, uint32_t last_line,
                   std::vector<HighlightSpan>& out) const;
  // Changes with every change of any span, so that front ends know when to draw again.
  uint64_t Version() const { return version_; }

  // Moves the spans across an edit of the buffer; spans whose text was deleted go.
  void OnChange(const BufferChange& change);

 private:
  std::array<std::vector<HighlightSpan>, kHighlightKindCount> spans_;
  uint64_t version_ = 0;
};

}  // namespace tavik::platform
