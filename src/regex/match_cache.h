// Reusable scratch space of the matcher: the lines a match is looking at, the backtrack stack,
// the trail of changes to undo, the record of explored (instruction, position) pairs. Keep one
// per caller and pass it to every search; nothing in it outlives a call's meaning.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavik {

class LineSource;

namespace regex {

// A position inside the window: line relative to the window's first line, and column.
struct WinPos {
  uint32_t line = 0;
  uint32_t col = 0;
  friend bool operator==(const WinPos&, const WinPos&) = default;
};

struct CaptureSlot {
  WinPos start;
  WinPos end;
  bool has_start = false;
  bool has_end = false;
};

struct TrailEntry {
  enum Kind : uint8_t {
    kCapture,
    kCaptureCount,
    kSlot,
    kSlotCount,
    kCounter,
    kCounterCount,
    kMatchStart,
    kMatchEnd
  };
  Kind kind;
  uint8_t flag = 0;
  uint16_t index = 0;
  WinPos a;
  WinPos b;
  uint32_t value = 0;
};

struct Backtrack {
  int32_t pc;
  WinPos pos;
  uint32_t trail_size;
  uint32_t path_size;
};

// A join point on the current path, for the rule that a path coming back to the same
// instruction, position and counters without progress fails.
struct PathRecord {
  uint64_t key;
  uint32_t prev;  // previous record with the same key, or kNoRecord
  uint32_t snapshot;
};

// The lines starting at the line a match attempt begins on, fetched as the match reaches them.
class LineWindow {
 public:
  void Reset(const LineSource* source, uint32_t base_line, uint32_t line_count);
  // The same with the first line given one byte per unit, as the source handed it out: it is
  // widened here instead of read again.
  void Reset(const LineSource* source, uint32_t base_line, uint32_t line_count,
             std::string_view narrow_first_line);
  uint32_t base() const { return base_; }
  // Window line `w` must exist in the buffer (base + w < line count).
  std::u16string_view Line(uint32_t w) {
    if (w >= views_.size()) Fetch(w);
    return views_[w];
  }
  uint64_t PosIndex(WinPos p) {
    if (p.line >= views_.size()) Fetch(p.line);
    return pos_base_[p.line] + p.col;
  }
  uint64_t PositionsSoFar() const { return pos_base_.empty() ? 0 : pos_base_.back(); }
  bool IsLastLine(uint32_t w) const { return base_ + w + 1 >= line_count_; }

 private:
  void Fetch(uint32_t w);

  const LineSource* source_ = nullptr;
  uint32_t base_ = 0;
  uint32_t line_count_ = 0;
  bool stable_ = false;
  std::vector<std::u16string_view> views_;
  std::vector<uint64_t> pos_base_;  // first position index of each line, plus one past the end
  std::deque<std::u16string> copies_;
};

// Work bounds of one match attempt.
struct MatchLimits {
  uint64_t step_budget = uint64_t(1) << 22;       // instructions per attempt without the record
  uint64_t max_visited_bits = uint64_t(1) << 28;  // size of the explored-pairs record
  size_t max_stack = size_t(1) << 23;             // backtrack points
};

}  // namespace regex

class MatchCache {
 public:
  MatchCache() = default;
  MatchCache(const MatchCache&) = delete;
  MatchCache& operator=(const MatchCache&) = delete;

  // The bounds every search with this cache works under; reaching one ends the search with
  // MatchStatus::kTooComplex.
  regex::MatchLimits limits;

  // Scratch used by the matcher; not meaningful between calls.
  regex::LineWindow window;
  std::vector<uint64_t> visited;
  size_t visited_words_used = 0;
  std::vector<regex::Backtrack> stack;
  std::vector<regex::TrailEntry> trail;
  std::vector<regex::CaptureSlot> captures;
  std::vector<regex::WinPos> slots;
  std::vector<uint8_t> slot_set;
  std::vector<uint16_t> counters;
  std::vector<regex::PathRecord> path;
  std::vector<uint32_t> path_head_dense;  // every entry is "none" between attempts
  std::unordered_map<uint64_t, uint32_t> path_head;
  std::vector<uint16_t> snapshots;
  // Lines the search read ahead one byte per unit.
  std::vector<std::string_view> narrow_batch;
};

}  // namespace tavik
