// Register and count arguments of the line commands, and their cursor and mark bookkeeping.
#include "ex/ex_line_args.h"

#include <algorithm>

#include "common/char_class.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"

namespace tavik {
namespace {

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

LineArgs TakeLineArgs(const ExContext& context, std::u16string_view argument, ExRange range,
                      bool with_register) {
  LineArgs out;
  out.range = range;
  if (with_register && !argument.empty() && !IsAsciiDigit(argument.front())) {
    // Names from 128 up are not register names: they select the default register.
    if (argument.front() < 128) out.register_name = argument.front();
    argument.remove_prefix(1);
  }
  argument = TrimBlanks(argument);
  if (argument.empty() || !IsAsciiDigit(argument.front())) return out;
  uint64_t count = 0;
  for (size_t i = 0; i < argument.size() && IsAsciiDigit(argument[i]); ++i) {
    count = std::min<uint64_t>(count * 10 + (argument[i] - u'0'), UINT32_MAX);
  }
  count = std::max<uint64_t>(count, 1);
  const uint64_t last_line = context.text.LineCount() - 1;
  out.range.first = range.last;
  out.range.last = static_cast<uint32_t>(std::min(uint64_t{range.last} + count - 1, last_line));
  return out;
}

void SetChangeMarks(TextView& view, uint32_t first, uint32_t last) {
  BufferMarks* marks = view.Marks();
  if (marks == nullptr) return;
  const uint32_t last_line = view.LineCount() - 1;
  first = std::min(first, last_line);
  last = std::min(last, last_line);
  marks->Set(u'[', {first, 0});
  marks->Set(u']', {last, view.LineLength(last)});
}

void CursorToFirstNonBlank(TextView& view, uint32_t line) {
  view.SetCaret(FirstNonBlankPos(view, std::min(line, view.LineCount() - 1)));
}

PutOutcome PutLinesOfRegister(ExContext& context, const Register& reg, const PutRequest& request) {
  PutOutcome outcome = PutRegisterLinewise(context.text, reg, request);
  if (outcome.too_long) {
    context.Message(kPutTooLongMessage);
  } else if (outcome.done) {
    SetChangeMarks(context.text, outcome.first_line, outcome.last_line);
    CursorToFirstNonBlank(context.text, outcome.first_line);
  }
  return outcome;
}

}  // namespace tavik
