// The settings object the package hands out: defaults on an empty registry, what each put does
// to the engine at once, the puts it refuses, and the package's lifecycle around it.
#include "host/settings_object.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/batch_session.h"
#include "host/package.h"
#include "host/registry_settings_store.h"
#include "platform/utf8_codec.h"
#include "platform/view.h"

namespace tavik::host {
namespace {

using platform::HResult;

class SettingsObjectTest : public ::testing::Test {
 protected:
  SettingsObjectTest() {
    session_.OpenText("t.txt", "Foo foo\nbar\n");
    session_.FocusFirstDocument();
  }
  SettingsObject& Object() { return *session_.Package().GetAutomationObject(u"Tavik.General"); }
  OptionSet& Global() { return session_.Package().Engine().GlobalOptions(); }
  std::optional<uint32_t> Stored(std::string_view name) {
    return session_.Editor().registry().Dword(SettingsKey(session_.Editor().LocalRegistryRoot()),
                                              name);
  }

  app::BatchSession session_;
};

TEST_F(SettingsObjectTest, AnEmptyRegistryGivesEveryDefault) {
  for (const SettingRow& row : kSettingTable) {
    SCOPED_TRACE(row.name);
    if (row.type == SettingType::kBool) {
      bool value = !row.default_bool;
      ASSERT_EQ(Object().GetBool(row.id, &value), HResult::kOk);
      EXPECT_EQ(value, row.default_bool);
    } else {
      std::u16string value = u"?";
      ASSERT_EQ(Object().GetString(row.id, &value), HResult::kOk);
      EXPECT_EQ(value, row.default_string);
    }
  }
  for (OptionId id :
       {OptionId::kIgnoreCase, OptionId::kSmartCase, OptionId::kIncSearch, OptionId::kHlSearch}) {
    EXPECT_TRUE(Global().Bool(id));
  }
  EXPECT_TRUE(session_.Package().Enabled());
  EXPECT_TRUE(session_.Package().WelcomePending());
  EXPECT_TRUE(session_.Editor().registry().Keys().size() > 0);  // the registration alone
  EXPECT_FALSE(Stored("Enable"));
}

TEST_F(SettingsObjectTest, PutsTakeEffectAtOnce) {
  // The case options follow at once, in the highlights too.
  session_.FeedNotation("/foo<CR>");
  const auto& markers = session_.Editor().FocusedView()->Buffer().Markers();
  EXPECT_EQ(markers.Of(platform::HighlightKind::kSearch).size(), 2u);
  ASSERT_EQ(Object().PutBool(SettingId::kIgnoreCase, false), HResult::kOk);
  EXPECT_FALSE(Global().Bool(OptionId::kIgnoreCase));
  EXPECT_FALSE(session_.Package()
                   .Attachment(*session_.Editor().FocusedView())
                   ->options.Bool(OptionId::kIgnoreCase));
  EXPECT_EQ(markers.Of(platform::HighlightKind::kSearch).size(), 1u);
  EXPECT_EQ(Stored("IgnoreCase"), 0u);
  ASSERT_EQ(Object().PutBool(SettingId::kHLSearch, false), HResult::kOk);
  EXPECT_TRUE(markers.Of(platform::HighlightKind::kSearch).empty());

  // The clipboard register mode.
  ASSERT_EQ(Object().PutBool(SettingId::kDefaultWinClipboard, false), HResult::kOk);
  session_.FeedNotation("yy");
  EXPECT_FALSE(session_.Editor().clipboard().Text());

  // Enable: off leaves a pending insertion in normal mode and the host types the keys; the
  // stored value follows; on again, keys are commands.
  session_.FeedNotation("ggix");
  ASSERT_EQ(Object().PutBool(SettingId::kEnable, false), HResult::kOk);
  EXPECT_FALSE(session_.Package().Enabled());
  EXPECT_EQ(session_.Package().Engine().Mode(), EngineMode::kNormal);
  session_.FeedNotation("dd");
  EXPECT_EQ(session_.BufferTextUtf8(), "ddxFoo foo\nbar\n");
  ASSERT_EQ(Object().PutBool(SettingId::kEnable, true), HResult::kOk);
  session_.FeedNotation("dd");
  EXPECT_EQ(session_.BufferTextUtf8(), "bar\n");
  EXPECT_EQ(Stored("Enable"), 0xFFFFFFFFu);

  // The global toggle changes the live flag alone.
  session_.Package().SetEnabled(false);
  bool stored = false;
  ASSERT_EQ(Object().GetBool(SettingId::kEnable, &stored), HResult::kOk);
  EXPECT_TRUE(stored);
}

TEST_F(SettingsObjectTest, RefusedPutsChangeNothing) {
  ASSERT_EQ(Object().PutString(SettingId::kFileTabCaption, u" - mine"), HResult::kOk);
  EXPECT_EQ(Object().PutString(SettingId::kFileTabCaption, std::u16string(300, u'x')),
            HResult::kFail);
  std::u16string caption;
  ASSERT_EQ(Object().GetString(SettingId::kFileTabCaption, &caption), HResult::kOk);
  EXPECT_EQ(caption, u" - mine");
  EXPECT_EQ(Object().PutString(SettingId::kFileTabCaption, std::u16string(256, u'x')),
            HResult::kOk);
  // A stored caption of 257 units or more takes 514 bytes or more: it reads as the default.
  ASSERT_TRUE(
      session_.Editor().registry().SetString(SettingsKey(session_.Editor().LocalRegistryRoot()),
                                             "FileTabCaption", std::u16string(257, u'y')));
  ASSERT_EQ(Object().GetString(SettingId::kFileTabCaption, &caption), HResult::kOk);
  EXPECT_EQ(caption, u" - vi");

  EXPECT_EQ(Object().GetBool(SettingId::kBeep, nullptr), HResult::kPointer);
  EXPECT_EQ(Object().GetString(SettingId::kRemovedKeySet, nullptr), HResult::kPointer);
  EXPECT_EQ(Object().PutBool(SettingId::kFileTabCaption, true), HResult::kFail);
  EXPECT_EQ(Object().PutString(SettingId::kBeep, u"1"), HResult::kFail);

  // A registry that cannot be written refuses a put: the option and the switch stay.
  session_.Editor().registry().SetBackingFile("/nonexistent-folder/registry.reg");
  EXPECT_EQ(Object().PutBool(SettingId::kIgnoreCase, false), HResult::kFail);
  EXPECT_TRUE(Global().Bool(OptionId::kIgnoreCase));
  EXPECT_TRUE(session_.Package().GetSettings().IgnoreCase());
}

TEST_F(SettingsObjectTest, LifecycleFromSitingToClose) {
  Package& package = session_.Package();
  EXPECT_EQ(package.GetAutomationObject(u"tAVIK.gENERAL"), &Object());
  EXPECT_EQ(package.GetAutomationObject(u"Tavik.Generals"), nullptr);
  EXPECT_EQ(package.GetAutomationObject(u"Tavik.Keyboard"), nullptr);
  EXPECT_EQ(package.VersionText(), u"Tavik 0.1 - modal editing engine");
  EXPECT_FALSE(package.HostIsVersion7());

  // The first key connects; errors of the startup file bring the output pane forward then.
  const auto rc =
      std::filesystem::temp_directory_path() / ("tavik-settings-rc-" + std::to_string(::getpid()));
  {
    std::ofstream(rc) << "#one\n";  // not a command: an error line
  }
  ASSERT_TRUE(package.RunStartupFile({StartupSource::Kind::kFile, rc, {}}));
  std::filesystem::remove(rc);
  EXPECT_EQ(package.LifecycleState(), Package::State::kSited);
  const int shows = session_.Editor().output().ShowCount();
  session_.FeedNotation("j");
  EXPECT_EQ(package.LifecycleState(), Package::State::kAutomationConnected);
  EXPECT_EQ(session_.Editor().output().ShowCount(), shows + 1);
  session_.FeedNotation("j");
  EXPECT_EQ(session_.Editor().output().ShowCount(), shows + 1);

  ASSERT_EQ(package.Close(), HResult::kOk);
  EXPECT_EQ(package.LifecycleState(), Package::State::kClosed);
  EXPECT_EQ(package.Close(), HResult::kUnexpected);
  EXPECT_EQ(package.ConnectAutomation(), HResult::kUnexpected);
  EXPECT_EQ(package.GetAutomationObject(u"Tavik.General"), nullptr);
  // Keys reach the host unchanged.
  session_.FeedNotation("x");
  EXPECT_EQ(session_.BufferTextUtf8(), "Foo foo\nbar\nx");
}

TEST(PackageRootTest, AVersionSevenHostIsTheRootsVersionAlone) {
  for (const auto& [version, seven] : std::vector<std::pair<std::u16string, bool>>{
           {u"7.1", true}, {u"7", true}, {u"7.1\\Exp", false}, {u"17.0", false}, {u"", false}}) {
    platform::EditorHost editor;
    ASSERT_TRUE(editor.registry().SetString("HKEY_CURRENT_USER\\Software\\Tavik\\Host", "Version",
                                            version));
    Package package(editor);
    EXPECT_EQ(package.HostIsVersion7(), seven) << platform::ToUtf8(version);
  }
}

}  // namespace
}  // namespace tavik::host
