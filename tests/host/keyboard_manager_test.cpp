// The keyboard manager's controls: each button's question and what Yes and No do, the key list
// presets and its length limit, OK saving the check boxes and Cancel not, and the dialog
// without reachable preferences.
#include "host/keyboard_manager.h"

#include <gtest/gtest.h>

#include "app/batch_session.h"
#include "host/package.h"

namespace tavik::host {
namespace {

namespace c = kbd_control;

class KeyboardManagerTest : public ::testing::Test {
 protected:
  KeyboardManagerTest() {
    session_.OpenText("t.txt", "one\n");
    session_.FocusFirstDocument();
    // Clashing bindings as a user may have them back: the record says one thing, the host
    // holds another.
    Settings().PutBool(SettingId::kKeyboardScanned, true);
    Settings().PutString(SettingId::kRemovedKeySet, u"Edit.Replace=Text Editor::Ctrl+H");
    Bindings(u"Edit.Replace", {});
  }
  tavik::Settings& Settings() { return session_.Package().GetSettings(); }
  SettingsObject* Object() { return session_.Package().GetAutomationObject(u"Tavik.General"); }
  ClashManager& Clashes() { return *session_.Package().KeyboardClashes(); }
  void Bindings(std::u16string_view command, std::vector<std::u16string> bindings) {
    ASSERT_TRUE(session_.Editor().bindings().SetBindings(command, std::move(bindings)));
  }
  std::vector<std::u16string> BindingsOf(std::u16string_view command) {
    return session_.Editor().bindings().Find(command)->bindings;
  }
  KeyboardManager Make() {
    return KeyboardManager(Object(), Clashes(), [this](std::u16string_view question) {
      questions_.emplace_back(question);
      return answer_;
    });
  }

  app::BatchSession session_;
  std::vector<std::u16string> questions_;
  bool answer_ = false;
};

TEST_F(KeyboardManagerTest, CopyAndRemoveReplacesTheRecordOnlyOnYes) {
  KeyboardManager manager = Make();
  EXPECT_EQ(manager.RemovedText(), u"Edit.Replace=Text Editor::Ctrl+H");
  manager.SetKeyList(u"F");
  EXPECT_EQ(manager.FoundText(), u"Edit.Find=Text Editor::Ctrl+F");
  manager.Press(c::kCopyAndRemove);
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_EQ(questions_[0],
            u"Are you sure you want to copy these keybindings for restoring and remove them?");
  EXPECT_EQ(Settings().ScanForClashes(), kDefaultClashKeys);  // No: nothing saved
  EXPECT_FALSE(BindingsOf(u"Edit.Find").empty());
  answer_ = true;
  manager.Press(c::kCopyAndRemove);
  EXPECT_EQ(Settings().ScanForClashes(), u"F");
  EXPECT_EQ(Settings().RemovedKeySet(), u"Edit.Find=Text Editor::Ctrl+F");
  EXPECT_TRUE(BindingsOf(u"Edit.Find").empty());
  EXPECT_EQ(manager.FoundText(), u"(None)");
}

TEST_F(KeyboardManagerTest, RemoveOnlyRestoreAndEraseAskFirst) {
  answer_ = true;
  KeyboardManager manager = Make();
  manager.SetKeyList(u"Y");
  manager.Press(c::kRemoveOnly);
  EXPECT_TRUE(BindingsOf(u"Edit.Redo").empty());
  EXPECT_EQ(Settings().RemovedKeySet(), u"Edit.Replace=Text Editor::Ctrl+H");  // kept
  manager.Press(c::kRestore);
  EXPECT_EQ(BindingsOf(u"Edit.Replace"), std::vector<std::u16string>{u"Text Editor::Ctrl+H"});
  answer_ = false;
  manager.Press(c::kErase);
  EXPECT_FALSE(Settings().RemovedKeySet().empty());
  answer_ = true;
  manager.Press(c::kErase);
  EXPECT_EQ(manager.RemovedText(), u"(None)");
  EXPECT_EQ(questions_, (std::vector<std::u16string>{
                            u"Are you sure you want to remove these keybindings without saving "
                            u"for restoring?",
                            u"Are you sure you want to restore the keybindings?",
                            u"Are you sure you want to erase the list of keybindings to restore?",
                            u"Are you sure you want to erase the list of keybindings to restore?",
                        }));
}

TEST_F(KeyboardManagerTest, KeyListButtonsSaveAtOnceOkSavesTheCheckBoxesCancelDoesNot) {
  KeyboardManager manager = Make();
  EXPECT_EQ(manager.KeyList(), kDefaultClashKeys);
  manager.Press(c::kKeysWithClipboard);
  EXPECT_EQ(Settings().ScanForClashes(), kClashKeysWithClipboard);
  manager.Press(c::kDefaultKeys);
  EXPECT_EQ(Settings().ScanForClashes(), kDefaultClashKeys);
  manager.SetKeyList(std::u16string(200, u'Q'));
  manager.Press(c::kSaveKeys);
  EXPECT_EQ(Settings().ScanForClashes(), std::u16string(kMaxClashKeys, u'Q'));
  EXPECT_TRUE(questions_.empty());

  manager.SetDynamicRestore(false);
  manager.SetRemoveClashes(false);
  manager.SetKeyList(u"RF");
  manager.Press(c::kCancel);
  EXPECT_TRUE(manager.Closed());
  EXPECT_TRUE(Settings().DynamicKbdRestore());
  EXPECT_FALSE(Settings().AllowKbdClashes());

  KeyboardManager again = Make();
  again.SetDynamicRestore(false);
  again.SetRemoveClashes(false);
  again.SetKeyList(u"RF");
  again.Press(c::kOk);
  EXPECT_TRUE(again.Closed());
  EXPECT_FALSE(Settings().DynamicKbdRestore());
  EXPECT_TRUE(Settings().AllowKbdClashes());
  EXPECT_EQ(Settings().ScanForClashes(), u"RF");
}

TEST_F(KeyboardManagerTest, WithoutPreferencesOnlyTheErrorShowsAndNothingChanges) {
  answer_ = true;
  KeyboardManager manager(nullptr, Clashes(), [this](std::u16string_view question) {
    questions_.emplace_back(question);
    return answer_;
  });
  EXPECT_EQ(manager.Error(), kPreferencesError);
  manager.Press(c::kCopyAndRemove);
  manager.Press(c::kRestore);
  EXPECT_TRUE(questions_.empty());
  EXPECT_FALSE(BindingsOf(u"Edit.Find").empty());
  EXPECT_TRUE(BindingsOf(u"Edit.Replace").empty());
  manager.Press(c::kOk);
  EXPECT_TRUE(manager.Closed());
}

}  // namespace
}  // namespace tavik::host
