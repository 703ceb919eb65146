// Registers: name resolution of every class of name, append mode, the set flag and line index,
// the clipboard register's exchange with a clipboard service; the register text of operated
// ranges and block columns over tabs; put at its limits.
#include "engine/state/register_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/actions/put_text.h"
#include "engine/fake_host_view.h"
#include "engine/text/range_text.h"
#include "engine/text/text_view.h"

namespace tavik {
namespace {

// A clipboard that records what was put and serves what the test gives it.
class FakeClipboard : public ClipboardService {
 public:
  bool Put(std::u16string_view text, RegisterKind kind) override {
    ++puts;
    held = RegisterContent{std::u16string(text), kind};
    return true;
  }
  std::optional<RegisterContent> Get() override { return readable ? held : std::nullopt; }

  std::optional<RegisterContent> held;
  bool readable = true;
  int puts = 0;
};

TEST(RegisterFileTest, ResolvesEveryClassOfName) {
  for (bool clipboard_default : {true, false}) {
    RegisterFile registers(nullptr, clipboard_default);
    size_t default_slot = clipboard_default ? 0 : 1;
    EXPECT_EQ(registers.Resolve(0).slot, default_slot);
    EXPECT_EQ(registers.Resolve(u'*').slot, 0u);
    EXPECT_EQ(registers.Resolve(u'0').slot, 1u);
    EXPECT_EQ(registers.Resolve(u'9').slot, 10u);
    EXPECT_EQ(registers.Resolve(u'a').slot, 11u);
    EXPECT_EQ(registers.Resolve(u'z').slot, 36u);
    EXPECT_FALSE(registers.Resolve(u'z').append);
    EXPECT_EQ(registers.Resolve(u'A').slot, 11u);
    EXPECT_EQ(registers.Resolve(u'Z').slot, 36u);
    EXPECT_TRUE(registers.Resolve(u'Z').append);
    for (char16_t name : std::u16string_view(u"\"-_+.:/@=%#~ \u00e9")) {
      RegisterFile::Resolved r = registers.Resolve(name);
      EXPECT_EQ(r.slot, default_slot) << static_cast<int>(name);
      EXPECT_FALSE(r.append);
    }
  }
}

TEST(RegisterFileTest, UnsetRegistersFailAndAppendKeepsTheNewKind) {
  RegisterFile registers(nullptr, false);
  EXPECT_FALSE(registers.Read(u'a'));
  EXPECT_FALSE(registers.Read(0));
  EXPECT_EQ(registers.Get(u'q'), nullptr);

  // Appending to a register never written starts it.
  registers.Write(u'B', u"one\r\n", RegisterKind::kLinewise);
  registers.Write(u'B', u"two", RegisterKind::kCharacterwise);
  const Register* b = registers.Get(u'b');
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Text(), u"one\r\ntwo");
  EXPECT_EQ(b->Kind(), RegisterKind::kCharacterwise);
  ASSERT_EQ(b->Lines().size(), 2u);
  EXPECT_EQ(b->LineText(0), u"one");
  EXPECT_EQ(b->LineText(1), u"two");

  registers.Write(u'b', u"x\r\n\r\ny\r\n", RegisterKind::kLinewise);
  ASSERT_EQ(b->Lines().size(), 3u);
  EXPECT_EQ(b->LineText(1), u"");
  EXPECT_TRUE(b->EndsWithLineBreak());

  // Names outside the table write the default register ("0" with the setting off).
  registers.Write(u'-', u"dash", RegisterKind::kCharacterwise);
  EXPECT_EQ(registers.Read(u'0')->text, u"dash");
  EXPECT_EQ(registers.Read(u'"')->text, u"dash");
  // An empty write still sets the register.
  registers.Write(u'e', u"", RegisterKind::kCharacterwise);
  EXPECT_TRUE(registers.Get(u'e'));
  EXPECT_TRUE(registers.Get(u'e')->Lines().empty());
}

TEST(RegisterFileTest, ClipboardRegisterWritesThroughAndRefreshesOnRead) {
  FakeClipboard clipboard;
  RegisterFile registers(&clipboard, true);
  registers.Write(u'a', u"letter", RegisterKind::kCharacterwise);
  EXPECT_EQ(clipboard.puts, 0);
  registers.Write(0, u"l1\r\nl2\r\n", RegisterKind::kLinewise);
  EXPECT_EQ(clipboard.puts, 1);
  EXPECT_EQ(clipboard.held->text, u"l1\r\nl2\r\n");
  EXPECT_EQ(clipboard.held->kind, RegisterKind::kLinewise);

  // Text another program copied shows through "*" and the default register.
  clipboard.held = RegisterContent{u"a\r\nb\r\nc", RegisterKind::kBlockwise};
  const Register* star = registers.Get(u'*');
  ASSERT_NE(star, nullptr);
  EXPECT_EQ(star->Kind(), RegisterKind::kBlockwise);
  EXPECT_EQ(star->Lines().size(), 3u);
  EXPECT_EQ(registers.Read(u'+')->text, u"a\r\nb\r\nc");

  // An unreadable clipboard leaves the register as it was; never written it stays unset.
  clipboard.readable = false;
  EXPECT_EQ(registers.Read(u'*')->text, u"a\r\nb\r\nc");
  RegisterFile fresh(&clipboard, true);
  EXPECT_FALSE(fresh.Read(0));
}

TEST(RegisterFileTest, AHeldClipboardGetsOnlyTheLastWriteAndReadsSeeIt) {
  FakeClipboard clipboard;
  RegisterFile registers(&clipboard, true);
  registers.HoldClipboard();
  registers.HoldClipboard();  // holds nest
  registers.Write(0, u"one\r\n", RegisterKind::kLinewise);
  registers.Write(0, u"two\r\n", RegisterKind::kLinewise);
  EXPECT_EQ(clipboard.puts, 0);
  registers.ReleaseClipboard();
  EXPECT_EQ(clipboard.puts, 0);
  registers.Write(u'*', u"three", RegisterKind::kCharacterwise);
  // A read while held first hands the newer text out instead of reading an older one back.
  EXPECT_EQ(registers.Read(0)->text, u"three");
  EXPECT_EQ(clipboard.puts, 1);
  registers.Write(0, u"four\r\n", RegisterKind::kLinewise);
  registers.ReleaseClipboard();
  EXPECT_EQ(clipboard.puts, 2);
  EXPECT_EQ(clipboard.held->text, u"four\r\n");
  EXPECT_EQ(clipboard.held->kind, RegisterKind::kLinewise);
  registers.ReleaseClipboard();  // one release too many changes nothing
  registers.Write(0, u"five", RegisterKind::kCharacterwise);
  EXPECT_EQ(clipboard.puts, 3);
}

// ---- Register text of ranges, and put, over a host view ----

class RangeTextTest : public ::testing::Test {
 protected:
  void Open(std::u16string_view text, uint32_t tab_size = 4) {
    text_.reset();  // before the host it uses
    host_ = std::make_unique<FakeHostView>(text);
    host_->set_tab_size(tab_size);
    text_ = std::make_unique<TextView>(host_.get());
  }
  std::u16string Buffer() const { return host_->Text(); }
  TextView& T() { return *text_; }

  std::unique_ptr<FakeHostView> host_;
  std::unique_ptr<TextView> text_;
};

TEST_F(RangeTextTest, EachKindInRegisterForm) {
  Open(u"alpha\nbeta\ngamma");
  EXPECT_EQ(RangeText(T(), {{0, 2}, {2, 3}, RangeKind::kCharacterwise}), u"pha\r\nbeta\r\ngam");
  EXPECT_EQ(RangeText(T(), {{0, 5}, {1, 0}, RangeKind::kCharacterwise}), u"\r\n");
  EXPECT_EQ(RangeText(T(), {{1, 1}, {1, kEndOfLineColumn}, RangeKind::kCharacterwise}), u"eta");
  EXPECT_EQ(RangeText(T(), {{1, 0}, {2, 5}, RangeKind::kLinewise}), u"beta\r\ngamma\r\n");
  EXPECT_EQ(RangeText(T(), {{2, 0}, {9, 0}, RangeKind::kLinewise}), u"gamma\r\n");
  // A block on a short line gives that line's part, possibly empty.
  EXPECT_EQ(RangeText(T(), {{0, 1}, {2, 4}, RangeKind::kBlockwise}), u"lph\r\neta\r\namm\r\n");
  EXPECT_EQ(RangeText(T(), {{0, 4}, {2, 5}, RangeKind::kBlockwise}), u"a\r\n\r\na\r\n");
  EXPECT_EQ(RangeText(T(), {{0, 1}, {2, kEndOfLineColumn}, RangeKind::kBlockwise}),
            u"lpha\r\neta\r\namma\r\n");
  EXPECT_EQ(RangeLineCount({{4, 0}, {1, 0}, RangeKind::kLinewise}), 4u);
}

TEST_F(RangeTextTest, BlockColumnsTakeATabThatReachesIntoTheBlockWhole) {
  Open(u"ab\tcd\nabcdefgh", 4);
  // Display columns 1 to 5 (end not included): on line 0 "b", the tab (2..4) and "c".
  OperatedRange block{{1, 1}, {1, 5}, RangeKind::kBlockwise};
  BlockColumns columns = BlockColumnsOf(T(), block);
  EXPECT_EQ(columns.left, 1u);
  EXPECT_EQ(columns.right, 5u);
  BlockSpan span = BlockSpanOnLine(T(), 0, columns);
  EXPECT_EQ(span.start, 1u);
  EXPECT_EQ(span.end, 4u);
  // Starting inside the tab takes the tab too.
  span = BlockSpanOnLine(T(), 0, {3, 5, false});
  EXPECT_EQ(span.start, 2u);
  EXPECT_EQ(span.end, 4u);
  // Ends given right to left are ordered.
  EXPECT_EQ(RangeText(T(), {{0, 4}, {1, 1}, RangeKind::kBlockwise}), u"b\tc\r\nbcde\r\n");
}

TEST_F(RangeTextTest, PutRefusesTextBeyondTheLimitAndHandlesEmptyBuffers) {
  Open(u"");
  RegisterFile registers(nullptr, false);
  registers.Write(u'a', u"xy", RegisterKind::kCharacterwise);
  PutOutcome refused = PutRegister(T(), *registers.Get(u'a'), {{0, 0}, true, 4294967295u, false});
  EXPECT_TRUE(refused.too_long);
  EXPECT_FALSE(refused.done);
  EXPECT_EQ(Buffer(), u"");

  PutOutcome put = PutRegister(T(), *registers.Get(u'a'), {{0, 0}, true, 3, false});
  EXPECT_TRUE(put.done);
  EXPECT_EQ(Buffer(), u"xyxyxy");
  EXPECT_EQ(put.caret, (TextPos{0, 5}));

  registers.Write(u'l', u"l\r\n", RegisterKind::kLinewise);
  put = PutRegister(T(), *registers.Get(u'l'), {{0, 0}, true, 3, false});
  EXPECT_EQ(Buffer(), u"xyxyxy\nl\nl\nl");
  EXPECT_EQ(put.lines_added, 3u);
  EXPECT_EQ(MoreLinesMessage(put.lines_added), u"3 more lines");
  EXPECT_EQ(MoreLinesMessage(2), u"");

  // An empty register puts nothing.
  registers.Write(u'e', u"", RegisterKind::kLinewise);
  EXPECT_FALSE(PutRegister(T(), *registers.Get(u'e'), {{0, 0}, true, 1, false}).done);
}

TEST_F(RangeTextTest, BlockPutSplitsATabPadsShortLinesAndCreatesMissingOnes) {
  Open(u"abcdef\nabcd\tx\n\nxy", 4);
  host_->set_insert_tabs(true);
  T().ReadPreferences();
  RegisterFile registers(nullptr, false);
  registers.Write(u'b', u"12\r\n34\r\n56\r\n78\r\n90\r\n", RegisterKind::kBlockwise);
  // At display column 5: inside the tab of line 1 (columns 4 to 7), beyond the end of the
  // others; an empty line is padded with tabs first since the host inserts tabs.
  PutOutcome put = PutRegister(T(), *registers.Get(u'b'), {{0, 5}, false, 1, false});
  ASSERT_TRUE(put.done);
  EXPECT_EQ(Buffer(), u"abcde12f\nabcd 34   x\n\t 56\nxy   78\n\t 90");
  EXPECT_EQ(put.start, (TextPos{0, 5}));
  EXPECT_EQ(put.caret, (TextPos{0, 5}));
  EXPECT_EQ(put.last, (TextPos{4, 3}));
  EXPECT_EQ(put.lines_added, 1u);
}

TEST_F(RangeTextTest, LineOfAMillionCharacters) {
  std::u16string line(1000000, u'x');
  line[999999] = u'y';
  Open(line + u"\nab");
  std::u16string yanked = RangeText(T(), {{0, 0}, {0, kEndOfLineColumn}, RangeKind::kLinewise});
  EXPECT_EQ(yanked.size(), 1000002u);
  RegisterFile registers(nullptr, false);
  registers.Write(u'l', yanked, RegisterKind::kLinewise);
  PutOutcome put = PutRegister(T(), *registers.Get(u'l'), {{1, 1}, false, 2, false});
  EXPECT_EQ(put.lines_added, 2u);
  EXPECT_EQ(T().LineLength(2), 1000000u);
  EXPECT_EQ(T().LineText(3), u"ab");

  // A block at the far end of the long line pads the short one out to that column.
  registers.Write(u'b', u"1\r\n2\r\n", RegisterKind::kBlockwise);
  put = PutRegister(T(), *registers.Get(u'b'), {{2, 999999}, false, 1, false});
  EXPECT_EQ(T().LineText(2).substr(999999), u"1y");
  EXPECT_EQ(T().LineLength(3), 1000000u);
  EXPECT_EQ(T().LineText(3).substr(999998), u" 2");
}

}  // namespace
}  // namespace tavik
