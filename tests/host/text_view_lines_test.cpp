// TextView::ReplaceLines over a host that replaces line runs itself and over one that does not
// (edits line by line): the same text in both, CRs kept, and one undo step per command.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/text/text_view.h"
#include "host/host_view_adapter.h"
#include "platform/editor_host.h"

namespace tavik {
namespace {

// A host without the line-run operation.
class LineByLineHost : public host::HostViewAdapter {
 public:
  using HostViewAdapter::HostViewAdapter;
  HostResult ReplaceLines(uint32_t, uint32_t, std::span<const std::u16string_view>) override {
    return HostResult::kNotImpl;
  }
  HostResult ReplaceNarrowLines(uint32_t, uint32_t, std::span<const std::string_view>) override {
    return HostResult::kNotImpl;
  }
};

struct Case {
  std::u16string before;
  uint32_t first;
  uint32_t old_count;
  std::vector<std::u16string> lines;
  std::u16string after;
};

class TextViewLinesTest : public ::testing::TestWithParam<bool> {
 protected:
  void Open(std::u16string_view text) {
    host_.OpenText(text);
    view_ = host_.FocusedView();
    text_.reset();
    if (GetParam()) {
      adapter_ = std::make_unique<host::HostViewAdapter>(host_, *view_);
    } else {
      adapter_ = std::make_unique<LineByLineHost>(host_, *view_);
    }
    text_ = std::make_unique<TextView>(adapter_.get());
  }
  std::u16string Buffer() const { return view_->Buffer().Text(); }

  platform::EditorHost host_;
  platform::View* view_ = nullptr;
  std::unique_ptr<host::HostViewAdapter> adapter_;
  std::unique_ptr<TextView> text_;
};

TEST_P(TextViewLinesTest, SameTextEitherWayAndOneUndoStep) {
  const std::vector<Case> cases = {
      {u"a\nb\nc\nd", 1, 2, {u"X"}, u"a\nX\nd"},
      {u"a\nb\nc\nd", 1, 1, {u"X", u"Y", u"Z"}, u"a\nX\nY\nZ\nc\nd"},
      {u"a\nb", 0, 2, {u"1", u"2"}, u"1\n2"},
      {u"a\nb", 1, 1, {u"x\r", u"\ry\r"}, u"a\nx\r\n\ry\r"},
      {u"a\nb", 0, 1, {u"p\r", u"q"}, u"p\r\nq\nb"},
      {u"only", 0, 1, {u""}, u""},
  };
  for (const Case& c : cases) {
    Open(c.before);
    std::vector<std::u16string_view> views(c.lines.begin(), c.lines.end());
    {
      TextView::CommandScope command(*text_);
      EXPECT_EQ(text_->ReplaceLines(c.first, c.old_count, views), HostResult::kOk);
    }
    EXPECT_EQ(Buffer(), c.after);
    EXPECT_EQ(text_->LineText(c.first), c.lines.front());
    EXPECT_TRUE(text_->UndoStep());
    EXPECT_EQ(Buffer(), c.before);
  }
}

// Lines given one byte per unit, units from 128 to 255 among them, leave what their UTF-16 form
// leaves, also where the host takes only UTF-16.
TEST_P(TextViewLinesTest, OneBytePerUnitLinesLeaveTheSameText) {
  Open(u"a\nb\nc");
  const std::vector<std::string_view> lines{"x\xe9", "", "\xffy\r"};
  {
    TextView::CommandScope command(*text_);
    EXPECT_EQ(text_->ReplaceNarrowLines(1, 1, lines), HostResult::kOk);
  }
  EXPECT_EQ(Buffer(), u"a\nx\u00e9\n\n\u00ffy\r\nc");
  EXPECT_EQ(text_->LineText(1), u"x\u00e9");
  EXPECT_TRUE(text_->UndoStep());
  EXPECT_EQ(Buffer(), u"a\nb\nc");
  EXPECT_EQ(text_->ReplaceNarrowLines(2, 2, lines), HostResult::kFail);
}

TEST_P(TextViewLinesTest, RefusesLinesThatDoNotExist) {
  Open(u"a\nb");
  std::vector<std::u16string_view> one{u"x"};
  EXPECT_EQ(text_->ReplaceLines(1, 2, one), HostResult::kFail);
  EXPECT_EQ(text_->ReplaceLines(0, 0, one), HostResult::kFail);
  EXPECT_EQ(text_->ReplaceLines(0, 1, {}), HostResult::kFail);
  EXPECT_EQ(Buffer(), u"a\nb");
}

INSTANTIATE_TEST_SUITE_P(Hosts, TextViewLinesTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "LineRuns" : "LineByLine";
                         });

}  // namespace
}  // namespace tavik
