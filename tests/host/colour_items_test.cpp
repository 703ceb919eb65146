// The package's marker types in the host's colour settings: listed with their names, colours and
// priorities, numbered by the host, recoloured and kept in the registry; and the visual
// selection shown with the selection marker, or with the host's selection under "UseVSSel".
#include <gtest/gtest.h>

#include "app/batch_session.h"
#include "host/marker_types.h"
#include "platform/colour_items.h"
#include "platform/view.h"

namespace tavik {
namespace {

using platform::ColourItem;
using platform::HighlightKind;
using platform::HighlightSpan;
namespace colour = platform::colour;

TEST(ColourItemsTest, ThePackageListsItsThreeItemsWithTheirColoursAndPriorities) {
  app::BatchSession session;
  const platform::ColourItems& items = session.Editor().colours();
  struct Expected {
    const char16_t* name;
    uint32_t foreground, background;
    int32_t priority;
    HighlightKind layer;
  };
  const Expected expected[] = {
      {u"Tavik Selection", colour::kBlack, colour::kLightGray, 901, HighlightKind::kSelection},
      {u"Tavik hlsearch", colour::kBlack, colour::kYellow, 900, HighlightKind::kSearch},
      {u"Tavik Incremental Search", colour::kWhite, colour::kBlack, 902, HighlightKind::kIncSearch},
  };
  ASSERT_EQ(items.Items().size(), 3u);
  for (const Expected& e : expected) {
    const ColourItem* item = items.Find(e.name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->foreground, e.foreground);
    EXPECT_EQ(item->background, e.background);
    EXPECT_EQ(item->priority, e.priority);
    EXPECT_EQ(item->merging_priority, -10);
    EXPECT_EQ(item->visual_style, 2u);
    EXPECT_EQ(items.ItemOfLayer(e.layer), item);
  }
  // The host numbered the types; the package holds the numbers, one per layer, none twice.
  const host::MarkerTypeIds& ids = session.Package().MarkerTypes();
  EXPECT_NE(ids.Of(HighlightKind::kSelection), 0u);
  EXPECT_NE(ids.Of(HighlightKind::kSelection), ids.Of(HighlightKind::kSearch));
  EXPECT_NE(ids.Of(HighlightKind::kSearch), ids.Of(HighlightKind::kIncSearch));
  EXPECT_EQ(items.RegisteredMarkerTypeId("{0b461f6d-8f34-494a-a07a-2ec3d6118833}"),
            ids.Of(HighlightKind::kSearch));
  EXPECT_EQ(items.RegisteredMarkerTypeId("{00000000-0000-0000-0000-000000000000}"), 0u);
  // Higher priority is drawn later, over the others.
  const auto order = items.DrawingOrder();
  EXPECT_EQ(order[0], HighlightKind::kSearch);
  EXPECT_EQ(order[1], HighlightKind::kSelection);
  EXPECT_EQ(order[2], HighlightKind::kIncSearch);
}

TEST(ColourItemsTest, RecolouringPersistsInTheRegistryAndIsReadAtTheNextStart) {
  platform::RegistryStore registry;
  {
    platform::ColourItems items;
    items.Persist(&registry, "Software\\Tavik\\FontAndColors\\Text Editor");
    host::MarkerTypeIds ids;
    ids.Register(items);
    EXPECT_TRUE(items.Recolour(u"Tavik hlsearch", colour::kWhite, colour::kRed));
    EXPECT_FALSE(items.Recolour(u"Tavik hlsearch", 99, colour::kRed));  // no such colour
    EXPECT_FALSE(items.Recolour(u"No such item", colour::kWhite, colour::kRed));
  }
  const std::string key = "Software\\Tavik\\FontAndColors\\Text Editor\\Tavik hlsearch";
  EXPECT_EQ(registry.Dword(key, "Foreground"), colour::kWhite);
  EXPECT_EQ(registry.Dword(key, "Background"), colour::kRed);
  // A value that is no colour is ignored: the package's colour applies.
  registry.SetDword("Software\\Tavik\\FontAndColors\\Text Editor\\Tavik Selection", "Background",
                    1000);
  platform::ColourItems again;
  again.Persist(&registry, "Software\\Tavik\\FontAndColors\\Text Editor");
  host::MarkerTypeIds().Register(again);
  EXPECT_EQ(again.Find(u"Tavik hlsearch")->foreground, colour::kWhite);
  EXPECT_EQ(again.Find(u"Tavik hlsearch")->background, colour::kRed);
  EXPECT_EQ(again.Find(u"Tavik Selection")->background, colour::kLightGray);
  EXPECT_TRUE(again.ResetColours(u"Tavik hlsearch"));
  EXPECT_EQ(again.Find(u"Tavik hlsearch")->background, colour::kYellow);
  EXPECT_FALSE(registry.Dword(key, "Background"));
}

TEST(ColourItemsTest, TheHigherPriorityIsDrawnOverTheOthers) {
  platform::ColourItems items;
  host::MarkerTypeIds().Register(items);
  platform::MarkerTypeDefinition search = host::kMarkerTypes[1];
  search.priority = 950;  // now above the incremental-search match
  items.RegisterMarkerType(search);
  EXPECT_EQ(items.Items().size(), 3u);  // the same type again, not a new one
  const auto order = items.DrawingOrder();
  EXPECT_EQ(order[2], HighlightKind::kSearch);
  EXPECT_EQ(order[1], HighlightKind::kIncSearch);
}

TEST(SelectionDisplayTest, VisualModeUsesTheSelectionMarkerUnlessUseVSSel) {
  app::BatchSession session;
  session.OpenText("t.txt", "abc def\nghi jkl\nxyz\n");
  session.FocusFirstDocument();
  platform::View& view = *session.Editor().FocusedView();
  const auto& markers = view.Buffer().Markers();
  session.FeedNotation("vl");
  EXPECT_EQ(markers.Of(HighlightKind::kSelection), (std::vector<HighlightSpan>{{{0, 0}, {0, 1}}}));
  EXPECT_TRUE(view.Selection().Empty());
  // Linewise: whole lines; blockwise: the block's columns on each line.
  session.FeedNotation("Vj");
  EXPECT_EQ(markers.Of(HighlightKind::kSelection), (std::vector<HighlightSpan>{{{0, 0}, {1, 7}}}));
  session.FeedNotation("<C-v>");
  EXPECT_EQ(markers.Of(HighlightKind::kSelection),
            (std::vector<HighlightSpan>{{{0, 0}, {0, 2}}, {{1, 0}, {1, 2}}}));
  session.FeedNotation("<Esc>");
  EXPECT_TRUE(markers.Of(HighlightKind::kSelection).empty());

  // With the host's selection: no marker, and switching while visual changes the display.
  session.FeedNotation("gg0vl");
  ASSERT_EQ(session.Package().GetSettings().PutBool(SettingId::kUseVSSel, true), true);
  session.Package().ResetSelectionDisplay();
  EXPECT_TRUE(markers.Of(HighlightKind::kSelection).empty());
  EXPECT_EQ(view.Selection().Start(), (TextPos{0, 0}));
  EXPECT_EQ(view.Selection().End(), (TextPos{0, 1}));
  session.FeedNotation("l");
  EXPECT_EQ(view.Selection().End(), (TextPos{0, 2}));
  EXPECT_TRUE(markers.Of(HighlightKind::kSelection).empty());
  session.FeedNotation("<Esc>");
  EXPECT_TRUE(view.Selection().Empty());
}

}  // namespace
}  // namespace tavik
