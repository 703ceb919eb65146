// Motion results that keystrokes cannot show: kinds and flags without an operator, the
// motions that have no key (visual repeat, the doubled operator), and starts or counts far out
// of range, on a line of 1,000,000 characters and on buffers with odd shapes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/motions/motion.h"
#include "engine/motions/motion_codes.h"
#include "engine/motions/motion_table.h"
#include "engine/state/view_state.h"
#include "engine/text/text_view.h"
#include "fake_host_view.h"

namespace tavik {
namespace {

constexpr uint32_t kMaxCount = 4294967295u;

class MotionsTest : public ::testing::Test {
 protected:
  void Open(std::u16string_view text, uint32_t visible_lines = 25) {
    view_.reset();  // before the host it uses
    host_ = std::make_unique<FakeHostView>(text);
    host_->set_visible_lines(visible_lines);
    view_ = std::make_unique<TextView>(host_.get());
  }

  MotionResult Run(MotionCode code, TextPos from, uint32_t count = 0, char16_t modifier = 0) {
    MotionArgs args;
    args.code = code;
    args.count = count;
    args.modifier = modifier;
    args.line_delta = line_delta_;
    args.column_delta = column_delta_;
    args.change_word = change_word_;
    return RunMotion(args, *view_, state_, from, from);
  }

  std::unique_ptr<FakeHostView> host_;
  std::unique_ptr<TextView> view_;
  ViewState state_;
  int32_t line_delta_ = 0;
  int32_t column_delta_ = 0;
  bool change_word_ = false;
};

TEST_F(MotionsTest, KindsAndFlagsWithoutAnOperator) {
  Open(u"foo bar\n  baz qux\n");
  struct Row {
    MotionCode code;
    MotionKind kind;
  };
  using enum MotionKind;
  const Row rows[] = {
      {motion::kWordForward, kExclusive},     {motion::kWordEnd, kInclusive},
      {motion::kPreviousWordEnd, kInclusive}, {motion::kLineEnd, kInclusive},
      {motion::kLineStart, kExclusive},       {motion::kFirstLine, kLinewise},
      {motion::kLastLine, kLinewise},         {motion::kCountLines, kLinewise},
      {motion::kCurrentLines, kLinewise},     {motion::kWindowMiddle, kLinewise},
      {motion::kSectionForward, kLinewise},   {motion::kParagraphForward, kExclusive},
      {motion::kSentenceForward, kExclusive}, {motion::kDown, kLinewise},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Run(row.code, {0, 4}).kind, row.kind) << int(row.code);
  }
  MotionResult end = Run(motion::kLineEnd, {0, 0});
  EXPECT_TRUE(end.want_end_of_line);
  EXPECT_EQ(end.target, (TextPos{0, 6}));
  EXPECT_TRUE(Run(motion::kDown, {0, 0}).keep_desired_column);
  EXPECT_FALSE(Run(motion::kWordForward, {0, 0}).line_changed);
  EXPECT_TRUE(Run(motion::kWordForward, {0, 4}).line_changed);
  EXPECT_EQ(Run(motion::kWordForward, {0, 4}).target, (TextPos{1, 2}));
  EXPECT_TRUE(Run(motion::kColumn, {0, 0}, 3).use_view_target);
}

TEST_F(MotionsTest, ChangeWordStopsAtTheEndOfTheWordOnTheLastIterationOnly) {
  Open(u"foo  bar  baz");
  change_word_ = true;
  EXPECT_EQ(Run(motion::kWordForward, {0, 0}).target, (TextPos{0, 3}));
  EXPECT_EQ(Run(motion::kWordForward, {0, 0}, 2).target, (TextPos{0, 8}));
  change_word_ = false;
  EXPECT_EQ(Run(motion::kWordForward, {0, 0}).target, (TextPos{0, 5}));
}

TEST_F(MotionsTest, CharacterSearchKindsFollowTheRepeatedMotion) {
  Open(u"a.b.c.d");
  MotionResult back = Run(motion::kFindBackward, {0, 6}, 0, u'.');
  EXPECT_EQ(back.kind, MotionKind::kExclusive);
  EXPECT_EQ(back.target, (TextPos{0, 5}));
  EXPECT_EQ(Run(motion::kRepeatCharSearch, {0, 5}).kind, MotionKind::kExclusive);
  MotionResult reverse = Run(motion::kRepeatCharSearchReverse, {0, 1});
  EXPECT_EQ(reverse.kind, MotionKind::kInclusive);
  EXPECT_EQ(reverse.target, (TextPos{0, 3}));
  EXPECT_EQ(state_.last_char_search.motion, motion::kFindBackward);
  EXPECT_EQ(state_.last_char_search.character, u'.');
}

TEST_F(MotionsTest, DoubledOperatorAndUnderscoreCountLinesFromTheCursorLine) {
  Open(u"a\n  b\nc\n");
  EXPECT_EQ(Run(motion::kCurrentLines, {0, 0}).target, (TextPos{0, 0}));
  EXPECT_EQ(Run(motion::kCurrentLines, {0, 0}, 2).target, (TextPos{1, 2}));
  EXPECT_EQ(Run(motion::kCurrentLines, {1, 0}, kMaxCount).target, (TextPos{3, 0}));
}

TEST_F(MotionsTest, VisualRepeatRebuildsTheExtentFromTheCursor) {
  Open(u"abcdef\n\tx\nab\n");
  line_delta_ = 1;
  column_delta_ = 3;
  MotionResult chars = Run(motion::kVisualRepeatCharacter, {0, 1}, 5);
  EXPECT_EQ(chars.kind, MotionKind::kExclusive);
  EXPECT_EQ(chars.target, (TextPos{1, 0}));  // display column 4 is inside the tab
  EXPECT_EQ(Run(motion::kVisualRepeatLine, {0, 1}).kind, MotionKind::kLinewise);
  line_delta_ = 100;
  column_delta_ = -100;
  MotionResult block = Run(motion::kVisualRepeatBlock, {1, 1});
  EXPECT_EQ(block.kind, MotionKind::kBlockwise);
  EXPECT_EQ(block.target, (TextPos{3, 0}));
  line_delta_ = -100;
  column_delta_ = 100;
  EXPECT_EQ(Run(motion::kVisualRepeatCharacter, {2, 0}).target, (TextPos{0, 6}));
}

// Every motion with a count of 4294967295 returns promptly; from a column past the end of its
// line it lands inside the buffer, and a start beyond the last line does not crash.
TEST_F(MotionsTest, HugeCountsAndStartsOutOfRangeStayInsideTheBuffer) {
  Open(u"one (two) {three}\n\n  four. five\n#if A\n#endif");
  const TextPos starts[] = {{0, 0}, {0, 1000}, {4, 6}, {1, 1000}};
  for (MotionCode code = 1; code <= kMaxMotionCode; ++code) {
    if (MotionHandlerFor(code) == nullptr) continue;
    for (TextPos start : starts) {
      MotionResult r = Run(code, start, kMaxCount, u'e');
      if (!r.failed) {
        EXPECT_LE(r.target.line, 4u) << int(code);
      }
    }
    Run(code, {1000, 1000}, kMaxCount, u'e');
  }
}

TEST_F(MotionsTest, AnEmptyBufferKeepsEveryMotionAtTheOrigin) {
  Open(u"");
  for (MotionCode code = 1; code <= kMaxMotionCode; ++code) {
    MotionResult r = Run(code, {0, 0}, 3, u'x');
    if (!r.failed) {
      EXPECT_EQ(r.target, (TextPos{0, 0})) << int(code);
    }
  }
}

class LongLineTest : public MotionsTest {
 protected:
  static constexpr uint32_t kLength = 1000000;
  void SetUp() override {
    // "(" then words of four letters separated by blanks, then ")" and a period.
    std::u16string line = u"(";
    while (line.size() < kLength - 2) line += u"abc ";
    line.resize(kLength - 2, u'x');
    line += u").";
    Open(line + u"\nnext");
  }
};

TEST_F(LongLineTest, WordMotionsCrossTheLine) {
  EXPECT_EQ(Run(motion::kWordForward, {0, 1}).target, (TextPos{0, 5}));
  EXPECT_EQ(Run(motion::kWordForward, {0, kLength - 3}).target, (TextPos{0, kLength - 2}));
  EXPECT_EQ(Run(motion::kBigWordForward, {0, kLength - 3}).target, (TextPos{1, 0}));
  EXPECT_EQ(Run(motion::kWordBackward, {1, 0}).target, (TextPos{0, kLength - 2}));
  EXPECT_EQ(Run(motion::kWordEnd, {0, 0}, kMaxCount).target, (TextPos{1, 3}));
  MotionResult back = Run(motion::kWordBackward, {1, 0}, kMaxCount);
  EXPECT_EQ(back.target, (TextPos{0, 0}));
}

TEST_F(LongLineTest, LinePositionsAndSearches) {
  EXPECT_EQ(Run(motion::kLineEnd, {0, 0}).target, (TextPos{0, kLength - 1}));
  EXPECT_EQ(Run(motion::kColumn, {0, 0}, kMaxCount).target, (TextPos{0, kLength - 1}));
  EXPECT_EQ(Run(motion::kMatch, {0, 0}).target, (TextPos{0, kLength - 2}));
  EXPECT_EQ(Run(motion::kMatch, {0, kLength - 2}).target, (TextPos{0, 0}));
  EXPECT_EQ(Run(motion::kUnmatchedParenForward, {0, 10}).target, (TextPos{0, kLength - 2}));
  EXPECT_EQ(Run(motion::kFindForward, {0, 0}, 0, u')').target, (TextPos{0, kLength - 2}));
  EXPECT_TRUE(Run(motion::kTillForward, {0, 0}, kMaxCount, u'a').failed);
  EXPECT_TRUE(Run(motion::kFindForward, {0, 0}, kMaxCount, u'a').failed);
  EXPECT_EQ(Run(motion::kSentenceForward, {0, 0}).target, (TextPos{1, 0}));
  EXPECT_EQ(Run(motion::kRight, {0, 0}, kMaxCount).target, (TextPos{0, kLength}));
  EXPECT_EQ(Run(motion::kSpace, {0, 0}, kMaxCount).target, (TextPos{1, 4}));
}

TEST_F(MotionsTest, WindowMotionsUseTheVisibleLines) {
  std::u16string text;
  for (int i = 0; i < 20; ++i) text += u"  line\n";
  Open(text, 5);
  EXPECT_EQ(Run(motion::kWindowBottom, {0, 0}).target, (TextPos{4, 2}));
  EXPECT_EQ(Run(motion::kWindowMiddle, {0, 0}).target, (TextPos{2, 2}));
  MotionResult down = Run(motion::kHalfPageDown, {0, 0});
  EXPECT_EQ(down.target.line, 2u);
  EXPECT_EQ(view_->VisibleLines().first_line, 2u);
  EXPECT_EQ(Run(motion::kWindowTop, {3, 0}).target, (TextPos{2, 2}));
  Run(motion::kPageDown, {2, 0});
  EXPECT_EQ(view_->VisibleLines().first_line, 7u);
  EXPECT_EQ(Run(motion::kPageUp, {7, 0}).target.line, 6u);
  EXPECT_EQ(view_->VisibleLines().first_line, 2u);
}

}  // namespace
}  // namespace tavik
