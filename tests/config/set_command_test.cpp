// The `set` command: argument syntax, what is stored where, and the messages it produces.
#include "config/set_command.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

constexpr std::u16string_view kDefaultListing =
    u"---Options---   ignorecase smartcase magic noviundo incsearch vaxesc nogdefault hlsearch "
    u"remap wrapscan nolist timeout timeoutlen=1000 nrformats=octal,hex nohidestatus";

class SetCommandTest : public ::testing::Test {
 protected:
  SetOutcome Set(std::u16string_view argument) { return RunSetCommand(argument, global_, &view_); }
  SetOutcome SetFromStartup(std::u16string_view argument) {
    return RunSetCommand(argument, global_, nullptr);
  }
  void ExpectUnknown(std::u16string_view argument) {
    OptionSet before_view = view_;
    OptionSet before_global = global_;
    const SetOutcome outcome = Set(argument);
    EXPECT_EQ(outcome.message, u"Unknown option");
    EXPECT_EQ(outcome.stored_id, OptionId::kNull);
    EXPECT_EQ(OptionListing(view_), OptionListing(before_view));
    EXPECT_EQ(OptionListing(global_), OptionListing(before_global));
  }

  OptionSet global_;
  OptionSet view_ = global_.CopyForView();
};

TEST_F(SetCommandTest, EmptyArgumentAndAllGiveTheListing) {
  EXPECT_EQ(Set(u"").message, kDefaultListing);
  EXPECT_EQ(Set(u"all").message, kDefaultListing);
  EXPECT_EQ(Set(u"all!").message, kDefaultListing);  // only the leading letters count
  EXPECT_EQ(Set(u"").stored_id, OptionId::kNull);
  ExpectUnknown(u"allx");
  ExpectUnknown(u"All");
}

TEST_F(SetCommandTest, ListingShowsCurrentValuesReadThroughTheView) {
  Set(u"noic");
  Set(u"tm=5");
  Set(u"nf=alpha");
  const std::u16string listing = Set(u"").message;
  EXPECT_NE(listing.find(u" noignorecase "), std::u16string::npos);
  EXPECT_NE(listing.find(u" timeoutlen=5 "), std::u16string::npos);
  EXPECT_NE(listing.find(u" nrformats=alpha "), std::u16string::npos);
}

TEST_F(SetCommandTest, BooleanForms) {
  EXPECT_EQ(Set(u"noic").stored_id, OptionId::kIgnoreCase);
  EXPECT_FALSE(view_.Bool(OptionId::kIgnoreCase));
  Set(u"invic");
  EXPECT_TRUE(view_.Bool(OptionId::kIgnoreCase));
  Set(u"ic!");
  EXPECT_FALSE(view_.Bool(OptionId::kIgnoreCase));
  Set(u"ic!");
  EXPECT_TRUE(view_.Bool(OptionId::kIgnoreCase));
  Set(u"noignorecase");
  const SetOutcome outcome = Set(u"ic");
  EXPECT_TRUE(view_.Bool(OptionId::kIgnoreCase));
  EXPECT_TRUE(outcome.message.empty());
  EXPECT_EQ(outcome.stored_id, OptionId::kIgnoreCase);
}

TEST_F(SetCommandTest, BooleanQuestionMarkShowsTheValueAndChangesNothing) {
  Set(u"noic");
  SetOutcome outcome = Set(u"ic?");
  EXPECT_EQ(outcome.message, u"noignorecase");
  EXPECT_EQ(outcome.stored_id, OptionId::kNull);
  EXPECT_FALSE(global_.Bool(OptionId::kIgnoreCase));
  EXPECT_FALSE(view_.Bool(OptionId::kIgnoreCase));
  EXPECT_EQ(Set(u"noignorecase?").message, u"noignorecase");  // the prefix does not count
  EXPECT_EQ(Set(u"ws?").message, u"wrapscan");
  EXPECT_TRUE(global_.Bool(OptionId::kWrapScan));
  EXPECT_EQ(SetFromStartup(u"hls?").message, u"hlsearch");
}

TEST_F(SetCommandTest, BooleanIgnoresWhatFollowsTheName) {
  Set(u"ic =0");
  EXPECT_TRUE(global_.Bool(OptionId::kIgnoreCase));
  Set(u"ic !");  // the bang must follow the name directly
  EXPECT_TRUE(global_.Bool(OptionId::kIgnoreCase));
  Set(u"noic!");  // the bang wins over the prefix
  EXPECT_FALSE(global_.Bool(OptionId::kIgnoreCase));
}

TEST_F(SetCommandTest, NumberNeedsEqualsAndReadsLeadingDigits) {
  EXPECT_EQ(Set(u"tm=250").stored_id, OptionId::kTimeoutLen);
  EXPECT_EQ(global_.Number(OptionId::kTimeoutLen), 250u);
  Set(u"tm =300");
  EXPECT_EQ(global_.Number(OptionId::kTimeoutLen), 300u);
  Set(u"tm= 250");
  EXPECT_EQ(global_.Number(OptionId::kTimeoutLen), 0u);
  Set(u"timeoutlen=12ab");
  EXPECT_EQ(global_.Number(OptionId::kTimeoutLen), 12u);
  Set(u"tm=99999999999999999999");
  EXPECT_EQ(global_.Number(OptionId::kTimeoutLen), 0xFFFFFFFFu);
  Set(u"notm=7");  // off and invert prefixes do not apply to numbers
  EXPECT_EQ(global_.Number(OptionId::kTimeoutLen), 7u);
}

TEST_F(SetCommandTest, NumberOrStringWithoutEqualsIsShownNotChanged) {
  SetOutcome outcome = Set(u"tm");
  EXPECT_EQ(outcome.message, u"timeoutlen=1000");
  EXPECT_EQ(outcome.stored_id, OptionId::kNull);
  EXPECT_EQ(Set(u"nf").message, u"nrformats=octal,hex");
  EXPECT_EQ(Set(u"tm?").message, u"timeoutlen=1000");
  EXPECT_EQ(Set(u"invtm").message, u"timeoutlen=1000");
  EXPECT_EQ(global_.Number(OptionId::kTimeoutLen), 1000u);
}

TEST_F(SetCommandTest, StringTakesAllTheRestBlanksIncluded) {
  EXPECT_EQ(Set(u"nf=hex,alpha").stored_id, OptionId::kNrFormats);
  EXPECT_EQ(view_.String(OptionId::kNrFormats), u"hex,alpha");
  EXPECT_EQ(global_.String(OptionId::kNrFormats), u"hex,alpha");
  EXPECT_EQ(global_.CopyForView().String(OptionId::kNrFormats), u"hex,alpha");
  Set(u"nf = octal x ");
  EXPECT_EQ(view_.String(OptionId::kNrFormats), u" octal x ");
  Set(u"nf=");
  EXPECT_EQ(view_.String(OptionId::kNrFormats), u"");
}

TEST_F(SetCommandTest, UnknownNames) {
  ExpectUnknown(u"nonumber");
  ExpectUnknown(u"IC");
  ExpectUnknown(u"=5");
  ExpectUnknown(u"!");
  ExpectUnknown(u"no");
  ExpectUnknown(u"inv");
  ExpectUnknown(u"ignore");
  ExpectUnknown(u"\u00E9");
}

TEST_F(SetCommandTest, InvertReadsThroughTheViewInTheViewVariant) {
  OptionSet other_view = global_.CopyForView();
  Set(u"invhls");
  EXPECT_FALSE(global_.Bool(OptionId::kHlSearch));
  EXPECT_FALSE(other_view.Bool(OptionId::kHlSearch));
  EXPECT_EQ(Set(u"hls").stored_id, OptionId::kHlSearch);
}

TEST_F(SetCommandTest, StartupVariantWritesTheGlobalSetOnly) {
  const SetOutcome outcome = SetFromStartup(u"nf=hex");
  EXPECT_EQ(outcome.stored_id, OptionId::kNrFormats);
  EXPECT_EQ(global_.String(OptionId::kNrFormats), u"hex");
  EXPECT_EQ(view_.String(OptionId::kNrFormats), u"octal,hex");
  SetFromStartup(u"invws");
  EXPECT_FALSE(global_.Bool(OptionId::kWrapScan));
  EXPECT_EQ(SetFromStartup(u"bogus").message, u"Unknown option");
  EXPECT_NE(SetFromStartup(u"").message.find(u" nrformats=hex "), std::u16string::npos);
}

}  // namespace
}  // namespace tavik
