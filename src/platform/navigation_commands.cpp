// Navigation host commands: go to definition, pop browse context, open the file under the
// caret. They only read the text; the caret, focus and open documents are what they change.
#include "platform/navigation_commands.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/char_class.h"
#include "platform/name_search.h"
#include "platform/utf8_codec.h"

namespace tavik::platform {

namespace {

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

// A file name as written in text, with what may have been added after it.
struct FileReference {
  std::u16string name;
  std::optional<uint32_t> line;  // from a "name:LINE" suffix, 1-based
};

// The readings of a name under the caret, most literal first: as it stands, without a
// ":LINE[:COLUMN]" suffix, without trailing sentence punctuation.
std::vector<FileReference> Readings(std::u16string_view name) {
  std::vector<FileReference> readings{{std::u16string(name), std::nullopt}};
  std::u16string_view rest = name;
  while (!rest.empty() && (rest.back() == u'.' || rest.back() == u':')) rest.remove_suffix(1);
  // name:12 or name:12:5; the number nearest the name is the line.
  std::optional<uint32_t> line;
  for (int part = 0; part < 2; ++part) {
    size_t digits = rest.size();
    while (digits > 0 && IsAsciiDigit(rest[digits - 1])) --digits;
    if (digits == rest.size() || digits < 2 || rest[digits - 1] != u':') break;
    uint32_t value = 0;
    for (char16_t c : rest.substr(digits, std::min<size_t>(rest.size() - digits, 9))) {
      value = value * 10 + static_cast<uint32_t>(c - u'0');
    }
    line = value;
    rest = rest.substr(0, digits - 1);
  }
  if (rest != name && !rest.empty()) readings.push_back({std::u16string(rest), line});
  return readings;
}

std::string ExpandHome(std::string path) {
  if (path.size() >= 2 && path[0] == '~' && (path[1] == '/' || path[1] == '\\')) {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
      return std::string(home) + path.substr(1);
    }
  }
  return path;
}

View* FirstViewOf(EditorHost& host, const Document& document) {
  std::vector<View*> views = host.ViewsOf(document);
  return views.empty() ? nullptr : views.front();
}

}  // namespace

CommandResult GotoDefinition(EditorHost& host, std::u16string_view argument) {
  View* view = host.FocusedView();
  if (view == nullptr) return CommandResult::kFail;
  std::u16string name(Trimmed(argument));
  if (name.empty()) {
    const TextPos caret = view->Caret();
    name = WordAt(view->Buffer().Line(caret.line), caret.column);
  }
  const std::optional<TextPos> target = FindDefinition(view->Buffer(), name);
  if (!target) return CommandResult::kFail;
  const Document* document = host.DocumentOf(*view);
  host.browse_contexts().Push({view->Id(), document == nullptr ? 0 : document->id,
                               document == nullptr ? std::string() : document->path,
                               view->Caret()});
  view->SetCaret(*target);
  view->ScrollToCaret();
  return CommandResult::kOk;
}

CommandResult PopBrowseContext(EditorHost& host, std::u16string_view) {
  const std::optional<BrowseContext> context = host.browse_contexts().Pop();
  if (!context) return CommandResult::kFail;
  View* view = host.FindView(context->view_id);
  if (view == nullptr) {
    for (const auto& document : host.Documents()) {
      if (document->id == context->document_id) view = FirstViewOf(host, *document);
    }
  }
  std::error_code ec;
  if (view == nullptr && !context->path.empty() && std::filesystem::exists(context->path, ec)) {
    if (Document* reopened = host.OpenFile(context->path)) view = FirstViewOf(host, *reopened);
  }
  if (view == nullptr) return CommandResult::kFail;
  host.Focus(*view);
  view->SetCaret(context->caret);
  view->ScrollToCaret();
  return CommandResult::kOk;
}

CommandResult OpenFileUnderCaret(EditorHost& host) {
  View* view = host.FocusedView();
  if (view == nullptr) return CommandResult::kFail;
  const TextPos caret = view->Caret();
  const std::u16string line = view->Buffer().Line(caret.line);
  const std::u16string_view name = FileNameAt(line, caret.column);
  if (name.empty()) {
    host.SetStatusText(u"No file name under the cursor");
    return CommandResult::kFail;
  }
  std::error_code ec;
  for (const FileReference& reading : Readings(name)) {
    // A name in a file is first read beside that file, then in the working folder.
    const std::string named = ExpandHome(ToUtf8(reading.name));
    std::string full = host.ResolveNearDocument(named);
    if (!std::filesystem::exists(full, ec)) full = host.ResolvePath(named);
    if (!std::filesystem::exists(full, ec)) continue;
    std::string error;
    Document* document = host.OpenFile(full, &error);
    if (document == nullptr) {
      host.SetStatusText(FromUtf8(error));
      return CommandResult::kFail;
    }
    View* opened = host.FocusedView();
    if (reading.line && opened != nullptr && *reading.line > 0) {
      opened->SetCaret({*reading.line - 1, 0});
      opened->ScrollToCaret();
    }
    return CommandResult::kOk;
  }
  host.SetStatusText(u"Cannot open \"" +
                     FromUtf8(host.ResolveNearDocument(ExpandHome(ToUtf8(name)))) + u"\"");
  return CommandResult::kFail;
}

}  // namespace tavik::platform
