// The command lines the host-backed ex commands hand to the host: name and argument joined by a
// blank, a macro's name joined without one, the whole line from the argument, and the length cap.
#include <gtest/gtest.h>

#include <string>

#include "ex/ex_commands.h"

namespace tavik {
namespace {

using ex_commands::HostCommandLine;

TEST(HostCommandLineTest, NameAndArgumentAreJoinedAsEachRowWants) {
  EXPECT_EQ(HostCommandLine(u"File.OpenFile", u"foo.cpp"), u"File.OpenFile foo.cpp");
  EXPECT_EQ(HostCommandLine(u"File.SaveSelectedItems", u""), u"File.SaveSelectedItems");
  EXPECT_EQ(HostCommandLine(u"Macros.", u"Module.Name"), u"Macros.Module.Name");
  EXPECT_EQ(HostCommandLine(u"Macros.", u""), u"Macros.");
  EXPECT_EQ(HostCommandLine(u"", u"Edit.SelectAll"), u"Edit.SelectAll");
  EXPECT_EQ(HostCommandLine(u"", u""), u"");
  // The argument goes on unchanged, blanks and quotes included.
  EXPECT_EQ(HostCommandLine(u"Edit.Find", u"two words \"q\""), u"Edit.Find two words \"q\"");
}

TEST(HostCommandLineTest, ALongArgumentIsCutAt511Units) {
  const std::u16string argument(600, u'a');
  const std::u16string line = HostCommandLine(u"File.OpenFile", argument);
  ASSERT_EQ(line.size(), 511u);
  EXPECT_EQ(line.substr(0, 14), u"File.OpenFile ");
  EXPECT_EQ(HostCommandLine(u"", argument).size(), 511u);
}

}  // namespace
}  // namespace tavik
