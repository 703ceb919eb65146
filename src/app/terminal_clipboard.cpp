// Desktop clipboard tools run as child processes through the shell; their output and errors
// never reach the terminal.
#include "app/terminal_clipboard.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/utf8_codec.h"

namespace tavik::app {

namespace {

bool OnPath(std::string_view program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string_view rest(path);
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::string folder(rest.substr(0, colon));
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + std::string(program);
    if (access(candidate.c_str(), X_OK) == 0) return true;
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return false;
}

bool HasEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

struct ToolCommands {
  const char* copy;
  const char* paste;
};

ToolCommands CommandsOf(ClipboardTool tool) {
  switch (tool) {
    case ClipboardTool::kWayland:
      return {"wl-copy >/dev/null 2>&1", "wl-paste --no-newline 2>/dev/null"};
    case ClipboardTool::kXclip:
      return {"xclip -selection clipboard -i >/dev/null 2>&1",
              "xclip -selection clipboard -o 2>/dev/null"};
    case ClipboardTool::kXsel:
      return {"xsel --clipboard --input >/dev/null 2>&1", "xsel --clipboard --output 2>/dev/null"};
    case ClipboardTool::kNone:
      break;
  }
  return {nullptr, nullptr};
}

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

ClipboardTool ChooseClipboardTool() {
  if (HasEnv("WAYLAND_DISPLAY") && OnPath("wl-copy") && OnPath("wl-paste"))
    return ClipboardTool::kWayland;
  if (HasEnv("DISPLAY") && OnPath("xclip")) return ClipboardTool::kXclip;
  if (HasEnv("DISPLAY") && OnPath("xsel")) return ClipboardTool::kXsel;
  return ClipboardTool::kNone;
}

std::string Osc52Sequence(std::string_view utf8_text) {
  std::string out = "\x1b]52;c;";
  size_t i = 0;
  for (; i + 3 <= utf8_text.size(); i += 3) {
    const auto n = (static_cast<uint32_t>(static_cast<unsigned char>(utf8_text[i])) << 16) |
                   (static_cast<uint32_t>(static_cast<unsigned char>(utf8_text[i + 1])) << 8) |
                   static_cast<unsigned char>(utf8_text[i + 2]);
    for (int shift : {18, 12, 6, 0}) out.push_back(kBase64[(n >> shift) & 63]);
  }
  const size_t rest = utf8_text.size() - i;
  if (rest > 0) {
    uint32_t n = static_cast<uint32_t>(static_cast<unsigned char>(utf8_text[i])) << 16;
    if (rest == 2) n |= static_cast<uint32_t>(static_cast<unsigned char>(utf8_text[i + 1])) << 8;
    out.push_back(kBase64[(n >> 18) & 63]);
    out.push_back(kBase64[(n >> 12) & 63]);
    out.push_back(rest == 2 ? kBase64[(n >> 6) & 63] : '=');
    out.push_back('=');
  }
  out.push_back('\x07');
  return out;
}

DesktopClipboard::DesktopClipboard(platform::Clipboard& clipboard, ClipboardTool tool,
                                   TerminalWriter write_terminal)
    : clipboard_(clipboard), tool_(tool), write_terminal_(std::move(write_terminal)) {
  seen_sequence_ = clipboard_.Sequence();
  if (tool_ != ClipboardTool::kNone) clipboard_.SetReadHook([this] { TakeDesktopText(); });
}

DesktopClipboard::~DesktopClipboard() {
  clipboard_.SetReadHook(nullptr);
}

void DesktopClipboard::SendCopies() {
  if (clipboard_.Sequence() == seen_sequence_) return;
  busy_ = true;
  const std::optional<std::u16string> text = clipboard_.Text();
  busy_ = false;
  seen_sequence_ = clipboard_.Sequence();
  if (!text) return;
  const std::string utf8 = platform::ToUtf8(*text);
  desktop_text_ = utf8;
  if (tool_ == ClipboardTool::kNone) {
    if (write_terminal_) write_terminal_(Osc52Sequence(utf8));
    return;
  }
  if (std::FILE* pipe = popen(CommandsOf(tool_).copy, "w")) {
    std::fwrite(utf8.data(), 1, utf8.size(), pipe);
    pclose(pipe);
  }
}

void DesktopClipboard::TakeDesktopText() {
  if (busy_ || tool_ == ClipboardTool::kNone) return;
  // A copy not sent yet is newer than what the desktop holds: it goes out instead.
  if (HasUnsentCopy()) {
    SendCopies();
    return;
  }
  std::FILE* pipe = popen(CommandsOf(tool_).paste, "r");
  if (pipe == nullptr) return;
  std::string text;
  char chunk[4096];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, n);
  if (pclose(pipe) != 0) return;
  // Unchanged desktop text keeps the in-process content, with the register kind the engine
  // stored beside it.
  if (text == desktop_text_) return;
  desktop_text_ = text;
  clipboard_.Clear();
  clipboard_.SetText(platform::FromUtf8(text));
  seen_sequence_ = clipboard_.Sequence();
}

}  // namespace tavik::app
