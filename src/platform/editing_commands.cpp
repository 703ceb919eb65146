// Clipboard, find, replace and go-to-line commands of the host editor.
#include "platform/editing_commands.h"

#include "platform/edit_operations.h"
#include "platform/utf8_codec.h"

namespace tavik::platform {

namespace {

// The argument, or the user's answer to the prompt; nothing when cancelled or empty.
std::optional<std::u16string> ArgumentOrAnswer(EditorHost& host, std::u16string_view argument,
                                               std::u16string_view prompt) {
  if (!argument.empty()) return std::u16string(argument);
  std::optional<std::u16string> answer = host.dialogs().AskText(prompt);
  if (answer && answer->empty()) answer.reset();
  return answer;
}

std::u16string WithCrLf(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c == u'\n') out += u'\r';
    out += c;
  }
  return out;
}

// The selection, or the caret line with its line break.
ViewSelection CopyRange(const View& view) {
  if (!view.Selection().Empty()) return view.Selection();
  const TextBuffer& buffer = view.Buffer();
  const uint32_t line = view.Caret().line;
  const TextPos end =
      line + 1 < buffer.LineCount() ? TextPos{line + 1, 0} : TextPos{line, buffer.LineLength(line)};
  return {{line, 0}, end, false};
}

CommandResult CopyOrCut(EditorHost& host, bool cut) {
  View* view = host.FocusedView();
  if (view == nullptr) return CommandResult::kFail;
  if (cut && !host.QueryEdit(view->Buffer())) return CommandResult::kFail;
  const ViewSelection range = CopyRange(*view);
  host.clipboard().Clear();
  host.clipboard().SetText(WithCrLf(view->Buffer().GetText(range.Start(), range.End())));
  if (cut) {
    view->Buffer().Replace(range.Start(), range.End(), u"");
    view->SetCaret(range.Start());
    view->ScrollToCaret();
  }
  return CommandResult::kOk;
}

// The first occurrence at or after `from`, around the end of the text.
std::optional<TextPos> FindFrom(const TextBuffer& buffer, TextPos from, std::u16string_view what) {
  const uint32_t count = buffer.LineCount();
  std::u16string text;
  for (uint32_t i = 0; i <= count; ++i) {
    const uint32_t line = (from.line + i) % count;
    buffer.ReadLine(line, text);
    const size_t start = i == 0 ? from.column : 0;
    const size_t at = start > text.size() ? std::u16string::npos : text.find(what, start);
    if (at != std::u16string::npos) return TextPos{line, static_cast<uint32_t>(at)};
  }
  return std::nullopt;
}

CommandResult SendToFocused(EditorHost& host, uint32_t id) {
  View* view = host.FocusedView();
  if (view == nullptr) return CommandResult::kFail;
  return Succeeded(host.SendCommand(*view, {CommandGroup::kStandard2K, id, 0}))
             ? CommandResult::kOk
             : CommandResult::kFail;
}

}  // namespace

CommandResult CutCommand(EditorHost& host, std::u16string_view) {
  return CopyOrCut(host, true);
}

CommandResult CopyCommand(EditorHost& host, std::u16string_view) {
  return CopyOrCut(host, false);
}

CommandResult PasteCommand(EditorHost& host, std::u16string_view) {
  View* view = host.FocusedView();
  if (view == nullptr) return CommandResult::kFail;
  const std::optional<std::u16string> text = host.clipboard().Text();
  if (!text || text->empty()) return CommandResult::kFail;
  if (!host.QueryEdit(view->Buffer())) return CommandResult::kFail;
  InsertAtCaret(*view, *text, false);
  view->ScrollToCaret();
  return CommandResult::kOk;
}

CommandResult FindCommand(EditorHost& host, std::u16string_view argument) {
  const std::optional<std::u16string> what = ArgumentOrAnswer(host, argument, u"Find: ");
  View* view = host.FocusedView();
  if (!what || view == nullptr) return CommandResult::kFail;
  const TextPos caret = view->Caret();
  const std::optional<TextPos> at = FindFrom(view->Buffer(), {caret.line, caret.column + 1}, *what);
  if (!at) {
    host.SetStatusText(u"Not found: " + *what);
    return CommandResult::kFail;
  }
  view->SetSelection(*at, {at->line, at->column + static_cast<uint32_t>(what->size())}, false);
  view->ScrollToCaret();
  return CommandResult::kOk;
}

CommandResult ReplaceCommand(EditorHost& host, std::u16string_view argument) {
  const std::optional<std::u16string> what = ArgumentOrAnswer(host, argument, u"Replace: ");
  if (!what) return CommandResult::kFail;
  const std::optional<std::u16string> with = host.dialogs().AskText(u"Replace with: ");
  View* view = host.FocusedView();
  if (!with || view == nullptr) return CommandResult::kFail;
  TextBuffer& buffer = view->Buffer();
  if (!host.QueryEdit(buffer)) return CommandResult::kFail;
  uint32_t count = 0;
  buffer.OpenCompound();
  std::u16string text;
  for (uint32_t line = 0; line < buffer.LineCount(); ++line) {
    buffer.ReadLine(line, text);
    // From the end, so earlier columns stay where they were.
    std::vector<size_t> hits;
    for (size_t at = text.find(*what); at != std::u16string::npos;
         at = text.find(*what, at + what->size())) {
      hits.push_back(at);
    }
    for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
      const auto column = static_cast<uint32_t>(*it);
      buffer.Replace({line, column}, {line, column + static_cast<uint32_t>(what->size())}, *with);
      ++count;
    }
  }
  buffer.CloseCompound();
  host.SetStatusText(FromUtf8(std::to_string(count)) +
                     (count == 1 ? u" occurrence replaced" : u" occurrences replaced"));
  return count > 0 ? CommandResult::kOk : CommandResult::kFail;
}

CommandResult GoToLineCommand(EditorHost& host, std::u16string_view argument) {
  const std::optional<std::u16string> answer = ArgumentOrAnswer(host, argument, u"Go to line: ");
  View* view = host.FocusedView();
  if (!answer || view == nullptr) return CommandResult::kFail;
  uint64_t number = 0;
  for (char16_t c : *answer) {
    if (c < u'0' || c > u'9' || number > 100000000) {
      host.SetStatusText(u"Not a line number: " + *answer);
      return CommandResult::kFail;
    }
    number = number * 10 + (c - u'0');
  }
  const TextBuffer& buffer = view->Buffer();
  const auto line = static_cast<uint32_t>(
      std::min<uint64_t>(number == 0 ? 0 : number - 1, buffer.LineCount() - 1));
  view->SetCaret({line, static_cast<uint32_t>(LeadingWhitespace(buffer, line).size())});
  view->ScrollToCaret();
  return CommandResult::kOk;
}

CommandResult IncrementalSearchCommand(EditorHost& host, std::u16string_view) {
  return SendToFocused(host, cmd2k::kIncrementalSearch);
}

CommandResult InsertCharacterCodeCommand(EditorHost& host, std::u16string_view) {
  return SendToFocused(host, cmd2k::kSecondModalInput);
}

}  // namespace tavik::platform
