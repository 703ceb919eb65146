// The buffer list from the command line: :b, :bn and :n, :bp and :N, :ls and :buffers, :bd.
#include <cstdio>
#include <optional>
#include <string>

#include "common/char_class.h"
#include "engine/attached_view.h"
#include "engine/engine_host.h"
#include "engine/state/buffer_list.h"
#include "engine/state/document_switch.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"

namespace tavik::ex_commands {
namespace {

constexpr std::u16string_view kNoSuchBuffer = u"Buffer does not exist";

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

// The argument as a decimal number; nothing when it is not one. Numbers too large for any list
// are kept at a value no list reaches.
std::optional<uint32_t> DecimalArgument(std::u16string_view argument) {
  argument = Trimmed(argument);
  if (argument.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char16_t c : argument) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - u'0'), UINT32_MAX);
  }
  return static_cast<uint32_t>(value);
}

// The count of :bn and :bp: the leading digits, 1 when there are none.
uint32_t StepCount(std::u16string_view argument) {
  argument = Trimmed(argument);
  uint64_t value = 0;
  for (char16_t c : argument) {
    if (c < u'0' || c > u'9') break;
    value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - u'0'), UINT32_MAX);
  }
  return value == 0 ? 1 : static_cast<uint32_t>(value);
}

}  // namespace

void GoToBuffer(ExContext& context, std::u16string_view argument, ExRange, bool) {
  if (Trimmed(argument).empty()) return;
  BufferList& list = context.engine.State().buffers;
  const std::optional<uint32_t> number = DecimalArgument(argument);
  if (!number || *number < 1 || *number > list.Size()) {
    context.Message(kNoSuchBuffer);
    return;
  }
  if (std::optional<size_t> here = list.Find(context.text.DocumentName())) {
    list.Remember(*here, context.text.GetCaret());
  }
  const BufferEntry entry = list.Entry(*number - 1);
  SwitchToDocument(context.engine, context.text, entry.name, entry.caret, false, false);
}

void NextBuffer(ExContext& context, std::u16string_view argument, ExRange, bool) {
  StepThroughDocuments(context.engine, context.text, true, StepCount(argument));
}

void PreviousBuffer(ExContext& context, std::u16string_view argument, ExRange, bool) {
  StepThroughDocuments(context.engine, context.text, false, StepCount(argument));
}

void ListBuffers(ExContext& context, std::u16string_view, ExRange, bool) {
  const BufferList& list = context.engine.State().buffers;
  for (size_t i = 0; i < list.Size(); ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%*u ", 4, static_cast<unsigned>(i + 1));
    std::u16string line(number, number + std::char_traits<char>::length(number));
    line += list.Entry(i).name;
    context.engine.Host().WriteOutput(line);
  }
}

void DeleteBuffer(ExContext& context, std::u16string_view argument, ExRange, bool) {
  BufferList& list = context.engine.State().buffers;
  if (!Trimmed(argument).empty()) {
    const std::optional<uint32_t> number = DecimalArgument(argument);
    if (!number || *number < 1 || *number > list.Size()) {
      context.Message(kNoSuchBuffer);
      return;
    }
    list.Remove(*number - 1);
    context.Message(u"Removed from buffer list but not closed");
    return;
  }
  if (!list.Find(context.text.DocumentName())) {
    context.Message(kNoSuchBuffer);
    return;
  }
  CloseDocumentAndForget(context);
}

}  // namespace tavik::ex_commands
