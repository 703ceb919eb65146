// The options form of the terminal editor: a full-screen form with the pages an IDE's options
// dialog has for the package and the editor. General holds a check box for every boolean setting
// and the file tab caption; Colours the three display items with their foreground and
// background; Editor the preferences of each language; Keyboard the clash manager's controls.
// Up and Down move between fields, Tab, Left and Right between pages, Space toggles or cycles,
// Enter edits a text or number field, Escape or q closes. Every change applies at once and
// persists: settings through the settings object, colours through the display items,
// preferences through the preference store. A change that is refused says so on the form.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/terminal_grid.h"
#include "common/key_code.h"
#include "config/settings.h"
#include "host/keyboard_manager.h"
#include "host/settings_object.h"
#include "platform/colour_items.h"
#include "platform/language_preferences.h"

namespace tavik::app {

class OptionsForm {
 public:
  enum class Page : uint8_t { kGeneral, kColours, kEditor, kKeyboard };
  static constexpr size_t kPageCount = 4;

  enum class FieldKind : uint8_t {
    kCheck,         // a boolean setting
    kInverseCheck,  // a boolean setting shown inverted
    kText,          // a string setting, edited with Enter
    kStatic,        // a text shown only
    kColour,        // an item's foreground or background
    kLanguage,      // which language the preferences below are of
    kPreference,    // one of the language's preferences
    kButton,        // a button of the keyboard manager, pressed with Space or Enter
  };
  // Which of a language's preferences a field shows.
  enum class Preference : uint8_t {
    kTabSize,
    kIndentSize,
    kInsertTabs,
    kLineNumbers,
    kVisibleWhitespace,
    kWordWrap
  };

  struct Field {
    FieldKind kind = FieldKind::kStatic;
    std::u16string label;
    SettingId setting = SettingId::kIgnoreCapsLock;  // kCheck, kInverseCheck, kText, kStatic
    std::u16string item;                             // kColour: the item's name
    bool background = false;                         // kColour: the background, not the text
    Preference preference = Preference::kTabSize;    // kPreference
    int control = 0;  // the control's number on the keyboard page, 0 elsewhere
  };

  // With a clash manager the Keyboard page is the keyboard manager: its check boxes and key
  // list are saved by its OK button, and its buttons ask their questions through `ask`.
  OptionsForm(host::SettingsObject& settings, platform::ColourItems& colours,
              platform::PreferenceStore& preferences, host::ClashManager* clashes = nullptr,
              host::KeyboardManager::Ask ask = {});

  void ShowPage(Page page) { page_ = page; }

  // Handles a key; false once the form is closed.
  bool HandleKey(KeyCode key);
  bool Open() const { return open_; }

  Page CurrentPage() const { return page_; }
  const std::vector<Field>& Fields() const { return fields_[static_cast<size_t>(page_)]; }
  size_t FocusedField() const { return focused_[static_cast<size_t>(page_)]; }
  // What a field shows after its label: "[x]", the text, the colour's name, the number.
  std::u16string ValueText(const Field& field) const;
  // The text being edited (Enter on a text or number field), if any.
  const std::optional<std::u16string>& EditText() const { return edit_; }
  // The last refusal or failure, shown until the next change.
  const std::u16string& Message() const { return message_; }
  // The language the Editor page shows.
  const std::u16string& Language() const { return language_; }

  // Draws the form over the whole grid; the cursor's place when a text is being edited.
  void Draw(ScreenGrid& grid, int& cursor_row, int& cursor_col) const;

 private:
  void BuildPages();
  void AddKeyboardButtons();
  // The keyboard manager's OK or Cancel closed the form, or a button failed.
  void AfterButton();
  void Move(int step);
  void SwitchPage(int step);
  // Space or "+" (step 1), "-" (step -1) on the focused field.
  void Change(int step);
  void StartEdit();
  void CommitEdit();
  const Field& Focused() const { return Fields()[FocusedField()]; }
  platform::LanguagePreferences CurrentPreferences() const;
  bool SetPreferences(const platform::LanguagePreferences& preferences);

  host::SettingsObject& settings_;
  platform::ColourItems& colours_;
  platform::PreferenceStore& preferences_;
  std::vector<Field> fields_[kPageCount];
  size_t focused_[kPageCount] = {};
  Page page_ = Page::kGeneral;
  std::u16string language_;
  std::optional<std::u16string> edit_;
  std::u16string message_;
  bool open_ = true;
  std::unique_ptr<host::KeyboardManager> keyboard_;
};

}  // namespace tavik::app
