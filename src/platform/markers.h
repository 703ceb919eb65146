// Typed highlight markers on a buffer: the visual selection, the search matches and the
// incremental-search match. Clients clear a kind and place it again when what it shows changes;
// the markers follow edits in between, and front ends draw them in a colour per kind.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
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
  // Makes the spans of a kind these (sorted and apart, or they are added one by one), changing
  // only those that differ, so that the lines whose spans did not change are known to be as
  // they were.
  void Set(HighlightKind kind, std::span<const HighlightSpan> spans);
  const std::vector<HighlightSpan>& Of(HighlightKind kind) const {
    return spans_[static_cast<size_t>(kind)];
  }
  // Appends to `out` the spans of the kind that touch the lines [first_line, last_line].
  void Overlapping(HighlightKind kind, uint32_t first_line, uint32_t last_line,
                   std::vector<HighlightSpan>& out) const;
  // Changes with every change of any span, so that front ends know when to draw again.
  uint64_t Version() const { return version_; }
  // Whether a span on the lines [first_line, last_line] changed since the version; true when
  // that is no longer known (after many changes).
  bool ChangedSince(uint64_t version, uint32_t first_line, uint32_t last_line) const;

  // Moves the spans across an edit of the buffer; spans whose text was deleted go.
  void OnChange(const BufferChange& change);

 private:
  // Counts a change of the spans on the lines [first_line, last_line].
  void Changed(uint32_t first_line, uint32_t last_line);

  std::array<std::vector<HighlightSpan>, kHighlightKindCount> spans_;
  uint64_t version_ = 0;
  // The lines of the last changes, the latest last; the change to version v is at
  // changes_[changes_.size() - (version_ - v) - 1].
  struct LineRange {
    uint32_t first = 0;
    uint32_t last = 0;
  };
  static constexpr size_t kChangesKept = 32;
  std::vector<LineRange> changes_;
};

}  // namespace tavik::platform
