// The embedding facade over the fake host: views attached and detached, shared registers,
// marks that follow edits, options and startup lines, switching off, settings from the store.
#include "tavik/engine.h"

#include <gtest/gtest.h>

#include "engine/fake_host_view.h"

namespace tavik {
namespace {

class EngineFacadeTest : public ::testing::Test {
 protected:
  // Keys in notation, upper-case letters with Shift as a keyboard sends them. Returns how many
  // the engine left to the host.
  int Keys(HostView& view, std::u16string_view notation) {
    int left = 0;
    for (KeyCode key : ParseKeys(notation)) {
      if (key.IsChar() && key.code >= u'A' && key.code <= u'Z') key.flags |= key_mod::kShift;
      if (!engine_.FeedKey(view, key)) ++left;
    }
    return left;
  }

  // The views outlive the engine that serves them.
  FakeHostView one_{u"alpha\nbeta\ngamma"};
  FakeHostView two_{u"first\nsecond"};
  FakeEngineHost host_;
  Engine engine_{host_};
};

TEST_F(EngineFacadeTest, ViewsShareRegistersAndOnlyAttachedViewsAreServed) {
  EXPECT_EQ(Keys(one_, u"dd"), 2);  // not attached: every key is the host's
  EXPECT_EQ(one_.Text(), u"alpha\nbeta\ngamma");
  engine_.Attach(one_);
  engine_.Attach(one_);  // a second attachment changes nothing
  engine_.Attach(two_);
  EXPECT_EQ(Keys(one_, u"jyy"), 0);
  Keys(two_, u"p");
  EXPECT_EQ(two_.Text(), u"first\nbeta\nsecond");
  engine_.Detach(one_);
  EXPECT_EQ(Keys(one_, u"dd"), 2);
  EXPECT_EQ(one_.Text(), u"alpha\nbeta\ngamma");
  Keys(two_, u"dd");
  EXPECT_EQ(two_.Text(), u"first\nsecond");
}

TEST_F(EngineFacadeTest, MarksFollowTheEditsOfTheirView) {
  FakeHostView view(u"alpha\nbeta\ngamma\ndelta");
  engine_.Attach(view);
  Keys(view, u"jjmaggdd");
  EXPECT_EQ(view.Text(), u"beta\ngamma\ndelta");
  Keys(view, u"G'a");
  EXPECT_EQ(view.Caret(), (TextPos{1, 0}));
  // The ex line sees them too.
  Keys(view, u"gg:'a,'ad<CR>");
  EXPECT_EQ(view.Text(), u"beta\ndelta");
  engine_.Detach(view);
}

TEST_F(EngineFacadeTest, OptionsAndStartupLines) {
  EXPECT_EQ(engine_.Set(u"noignorecase"), u"");
  EXPECT_EQ(engine_.Set(u"ic?"), u"noignorecase");
  EXPECT_EQ(engine_.Set(u"nosuchoption"), u"Unknown option");
  engine_.Attach(one_);  // starts from the global values
  EXPECT_EQ(engine_.Set(u"ic?", &one_), u"noignorecase");
  EXPECT_EQ(engine_.Set(u"ic", &one_), u"");
  EXPECT_EQ(engine_.Set(u"ic?"), u"ignorecase");

  EXPECT_TRUE(engine_.RunStartupLine(u"nmap Q dd"));
  EXPECT_FALSE(engine_.RunStartupLine(u"1,2d"));
  Keys(one_, u"Q");
  EXPECT_EQ(one_.Text(), u"beta\ngamma");
}

TEST_F(EngineFacadeTest, SwitchedOffEveryKeyIsTheHostsAndTheModeIsNormalAgain) {
  engine_.Attach(one_);
  Keys(one_, u"i");
  EXPECT_EQ(engine_.Caret(), CaretStyle::kThin);
  engine_.SetEnabled(false);
  EXPECT_FALSE(engine_.Enabled());
  EXPECT_EQ(Keys(one_, u"dd"), 2);
  EXPECT_EQ(one_.Text(), u"alpha\nbeta\ngamma");
  engine_.SetEnabled(true);
  EXPECT_EQ(engine_.Caret(), CaretStyle::kBlock);
  Keys(one_, u"dd");
  EXPECT_EQ(one_.Text(), u"beta\ngamma");
}

TEST(EngineFacadeSettingsTest, SettingsComeFromTheHostsStore) {
  MemorySettingsStore store;
  ASSERT_TRUE(store.WriteDword("Enable", 0));
  ASSERT_TRUE(store.WriteDword("IgnoreCase", 0));
  FakeEngineHost host;
  Engine engine(host, &store);
  EXPECT_FALSE(engine.Enabled());
  EXPECT_EQ(engine.Set(u"ic?"), u"noignorecase");
}

}  // namespace
}  // namespace tavik
