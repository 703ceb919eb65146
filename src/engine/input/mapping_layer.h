// The mapping layer looks at the queued keys before the per-key step: a pending prefix waits for
// more keys, a complete match is replaced by its expansion.
#pragma once

#include <cstdint>
#include <string>

#include "engine/input/key_queue.h"

namespace tavik {

enum class MappingOutcome : uint8_t { kNoMapping, kPending, kMatched };

struct MappingLookup {
  MappingOutcome outcome = MappingOutcome::kNoMapping;
  size_t matched_keys = 0;   // keys of the queue the mapping consumed
  std::u16string expansion;  // the right-hand side, in key notation
  bool remappable = false;   // the mapping was defined with remapping allowed
  size_t mapping_index = 0;
};

class MappingLayer {
 public:
  virtual ~MappingLayer() = default;
  virtual MappingLookup Lookup(uint32_t mode_mask, const KeyQueue& queue, bool timeout) = 0;
  virtual void SetInUse(size_t mapping_index) = 0;
  virtual void ClearInUse() = 0;
};

// The layer used until mappings are defined: nothing ever maps.
class NoMappings final : public MappingLayer {
 public:
  MappingLookup Lookup(uint32_t, const KeyQueue&, bool) override { return {}; }
  void SetInUse(size_t) override {}
  void ClearInUse() override {}
};

}  // namespace tavik
