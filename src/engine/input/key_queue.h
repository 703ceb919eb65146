// The queue of keys waiting for the per-key step; mapping expansions are inserted at its front.
#pragma once

#include <deque>

#include "common/key_code.h"

namespace tavik {

struct QueuedKey {
  KeyCode key;
  bool remap = true;  // mappings may apply to this key
};

using KeyQueue = std::deque<QueuedKey>;

}  // namespace tavik
