// The engine on its own over the fake host: commands edit through the host interface, the ":"
// line and "&" reach whatever ex command line is installed, and without one they change nothing.
#include "engine/input/ex_line_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/key_notation.h"
#include "config/settings.h"
#include "config/settings_store.h"
#include "engine/actions/action_context.h"
#include "engine/attached_view.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "fake_host_view.h"

namespace tavik {
namespace {

// Records what the engine asks of the ex command line and where the caret was.
class RecordingExLine : public ExLineRunner {
 public:
  void RunLine(ActionContext& context, std::u16string_view line) override {
    lines.emplace_back(line);
    carets.push_back(context.text.GetCaret());
  }
  void RepeatSubstitution(ActionContext& context) override {
    carets.push_back(context.text.GetCaret());
    ++repeats;
  }
  std::vector<std::u16string> lines;
  std::vector<TextPos> carets;
  int repeats = 0;
};

class ExLineRunnerTest : public ::testing::Test {
 protected:
  ExLineRunnerTest()
      : settings_(store_),
        engine_(settings_, engine_host_),
        host_(u"alpha beta\ngamma\ndelta"),
        view_(&host_, engine_.GlobalOptions()) {}

  void Keys(std::u16string_view notation) {
    for (KeyCode key : ParseKeys(notation)) engine_.FeedKey(view_, key);
  }

  MemorySettingsStore store_;
  Settings settings_;
  FakeEngineHost engine_host_;
  ViewEngine engine_;
  FakeHostView host_;
  AttachedView view_;
};

TEST_F(ExLineRunnerTest, CommandsEditThroughTheHostInterface) {
  Keys(u"dwjx");
  EXPECT_EQ(host_.Text(), u"beta\namma\ndelta");
  Keys(u"ggyyjp");
  EXPECT_EQ(host_.Text(), u"beta\namma\nbeta\ndelta");
  EXPECT_EQ(view_.text.GetCaret(), (TextPos{2, 0}));
}

TEST_F(ExLineRunnerTest, WithoutAnExLineColonAndAmpersandChangeNothing) {
  ASSERT_EQ(engine_.ExLine(), nullptr);
  Keys(u"j:d<CR>&");
  EXPECT_EQ(host_.Text(), u"alpha beta\ngamma\ndelta");
  EXPECT_EQ(engine_.Mode(), EngineMode::kNormal);
  Keys(u"x");  // the engine still takes commands
  EXPECT_EQ(host_.Text(), u"alpha beta\namma\ndelta");
}

TEST_F(ExLineRunnerTest, TheInstalledExLineGetsTheTypedLineAndTheCaret) {
  RecordingExLine ex_line;
  engine_.SetExLine(&ex_line);
  Keys(u"jl:s/a/b/g<CR>");
  ASSERT_EQ(ex_line.lines.size(), 1u);
  EXPECT_EQ(ex_line.lines[0], u"s/a/b/g");
  EXPECT_EQ(ex_line.carets[0], (TextPos{1, 1}));
  // A line typed in visual mode starts with the visual range.
  Keys(u"V:p<CR>");
  ASSERT_EQ(ex_line.lines.size(), 2u);
  EXPECT_EQ(ex_line.lines[1], u"'<,'>p");
  Keys(u"j&");
  EXPECT_EQ(ex_line.repeats, 1);
  EXPECT_EQ(ex_line.carets.back().line, 2u);
  // A line left with Escape runs nothing.
  Keys(u":<Esc>");
  EXPECT_EQ(ex_line.lines.size(), 2u);
  EXPECT_EQ(host_.Text(), u"alpha beta\ngamma\ndelta");
  engine_.SetExLine(nullptr);
}

}  // namespace
}  // namespace tavik
