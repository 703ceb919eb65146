// The host's clipboard joined to the desktop's: copies go out through wl-copy, xclip or xsel
// when one is installed for the running display, else as an OSC 52 sequence to the terminal;
// pastes take in what the desktop holds through wl-paste, xclip or xsel, else use the
// in-process clipboard as it is.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/clipboard.h"

namespace tavik::app {

enum class ClipboardTool : uint8_t { kNone, kWayland, kXclip, kXsel };

// The tool for the environment: Wayland tools under WAYLAND_DISPLAY, xclip or xsel under DISPLAY.
ClipboardTool ChooseClipboardTool();

// The OSC 52 sequence that puts UTF-8 text on the terminal's clipboard.
std::string Osc52Sequence(std::string_view utf8_text);

class DesktopClipboard {
 public:
  using TerminalWriter = std::function<void(std::string_view bytes)>;

  DesktopClipboard(platform::Clipboard& clipboard, ClipboardTool tool,
                   TerminalWriter write_terminal);
  ~DesktopClipboard();
  DesktopClipboard(const DesktopClipboard&) = delete;
  DesktopClipboard& operator=(const DesktopClipboard&) = delete;

  // Text the engine copied goes to the desktop.
  void SendCopies();
  // The engine copied text that has not gone to the desktop yet.
  bool HasUnsentCopy() const { return clipboard_.Sequence() != seen_sequence_; }
  ClipboardTool Tool() const { return tool_; }

 private:
  // Before the engine reads the clipboard: new desktop text replaces the in-process content.
  void TakeDesktopText();

  platform::Clipboard& clipboard_;
  ClipboardTool tool_;
  TerminalWriter write_terminal_;
  uint64_t seen_sequence_ = 0;
  std::string desktop_text_;  // what the desktop held when last read or written
  bool busy_ = false;
};

}  // namespace tavik::app
