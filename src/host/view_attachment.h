// The window side of a view attachment: how far the package has hooked itself into the view's
// window, the procedures it replaced, and the flags its window procedures keep.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "platform/window_message.h"

namespace tavik::host {

enum class AttachmentStage : uint8_t {
  kRegistered,  // light window procedure and command filter in place
  kFull,        // main window procedure installed, the filter refresh timer running
  kRefreshed,   // the filter went back to the head of the chain
};

// Timers the package runs on a view's window.
inline constexpr uint32_t kAttachmentTimerId = 0x7A51;
inline constexpr uint32_t kMappingTimerId = 0x7A52;
inline constexpr uint32_t kAttachmentRefreshMs = 500;

// Languages whose buffers are edited modally even without a document behind them.
inline constexpr std::array<std::u16string_view, 1> kLanguagesWithoutDocument = {u"Immediate"};

inline bool EligibleWithoutDocument(std::u16string_view language) {
  return std::ranges::find(kLanguagesWithoutDocument, language) != kLanguagesWithoutDocument.end();
}

struct AttachmentWindow {
  AttachmentStage stage = AttachmentStage::kRegistered;
  platform::WindowProcedure light_previous;  // the host's procedure, under the light one
  platform::WindowProcedure full_previous;   // what the main procedure replaced
  bool in_menu_loop = false;
  bool destroyed = false;   // the window is going away: no caret work
  uint32_t char_width = 0;  // measured on first use

  bool FullyAttached() const { return stage != AttachmentStage::kRegistered; }
};

// Caret sizes by shape, in pixels of a line of `line_height` and a character of `char_width`.
struct CaretSize {
  uint32_t width;
  uint32_t height;
};
inline CaretSize CaretSizeOf(int shape, uint32_t char_width, uint32_t line_height) {
  switch (shape) {
    case 1:
      return {2, line_height};
    case 2:
      return {char_width, line_height == 0 ? 1 : line_height / 2};
    case 4:
      return {char_width, line_height == 0 ? 2 : line_height * 3 / 4};
    default:
      return {char_width, line_height == 0 ? 2 : line_height};
  }
}

}  // namespace tavik::host
