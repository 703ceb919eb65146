// Persistent settings: defaults, loading from a store, write-through puts and their failures.
#include "config/settings.h"

#include <gtest/gtest.h>

#include <string>

namespace tavik {
namespace {

TEST(SettingsTest, EmptyStoreGivesEveryDefault) {
  MemorySettingsStore store;
  const Settings settings(store);
  for (const SettingRow& row : kSettingTable) {
    if (row.type == SettingType::kBool) {
      EXPECT_EQ(settings.GetBool(row.id), row.default_bool) << row.name;
    } else {
      EXPECT_EQ(settings.GetString(row.id), row.default_string) << row.name;
    }
  }
  EXPECT_TRUE(settings.Enable());
  EXPECT_TRUE(settings.IgnoreCapsLock());
  EXPECT_TRUE(settings.Beep());
  EXPECT_FALSE(settings.UseVSSel());
  EXPECT_EQ(settings.FileTabCaption(), u" - vi");
  EXPECT_EQ(settings.ScanForClashes(), u"RFBDUWTQEYOINP]");
  EXPECT_EQ(settings.RemovedKeySet(), u"");

  OptionSet global;
  for (OptionId id :
       {OptionId::kIgnoreCase, OptionId::kSmartCase, OptionId::kIncSearch, OptionId::kHlSearch}) {
    global.SetBool(id, false);
  }
  CopyMirroredOptions(settings, global);
  EXPECT_TRUE(global.Bool(OptionId::kIgnoreCase));
  EXPECT_TRUE(global.Bool(OptionId::kSmartCase));
  EXPECT_TRUE(global.Bool(OptionId::kIncSearch));
  EXPECT_TRUE(global.Bool(OptionId::kHlSearch));
}

TEST(SettingsTest, LoadsStoredValuesAndFallsBackOnUnreadableOnes) {
  MemorySettingsStore store;
  store.WriteDword("Beep", 0);
  store.WriteDword("UseVSSel", 7);      // any non-zero value is true
  store.WriteString("Enable", u"yes");  // wrong type: unreadable
  store.WriteDword("ScanForClashes", 3);
  store.WriteString("RemovedKeySet", u"Edit.Undo,Ctrl+R");
  store.WriteDword("IgnoreCase", 0);
  const Settings settings(store);
  EXPECT_FALSE(settings.Beep());
  EXPECT_TRUE(settings.UseVSSel());
  EXPECT_TRUE(settings.Enable());
  EXPECT_EQ(settings.ScanForClashes(), u"RFBDUWTQEYOINP]");
  EXPECT_EQ(settings.RemovedKeySet(), u"Edit.Undo,Ctrl+R");

  OptionSet global;
  CopyMirroredOptions(settings, global);
  EXPECT_FALSE(global.Bool(OptionId::kIgnoreCase));
  EXPECT_TRUE(global.Bool(OptionId::kSmartCase));
}

TEST(SettingsTest, UnreachableStoreGivesDefaults) {
  MemorySettingsStore store;
  store.WriteDword("Beep", 0);
  store.set_reads_fail(true);
  Settings settings(store);
  EXPECT_TRUE(settings.Beep());
  store.set_reads_fail(false);
  EXPECT_FALSE(settings.ReadBool(SettingId::kBeep));  // a get reads the store again
  EXPECT_FALSE(settings.Beep());
}

TEST(SettingsTest, StoredCaptionIsReadOnlyWhenItFitsTheReadLimit) {
  MemorySettingsStore store;
  store.WriteString("FileTabCaption", std::u16string(255, u'c'));
  EXPECT_EQ(Settings(store).FileTabCaption().size(), 255u);
  store.WriteString("FileTabCaption", std::u16string(256, u'c'));
  EXPECT_EQ(Settings(store).FileTabCaption(), u" - vi");
}

TEST(SettingsTest, PutsWriteThroughAndUpdateTheCache) {
  MemorySettingsStore store;
  Settings settings(store);
  EXPECT_TRUE(settings.PutBool(SettingId::kBeep, false));
  EXPECT_FALSE(settings.Beep());
  EXPECT_EQ(store.ReadDword("Beep"), 0u);
  EXPECT_TRUE(settings.PutBool(SettingId::kLeaveVSMark, true));
  EXPECT_NE(store.ReadDword("LeaveVSMark").value_or(0), 0u);
  EXPECT_TRUE(settings.PutString(SettingId::kRemovedKeySet, u"x"));
  EXPECT_EQ(store.ReadString("RemovedKeySet"), u"x");

  const Settings reloaded(store);
  EXPECT_FALSE(reloaded.Beep());
  EXPECT_TRUE(reloaded.LeaveVSMark());
  EXPECT_EQ(reloaded.RemovedKeySet(), u"x");
}

TEST(SettingsTest, FailedPutChangesNothing) {
  MemorySettingsStore store;
  Settings settings(store);
  store.set_writes_fail(true);
  EXPECT_FALSE(settings.PutBool(SettingId::kEnable, false));
  EXPECT_TRUE(settings.Enable());
  EXPECT_FALSE(settings.PutString(SettingId::kScanForClashes, u"AB"));
  EXPECT_EQ(settings.ScanForClashes(), u"RFBDUWTQEYOINP]");
  EXPECT_EQ(store.write_count(), 0u);
}

TEST(SettingsTest, OverlongCaptionIsRefusedAndTheOldValueStays) {
  MemorySettingsStore store;
  Settings settings(store);
  ASSERT_TRUE(settings.PutString(SettingId::kFileTabCaption, u" - edit"));
  EXPECT_FALSE(settings.PutString(SettingId::kFileTabCaption, std::u16string(300, u'x')));
  EXPECT_EQ(settings.FileTabCaption(), u" - edit");
  EXPECT_EQ(store.ReadString("FileTabCaption"), u" - edit");
  EXPECT_TRUE(settings.PutString(SettingId::kFileTabCaption, std::u16string(256, u'x')));
  EXPECT_EQ(settings.FileTabCaption().size(), 256u);
}

}  // namespace
}  // namespace tavik
