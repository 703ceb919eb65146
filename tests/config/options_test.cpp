// The option table accessors, name lookup and the global/per-view value sets.
#include "config/options.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

constexpr auto kBeyondTable = static_cast<OptionId>(16);

TEST(OptionTableTest, AccessorsGiveNeutralValuesOutsideTheTable) {
  EXPECT_EQ(OptionTypeOf(kBeyondTable), OptionType::kNone);
  EXPECT_EQ(OptionName(kBeyondTable), "invalid-option");
  EXPECT_FALSE(IsGlobalOption(kBeyondTable));
  EXPECT_FALSE(DefaultBool(kBeyondTable));
  EXPECT_EQ(DefaultNumber(kBeyondTable), 0u);
  EXPECT_TRUE(DefaultString(kBeyondTable).empty());
}

TEST(OptionTableTest, OnlyNrformatsIsPerView) {
  for (const OptionRow& row : kOptionTable) {
    if (row.id == OptionId::kNull) continue;
    EXPECT_EQ(IsGlobalOption(row.id), row.id != OptionId::kNrFormats) << row.name;
  }
}

TEST(FindOptionTest, FullNamesAndAbbreviations) {
  EXPECT_EQ(FindOption(u"ignorecase"), OptionId::kIgnoreCase);
  EXPECT_EQ(FindOption(u"ic"), OptionId::kIgnoreCase);
  EXPECT_EQ(FindOption(u"scs"), OptionId::kSmartCase);
  EXPECT_EQ(FindOption(u"tm"), OptionId::kTimeoutLen);
  EXPECT_EQ(FindOption(u"timeout"), OptionId::kTimeout);
  EXPECT_EQ(FindOption(u"to"), OptionId::kTimeout);
  EXPECT_EQ(FindOption(u"nf"), OptionId::kNrFormats);
  EXPECT_EQ(FindOption(u"list"), OptionId::kList);
  EXPECT_EQ(FindOption(u"hidestatus"), OptionId::kHideStatus);
}

TEST(FindOptionTest, NoPrefixesNoCaseFoldingAndNoPlaceholder) {
  EXPECT_EQ(FindOption(u""), OptionId::kNull);  // rows without an abbreviation must not match
  EXPECT_EQ(FindOption(u"IC"), OptionId::kNull);
  EXPECT_EQ(FindOption(u"Ignorecase"), OptionId::kNull);
  EXPECT_EQ(FindOption(u"ignore"), OptionId::kNull);
  EXPECT_EQ(FindOption(u"ignorecasex"), OptionId::kNull);
  EXPECT_EQ(FindOption(u"null opt"), OptionId::kNull);
  EXPECT_EQ(FindOption(u"n o"), OptionId::kNull);
  EXPECT_EQ(FindOption(u"number"), OptionId::kNull);
}

TEST(OptionSetTest, GlobalSetStartsWithTheDefaults) {
  const OptionSet global;
  EXPECT_TRUE(global.IsGlobalSet());
  EXPECT_TRUE(global.Bool(OptionId::kIgnoreCase));
  EXPECT_TRUE(global.Bool(OptionId::kSmartCase));
  EXPECT_TRUE(global.Bool(OptionId::kIncSearch));
  EXPECT_TRUE(global.Bool(OptionId::kHlSearch));
  EXPECT_FALSE(global.Bool(OptionId::kViUndo));
  EXPECT_FALSE(global.Bool(OptionId::kGDefault));
  EXPECT_FALSE(global.Bool(OptionId::kList));
  EXPECT_EQ(global.Number(OptionId::kTimeoutLen), 1000u);
  EXPECT_EQ(global.String(OptionId::kNrFormats), u"octal,hex");
}

TEST(OptionSetTest, ViewReadsGlobalOptionsFromTheGlobalSetAndItsOwnPerViewOptions) {
  OptionSet global;
  OptionSet view = global.CopyForView();
  EXPECT_FALSE(view.IsGlobalSet());

  // A stale per-view slot of a global option is never seen through the view.
  view.SetBool(OptionId::kWrapScan, false);
  EXPECT_TRUE(view.Bool(OptionId::kWrapScan));
  global.SetNumber(OptionId::kTimeoutLen, 250);
  EXPECT_EQ(view.Number(OptionId::kTimeoutLen), 250u);

  // nrformats belongs to the view.
  global.SetString(OptionId::kNrFormats, u"hex");
  EXPECT_EQ(view.String(OptionId::kNrFormats), u"octal,hex");
  view.SetString(OptionId::kNrFormats, u"alpha");
  EXPECT_EQ(view.String(OptionId::kNrFormats), u"alpha");
  EXPECT_EQ(global.String(OptionId::kNrFormats), u"hex");

  // A view attached later starts from the global values of that moment.
  EXPECT_EQ(global.CopyForView().String(OptionId::kNrFormats), u"hex");
}

}  // namespace
}  // namespace tavik
