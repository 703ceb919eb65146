// The ex commands carried out by named host commands (write, quit, edit, split, make, next
// error ...): the command lines they build, and the three with logic of their own: :q, :clo, :f.
#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/attached_view.h"
#include "engine/engine_host.h"
#include "engine/state/buffer_list.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"
#include "ex/ex_tables.h"

namespace tavik::ex_commands {
namespace {

constexpr size_t kMaxHostCommandLine = 511;

// Host commands act where the keyboard focus is, which the command before may have moved.
TextView& FocusedText(ExContext& context) {
  AttachedView* focused = context.engine.Host().FocusedView();
  if (focused != nullptr && focused->text.IsAttached()) return focused->text;
  return context.text;
}

// The first half of :q and :clo: a split window loses the pane the command was typed in.
bool CloseSplitPane(ExContext& context) {
  HostView* host = context.text.Host();
  if (!context.text.IsAttached() || host == nullptr || !host->IsSplit()) return false;
  context.text.FocusOtherView();
  FocusedText(context).ExecuteHostCommand(u"Window.Split");
  return true;
}

std::u16string DecimalText(uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

void CloseDocumentAndForget(ExContext& context) {
  const std::u16string name = context.text.DocumentName();
  context.text.ExecuteHostCommand(u"File.Close");
  // The host may keep the document (the user declined to lose its changes): then the list stays
  // as it was, so that buffer numbers still reach the same documents.
  if (context.text.IsAttached()) return;
  BufferList& list = context.engine.State().buffers;
  if (std::optional<size_t> entry = list.Find(name)) list.Remove(*entry);
}

std::u16string HostCommandLine(std::u16string_view name, std::u16string_view argument) {
  std::u16string line(name);
  if (!argument.empty()) {
    if (name.empty()) {
      line = argument;  // the argument is the whole command line
    } else if (name.ends_with(u'.')) {
      line += argument;  // "Macros." and the macro's name
    } else {
      line += u' ';
      line += argument;
    }
  }
  if (line.size() > kMaxHostCommandLine) line.resize(kMaxHostCommandLine);
  return line;
}

void ExecuteHostRow(ExContext& context, uint32_t row, std::u16string_view argument, ExRange range,
                    bool bang) {
  const auto rows = HostBackedCommands();
  if (row == 0 || row > rows.size()) return;
  const HostBackedRow& command = rows[row - 1];
  if (command.own_handler != nullptr) {
    command.own_handler(context, argument, range, bang);
    return;
  }
  // What the host reports is its own business: a failed command shows nothing here.
  context.text.ExecuteHostCommand(HostCommandLine(command.first_command, argument));
  if (!command.second_command.empty()) {
    FocusedText(context).ExecuteHostCommand(command.second_command);
  }
  // The engine follows wherever the host command left the caret.
  if (context.text.IsAttached()) context.text.RefreshFromHost(true);
}

void Quit(ExContext& context, std::u16string_view, ExRange, bool) {
  if (CloseSplitPane(context)) return;
  CloseDocumentAndForget(context);
}

void CloseWindow(ExContext& context, std::u16string_view, ExRange, bool) {
  if (CloseSplitPane(context)) return;
  context.text.ExecuteHostCommand(u"File.Close");
}

void FileInfo(ExContext& context, std::u16string_view, ExRange, bool) {
  const uint32_t lines = context.text.LineCount();
  const uint64_t percent = (static_cast<uint64_t>(context.cursor.line) + 1) * 100 / lines;
  std::u16string message = u"\"" + context.text.DocumentName() + u"\" ";
  message += DecimalText(lines) + u" lines --" + DecimalText(percent) + u"%--";
  context.Message(message);
}

}  // namespace tavik::ex_commands
