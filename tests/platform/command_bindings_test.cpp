// Binding strings, the default keymap, chords and the persistence of binding changes.
#include "platform/command_bindings.h"

#include <gtest/gtest.h>

#include "platform/registry_store.h"

namespace tavik::platform {
namespace {

constexpr uint32_t kCtrl = key_mod::kCtrl;
constexpr uint32_t kShift = key_mod::kShift;
constexpr uint32_t kAlt = key_mod::kAlt;

TEST(BindingTextTest, ParsesAndFormatsBindingsRoundTrip) {
  for (std::u16string_view text :
       {u"Global::Ctrl+S", u"Text Editor::Ctrl+R, Ctrl+W", u"Global::Ctrl+Shift+Alt+F12",
        u"Text Editor::Shift+Del", u"Global::Ctrl+PgDn", u"Text Editor::Alt+Left Arrow",
        u"Global::Ctrl+,", u"Text Editor::Ctrl+K, F", u"HTML Editor Design View::Ctrl+B",
        u"Global::Bkspce", u"Global::Ctrl+]", u"Global::Esc", u"Text Editor::Ctrl+Space"}) {
    const std::optional<Binding> binding = ParseBinding(text);
    ASSERT_TRUE(binding) << std::string(text.begin(), text.end());
    EXPECT_EQ(FormatBinding(*binding), text);
  }
  // Modifiers in any order and any case come out in the written order.
  const std::optional<Binding> mixed = ParseBinding(u"Global::alt+SHIFT+ctrl+f5");
  ASSERT_TRUE(mixed);
  EXPECT_EQ(mixed->strokes[0], (KeyStroke{vk::kF1 + 4, kCtrl | kShift | kAlt}));
  EXPECT_EQ(FormatBinding(*mixed), u"Global::Ctrl+Shift+Alt+F5");

  for (std::u16string_view bad : {u"Ctrl+S", u"::Ctrl+S", u"Global::", u"Global::Hyper+S",
                                  u"Global::F13", u"Global::Ctrl+", u"Global::Ctrl+S, Nope"}) {
    EXPECT_FALSE(ParseBinding(bad)) << std::string(bad.begin(), bad.end());
  }
  EXPECT_EQ(ScopeOfText(u"Text-Editor"), BindingScope::kTextEditor);
  EXPECT_EQ(ScopeOfText(u"\u5168\u5C40"), BindingScope::kGlobal);
  EXPECT_EQ(ScopeOfText(u"HTML Editor"), BindingScope::kOther);
}

TEST(BindingTextTest, KeysOfTheEngineNotationAsKeystrokes) {
  EXPECT_EQ(KeyStrokeOf(KeyCode::Char(6, kCtrl)), (KeyStroke{'F', kCtrl}));
  EXPECT_EQ(KeyStrokeOf(KeyCode::Char(30, kCtrl)), (KeyStroke{'6', kCtrl}));
  EXPECT_EQ(KeyStrokeOf(KeyCode::Char(29, kCtrl)), (KeyStroke{0xDD, kCtrl}));
  EXPECT_EQ(KeyStrokeOf(KeyCode::Char(ch::kReturn)), (KeyStroke{vkey::kReturn, 0}));
  EXPECT_EQ(KeyStrokeOf(KeyCode::Special(vk::kPageDown, kCtrl)), (KeyStroke{vk::kPageDown, kCtrl}));
  EXPECT_EQ(KeyStrokeOf(KeyCode::Char(u'?', kShift)), (KeyStroke{0xBF, kShift}));
  EXPECT_EQ(KeyStrokeOf(KeyCode::Char(u'x', kAlt)), (KeyStroke{'X', kAlt}));
}

TEST(CommandBindingsTest, DefaultKeymapCoversTheEditorUsersKeys) {
  CommandBindings bindings;
  const std::pair<KeyStroke, std::u16string_view> expected[] = {
      {{'S', kCtrl}, u"File.SaveSelectedItems"},
      {{'Z', kCtrl}, u"Edit.Undo"},
      {{'Y', kCtrl}, u"Edit.Redo"},
      {{'F', kCtrl}, u"Edit.Find"},
      {{'H', kCtrl}, u"Edit.Replace"},
      {{'G', kCtrl}, u"Edit.GoTo"},
      {{'A', kCtrl}, u"Edit.SelectAll"},
      {{'X', kCtrl}, u"Edit.Cut"},
      {{'C', kCtrl}, u"Edit.Copy"},
      {{'V', kCtrl}, u"Edit.Paste"},
      {{'O', kCtrl}, u"File.OpenFile"},
      {{'N', kCtrl}, u"File.NewFile"},
      {{vk::kF1 + 3, kCtrl}, u"File.Close"},
      {{vk::kPageDown, kCtrl}, u"Window.NextDocumentWindow"},
      {{vk::kF1 + 8, 0}, u"View.Output"},
      {{vk::kF1 + 1, 0}, u"Tools.Options"},
      {{vk::kF1 + 9, 0}, u"File.Exit"},
  };
  for (const auto& [stroke, command] : expected) {
    EXPECT_EQ(bindings.Lookup(stroke), std::u16string(command)) << FormatKeyStroke(stroke).size();
  }
  EXPECT_FALSE(bindings.Lookup({'Q', kCtrl}));
  // Every row of the table names a command of the collection and parses.
  for (const DefaultBinding& row : DefaultKeymap()) {
    EXPECT_NE(bindings.Find(row.command), nullptr);
    EXPECT_TRUE(ParseBinding(row.binding));
  }
}

TEST(CommandBindingsTest, ChordsWaitForTheirSecondKey) {
  CommandBindings bindings;
  EXPECT_EQ(bindings.Press({'K', kCtrl}).kind, BindingMatch::Kind::kPrefix);
  // A modifier pressed alone keeps the chord waiting.
  EXPECT_EQ(bindings.Press({vkey::kControl, kCtrl}).kind, BindingMatch::Kind::kNone);
  const BindingMatch format = bindings.Press({'F', kCtrl});
  EXPECT_EQ(format.kind, BindingMatch::Kind::kCommand);
  EXPECT_EQ(format.command, u"Edit.FormatSelection");
  // Once done, Ctrl+F alone is find again.
  EXPECT_EQ(bindings.Press({'F', kCtrl}).command, u"Edit.Find");
  // A second key that completes nothing is swallowed and ends the chord.
  EXPECT_EQ(bindings.Press({'M', kCtrl}).kind, BindingMatch::Kind::kPrefix);
  EXPECT_EQ(bindings.Press({'Q', 0}).kind, BindingMatch::Kind::kNotCommand);
  EXPECT_FALSE(bindings.ChordPending());
  EXPECT_EQ(bindings.Press({'Q', 0}).kind, BindingMatch::Kind::kNone);

  // A text editor binding wins over a global one of the same keys; other scopes never press.
  ASSERT_TRUE(bindings.SetBindings(u"Edit.SelectAll", {u"Global::Ctrl+R, Ctrl+W"}));
  ASSERT_TRUE(bindings.SetBindings(u"Edit.Copy", {u"Text Editor::Ctrl+R"}));
  EXPECT_EQ(bindings.Press({'R', kCtrl}).command, u"Edit.Copy");
  ASSERT_TRUE(bindings.SetBindings(u"Edit.Copy", {u"HTML Editor::Ctrl+R"}));
  EXPECT_EQ(bindings.Press({'R', kCtrl}).kind, BindingMatch::Kind::kPrefix);
  EXPECT_EQ(bindings.Press({'W', kCtrl}).command, u"Edit.SelectAll");
}

TEST(CommandBindingsTest, ChangesAreCheckedRemovedRestoredAndPersisted) {
  RegistryStore registry;
  const std::string key = "Software\\Test\\Keyboard";
  {
    CommandBindings bindings;
    bindings.Persist(&registry, key);
    EXPECT_FALSE(bindings.SetBindings(u"Edit.Find", {u"Text Editor::Ctrl+F", u"nonsense"}));
    EXPECT_FALSE(bindings.SetBindings(u"No.Such", {}));
    EXPECT_EQ(bindings.Find(u"Edit.Find")->bindings,
              std::vector<std::u16string>{u"Text Editor::Ctrl+F"});
    // The clash manager's moves: one binding string out, later back in.
    EXPECT_TRUE(bindings.RemoveBinding(u"Edit.Find", u"Text Editor::ctrl+f"));
    EXPECT_FALSE(bindings.RemoveBinding(u"Edit.Find", u"Text Editor::Ctrl+F"));
    EXPECT_FALSE(bindings.Lookup({'F', kCtrl}));
    EXPECT_TRUE(bindings.AddBinding(u"Edit.Undo", u"Global::Ctrl+Shift+J"));
    EXPECT_TRUE(bindings.SetBindings(u"Edit.Redo", {u"Global::Ctrl+Y"}));
  }
  EXPECT_EQ(registry.String(key, "Edit.Find"), u"");
  EXPECT_EQ(registry.String(key, "Edit.Undo"),
            u"Global::Ctrl+Z||Global::Alt+Bkspce||Global::Ctrl+Shift+J");
  CommandBindings reloaded;
  reloaded.Persist(&registry, key);
  EXPECT_FALSE(reloaded.Lookup({'F', kCtrl}));
  EXPECT_EQ(reloaded.Lookup({'J', kCtrl | kShift}), u"Edit.Undo");
  EXPECT_FALSE(reloaded.Lookup({'Z', kCtrl | kShift}));  // Redo lost its second binding
  // A saved value that does not parse leaves the defaults; resetting forgets every change.
  registry.SetString(key, "Edit.Copy", u"Global::Ctrl+");
  CommandBindings damaged;
  damaged.Persist(&registry, key);
  EXPECT_EQ(damaged.Lookup({'C', kCtrl}), u"Edit.Copy");
  damaged.ResetToDefaults();
  EXPECT_EQ(damaged.Lookup({'F', kCtrl}), u"Edit.Find");
  EXPECT_FALSE(registry.String(key, "Edit.Undo"));
}

}  // namespace
}  // namespace tavik::platform
