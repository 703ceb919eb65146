// The options form: its pages, keys and drawing.
#include "app/terminal_options_form.h"

#include <algorithm>
#include <array>

#include "platform/utf8_codec.h"

namespace tavik::app {

namespace {

using platform::FromUtf8;

constexpr std::array<std::u16string_view, OptionsForm::kPageCount> kPageNames = {
    u"General", u"Colours", u"Editor", u"Keyboard"};

// What each boolean setting's check box says.
struct SettingLabel {
  SettingId id;
  std::u16string_view label;
};
constexpr SettingLabel kSettingLabels[] = {
    {SettingId::kIgnoreCapsLock, u"Ignore Caps Lock outside insert mode"},
    {SettingId::kDefaultWinClipboard, u"Use the clipboard as the default register"},
    {SettingId::kBeep, u"Beep on errors"},
    {SettingId::kIgnoreCase, u"Ignore case in searches"},
    {SettingId::kLeaveVSMark, u"Also record marks with the editor"},
    {SettingId::kUseFindDialog, u"Use the find dialog"},
    {SettingId::kFileTabCaption, u"File tab caption"},
    {SettingId::kEnable, u"Enable the emulation"},
    {SettingId::kSmartCase, u"Smart case in searches"},
    {SettingId::kRemoveReadOnly, u"Remove the read-only flag before editing"},
    {SettingId::kIncrementalSearch, u"Incremental search"},
    {SettingId::kDontShowWelcome2, u"Don't show the welcome dialog"},
    {SettingId::kUseVSSel, u"Show the visual selection as the editor's selection"},
    {SettingId::kWinWordWrap, u"Word wrap long lines"},
    {SettingId::kHLSearch, u"Highlight search matches"},
    {SettingId::kKeyboardScanned, u"Key bindings checked for clashes"},
    {SettingId::kDynamicKbdRestore, u"Restore removed key bindings while disabled"},
    {SettingId::kAllowKbdClashes, u"Allow clashing key bindings"},
    {SettingId::kWarnReadOnly, u"Warn before editing a read-only file"},
    {SettingId::kFixUpUndocCtrlU, u"Let Ctrl+U reach the emulation"},
};

std::u16string LabelOf(SettingId id) {
  for (const SettingLabel& row : kSettingLabels) {
    if (row.id == id) return std::u16string(row.label);
  }
  return FromUtf8(std::string(SettingRowOf(id).name));
}

constexpr uint32_t kMaxTabSize = 64;

bool IsKey(KeyCode key, uint32_t virtual_key) {
  return key.IsSpecial(virtual_key);
}

}  // namespace

OptionsForm::OptionsForm(host::SettingsObject& settings, platform::ColourItems& colours,
                         platform::PreferenceStore& preferences, host::ClashManager* clashes,
                         host::KeyboardManager::Ask ask)
    : settings_(settings), colours_(colours), preferences_(preferences) {
  const std::vector<std::u16string> languages = preferences_.Languages();
  language_ = languages.empty() ? u"Plain Text" : languages.front();
  if (clashes != nullptr)
    keyboard_ = std::make_unique<host::KeyboardManager>(&settings_, *clashes, std::move(ask));
  BuildPages();
  if (keyboard_ != nullptr) AddKeyboardButtons();
}

void OptionsForm::AddKeyboardButtons() {
  namespace c = host::kbd_control;
  constexpr std::pair<int, std::u16string_view> kButtons[] = {
      {c::kCopyAndRemove, u"Copy the clashing bindings for restoring and remove them"},
      {c::kRemoveOnly, u"Remove the clashing bindings without keeping them"},
      {c::kRestore, u"Restore the removed bindings"},
      {c::kErase, u"Erase the list of bindings to restore"},
      {c::kSaveKeys, u"Save the key list"},
      {c::kDefaultKeys, u"Default key list"},
      {c::kKeysWithClipboard, u"Key list with Ctrl+V and Ctrl+C"},
      {c::kOk, u"OK"},
      {c::kCancel, u"Cancel"},
  };
  std::vector<Field>& keyboard = fields_[static_cast<size_t>(Page::kKeyboard)];
  for (const auto& [control, label] : kButtons) {
    Field f;
    f.kind = FieldKind::kButton;
    f.label = std::u16string(label);
    f.control = control;
    keyboard.push_back(std::move(f));
  }
}

void OptionsForm::AfterButton() {
  message_ = keyboard_->Error();
  if (keyboard_->Closed()) open_ = false;
}

void OptionsForm::BuildPages() {
  auto field = [](FieldKind kind, std::u16string label) {
    Field f;
    f.kind = kind;
    f.label = std::move(label);
    return f;
  };
  auto setting_field = [&](FieldKind kind, std::u16string label, SettingId id, int control) {
    Field f = field(kind, std::move(label));
    f.setting = id;
    f.control = control;
    return f;
  };

  std::vector<Field>& general = fields_[static_cast<size_t>(Page::kGeneral)];
  for (const SettingRow& row : kSettingTable) {
    if (row.type == SettingType::kBool) {
      general.push_back(setting_field(FieldKind::kCheck, LabelOf(row.id), row.id, 0));
    } else if (row.id == SettingId::kFileTabCaption) {
      general.push_back(setting_field(FieldKind::kText, LabelOf(row.id), row.id, 0));
    }
  }

  std::vector<Field>& colours = fields_[static_cast<size_t>(Page::kColours)];
  for (const platform::ColourItem& item : colours_.Items()) {
    for (const bool background : {false, true}) {
      Field f =
          field(FieldKind::kColour, item.name + (background ? u" background" : u" foreground"));
      f.item = item.name;
      f.background = background;
      colours.push_back(std::move(f));
    }
  }
  if (colours.empty()) colours.push_back(field(FieldKind::kStatic, u"No items"));

  std::vector<Field>& editor = fields_[static_cast<size_t>(Page::kEditor)];
  editor.push_back(field(FieldKind::kLanguage, u"Language"));
  const std::pair<Preference, std::u16string_view> preferences[] = {
      {Preference::kTabSize, u"Tab size"},
      {Preference::kIndentSize, u"Indent size"},
      {Preference::kInsertTabs, u"Insert tabs"},
      {Preference::kLineNumbers, u"Line numbers"},
      {Preference::kVisibleWhitespace, u"Visible whitespace"},
      {Preference::kWordWrap, u"Word wrap"},
  };
  for (const auto& [preference, label] : preferences) {
    Field f = field(FieldKind::kPreference, std::u16string(label));
    f.preference = preference;
    editor.push_back(std::move(f));
  }

  std::vector<Field>& keyboard = fields_[static_cast<size_t>(Page::kKeyboard)];
  keyboard.push_back(setting_field(FieldKind::kCheck,
                                   u"Restore removed key bindings while disabled",
                                   SettingId::kDynamicKbdRestore, 1028));
  keyboard.push_back(setting_field(FieldKind::kInverseCheck, u"Remove key bindings that clash",
                                   SettingId::kAllowKbdClashes, 1032));
  keyboard.push_back(
      setting_field(FieldKind::kStatic, u"Removed key bindings", SettingId::kRemovedKeySet, 1027));
  keyboard.push_back(setting_field(FieldKind::kText, u"Keys checked (Ctrl+ each)",
                                   SettingId::kScanForClashes, 1035));
  keyboard.push_back(setting_field(FieldKind::kStatic, u"Clashing bindings now",
                                   SettingId::kScanForClashes, 1029));
}

platform::LanguagePreferences OptionsForm::CurrentPreferences() const {
  return preferences_.For(language_);
}

bool OptionsForm::SetPreferences(const platform::LanguagePreferences& preferences) {
  if (preferences_.Set(language_, preferences)) return true;
  message_ = u"The preferences could not be saved";
  return false;
}

std::u16string OptionsForm::ValueText(const Field& field) const {
  auto check = [](bool on) { return std::u16string(on ? u"[x]" : u"[ ]"); };
  switch (field.kind) {
    case FieldKind::kCheck:
    case FieldKind::kInverseCheck: {
      if (keyboard_ != nullptr && field.control == host::kbd_control::kDynamicRestore)
        return check(keyboard_->DynamicRestore());
      if (keyboard_ != nullptr && field.control == host::kbd_control::kRemoveClashes)
        return check(keyboard_->RemoveClashes());
      bool value = false;
      settings_.GetBool(field.setting, &value);
      return check(field.kind == FieldKind::kCheck ? value : !value);
    }
    case FieldKind::kText: {
      if (keyboard_ != nullptr && field.control == host::kbd_control::kKeyList)
        return keyboard_->KeyList();
      std::u16string value;
      settings_.GetString(field.setting, &value);
      return value;
    }
    case FieldKind::kStatic: {
      if (keyboard_ != nullptr && field.control == host::kbd_control::kRemovedKeySet)
        return keyboard_->RemovedText();
      if (keyboard_ != nullptr && field.control == host::kbd_control::kFoundNow)
        return keyboard_->FoundText();
      std::u16string value;
      if (field.control == host::kbd_control::kRemovedKeySet)
        settings_.GetString(SettingId::kRemovedKeySet, &value);
      return value.empty() ? u"(None)" : value;
    }
    case FieldKind::kButton:
      return u"";
    case FieldKind::kColour: {
      const platform::ColourItem* item = colours_.Find(field.item);
      if (item == nullptr) return u"";
      return std::u16string(
          platform::HostColourOf(field.background ? item->background : item->foreground).name);
    }
    case FieldKind::kLanguage:
      return language_;
    case FieldKind::kPreference: {
      const platform::LanguagePreferences p = CurrentPreferences();
      switch (field.preference) {
        case Preference::kTabSize:
          return FromUtf8(std::to_string(p.tab_size));
        case Preference::kIndentSize:
          return FromUtf8(std::to_string(p.indent_size));
        case Preference::kInsertTabs:
          return check(p.insert_tabs);
        case Preference::kLineNumbers:
          return check(p.line_numbers);
        case Preference::kVisibleWhitespace:
          return check(p.visible_whitespace);
        case Preference::kWordWrap:
          return check(p.word_wrap);
      }
      return u"";
    }
  }
  return u"";
}

bool OptionsForm::HandleKey(KeyCode key) {
  if (!open_) return false;
  if (edit_) {
    if (key.IsChar(ch::kEscape)) {
      edit_.reset();
    } else if (key.IsChar(ch::kReturn)) {
      CommitEdit();
    } else if (key.IsChar(ch::kBackspace) || key.IsChar(0x7f)) {
      if (!edit_->empty()) edit_->pop_back();
    } else if (key.IsChar() && key.code >= 0x20 && !key.Has(key_mod::kCtrl) &&
               !key.Has(key_mod::kAlt)) {
      edit_->push_back(static_cast<char16_t>(key.code));
    }
    return true;
  }
  if (key.IsChar(ch::kEscape) || key.IsChar(u'q')) {
    open_ = false;
    return false;
  }
  if (IsKey(key, vk::kUp) || IsKey(key, vk::kDown)) {
    Move(IsKey(key, vk::kUp) ? -1 : 1);
  } else if (key.IsChar(ch::kTab)) {
    SwitchPage(key.Has(key_mod::kShift) ? -1 : 1);
  } else if (IsKey(key, vk::kLeft) || IsKey(key, vk::kPageUp)) {
    SwitchPage(-1);
  } else if (IsKey(key, vk::kRight) || IsKey(key, vk::kPageDown)) {
    SwitchPage(1);
  } else if (key.IsChar(u' ') || key.IsChar(u'+')) {
    Change(1);
  } else if (key.IsChar(u'-')) {
    Change(-1);
  } else if (key.IsChar(ch::kReturn)) {
    StartEdit();
  }
  return true;
}

void OptionsForm::Move(int step) {
  const auto count = static_cast<int>(Fields().size());
  size_t& focused = focused_[static_cast<size_t>(page_)];
  focused = static_cast<size_t>((static_cast<int>(focused) + step + count) % count);
}

void OptionsForm::SwitchPage(int step) {
  const auto index = static_cast<int>(page_);
  page_ = static_cast<Page>((index + step + static_cast<int>(kPageCount)) %
                            static_cast<int>(kPageCount));
}

void OptionsForm::Change(int step) {
  const Field& field = Focused();
  message_.clear();
  switch (field.kind) {
    case FieldKind::kButton:
      keyboard_->Press(field.control);
      AfterButton();
      return;
    case FieldKind::kCheck:
    case FieldKind::kInverseCheck: {
      // The keyboard manager's check boxes are saved by its OK.
      if (keyboard_ != nullptr && field.control == host::kbd_control::kDynamicRestore) {
        keyboard_->SetDynamicRestore(!keyboard_->DynamicRestore());
        return;
      }
      if (keyboard_ != nullptr && field.control == host::kbd_control::kRemoveClashes) {
        keyboard_->SetRemoveClashes(!keyboard_->RemoveClashes());
        return;
      }
      bool value = false;
      settings_.GetBool(field.setting, &value);
      if (settings_.PutBool(field.setting, !value) != platform::HResult::kOk)
        message_ = u"The setting could not be saved";
      return;
    }
    case FieldKind::kColour: {
      const platform::ColourItem* item = colours_.Find(field.item);
      if (item == nullptr) return;
      const auto count = static_cast<int>(platform::kHostColours.size());
      const int now = static_cast<int>(field.background ? item->background : item->foreground);
      const auto next = static_cast<uint32_t>((now + step + count) % count);
      const uint32_t foreground = field.background ? item->foreground : next;
      const uint32_t background = field.background ? next : item->background;
      if (!colours_.Recolour(field.item, foreground, background))
        message_ = u"The colour could not be saved";
      return;
    }
    case FieldKind::kLanguage: {
      const std::vector<std::u16string> languages = preferences_.Languages();
      if (languages.empty()) return;
      auto at = std::find(languages.begin(), languages.end(), language_);
      const auto index = at == languages.end() ? 0 : at - languages.begin();
      const auto count = static_cast<ptrdiff_t>(languages.size());
      language_ = languages[static_cast<size_t>((index + step + count) % count)];
      return;
    }
    case FieldKind::kPreference: {
      platform::LanguagePreferences p = CurrentPreferences();
      auto size = [step](uint32_t value) {
        return std::clamp<uint32_t>(value + static_cast<uint32_t>(step), 1, kMaxTabSize);
      };
      switch (field.preference) {
        case Preference::kTabSize:
          p.tab_size = size(p.tab_size);
          break;
        case Preference::kIndentSize:
          p.indent_size = size(p.indent_size);
          break;
        case Preference::kInsertTabs:
          p.insert_tabs = !p.insert_tabs;
          break;
        case Preference::kLineNumbers:
          p.line_numbers = !p.line_numbers;
          break;
        case Preference::kVisibleWhitespace:
          p.visible_whitespace = !p.visible_whitespace;
          break;
        case Preference::kWordWrap:
          p.word_wrap = !p.word_wrap;
          break;
      }
      SetPreferences(p);
      return;
    }
    case FieldKind::kText:
    case FieldKind::kStatic:
      return;
  }
}

void OptionsForm::StartEdit() {
  const Field& field = Focused();
  if (field.kind == FieldKind::kButton) {
    Change(1);
    return;
  }
  if (field.kind == FieldKind::kText ||
      (field.kind == FieldKind::kPreference &&
       (field.preference == Preference::kTabSize || field.preference == Preference::kIndentSize))) {
    edit_ = ValueText(field);
    message_.clear();
  }
}

void OptionsForm::CommitEdit() {
  const std::u16string text = std::move(*edit_);
  edit_.reset();
  const Field& field = Focused();
  if (keyboard_ != nullptr && field.control == host::kbd_control::kKeyList) {
    keyboard_->SetKeyList(text);  // saved by the buttons that use it and by OK
    return;
  }
  if (field.kind == FieldKind::kText) {
    if (settings_.PutString(field.setting, text) == platform::HResult::kOk) return;
    message_ = field.setting == SettingId::kFileTabCaption && text.size() > kMaxFileTabCaption
                   ? u"Refused: the caption is longer than 256 characters"
                   : u"The setting could not be saved";
    return;
  }
  // A size: digits only, 1 to the largest tab size.
  uint32_t value = 0;
  bool valid = !text.empty() && text.size() <= 3;
  for (char16_t c : text) {
    valid = valid && c >= u'0' && c <= u'9';
    if (valid) value = value * 10 + (c - u'0');
  }
  if (!valid || value == 0 || value > kMaxTabSize) {
    message_ = u"A size is a number from 1 to 64";
    return;
  }
  platform::LanguagePreferences p = CurrentPreferences();
  (field.preference == Preference::kTabSize ? p.tab_size : p.indent_size) = value;
  SetPreferences(p);
}

void OptionsForm::Draw(ScreenGrid& grid, int& cursor_row, int& cursor_col) const {
  const int rows = grid.Rows();
  const int cols = grid.Cols();
  for (int r = 0; r < rows; ++r) grid.FillRow(r, 0, CellStyle::kPaneText);
  if (rows < 3 || cols < 10) return;
  // Title and page names on the first row, the page's name marked.
  grid.FillRow(0, 0, CellStyle::kTabLine);
  int col = grid.PutText(0, 0, u" Options ", CellStyle::kTabLine, cols);
  for (size_t p = 0; p < kPageCount; ++p) {
    const CellStyle style =
        static_cast<Page>(p) == page_ ? CellStyle::kTabActive : CellStyle::kTabLine;
    col = grid.PutText(0, col, u" " + std::u16string(kPageNames[p]) + u" ", style, cols);
    col = grid.PutText(0, col, u"|", CellStyle::kTabLine, cols);
  }
  // The fields, scrolled so that the focused one shows.
  const std::vector<Field>& fields = Fields();
  const int shown = rows - 3;
  const int focused = static_cast<int>(FocusedField());
  const int first = focused >= shown ? focused - shown + 1 : 0;
  cursor_row = -1;
  for (int i = first; i < static_cast<int>(fields.size()) && i - first < shown; ++i) {
    const int row = 2 + i - first;
    const Field& field = fields[static_cast<size_t>(i)];
    const bool is_focused = i == focused;
    const CellStyle style = is_focused ? CellStyle::kStatus : CellStyle::kPaneText;
    std::u16string value = is_focused && edit_ ? *edit_ : ValueText(field);
    // The removed-binding record's lines show on one row.
    for (size_t at = value.find(u"\r\n"); at != std::u16string::npos; at = value.find(u"\r\n"))
      value.replace(at, 2, u"; ");
    std::u16string text;
    const bool check = value == u"[x]" || value == u"[ ]";
    if (field.kind == FieldKind::kButton) {
      grid.PutText(row, 0, u"  < " + field.label + u" >", style, cols);
      continue;
    }
    if (check) {
      text = u"  " + value + u" " + field.label;
    } else {
      text = u"  " + field.label + u": ";
    }
    int end = grid.PutText(row, 0, text, style, cols);
    if (!check) {
      const int value_col = end;
      // A colour is shown with a sample in the item's look.
      end = grid.PutText(row, end, value, style, cols);
      if (is_focused && edit_) {
        cursor_row = row;
        cursor_col = std::min(cols - 1, value_col + ScreenGrid::TextWidth(value));
      }
      if (field.kind == FieldKind::kColour) {
        const platform::ColourItem* item = colours_.Find(field.item);
        if (item != nullptr) {
          const CellStyle sample =
              item->layer == platform::HighlightKind::kSelection ? CellStyle::kSelection
              : item->layer == platform::HighlightKind::kSearch  ? CellStyle::kSearch
                                                                 : CellStyle::kIncSearch;
          end = grid.PutText(row, end, u"  ", CellStyle::kPaneText, cols);
          grid.PutText(row, end, u" Sample ", sample, cols);
        }
      }
    }
  }
  // The message, or the keys, on the last row.
  grid.FillRow(rows - 1, 0, CellStyle::kStatus);
  const std::u16string help =
      edit_ ? u"Enter saves, Escape cancels"
            : u"Up/Down: field  Tab/Left/Right: page  Space: change  Enter: edit  Esc/q: close";
  grid.PutText(rows - 1, 0, message_.empty() ? help : message_, CellStyle::kStatus, cols);
}

}  // namespace tavik::app
