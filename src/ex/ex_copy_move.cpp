// ":copy", ":t" and ":move": the lines go through register "9" and are put below a destination
// line, or above the first line for destination 0.
#include <algorithm>
#include <optional>

#include "common/char_class.h"
#include "engine/actions/delete_operated.h"
#include "engine/actions/put_text.h"
#include "engine/state/register_file.h"
#include "engine/text/range_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"
#include "ex/ex_line_args.h"
#include "ex/ex_range.h"

namespace tavik::ex_commands {
namespace {

constexpr std::u16string_view kAddressError = u"Error in :co[py]/:t/:mo[ve] address";
constexpr char16_t kScratchRegister = u'9';

struct Destination {
  uint32_t line = 0;
  bool above = false;  // written as 0: the lines go above the first line
};

// The destination address; nothing (and the message shown) when it is missing or wrong.
std::optional<Destination> ReadDestination(ExContext& context, std::u16string_view argument) {
  RangeParse parsed = ParseRange(context, argument);
  size_t end = parsed.end;
  while (end < argument.size() && IsBlankChar(argument[end])) ++end;
  if (parsed.error != RangeError::kNone || !parsed.any_address || end != argument.size()) {
    context.Message(kAddressError);
    return std::nullopt;
  }
  return Destination{parsed.range.first, parsed.range.first_is_zero};
}

ExRange ClampRange(const TextView& view, ExRange range) {
  range.last = std::min(range.last, view.LineCount() - 1);
  range.first = std::min(range.first, range.last);
  return range;
}

void StoreLines(ExContext& context, uint32_t first, uint32_t last) {
  OperatedRange lines{{first, 0}, {last, kEndOfLineColumn}, RangeKind::kLinewise};
  context.engine.Registers().Write(kScratchRegister, RangeText(context.text, lines),
                                   RangeKind::kLinewise);
}

void PutScratch(ExContext& context, Destination destination) {
  const Register* reg = context.engine.Registers().Get(kScratchRegister);
  if (reg == nullptr) return;
  PutLinesOfRegister(context, *reg, {{destination.line, 0}, !destination.above, 1, false});
}

}  // namespace

void CopyLines(ExContext& context, std::u16string_view argument, ExRange range, bool) {
  std::optional<Destination> destination = ReadDestination(context, argument);
  if (!destination) return;
  range = ClampRange(context.text, range);
  StoreLines(context, range.first, range.last);
  PutScratch(context, *destination);
}

void MoveLines(ExContext& context, std::u16string_view argument, ExRange range, bool) {
  std::optional<Destination> destination = ReadDestination(context, argument);
  if (!destination) return;
  TextView& view = context.text;
  range = ClampRange(view, range);
  // The line the moved lines would follow; -1 for above the first line.
  const int64_t below = destination->above ? -1 : int64_t{destination->line};
  if (below >= int64_t{range.first} - 1 && below <= int64_t{range.last}) return;
  StoreLines(context, range.first, range.last);
  // Refused before anything is deleted: lines taken out and then not put back would be lost.
  const Register* reg = context.engine.Registers().Get(kScratchRegister);
  if (reg == nullptr || reg->Text().size() > kMaxPutUnits) {
    context.Message(kPutTooLongMessage);
    return;
  }
  const uint32_t count = range.last - range.first + 1;
  TextView::CompoundScope compound(view);
  DeleteOperated(view, {{range.first, 0}, {range.last, kEndOfLineColumn}, RangeKind::kLinewise});
  if (below > int64_t{range.last}) destination->line -= count;
  PutScratch(context, *destination);
}

}  // namespace tavik::ex_commands
