// Typed highlight markers on a buffer: the visual selection, the search matches and the
// incremental-search match. Clients clear a kind and place it again when what it shows changes;
// the markers follow edits in between, and front ends draw them in a colour per kind.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
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
  // Changes with every change of any span and every edit of the buffer's text, so that front
  // ends know when to draw again.
  uint64_t Version() const { return version_; }
  // Lines [first, first + old_count) became [first, first + new_count). Spans placed or cleared
  // change their lines in place; an edit of the text changes the lines it replaced, and the
  // spans after it follow their lines.
  struct LineChange {
    uint32_t first = 0;
    uint32_t old_count = 0;
    uint32_t new_count = 0;
  };
  // The changes since the version, oldest first, so that a front end that drew the lines then
  // knows which of them still look the same; nothing when that is no longer known (after many
  // changes).
  std::optional<std::span<const LineChange>> ChangesSince(uint64_t version) const;

  // Moves the spans across an edit of the buffer; spans whose text was deleted go.
  void OnChange(const BufferChange& change);

 private:
  // Counts a change of the spans on the lines [first_line, last_line].
  void Changed(uint32_t first_line, uint32_t last_line);
  void Note(LineChange change);

  std::array<std::vector<HighlightSpan>, kHighlightKindCount> spans_;
  uint64_t version_ = 0;
  // The last changes, one per version, the latest last.
  static constexpr size_t kChangesKept = 32;
  std::vector<LineChange> changes_;
};

}  // namespace tavik::platform
