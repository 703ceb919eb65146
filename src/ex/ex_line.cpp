// Parsing an ex line into range, name and argument, and dispatching it through the tables.
#include "ex/ex_line.h"

#include <algorithm>

#include "common/char_class.h"
#include "engine/engine_host.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_range.h"
#include "ex/ex_tables.h"

namespace tavik {
namespace {

constexpr std::u16string_view kOneCharNames = u"><\"#&";

size_t SkipBlanks(std::u16string_view text, size_t i) {
  while (i < text.size() && IsBlankChar(text[i])) ++i;
  return i;
}

void FillDefaults(const ExContext& context, bool any_address, FirstDefault first_default,
                  LastDefault last_default, ExRange& range) {
  uint32_t last_line = context.text.LineCount() - 1;
  if (!any_address) {
    if (first_default == FirstDefault::kCurrent) range.first = range.last = context.cursor.line;
    if (first_default == FirstDefault::kLineZero) range.first = 0;
  }
  if (range.second_given) return;
  switch (last_default) {
    case LastDefault::kSame:
      range.last = range.first;
      break;
    case LastDefault::kNext:
      range.last = std::min(range.first + 1, last_line);
      break;
    case LastDefault::kWholeBuffer:
      range.last = any_address ? range.first : last_line;
      break;
  }
}

// A "!" right after the name sets the bang flag; the blanks after it are skipped too.
bool TakeBang(std::u16string_view& argument) {
  if (argument.empty() || argument[0] != u'!') return false;
  size_t i = SkipBlanks(argument, 1);
  argument.remove_prefix(i);
  return true;
}

// The swap question for a backwards range; false when the user declined.
bool SwapIfBackwards(ExContext& context, bool any_address, ExRange& range) {
  if (!any_address || range.first <= range.last) return true;
  if (!context.engine.Host().AskYesNo(u"Backwards range given, swap?", u"Tavik")) return false;
  std::swap(range.first, range.last);
  return true;
}

}  // namespace

void ExContext::Message(std::u16string_view text_of_message) const {
  engine.SetMessage(text_of_message);
}

bool ExecuteExLine(ExContext& context, std::u16string_view text) {
  RangeParse parsed = ParseRange(context, text);
  if (parsed.error != RangeError::kNone) {
    context.Message(RangeErrorMessage(parsed.error));
    return false;
  }
  ExRange range = parsed.range;
  bool any_address = parsed.any_address;

  size_t i = SkipBlanks(text, parsed.end);
  size_t name_start = i;
  while (i < text.size() && IsAlphaChar(text[i])) ++i;
  if (i == name_start && i < text.size() && kOneCharNames.find(text[i]) != kOneCharNames.npos) {
    ++i;
  }
  std::u16string_view name = text.substr(name_start, i - name_start);
  std::u16string_view argument = text.substr(SkipBlanks(text, i));

  if (name.empty()) {
    if (any_address) {
      uint32_t line = std::min(range.last, context.text.LineCount() - 1);
      context.text.SetCaret(FirstNonBlankPos(context.text, line));
      return true;
    }
    return false;
  }

  for (const RangedRow& row : RangedCommands()) {
    if (!NameMatches(name, row.prefix, row.rest)) continue;
    if (!SwapIfBackwards(context, any_address, range)) return false;
    FillDefaults(context, any_address, row.first_default, row.last_default, range);
    bool bang = TakeBang(argument);
    if (bang && !row.bang_allowed) {
      context.Message(u"No ! allowed");
      return false;
    }
    if (row.handler != nullptr) row.handler(context, argument, range, bang);
    return true;
  }
  const auto host_rows = HostBackedCommands();
  for (uint32_t n = 0; n < host_rows.size(); ++n) {
    const HostBackedRow& row = host_rows[n];
    if (!NameMatches(name, row.prefix, row.rest)) continue;
    if (!SwapIfBackwards(context, any_address, range)) return false;
    FillDefaults(context, any_address, FirstDefault::kCurrent, LastDefault::kSame, range);
    bool bang = TakeBang(argument);
    if (bang && !row.bang_allowed) {
      context.Message(u"No ! allowed");
      return false;
    }
    if (HostBackedHandler handler = HostBackedCommandHandler()) {
      handler(context, n + 1, argument, range, bang);
    }
    return true;
  }
  for (const RangelessRow& row : RangelessCommands()) {
    if (!NameMatches(name, row.prefix, row.rest)) continue;
    if (any_address) {
      context.Message(u"No range allowed");
      return false;
    }
    bool bang = TakeBang(argument);
    if (bang && !row.bang_allowed) {
      context.Message(u"No ! allowed");
      return false;
    }
    if (row.handler != nullptr) row.handler(context, argument, bang);
    return true;
  }
  context.Message(u"Unknown command");
  return false;
}

}  // namespace tavik
