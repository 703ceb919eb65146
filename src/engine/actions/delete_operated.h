// The delete primitive shared by the deleting and changing operators, and the register and mark
// bookkeeping that goes with every deletion.
#pragma once

#include "engine/actions/action_context.h"
#include "engine/motions/operated_range.h"

namespace tavik {

class TextView;

// Resolves "end of line" columns to the line length.
OperatedRange ResolveRange(const TextView& view, OperatedRange range);

// Deletes the range; returns whether the deletion removed the last line of the buffer.
bool DeleteOperated(TextView& view, const OperatedRange& range);

// Stores the range's text in the command's register (the default one when none was named) and
// sets marks "[" and "]" to its ends, as every deleting or changing action does first.
void StoreAndMark(ActionContext& context, const OperatedRange& range);

}  // namespace tavik
