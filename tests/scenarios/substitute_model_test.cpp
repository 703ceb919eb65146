// ":s" through the whole engine against a direct model of the substitution loop that finds the
// matches in a plain list of lines and then replaces them: random buffers, patterns, templates
// and ranges, one run large enough that the held-back lines are written in several runs. Then
// command lines of 511 arbitrary characters: whatever they do, undo must bring the text back.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/batch_session.h"
#include "ex/substitute_template.h"
#include "platform/utf8_codec.h"
#include "regex/line_source.h"
#include "regex/pattern.h"
#include "regex/search.h"

namespace tavik {
namespace {

using Lines = std::vector<std::u16string>;

struct Outcome {
  Lines lines;
  uint32_t substitutions = 0;
  uint32_t counted_lines = 0;
};

std::u16string Join(const Lines& lines) {
  std::u16string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += u'\n';
    text += lines[i];
  }
  return text;
}

Lines Split(std::u16string_view text) {
  Lines lines(1);
  for (char16_t c : text) {
    if (c == u'\n') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

// The model's lines as the matcher reads them, without a copy per search.
class ListSource : public LineSource {
 public:
  explicit ListSource(const Lines& lines) : lines_(lines) {}
  uint32_t LineCount() const override { return static_cast<uint32_t>(lines_.size()); }
  std::u16string_view LineText(uint32_t line) const override { return lines_[line]; }
  bool StableLines() const override { return true; }

 private:
  const Lines& lines_;
};

// The loop over the lines as they were before the substitution: every match is found in the
// unchanged text, one search per line end, and only then are the matches replaced, from the
// last to the first, so that no inserted text is ever matched or seen around a match.
Outcome Model(Lines lines, std::u16string_view pattern, std::u16string_view replacement,
              uint32_t first, uint32_t last, bool global) {
  struct Edit {
    TextPos start;
    TextPos end;
    std::u16string text;
  };
  Outcome out;
  Pattern compiled = CompilePattern(pattern, 2, kNoDelimiter).pattern;
  compiled = DecideCase(compiled, CaseOptions{true, true, false});
  MatchCache cache;
  std::vector<Edit> edits;
  std::u16string expansion;
  uint32_t m = first;
  uint32_t col = 0;
  int64_t added_lines = 0;
  int64_t counted = -1;
  const ListSource source(lines);
  while (m <= last) {
    SearchArgs args;
    args.start = {m, col};
    args.stop = TextPos{m, static_cast<uint32_t>(lines[m].size())};
    args.accept_at_start = true;
    MatchResult match;
    if (Search(compiled, source, args, cache, &match) != MatchStatus::kMatch) {
      if (m >= last) break;
      ++m;
      col = 0;
      continue;
    }
    const TextPos s = match.start;
    const TextPos e = match.end;
    const uint32_t breaks = ExpandTemplate(replacement, match, source, true, expansion);
    edits.push_back({s, e, expansion});
    ++out.substitutions;
    // Lines are counted where the inserted text ends in the edited buffer.
    added_lines += int64_t{breaks} - int64_t{e.line - s.line};
    if (counted != e.line + added_lines) {
      ++out.counted_lines;
      counted = e.line + added_lines;
    }
    if (e.line > last) break;
    m = e.line;
    col = e.column;
    bool next_line = false;
    if (s == e) {
      if (col < lines[m].size()) {
        ++col;
      } else {
        if (m >= last) break;
        next_line = true;
      }
    }
    if (!global && !next_line) {
      if (m >= last) break;
      next_line = true;
    }
    if (next_line) {
      ++m;
      col = 0;
    }
  }
  for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
    const TextPos s = edit->start;
    const TextPos e = edit->end;
    if (s.line == e.line && edit->text.find(u'\n') == std::u16string::npos) {
      lines[s.line].replace(s.column, e.column - s.column, edit->text);
      continue;
    }
    Lines pieces = Split(lines[s.line].substr(0, s.column) + edit->text);
    pieces.back() += lines[e.line].substr(e.column);
    lines.erase(lines.begin() + s.line, lines.begin() + e.line + 1);
    lines.insert(lines.begin() + s.line, pieces.begin(), pieces.end());
  }
  out.lines = std::move(lines);
  return out;
}

// Key notation typing `text` literally.
std::string Notation(std::u16string_view text) {
  std::u16string escaped;
  for (char16_t c : text) {
    if (c == u'\\') {
      escaped += u"\\\\";
    } else if (c == u'<') {
      escaped += u"<lt>";
    } else {
      escaped += c;
    }
  }
  return platform::ToUtf8(escaped);
}

std::u16string BufferText(app::BatchSession& session) {
  return session.Editor().FocusedView()->Buffer().Text();
}

std::string ExpectedStatus(const Outcome& outcome) {
  if (outcome.substitutions == 0) return "Pattern not found";
  if (outcome.substitutions < 3) return "-- NORMAL -- ";
  return std::to_string(outcome.substitutions) + " substitutions on " +
         std::to_string(outcome.counted_lines) + " line" + (outcome.counted_lines > 1 ? "s" : "");
}

void CheckAgainstModel(const Lines& lines, std::u16string_view pattern,
                       std::u16string_view replacement, uint32_t first, uint32_t last,
                       bool global) {
  const Outcome expected = Model(lines, pattern, replacement, first, last, global);
  app::BatchSession session;
  session.OpenText("model.txt", platform::ToUtf8(Join(lines)));
  session.FocusFirstDocument();
  std::string keys = ":" + std::to_string(first + 1) + "," + std::to_string(last + 1) + "s/" +
                     Notation(pattern) + "/" + Notation(replacement) + "/" + (global ? "g" : "") +
                     "<CR>";
  session.FeedNotation(keys);
  SCOPED_TRACE(keys + " on \"" + platform::ToUtf8(Join(lines)).substr(0, 200) + "\"");
  ASSERT_EQ(BufferText(session), Join(expected.lines));
  EXPECT_EQ(session.StatusUtf8(), ExpectedStatus(expected));
  session.FeedNotation("u");
  EXPECT_EQ(BufferText(session), Join(lines));
}

TEST(SubstituteModelTest, RandomBuffersPatternsAndTemplates) {
  const std::vector<std::u16string> patterns = {
      u"a",      u"a*",          u"b\\+",           u"\\n",  u"a\\nb", u"^",
      u"$",      u"ab\\|b",      u"\\(a\\)\\(b\\)", u"\\_s", u"x*",    u",",
      u"\\n\\n", u"b\\_.\\{-}a", u"\\<a",           u"^a",   u"a\\>"};
  const std::vector<std::u16string> replacements = {
      u"", u"X", u"&&", u"\\r", u"[\\1]", u"\\r\\r", u"\\u&", u"a\\rb", u"-\\2-", u"\\U&\\r&"};
  std::mt19937 random(20261207);
  const std::u16string alphabet = u"ab, x";
  for (int round = 0; round < 400; ++round) {
    Lines lines(1 + random() % 6);
    for (std::u16string& line : lines) {
      const size_t length = random() % 7;
      for (size_t i = 0; i < length; ++i) line += alphabet[random() % alphabet.size()];
    }
    const uint32_t first = random() % lines.size();
    const uint32_t last = first + random() % (lines.size() - first);
    CheckAgainstModel(lines, patterns[random() % patterns.size()],
                      replacements[random() % replacements.size()], first, last, random() % 2 == 0);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

// Enough changed lines, or enough changed text, that the held-back edits are written in several
// runs, with lines split, joined and left alone among them.
TEST(SubstituteModelTest, ManyLinesWrittenInRuns) {
  Lines lines;
  for (int i = 0; i < 70000; ++i) lines.push_back(i % 5 == 0 ? u"plain" : u"ab,ab");
  CheckAgainstModel(lines, u"b", u"c", 0, static_cast<uint32_t>(lines.size() - 1), true);
  lines.clear();
  for (int i = 0; i < 2500; ++i) {
    std::u16string line(2000, i % 2 == 0 ? u'a' : u'b');
    if (i % 3 != 0) line += u',';
    lines.push_back(std::move(line));
  }
  CheckAgainstModel(lines, u"$", u"\\r-", 0, static_cast<uint32_t>(lines.size() - 1), false);
  CheckAgainstModel(lines, u",\\n", u"+", 5, 2400, true);
}

// Lines held one byte per unit and lines that need two, side by side: units from 128 to 255
// (one byte, but not ASCII), replacements that turn a one-byte line into a two-byte one, and
// runs long enough that unchanged lines are carried along between the matches.
TEST(SubstituteModelTest, NarrowAndWideLinesTogether) {
  const std::vector<std::u16string> patterns = {u"b", u"\u00e9", u"\u4e2d", u"a\\nb", u"$"};
  const std::vector<std::u16string> replacements = {u"X", u"\u4e2d", u"\u00ff&", u"&\\r", u""};
  std::mt19937 random(20261208);
  const std::u16string alphabet = u"ab \u00e9\u4e2d";
  for (int round = 0; round < 150; ++round) {
    Lines lines(1 + random() % 200);
    for (std::u16string& line : lines) {
      const size_t length = random() % 6;
      // Mostly one-byte lines, with a two-byte one now and then.
      const size_t letters = random() % 8 == 0 ? alphabet.size() : alphabet.size() - 1;
      for (size_t i = 0; i < length; ++i) line += alphabet[random() % letters];
    }
    const uint32_t first = random() % lines.size();
    const uint32_t last = first + random() % (lines.size() - first);
    CheckAgainstModel(lines, patterns[random() % patterns.size()],
                      replacements[random() % replacements.size()], first, last, random() % 2 == 0);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(SubstituteModelTest, ArbitraryCommandLinesOf511Characters) {
  std::mt19937 random(511);
  const std::u16string characters =
      u"abcxyz019/\\\\\\*.[]()~&{}^$?+=%@!#,;:'\"-| \t\u00e9\u4e2d\u00a7";
  const Lines lines = {u"abc abc", u"x/y\\z", u"", u"[a](b){c}", u"\u00e9t\u00e9 \u4e2d"};
  for (int round = 0; round < 60; ++round) {
    app::BatchSession session;
    session.OpenText("arbitrary.txt", platform::ToUtf8(Join(lines)));
    session.FocusFirstDocument();
    std::u16string command = round % 2 == 0 ? u"%s/" : u"s";
    while (command.size() < 511) command += characters[random() % characters.size()];
    session.FeedKey(KeyCode::Char(u':'));
    for (char16_t c : command) session.FeedKey(app::AsTypedKey(KeyCode::Char(c)));
    session.FeedKey(KeyCode::Char(u'\r'));
    SCOPED_TRACE(platform::ToUtf8(command));
    EXPECT_EQ(session.ModeName(), "NORMAL");
    session.FeedNotation("u");
    EXPECT_EQ(BufferText(session), Join(lines));
  }
}

}  // namespace
}  // namespace tavik
