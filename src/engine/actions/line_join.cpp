// The line join shared by the normal-mode join commands and the ex join.
#include "engine/actions/line_join.h"

#include <string_view>

#include "common/char_class.h"
#include "engine/text/text_view.h"

namespace tavik {

uint32_t JoinLineWithNext(TextView& view, uint32_t line, bool with_space) {
  uint32_t length = view.LineLength(line);
  if (!with_space) {
    view.DeleteRange({line, length}, {line + 1, 0});
    return length;
  }
  std::u16string_view next = view.LineText(line + 1);
  uint32_t lead = 0;
  while (lead < next.size() && IsBlankChar(next[lead])) ++lead;
  std::u16string_view here = view.LineText(line);
  uint32_t keep = length;
  while (keep > 0 && IsBlankChar(here[keep - 1])) --keep;
  // One replacement from the trailing blanks of this line to the leading blanks of the next.
  view.ReplaceRange({line, keep}, {line + 1, lead}, u" ");
  return keep;
}

}  // namespace tavik
