// The desktop clipboard bridge without a desktop tool: copies go to the terminal as OSC 52,
// pastes come from the in-process clipboard with the register kind the engine stored.
#include "app/terminal_clipboard.h"

#include <gtest/gtest.h>

namespace tavik::app {
namespace {

TEST(TerminalClipboard, Osc52EncodesUtf8AsBase64) {
  EXPECT_EQ(Osc52Sequence(""), "\x1b]52;c;\x07");
  EXPECT_EQ(Osc52Sequence("a"), "\x1b]52;c;YQ==\x07");
  EXPECT_EQ(Osc52Sequence("ab"), "\x1b]52;c;YWI=\x07");
  EXPECT_EQ(Osc52Sequence("abc"), "\x1b]52;c;YWJj\x07");
  EXPECT_EQ(Osc52Sequence("line\n\xc3\xa9"), "\x1b]52;c;bGluZQrDqQ==\x07");
}

TEST(TerminalClipboard, CopiesGoToTheTerminalOncePerChange) {
  platform::Clipboard clipboard;
  std::vector<std::string> written;
  DesktopClipboard desktop(clipboard, ClipboardTool::kNone,
                           [&](std::string_view bytes) { written.emplace_back(bytes); });
  desktop.SendCopies();
  EXPECT_TRUE(written.empty());  // nothing was copied yet
  EXPECT_FALSE(desktop.HasUnsentCopy());
  clipboard.Clear();
  clipboard.SetText(u"yanked\n");
  clipboard.SetData("VadClipboard2", "kind");
  EXPECT_TRUE(desktop.HasUnsentCopy());
  desktop.SendCopies();
  EXPECT_FALSE(desktop.HasUnsentCopy());
  desktop.SendCopies();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0], Osc52Sequence("yanked\n"));
  // Without a tool to read the desktop, the in-process content stays, formats and all.
  EXPECT_EQ(clipboard.Text(), u"yanked\n");
  EXPECT_EQ(clipboard.Data("VadClipboard2"), "kind");
}

TEST(TerminalClipboard, TheReadHookRunsBeforeEveryReadAndMayReplaceTheContent) {
  platform::Clipboard clipboard;
  int reads = 0;
  clipboard.SetReadHook([&] {
    ++reads;
    // What a desktop tool would do when the desktop holds new text; reads inside the hook
    // do not run it again.
    if (!clipboard.Has("from desktop")) {
      clipboard.Clear();
      clipboard.SetData("from desktop", "1");
      clipboard.SetText(u"desktop text");
    }
  });
  EXPECT_EQ(clipboard.Text(), u"desktop text");
  EXPECT_TRUE(clipboard.Has("from desktop"));
  EXPECT_EQ(reads, 2);
}

}  // namespace
}  // namespace tavik::app
