// The one list of key mappings shared by every view: definition in order, removal by mode, and
// the look-up that decides whether queued keys wait for more, expand, or go on to the parser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/key_code.h"

namespace tavik {

// The modes a mapping applies in, as bits of its mode mask.
namespace mapping_mask {
inline constexpr uint32_t kNone = 0;  // no mapping applies: the second key of g, z or Z
inline constexpr uint32_t kNormal = 1;
inline constexpr uint32_t kVisual = 2;
inline constexpr uint32_t kOperatorPending = 4;
inline constexpr uint32_t kInsert = 8;
inline constexpr uint32_t kCommandLine = 16;
// The single character that `f`, `t`, `r` and their relatives wait for.
inline constexpr uint32_t kLanguageArg = 32;
}  // namespace mapping_mask

struct KeyMapping {
  uint32_t mode_mask = 0;
  std::vector<KeyCode> lhs;  // may be empty: then it matches before any key
  std::u16string rhs;        // raw text, parsed as key notation when the mapping applies
  bool remap = true;         // false for the noremap commands
  bool in_use = false;       // its expansion is being consumed; never set by a command
};

// Whether a typed key is the key a left-hand side names. A printable character typed with Shift
// already is the shifted character, so its Shift flag does not count: a typed "Q" arrives with
// Shift, while `Q` in a left-hand side has none. Control characters and special keys compare
// every flag, so `<S-Tab>` and Tab stay apart.
constexpr bool MappingKeyMatches(const KeyCode& typed, const KeyCode& lhs) {
  if (typed == lhs) return true;
  bool printable = typed.IsChar() && typed.code >= 32 && typed.code != 127;
  return printable && typed.code == lhs.code && lhs.kind == typed.kind &&
         (typed.flags | key_mod::kShift) == (lhs.flags | key_mod::kShift);
}

enum class MappingMatch : uint8_t { kNone, kWait, kApply };

struct MappingFound {
  MappingMatch match = MappingMatch::kNone;
  size_t index = 0;  // the mapping that applies
};

class MappingList {
 public:
  // Takes the modes off any mapping with the same keys, then appends: a redefinition moves the
  // mapping to the end of the list.
  void Add(std::vector<KeyCode> lhs, std::u16string rhs, uint32_t mode_mask, bool remap);
  // Takes the modes off every mapping with exactly these keys and deletes the ones left with no
  // mode. Returns whether any mapping had one of the modes.
  bool Remove(std::span<const KeyCode> lhs, uint32_t mode_mask);

  // `queue` holds entries with `key` and `remap`; only remappable keys match. A partial match
  // waits unless `force` is set; otherwise the first full match in definition order applies.
  template <typename Queue>
  MappingFound Lookup(uint32_t mode_mask, const Queue& queue, bool force) const;

  void SetInUse(size_t index);
  void ClearInUse();

  const std::vector<KeyMapping>& Entries() const { return entries_; }
  bool Empty() const { return entries_.empty(); }

 private:
  std::vector<KeyMapping> entries_;
  size_t in_use_count_ = 0;  // lets the per-key clear skip the list when nothing is in use
};

template <typename Queue>
MappingFound MappingList::Lookup(uint32_t mode_mask, const Queue& queue, bool force) const {
  bool partial = false;
  bool have_full = false;
  size_t full = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const KeyMapping& m = entries_[i];
    if (m.in_use || (m.mode_mask & mode_mask) == 0) continue;
    size_t n = 0;
    auto it = queue.begin();
    for (; n < m.lhs.size() && it != queue.end(); ++n, ++it) {
      if (!it->remap || !MappingKeyMatches(it->key, m.lhs[n])) break;
    }
    if (n == m.lhs.size()) {
      if (!have_full) {
        have_full = true;
        full = i;
      }
    } else if (it == queue.end()) {
      partial = true;
    }
  }
  if (partial && !force) return {MappingMatch::kWait, 0};
  if (have_full) return {MappingMatch::kApply, full};
  return {};
}

}  // namespace tavik
