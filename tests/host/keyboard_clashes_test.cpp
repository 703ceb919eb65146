// The clash manager: the removed-binding text written and read back, which bindings clash (the
// first keystroke only, Ctrl+F4, other scopes, the German "Strg"), records with all of a
// command's bindings removed and restored by name or index, custom schemes on version 7 hosts
// only, and the package's first connection and its following of the enabled flag.
#include "host/keyboard_clashes.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/batch_session.h"
#include "host/package.h"
#include "host/registration.h"
#include "platform/editor_host.h"
#include "platform/utf8_codec.h"

namespace tavik::host {
namespace {

namespace fs = std::filesystem;

TEST(RemovedKeySetTest, WrittenWithCrLfBetweenLinesAndReadBack) {
  const ClashList clashes = {
      {u"Edit.Find", {u"Text Editor::Ctrl+F", u"Global::Alt+F3"}},
      {u"3", {u"Global::Ctrl+R, Ctrl+W"}},
      {u"Edit.Nothing", {}},
  };
  const std::u16string text = WriteRemovedKeySet(clashes);
  EXPECT_EQ(text,
            u"Edit.Find=Text Editor::Ctrl+F||Global::Alt+F3\r\n3=Global::Ctrl+R, Ctrl+W\r\n"
            u"Edit.Nothing=");
  EXPECT_EQ(ParseRemovedKeySet(text), clashes);
  EXPECT_TRUE(NamesByIndex(clashes[1]));
  EXPECT_FALSE(NamesByIndex(clashes[0]));
  EXPECT_EQ(WriteRemovedKeySet({}), u"");
  EXPECT_TRUE(ParseRemovedKeySet(u"").empty());
  // Bare LFs, empty lines and lines naming no command.
  const ClashList loose =
      ParseRemovedKeySet(u"A.B=Global::Ctrl+B\n\nno equals\r\n=x\r\nC.D=Global::Ctrl+D\r\n");
  ASSERT_EQ(loose.size(), 2u);
  EXPECT_EQ(loose[0], (ClashRecord{u"A.B", {u"Global::Ctrl+B"}}));
  EXPECT_EQ(loose[1], (ClashRecord{u"C.D", {u"Global::Ctrl+D"}}));
}

TEST(ClashScanTest, OnlyTheFirstKeystrokeInTheEditorAndGlobalScopesClashes) {
  EXPECT_TRUE(FirstKeystrokeClashes(u"Global::Ctrl+R, Ctrl+W", u"R"));
  EXPECT_FALSE(FirstKeystrokeClashes(u"Global::Ctrl+R, Ctrl+W", u"W"));
  EXPECT_FALSE(FirstKeystrokeClashes(u"Text Editor::Ctrl+F4", u"F"));
  EXPECT_TRUE(FirstKeystrokeClashes(u"Text-Editor::Strg+D", u"D"));
  EXPECT_FALSE(FirstKeystrokeClashes(u"Text Editor::Ctrl+Shift+F", u"F"));
  EXPECT_TRUE(FirstKeystrokeClashes(u"Global::Ctrl+]", kDefaultClashKeys));
  EXPECT_FALSE(FirstKeystrokeClashes(u"Global::Ctrl+V", kDefaultClashKeys));
  EXPECT_TRUE(FirstKeystrokeClashes(u"Global::Ctrl+V", kClashKeysWithClipboard));
  EXPECT_TRUE(InClashScope(u"Text-Editor::Strg+D"));
  EXPECT_TRUE(InClashScope(u"\u30C6\u30AD\u30B9\u30C8 \u30A8\u30C7\u30A3\u30BF::Ctrl+B"));
  EXPECT_FALSE(InClashScope(u"HTML Editor Design View::Ctrl+B"));
}

// A command collection as a host may hand it out: unnamed commands, bindings that cannot be
// read, bindings the host's own parser would not take.
class ListedCommands final : public KeyboardCommands {
 public:
  struct Command {
    std::u16string name;
    std::optional<std::vector<std::u16string>> bindings;
  };
  std::vector<Command> commands;
  std::optional<std::u16string> scheme = u"";

  size_t Count() const override { return commands.size(); }
  std::u16string Name(size_t i) const override { return commands[i - 1].name; }
  std::optional<std::vector<std::u16string>> Bindings(size_t i) const override {
    return commands[i - 1].bindings;
  }
  bool SetBindings(size_t i, std::span<const std::u16string> b) override {
    commands[i - 1].bindings = std::vector<std::u16string>(b.begin(), b.end());
    return true;
  }
  std::optional<std::u16string> Scheme() const override { return scheme; }
  bool SetScheme(std::u16string_view path) override {
    scheme = std::u16string(path);
    return true;
  }
};

TEST(ClashScanTest, RecordsAllBindingsAndRemovesAndRestoresByNameOrIndex) {
  ListedCommands host;
  host.commands = {
      {u"Edit.Find", std::vector<std::u16string>{u"Text Editor::Ctrl+F", u"Global::Alt+F3"}},
      {u"Edit.Bold", std::vector<std::u16string>{u"HTML Editor Design View::Ctrl+B"}},
      {u"", std::vector<std::u16string>{u"Text-Editor::Strg+D"}},
      {u"Edit.Broken", std::nullopt},
      {u"Window.Close", std::vector<std::u16string>{u"Text Editor::Ctrl+F4"}},
      {u"Edit.Chord", std::vector<std::u16string>{u"Global::Ctrl+K, Ctrl+W"}},
  };
  ClashManager manager(host, "8.0", false);
  const ClashList found = manager.Scan(u"FBDW");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], (ClashRecord{u"Edit.Find", {u"Text Editor::Ctrl+F", u"Global::Alt+F3"}}));
  EXPECT_EQ(found[1], (ClashRecord{u"3", {u"Text-Editor::Strg+D"}}));

  // Going through the text, as the stored record does.
  const ClashList stored = ParseRemovedKeySet(WriteRemovedKeySet(found));
  manager.Remove(stored);
  EXPECT_EQ(host.commands[0].bindings, std::vector<std::u16string>{});
  EXPECT_EQ(host.commands[2].bindings, std::vector<std::u16string>{});
  EXPECT_TRUE(manager.Scan(u"FBDW").empty());
  manager.Restore(stored);
  EXPECT_EQ(host.commands[0].bindings,
            (std::vector<std::u16string>{u"Text Editor::Ctrl+F", u"Global::Alt+F3"}));
  EXPECT_EQ(host.commands[2].bindings, std::vector<std::u16string>{u"Text-Editor::Strg+D"});
  // Records of commands the host no longer has are skipped.
  manager.Restore({{u"Gone.Command", {u"Global::Ctrl+Q"}}, {u"99", {u"Global::Ctrl+Q"}}});
  EXPECT_EQ(manager.Scan(u"Q").size(), 0u);
  EXPECT_EQ(host.scheme, u"");  // not a version 7 host: no scheme
}

// A host of the given version with a document, its data folder in a temporary directory.
class HostVersionTest : public ::testing::Test {
 protected:
  HostVersionTest() {
    data_ = fs::temp_directory_path() / ("tavik_clash_data_" + std::to_string(getpid()));
    fs::remove_all(data_);
    const char* old = std::getenv("XDG_DATA_HOME");
    if (old != nullptr) old_data_ = old;
    setenv("XDG_DATA_HOME", data_.c_str(), 1);
  }
  ~HostVersionTest() override {
    if (old_data_) {
      setenv("XDG_DATA_HOME", old_data_->c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
    std::error_code ec;
    fs::remove_all(data_, ec);
  }
  void UseVersion(std::string_view version) {
    editor_.registry().SetString(
        std::string(platform::kCurrentUserHive) + "\\" + std::string(platform::kHostProductKey),
        platform::kHostVersionValue, platform::FromUtf8(version));
    editor_.AttachStoresToRegistry();
    editor_.OpenText(u"one\ntwo\n");
  }
  std::vector<std::u16string> BindingsOf(std::u16string_view command) {
    return editor_.bindings().Find(command)->bindings;
  }

  fs::path data_;
  std::optional<std::string> old_data_;
  platform::EditorHost editor_;
};

TEST_F(HostVersionTest, AVersion7HostChangesBindingsOnlyInTheCustomSchemeFile) {
  UseVersion("7.1");
  EXPECT_FALSE(editor_.bindings().SetBindings(u"Edit.Find", {}));
  Package package(editor_);
  ASSERT_TRUE(package.HostIsVersion7());
  package.ConnectAutomation();
  const fs::path scheme = data_ / "tavik" / "Host" / "7.1" / "Tavik.vsk";
  EXPECT_EQ(editor_.bindings().Scheme(), platform::FromUtf8(scheme.string()));
  ASSERT_TRUE(fs::exists(scheme));
  EXPECT_TRUE(BindingsOf(u"Edit.Find").empty());
  // The scheme and its bindings are there for the next start.
  platform::EditorHost next;
  next.registry() = editor_.registry();
  next.AttachStoresToRegistry();
  EXPECT_EQ(next.bindings().Scheme(), editor_.bindings().Scheme());
  EXPECT_TRUE(next.bindings().Find(u"Edit.Find")->bindings.empty());
  EXPECT_FALSE(next.bindings().Find(u"Edit.Replace")->bindings.empty());
}

TEST_F(HostVersionTest, OtherHostsChangeBindingsDirectlyWithoutAScheme) {
  UseVersion("7.1\\Exp");  // something after the version: not a version 7 host
  Package package(editor_);
  EXPECT_FALSE(package.HostIsVersion7());
  package.ConnectAutomation();
  EXPECT_TRUE(BindingsOf(u"Edit.Find").empty());
  EXPECT_EQ(editor_.bindings().Scheme(), u"");
  EXPECT_FALSE(fs::exists(data_));
}

class PackageKeyBindingsTest : public ::testing::Test {
 protected:
  PackageKeyBindingsTest() {
    session_.OpenText("t.txt", "one\ntwo\n");
    session_.FocusFirstDocument();
  }
  Package& GetPackage() { return session_.Package(); }
  Settings& GetSettings() { return GetPackage().GetSettings(); }
  std::vector<std::u16string> FindBindings() {
    return session_.Editor().bindings().Find(u"Edit.Find")->bindings;
  }
  const std::vector<std::u16string> kFind = {u"Text Editor::Ctrl+F"};

  app::BatchSession session_;
};

TEST_F(PackageKeyBindingsTest, TheFirstConnectionRemovesAndRecordsOnceThenOffersTheManager) {
  EXPECT_EQ(FindBindings(), kFind);
  session_.FeedNotation("j");  // the first key connects
  EXPECT_TRUE(FindBindings().empty());
  EXPECT_TRUE(GetSettings().KeyboardScanned());
  const ClashList record = ParseRemovedKeySet(GetSettings().RemovedKeySet());
  EXPECT_NE(std::find(record.begin(), record.end(), ClashRecord{u"Edit.Find", kFind}),
            record.end());
  EXPECT_NE(std::find(record.begin(), record.end(),
                      ClashRecord{u"Edit.Redo", {u"Global::Ctrl+Y", u"Global::Ctrl+Shift+Z"}}),
            record.end());
  // Nothing clashes now: no question.
  EXPECT_EQ(session_.Editor().dialogs().AskedCount(), 0);

  // A later start finds a clash again: the user is asked, and Yes opens the manager's page.
  session_.Editor().bindings().SetBindings(u"Edit.Find", kFind);
  std::vector<std::u16string> opened;
  session_.Editor().SetFrontEndCommand(u"Tools.Options", [&](std::u16string_view argument) {
    opened.emplace_back(argument);
    return platform::CommandResult::kOk;
  });
  session_.SetAnswers({"y"});
  Package again(session_.Editor());
  again.ConnectAutomation();
  EXPECT_EQ(session_.Editor().dialogs().AskedCount(), 1);
  EXPECT_EQ(opened, std::vector<std::u16string>{u"Keyboard"});
  EXPECT_EQ(FindBindings(), kFind);  // the one-time removal is not repeated
  // With clashes allowed there is no question.
  again.GetSettings().PutBool(SettingId::kAllowKbdClashes, true);
  Package third(session_.Editor());
  third.ConnectAutomation();
  EXPECT_EQ(session_.Editor().dialogs().AskedCount(), 1);
  session_.Editor().SetFrontEndCommand(u"Tools.Options", nullptr);
}

TEST_F(PackageKeyBindingsTest, SwitchingOffRestoresAndOnRemovesOnlyWithDynamicRestore) {
  session_.FeedNotation("j");
  ASSERT_TRUE(FindBindings().empty());
  GetPackage().SetEnabled(false);  // the global toggle
  EXPECT_EQ(FindBindings(), kFind);
  GetPackage().SetEnabled(true);
  EXPECT_TRUE(FindBindings().empty());
  // Through the setting as well.
  SettingsObject& object = *GetPackage().GetAutomationObject(u"Tavik.General");
  object.PutBool(SettingId::kEnable, false);
  EXPECT_EQ(FindBindings(), kFind);
  object.PutBool(SettingId::kEnable, true);
  EXPECT_TRUE(FindBindings().empty());
  // Without "DynamicKbdRestore" the host stays without them.
  object.PutBool(SettingId::kDynamicKbdRestore, false);
  GetPackage().SetEnabled(false);
  EXPECT_TRUE(FindBindings().empty());
}

}  // namespace
}  // namespace tavik::host
