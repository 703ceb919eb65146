// f and F find one occurrence per run and let the dispatcher repeat them; t and T take the
// count themselves, because "the character before the next x" run twice would not move.
// Every search is remembered in the view state, failed ones too, for ; and ,.
#include "engine/motions/motions.h"

#include <string_view>

#include "common/utf16_chars.h"
#include "engine/motions/motion_codes.h"
#include "engine/motions/motions_common.h"
#include "engine/state/view_state.h"

namespace tavik::motions {
namespace {

// The column of the count-th occurrence of c after (forward) or before the cursor, or -1. The
// line is walked a character at a time, so a pair is found whole and never by one of its halves.
int64_t FindOnLine(std::u16string_view text, uint32_t column, char32_t c, uint32_t count,
                   bool forward) {
  const uint32_t length = static_cast<uint32_t>(text.size());
  if (forward) {
    for (uint32_t i = NextCharColumn(text, column); i < length; i = NextCharColumn(text, i)) {
      if (CodePointAt(text, i) == c && --count == 0) return i;
    }
  } else {
    for (uint32_t i = std::min(column, length); i > 0;) {
      i = PrevCharColumn(text, i);
      if (CodePointAt(text, i) == c && --count == 0) return i;
    }
  }
  return -1;
}

// Runs one of f, F, t, T with the given character, without recording it.
void Search(MotionContext& context, MotionResult& result, MotionCode code, char32_t c) {
  const bool forward = code == motion::kFindForward || code == motion::kTillForward;
  const bool till = code == motion::kTillForward || code == motion::kTillBackward;
  result.kind = forward ? MotionKind::kInclusive : MotionKind::kExclusive;
  uint32_t count = till ? ConsumeCount(context) : 1;
  TextPos at = result.target;
  std::u16string_view text = context.view.LineText(at.line);
  int64_t found = FindOnLine(text, at.column, c, count, forward);
  if (found < 0) {
    result.failed = true;
    return;
  }
  uint32_t column = static_cast<uint32_t>(found);
  if (till) column = forward ? PrevCharColumn(text, column) : NextCharColumn(text, column);
  result.target = {at.line, column};
}

MotionCode Opposite(MotionCode code) {
  switch (code) {
    case motion::kFindForward:
      return motion::kFindBackward;
    case motion::kFindBackward:
      return motion::kFindForward;
    case motion::kTillForward:
      return motion::kTillBackward;
    default:
      return motion::kTillForward;
  }
}

}  // namespace

void CharSearch(MotionContext& context, MotionResult& result, MotionCode code) {
  context.state.last_char_search = {code, context.args.modifier};
  Search(context, result, code, context.args.modifier);
}

void RepeatCharSearch(MotionContext& context, MotionResult& result) {
  LastCharSearch last = context.state.last_char_search;
  if (last.motion == 0) {
    result.failed = true;
    return;
  }
  Search(context, result, last.motion, last.character);
}

// The recorded direction stays, so that ; after , still goes the original way.
void RepeatCharSearchReverse(MotionContext& context, MotionResult& result) {
  LastCharSearch last = context.state.last_char_search;
  if (last.motion == 0) {
    result.failed = true;
    return;
  }
  Search(context, result, Opposite(last.motion), last.character);
}

}  // namespace tavik::motions
