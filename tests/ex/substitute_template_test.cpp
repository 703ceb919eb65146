// The replacement template: where it ends on a command line, and its expansion for real matches
// found by the pattern engine (whole match, groups, line breaks, case changes, magic).
#include "ex/substitute_template.h"

#include <gtest/gtest.h>

#include <string>

#include "regex/line_source.h"
#include "regex/pattern.h"
#include "regex/search.h"

namespace tavik {
namespace {

struct Expanded {
  std::u16string text;
  uint32_t breaks = 0;
};

// Finds `pattern` in `text` from the start and expands `replacement` for that match.
Expanded Expand(std::u16string_view pattern, std::u16string_view text,
                std::u16string_view replacement, bool magic = true) {
  StringLineSource source = StringLineSource::FromText(text);
  CompileResult compiled = CompilePattern(pattern, magic ? 2 : 1, kNoDelimiter);
  EXPECT_TRUE(compiled.pattern.valid()) << "pattern does not compile";
  MatchCache cache;
  MatchResult match;
  SearchArgs args;
  args.accept_at_start = true;
  EXPECT_EQ(Search(compiled.pattern, source, args, cache, &match), MatchStatus::kMatch);
  Expanded out;
  out.breaks = ExpandTemplate(replacement, match, source, magic, out.text);
  return out;
}

std::u16string Text(std::u16string_view pattern, std::u16string_view text,
                    std::u16string_view replacement, bool magic = true) {
  return Expand(pattern, text, replacement, magic).text;
}

TEST(SubstituteTemplateTest, EndIsTheFirstUnescapedDelimiter) {
  EXPECT_EQ(FindTemplateEnd(u"abc/g", u'/'), 3u);
  EXPECT_EQ(FindTemplateEnd(u"a\\/b/g", u'/'), 4u);
  EXPECT_EQ(FindTemplateEnd(u"a\\\\/b", u'/'), 3u);  // an escaped backslash, then the delimiter
  EXPECT_EQ(FindTemplateEnd(u"abc", u'/'), 3u);
  EXPECT_EQ(FindTemplateEnd(u"", u'/'), 0u);
  EXPECT_EQ(FindTemplateEnd(u"ab\\", u'/'), 3u);  // a backslash at the end escapes nothing
  EXPECT_EQ(FindTemplateEnd(u"x#y", u'#'), 1u);
  EXPECT_EQ(FindTemplateEnd(u"a/b", kNoDelimiter), 3u);
}

TEST(SubstituteTemplateTest, WholeMatchAndLiteralAmpersandByMagic) {
  EXPECT_EQ(Text(u"b\\+", u"abbc", u"[&]"), u"[bb]");
  EXPECT_EQ(Text(u"b\\+", u"abbc", u"[\\&]"), u"[&]");
  EXPECT_EQ(Text(u"b\\+", u"abbc", u"[&]", false), u"[&]");
  EXPECT_EQ(Text(u"b\\+", u"abbc", u"[\\&]", false), u"[bb]");
  EXPECT_EQ(Text(u"b", u"abc", u"&&&"), u"bbb");
  // \zs and \ze move what the whole match is.
  EXPECT_EQ(Text(u"a\\zsbc\\zed", u"abcd", u"<&>"), u"<bc>");
}

TEST(SubstituteTemplateTest, GroupsAndGroupsThatTookNoPart) {
  EXPECT_EQ(Text(u"\\(\\w\\+\\) \\(\\w\\+\\)", u"hello world", u"\\2 \\1"), u"world hello");
  EXPECT_EQ(Text(u"\\(x\\)\\=a", u"a", u"[\\1]"), u"[]");
  EXPECT_EQ(Text(u"\\(a\\)", u"a", u"[\\9]"), u"[]");  // no such group
  std::u16string nine = u"\\(1\\)\\(2\\)\\(3\\)\\(4\\)\\(5\\)\\(6\\)\\(7\\)\\(8\\)\\(9\\)";
  EXPECT_EQ(Text(nine, u"123456789", u"\\9\\8\\7\\6\\5\\4\\3\\2\\1"), u"987654321");
  // A group inside a repeat holds its last round.
  EXPECT_EQ(Text(u"\\(ab\\)*", u"ababab", u"<\\1>"), u"<ab>");
}

TEST(SubstituteTemplateTest, EscapesThatStandForThemselves) {
  EXPECT_EQ(Text(u"a", u"a", u"\\0"), u"0");
  EXPECT_EQ(Text(u"a", u"a", u"\\n"), u"n");
  EXPECT_EQ(Text(u"a", u"a", u"~"), u"~");
  EXPECT_EQ(Text(u"a", u"a", u"\\~\\/\\x\\\\"), u"~/x\\");
  EXPECT_EQ(Text(u"a", u"a", u"x\\"), u"x\\");  // a trailing backslash is kept
  EXPECT_EQ(Text(u"a", u"a", u""), u"");
}

TEST(SubstituteTemplateTest, LineBreaksAreCounted) {
  Expanded e = Expand(u"a", u"a", u"1\\r2\n3\\r");
  EXPECT_EQ(e.text, u"1\n2\n3\n");
  EXPECT_EQ(e.breaks, 3u);
  // A match over a line end copies the line break; so does a group over one.
  e = Expand(u"b\\nc", u"ab\ncd", u"<&>");
  EXPECT_EQ(e.text, u"<b\nc>");
  EXPECT_EQ(e.breaks, 1u);
  e = Expand(u"\\(b\\_.c\\)", u"ab\ncd", u"\\1\\1");
  EXPECT_EQ(e.text, u"b\ncb\nc");
  EXPECT_EQ(e.breaks, 2u);
  // A match that ends at the start of the next line ends with the break.
  e = Expand(u"b\\n", u"ab\ncd", u"[&]");
  EXPECT_EQ(e.text, u"[b\n]");
  EXPECT_EQ(e.breaks, 1u);
}

TEST(SubstituteTemplateTest, CaseChanges) {
  EXPECT_EQ(Text(u"a", u"a", u"\\U&x"), u"AX");
  EXPECT_EQ(Text(u"ab", u"ab", u"\\u&"), u"Ab");
  EXPECT_EQ(Text(u"AB", u"AB", u"\\l&"), u"aB");
  EXPECT_EQ(Text(u"abc", u"abc", u"\\Ux\\ey"), u"Xy");
  EXPECT_EQ(Text(u"abc", u"abc", u"\\Ux\\Ey"), u"Xy");
  EXPECT_EQ(Text(u"ABC", u"ABC", u"\\L&-\\U&"), u"abc-ABC");
  // A one-shot change wins over the running one for its character only.
  EXPECT_EQ(Text(u"abc", u"abc", u"\\u\\L&"), u"Abc");
  EXPECT_EQ(Text(u"abc", u"abc", u"\\U\\l&"), u"aBC");
  // \e also ends a one-shot change still waiting.
  EXPECT_EQ(Text(u"a", u"a", u"\\u\\ex"), u"x");
  // A line break uses up a waiting one-shot change; a running one goes on past it.
  EXPECT_EQ(Text(u"a", u"a", u"\\u\\rx"), u"\nx");
  EXPECT_EQ(Text(u"a", u"a", u"\\Ux\\ry"), u"X\nY");
  // A group that took no part produces nothing, so the change waits for the next character.
  EXPECT_EQ(Text(u"\\(x\\)\\=a", u"a", u"\\u\\1z"), u"Z");
  // Letters beyond ASCII use the one-character mapping; others are unchanged.
  EXPECT_EQ(Text(u"\u00e9", u"\u00e9", u"\\U&1_"), u"\u00c91_");
}

}  // namespace
}  // namespace tavik
