// Putting a register's text into a view: characterwise at a position, linewise as whole lines,
// blockwise at a display column on consecutive lines. Shared by the put commands and ":put".
#pragma once

#include <cstdint>
#include <string>

#include "common/text_pos.h"
#include "engine/state/register_file.h"

namespace tavik {

class TextView;

// More text than this (in UTF-16 units) is refused rather than built and inserted.
inline constexpr uint64_t kMaxPutUnits = uint64_t{1} << 25;
inline constexpr std::u16string_view kPutTooLongMessage = u"Resulting text too long";

struct PutRequest {
  TextPos cursor;
  bool after = true;          // p rather than P
  uint32_t count = 1;         // copies of the text; 0 counts as 1
  bool cursor_after = false;  // gp and gP leave the cursor after the text
};

struct PutOutcome {
  bool done = false;        // false: nothing was inserted
  bool too_long = false;    // refused: the text would exceed kMaxPutUnits
  TextPos start;            // first inserted character ("[")
  TextPos last;             // last inserted character ("]")
  uint32_t first_line = 0;  // lines the inserted text touches
  uint32_t last_line = 0;
  TextPos caret;  // where the cursor goes
  uint32_t lines_added = 0;
};

// Inserts the register's text as the request says. The caller brackets the undo step, sets the
// marks and the caret and reports the message.
PutOutcome PutRegister(TextView& view, const Register& reg, const PutRequest& request);

// Puts the register's text as whole lines whatever its kind (":put", ":copy", ":move"); text
// without a final line break gets one.
PutOutcome PutRegisterLinewise(TextView& view, const Register& reg, const PutRequest& request);

// The message for a put that made the buffer grow: the number followed by " more lines" when
// more than 2 lines were added, else empty.
std::u16string MoreLinesMessage(uint32_t lines_added);

}  // namespace tavik
