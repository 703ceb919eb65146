// Batch mode: open the files, feed the keys, print the buffer, and optionally the final state.
#pragma once

#include "app/batch_options.h"

namespace tavik::app {

// Returns the process exit status.
int RunBatch(const ProgramOptions& options);

}  // namespace tavik::app
