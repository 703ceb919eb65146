// The mapping list as the engine's key queue sees it: look-up over the queued keys and the
// in-use flags, with the right-hand side handed back for expansion.
#pragma once

#include "config/mapping_list.h"
#include "engine/input/command_parser.h"
#include "engine/input/mapping_layer.h"

namespace tavik {

class EngineMappings final : public MappingLayer {
 public:
  MappingList& List() { return list_; }
  const MappingList& List() const { return list_; }

  MappingLookup Lookup(uint32_t mode_mask, const KeyQueue& queue, bool timeout) override {
    MappingFound found = list_.Lookup(mode_mask, queue, timeout);
    MappingLookup result;
    if (found.match == MappingMatch::kWait) result.outcome = MappingOutcome::kPending;
    if (found.match != MappingMatch::kApply) return result;
    const KeyMapping& mapping = list_.Entries()[found.index];
    result.outcome = MappingOutcome::kMatched;
    result.matched_keys = mapping.lhs.size();
    result.expansion = mapping.rhs;
    result.remappable = mapping.remap;
    result.mapping_index = found.index;
    return result;
  }
  void SetInUse(size_t mapping_index) override { list_.SetInUse(mapping_index); }
  void ClearInUse() override { list_.ClearInUse(); }

 private:
  MappingList list_;
};

}  // namespace tavik
