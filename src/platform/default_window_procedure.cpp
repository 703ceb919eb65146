// The host's own window procedure for an editor view, at the end of every procedure chain: the
// editing keys at key-down and the typed characters, as the editor types them.
#include "platform/editor_host.h"

namespace tavik::platform {

namespace {

bool IsEditingKey(uint32_t virtual_key) {
  return (virtual_key >= vk::kPageUp && virtual_key <= vk::kDown) || virtual_key == vk::kDelete;
}

}  // namespace

intptr_t EditorHost::DefaultWindowProcedure(View& view, const WindowMessage& message) {
  const uint32_t flags = keyboard_.State().Flags();
  switch (message.message) {
    case wm::kKeyDown:
    case wm::kSysKeyDown: {
      const uint32_t key = message.wparam;
      if (IsEditingKey(key)) {
        TypeKey(view, KeyCode::Special(key, flags));
        return 0;
      }
      // Backspace, Tab, Return and Escape act at key-down; their character messages are
      // not typed again.
      if ((flags & (key_mod::kCtrl | key_mod::kAlt)) != 0) return 1;
      if (key == vkey::kBack || key == vkey::kTab || key == vkey::kReturn || key == vkey::kEscape) {
        TypeKey(view, KeyCode::Char(static_cast<char16_t>(key), flags));
        return 0;
      }
      return 1;
    }
    case wm::kChar: {
      const auto c = static_cast<char16_t>(message.wparam);
      if (c < 32 || c == 127) return 0;
      TypeKey(view, KeyCode::Char(c, flags & key_mod::kShift));
      return 0;
    }
    case wm::kSetFocus:
    case wm::kPaint:
      // The editor's own caret, which a subclass may replace after this.
      if (FocusedView() == &view) view.CreateCaret(2, kCaretLineHeight);
      return 0;
    default:
      return 1;
  }
}

}  // namespace tavik::platform
