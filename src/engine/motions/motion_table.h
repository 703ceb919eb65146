// The motion table: one row per motion code, naming its handler. Motion handlers live in their
// own files by family (word motions, line motions, searches ...).
#pragma once

#include "engine/motions/motion.h"

namespace tavik {

// The handler of a motion code, or nullptr when the code has none (the cursor stays).
MotionHandler MotionHandlerFor(MotionCode code);

}  // namespace tavik
