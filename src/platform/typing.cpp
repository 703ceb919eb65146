// What the host editor does with a key that no one before it took: the key's binding runs its
// command; otherwise an editing key becomes an editor command sent down the view's
// command-filter chain, and a typed character a TypeChar command.
#include <array>
#include <utility>

#include "platform/editor_host.h"

namespace tavik::platform {

namespace {

struct EditingKey {
  uint32_t virtual_key;
  uint32_t modifiers;  // Shift and Ctrl as they must be held
  uint32_t command;
};

// Keys of the editor that are commands rather than text.
constexpr std::array kEditingKeys = {
    EditingKey{vkey::kBack, 0, cmd2k::kBackspace},
    EditingKey{vkey::kBack, key_mod::kShift, cmd2k::kBackspace},
    EditingKey{vkey::kTab, 0, cmd2k::kTab},
    EditingKey{vkey::kTab, key_mod::kShift, cmd2k::kBackTab},
    EditingKey{vkey::kReturn, 0, cmd2k::kReturn},
    EditingKey{vkey::kReturn, key_mod::kShift, cmd2k::kReturn},
    EditingKey{vkey::kEscape, 0, cmd2k::kCancel},
    EditingKey{vk::kDelete, 0, cmd2k::kDelete},
    EditingKey{vk::kInsert, 0, cmd2k::kToggleOvertype},
    EditingKey{vk::kLeft, 0, cmd2k::kLeft},
    EditingKey{vk::kLeft, key_mod::kShift, cmd2k::kLeftExtend},
    EditingKey{vk::kLeft, key_mod::kCtrl, cmd2k::kWordPrevious},
    EditingKey{vk::kLeft, key_mod::kCtrl | key_mod::kShift, cmd2k::kWordPreviousExtend},
    EditingKey{vk::kRight, 0, cmd2k::kRight},
    EditingKey{vk::kRight, key_mod::kShift, cmd2k::kRightExtend},
    EditingKey{vk::kRight, key_mod::kCtrl, cmd2k::kWordNext},
    EditingKey{vk::kRight, key_mod::kCtrl | key_mod::kShift, cmd2k::kWordNextExtend},
    EditingKey{vk::kUp, 0, cmd2k::kUp},
    EditingKey{vk::kUp, key_mod::kShift, cmd2k::kUpExtend},
    EditingKey{vk::kUp, key_mod::kCtrl, cmd2k::kScrollUp},
    EditingKey{vk::kDown, 0, cmd2k::kDown},
    EditingKey{vk::kDown, key_mod::kShift, cmd2k::kDownExtend},
    EditingKey{vk::kDown, key_mod::kCtrl, cmd2k::kScrollDown},
    EditingKey{vk::kHome, 0, cmd2k::kHome},
    EditingKey{vk::kHome, key_mod::kShift, cmd2k::kHomeExtend},
    EditingKey{vk::kHome, key_mod::kCtrl, cmd2k::kDocumentStart},
    EditingKey{vk::kHome, key_mod::kCtrl | key_mod::kShift, cmd2k::kDocumentStartExtend},
    EditingKey{vk::kEnd, 0, cmd2k::kEnd},
    EditingKey{vk::kEnd, key_mod::kShift, cmd2k::kEndExtend},
    EditingKey{vk::kEnd, key_mod::kCtrl, cmd2k::kDocumentEnd},
    EditingKey{vk::kEnd, key_mod::kCtrl | key_mod::kShift, cmd2k::kDocumentEndExtend},
    EditingKey{vk::kPageUp, 0, cmd2k::kPageUp},
    EditingKey{vk::kPageUp, key_mod::kShift, cmd2k::kPageUpExtend},
    EditingKey{vk::kPageDown, 0, cmd2k::kPageDown},
    EditingKey{vk::kPageDown, key_mod::kShift, cmd2k::kPageDownExtend},
};

constexpr uint32_t kAltBit = 1u << 29;  // a key message's context bit: Alt was held

// The virtual keys in the table, so that the keys that type text pass with one test.
constexpr std::array<bool, 256> kEditingVirtualKeys = [] {
  std::array<bool, 256> keys{};
  for (const EditingKey& key : kEditingKeys) keys[key.virtual_key] = true;
  return keys;
}();

std::optional<uint32_t> EditingCommand(KeyStroke stroke) {
  if (stroke.virtual_key >= 256 || !kEditingVirtualKeys[stroke.virtual_key]) {
    return std::nullopt;
  }
  for (const EditingKey& key : kEditingKeys) {
    if (key.virtual_key == stroke.virtual_key && key.modifiers == stroke.modifiers) {
      return key.command;
    }
  }
  return std::nullopt;
}

}  // namespace

HResult EditorHost::SendCommand(View& view, const EditorCommand& command) {
  // Automation's command events come first; a handler there may take the command over.
  const std::string_view group = CommandGroupGuid(command.group);
  if (automation_.BeforeCommand(group, command.id)) return HResult::kOk;
  const HResult result = view.Filters().Exec(command);
  automation_.AfterCommand(group, command.id);
  // A command may have closed the view; only a view still shown scrolls.
  if (FindView(view.Id()) == &view) view.ScrollToCaret();
  return result;
}

bool EditorHost::PressKey(View& view, KeyStroke stroke) {
  const BindingMatch match = bindings_.Press(stroke);
  switch (match.kind) {
    case BindingMatch::Kind::kNone:
      break;
    case BindingMatch::Kind::kPrefix:
      SetStatusText(u"(" + FormatKeyStroke(stroke) +
                    u") was pressed. Waiting for second key of "
                    u"chord...");
      return true;
    case BindingMatch::Kind::kNotCommand:
      SetStatusText(u"The key combination is not a command.");
      Beep();
      return true;
    case BindingMatch::Kind::kCommand:
      Execute(view, match.command);
      return true;
  }
  if (const std::optional<uint32_t> command = EditingCommand(stroke)) {
    SendCommand(view, {CommandGroup::kStandard2K, *command, 0});
    return true;
  }
  return false;
}

intptr_t EditorHost::DefaultWindowProcedure(View& view, const WindowMessage& message) {
  switch (message.message) {
    case wm::kKeyDown:
    case wm::kSysKeyDown: {
      uint32_t modifiers = KeyboardModifiers();
      if (message.message == wm::kSysKeyDown || (message.lparam & kAltBit) != 0) {
        modifiers |= key_mod::kAlt;
      }
      // The character message of a key that ran a command or an editing command is not text.
      swallow_char_ = PressKey(view, {message.wparam, modifiers});
      return 0;
    }
    case wm::kChar: {
      const auto c = static_cast<char16_t>(message.wparam);
      if (std::exchange(swallow_char_, false)) return 0;
      // Control characters came as their keys; only text is typed here.
      if (c < 0x20 || c == 0x7F) return 0;
      SendCommand(view, {CommandGroup::kStandard2K, cmd2k::kTypeChar, c});
      return 0;
    }
    case wm::kSysChar:
      swallow_char_ = false;
      return 0;
    case wm::kSetFocus:
    case wm::kPaint:
      // The editor's own caret, which a subclass may replace after this.
      if (FocusedView() == &view) view.CreateCaret(2, kCaretLineHeight);
      return 0;
    default:
      return 1;  // not a message the editor acts on
  }
}

void EditorHost::TypeKey(View& view, KeyCode key) {
  const KeyStroke stroke = KeyStrokeOf(key);
  const bool text = key.IsChar() && key.code >= 0x20 && key.code != 0x7F &&
                    !key.Has(key_mod::kCtrl) && !key.Has(key_mod::kAlt);
  // A typed character's own key is bound only as the second key of a chord.
  if ((!text || bindings_.ChordPending()) && PressKey(view, stroke)) return;
  if (text)
    SendCommand(view,
                {CommandGroup::kStandard2K, cmd2k::kTypeChar, static_cast<char16_t>(key.code)});
}

}  // namespace tavik::platform
