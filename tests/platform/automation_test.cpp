// The host's automation surface: command events before and after editor commands and named
// commands, a cancelling handler keeping the host's own handling away, add-in commands run by
// name, add-in markers; and custom keyboard schemes kept in their file across starts.
#include "platform/automation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/editor_host.h"
#include "platform/keyboard_scheme.h"

namespace tavik::platform {
namespace {

namespace fs = std::filesystem;

struct Heard {
  std::string group;
  uint32_t id;
  bool before;
  friend bool operator==(const Heard&, const Heard&) = default;
};

TEST(AutomationTest, CommandEventsHearEditorAndNamedCommandsAndMayCancelThem) {
  EditorHost host;
  host.OpenText(u"abc\n");
  View& view = *host.FocusedView();
  std::vector<Heard> heard;
  bool cancel_next = false;
  const uint64_t events = host.automation().AddCommandEvents(
      [&](std::string_view group, uint32_t id, bool& cancel) {
        heard.push_back({std::string(group), id, true});
        cancel = std::exchange(cancel_next, false);
      },
      [&](std::string_view group, uint32_t id) {
        heard.push_back({std::string(group), id, false});
      });

  const std::string std2k(CommandGroupGuid(CommandGroup::kStandard2K));
  host.SendCommand(view, {CommandGroup::kStandard2K, cmd2k::kRight, 0});
  EXPECT_EQ(view.Caret(), (TextPos{0, 1}));
  EXPECT_EQ(heard,
            (std::vector<Heard>{{std2k, cmd2k::kRight, true}, {std2k, cmd2k::kRight, false}}));
  heard.clear();
  cancel_next = true;
  host.SendCommand(view, {CommandGroup::kStandard2K, cmd2k::kRight, 0});
  EXPECT_EQ(view.Caret(), (TextPos{0, 1}));  // cancelled: the editor never moved
  EXPECT_EQ(heard, (std::vector<Heard>{{std2k, cmd2k::kRight, true}}));

  // Named commands, the host's own and an add-in's.
  heard.clear();
  int runs = 0;
  host.automation().AddCommand({u"AddIn.Do", "{11111111-2222-3333-4444-555555555555}", 42,
                                [&](std::u16string_view argument) {
                                  runs += argument == u"x" ? 1 : 100;
                                  return CommandResult::kOk;
                                }});
  EXPECT_EQ(host.Execute(u"AddIn.Do x"), CommandResult::kOk);
  EXPECT_EQ(runs, 1);
  cancel_next = true;
  EXPECT_EQ(host.Execute(u"AddIn.Do", u"x"), CommandResult::kOk);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(host.Execute(u"Edit.SelectAll"), CommandResult::kOk);
  ASSERT_EQ(heard.size(), 5u);
  EXPECT_EQ(heard[0], (Heard{"{11111111-2222-3333-4444-555555555555}", 42, true}));
  EXPECT_EQ(heard[3].group, kHostCommandsGuid);
  host.automation().RemoveCommand(u"AddIn.Do");
  EXPECT_EQ(host.Execute(u"AddIn.Do"), CommandResult::kFail);

  host.automation().RemoveCommandEvents(events);
  heard.clear();
  host.SendCommand(view, {CommandGroup::kStandard2K, cmd2k::kLeft, 0});
  EXPECT_TRUE(heard.empty());
}

TEST(AutomationTest, AddInsAndTheirMarkers) {
  Automation automation;
  const uint64_t first = automation.AddAddIn({u"One", true});
  automation.AddAddIn({u"Two", false});
  automation.RemoveAddIn(first);
  ASSERT_EQ(automation.AddIns().size(), 1u);
  EXPECT_EQ(automation.AddIns()[0].name, u"Two");
  automation.PlaceMarker(1, 5, {0, 0}, {0, 3});
  automation.PlaceMarker(1, 5, {1, 0}, {1, 1});
  automation.PlaceMarker(2, 5, {0, 0}, {0, 1});
  EXPECT_EQ(automation.MarkerCount(1, 5), 2u);
  EXPECT_EQ(automation.MarkerCount(1, 6), 0u);
  automation.ClearMarkers(1, 5);
  EXPECT_EQ(automation.MarkerCount(1, 5), 0u);
  EXPECT_EQ(automation.MarkerCount(2, 5), 1u);
}

TEST(KeyboardSchemeTest, ACustomSchemeKeepsChangesInItsFileAcrossStarts) {
  const fs::path folder = fs::temp_directory_path() / ("tavik_scheme_" + std::to_string(getpid()));
  fs::remove_all(folder);
  const std::string file = (folder / "sub" / "Tavik.vsk").string();
  RegistryStore registry;
  CommandBindings bindings;
  bindings.SetSchemeRequired(true);
  bindings.Persist(&registry, "HKEY_CURRENT_USER\\Root\\Keyboard\\Bindings");
  EXPECT_FALSE(bindings.SetBindings(u"Edit.Find", {}));
  ASSERT_TRUE(bindings.SetScheme(platform::FromUtf8(file)));
  ASSERT_TRUE(bindings.SetBindings(u"Edit.Find", {u"Global::Alt+F3"}));
  EXPECT_FALSE(registry.String("HKEY_CURRENT_USER\\Root\\Keyboard\\Bindings", "Edit.Find"));
  const std::optional<SchemeEntries> entries = ReadSchemeFile(file);
  ASSERT_TRUE(entries);
  EXPECT_EQ(*entries, (SchemeEntries{{u"Edit.Find", u"Global::Alt+F3"}}));

  CommandBindings next;
  next.Persist(&registry, "HKEY_CURRENT_USER\\Root\\Keyboard\\Bindings");
  EXPECT_EQ(next.Find(u"Edit.Find")->bindings, std::vector<std::u16string>{u"Global::Alt+F3"});
  // A scheme file that cannot be written is refused and the bindings stay.
  std::ofstream(folder / "blocker") << "x";
  EXPECT_FALSE(next.SetScheme(platform::FromUtf8((folder / "blocker" / "Tavik.vsk").string())));
  EXPECT_EQ(next.Scheme(), platform::FromUtf8(file));
  std::error_code ec;
  fs::remove_all(folder, ec);
}

}  // namespace
}  // namespace tavik::platform
