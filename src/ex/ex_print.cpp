// ":print", ":Print", ":number" and ":#": lines written to the output pane, as they are or after
// their line number right-aligned in six columns.
#include <algorithm>
#include <string>

#include "engine/engine_host.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"
#include "ex/ex_line_args.h"

namespace tavik::ex_commands {
namespace {

constexpr size_t kNumberWidth = 6;

// The line number as "%*u" with width 6 writes it, followed by one blank.
std::u16string NumberPrefix(uint32_t number) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + number % 10));
    number /= 10;
  } while (number != 0);
  std::u16string prefix(kNumberWidth - std::min(kNumberWidth, digits.size()), u' ');
  return prefix + digits + u' ';
}

void WriteLines(ExContext& context, std::u16string_view argument, ExRange range,
                bool with_numbers) {
  TextView& view = context.text;
  range.last = std::min(range.last, view.LineCount() - 1);
  range.first = std::min(range.first, range.last);
  LineArgs args = TakeLineArgs(context, argument, range, false);
  EngineHost& host = context.engine.Host();
  std::u16string line;
  for (uint32_t l = args.range.first; l <= args.range.last; ++l) {
    if (with_numbers) {
      line = NumberPrefix(l + 1);
      line += view.LineText(l);
      host.WriteOutput(line);
    } else {
      host.WriteOutput(view.LineText(l));
    }
  }
}

}  // namespace

void PrintLines(ExContext& context, std::u16string_view argument, ExRange range, bool) {
  WriteLines(context, argument, range, false);
}

void NumberLines(ExContext& context, std::u16string_view argument, ExRange range, bool) {
  WriteLines(context, argument, range, true);
}

}  // namespace tavik::ex_commands
