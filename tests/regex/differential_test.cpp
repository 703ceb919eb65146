// The fast matcher against the plain reference matcher on random small patterns and texts:
// every start position with Match at, and searches with random directions, wrap, stops and
// accept-at-start. Results, match bounds and captures must be identical. A second alphabet covers
// every character class and bracket name on non-ASCII text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <span>
#include <string_view>

#include "reference_matcher.h"
#include "regex/program_info.h"
#include "regex_test_util.h"

namespace tavik::testing {
namespace {

// What a generator draws from: pattern atoms and the characters of the text.
struct Alphabet {
  std::span<const char16_t* const> atoms;
  std::u16string_view chars;
};

constexpr const char16_t* kPlainAtoms[] = {
    u"a",    u"b",   u"A",   u".",     u"\\_.", u"\\n",  u"[ab]", u"[^a]", u"\\_[^a]",
    u"\\w",  u"\\W", u"\\d", u"\\_s",  u"^",    u"$",    u"\\<",  u"\\>",  u"\\zs",
    u"\\ze", u"\\1", u"\\2", u"[a-b]", u"\\_^", u"\\_$", u"1",    u" ",    u"[[:upper:]]"};
constexpr Alphabet kPlain{kPlainAtoms, u"aabb1 A_"};

// Every class escape, upper forms and line-break forms among them, every bracket name, ranges
// with non-ASCII bounds, on text that mixes ASCII letters, digits and punctuation with accented,
// CJK and Hebrew letters, controls and a surrogate pair.
constexpr const char16_t* kClassAtoms[] = {u"\\i",
                                           u"\\I",
                                           u"\\k",
                                           u"\\K",
                                           u"\\f",
                                           u"\\F",
                                           u"\\p",
                                           u"\\P",
                                           u"\\s",
                                           u"\\S",
                                           u"\\d",
                                           u"\\D",
                                           u"\\x",
                                           u"\\X",
                                           u"\\o",
                                           u"\\O",
                                           u"\\w",
                                           u"\\W",
                                           u"\\h",
                                           u"\\H",
                                           u"\\a",
                                           u"\\A",
                                           u"\\l",
                                           u"\\L",
                                           u"\\u",
                                           u"\\U",
                                           u"\\_k",
                                           u"\\_P",
                                           u"\\_F",
                                           u"\\_i",
                                           u"\\_X",
                                           u"\\_U",
                                           u"[[:alnum:]]",
                                           u"[[:alpha:]]",
                                           u"[[:blank:]]",
                                           u"[[:cntrl:]]",
                                           u"[[:digit:]]",
                                           u"[[:graph:]]",
                                           u"[[:lower:]]",
                                           u"[[:print:]]",
                                           u"[[:punct:]]",
                                           u"[[:space:]]",
                                           u"[[:upper:]]",
                                           u"[[:xdigit:]]",
                                           u"[[:return:][:tab:]]",
                                           u"[[:escape:][:backspace:]x]",
                                           u"[^[:alpha:][:digit:]]",
                                           u"\\_[[:punct:]\u00e9]",
                                           u"[\u00e9-\u4e2d]",
                                           u"[^\u00e0-\u00ff]",
                                           u"[a-z\u00c9]",
                                           u"[[:alpha]",
                                           u"[[:foo:]]",
                                           u"\u00e9",
                                           u"\u4e2d",
                                           u".",
                                           u"\\<",
                                           u"\\>",
                                           u"a",
                                           u"E",
                                           u"\\n",
                                           u"$",
                                           u"^"};
constexpr Alphabet kClasses{kClassAtoms,
                            u"aZe9_./\\-~ \t\u00e9\u00c9\u00df\u4e2d\u05d0\u0001\u001b\u007f"
                            u"\U0001F600"};

class PatternGenerator {
 public:
  explicit PatternGenerator(uint32_t seed, Alphabet alphabet = kPlain)
      : alphabet_(alphabet), rng_(seed) {}

  std::u16string Pattern(int depth = 0) {
    std::u16string out;
    int pieces = Pick(1, 4);
    for (int i = 0; i < pieces; ++i) {
      out += Atom(depth);
      if (Pick(0, 2) == 0) out += Multi();
      if (depth < 2 && Pick(0, 9) == 0) out += Pick(0, 1) ? u"\\|" : u"\\&";
    }
    return out;
  }

  std::vector<std::u16string> Text() {
    std::vector<std::u16string> lines(size_t(Pick(1, 3)));
    const int last = int(alphabet_.chars.size()) - 1;
    for (auto& line : lines) {
      int n = Pick(0, 6);
      for (int i = 0; i < n; ++i) line += alphabet_.chars[size_t(Pick(0, last))];
    }
    return lines;
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

 private:
  std::u16string Atom(int depth) {
    int n = int(alphabet_.atoms.size());
    if (depth < 3 && Pick(0, 4) == 0) {
      std::u16string inner = Pattern(depth + 1);
      return (Pick(0, 2) ? u"\\(" : u"\\%(") + inner + u"\\)";
    }
    return alphabet_.atoms[size_t(Pick(0, n - 1))];
  }
  std::u16string Multi() {
    static const char16_t* const kMultis[] = {u"*",       u"\\+",     u"\\=",    u"\\{2}",
                                              u"\\{1,2}", u"\\{-1,}", u"\\{,2}", u"\\{-}",
                                              u"\\{}",    u"\\{-,1}", u"\\{0,3}"};
    return kMultis[Pick(0, int(std::size(kMultis)) - 1)];
  }

  Alphabet alphabet_;
  std::mt19937 rng_;
};

std::string Show(bool matched, TextPos s, TextPos e, const std::vector<RefCapture>& caps) {
  if (!matched) return "none";
  std::string out = Describe(s) + "-" + Describe(e);
  for (const RefCapture& c : caps) {
    out += " (";
    out += c.has_start ? Describe(c.start) : "-";
    out += ",";
    out += c.has_end ? Describe(c.end) : "-";
    out += ")";
  }
  return out;
}

std::string Show(MatchStatus status, const MatchResult& m) {
  if (status == MatchStatus::kTooComplex) return "too complex";
  std::vector<RefCapture> caps;
  for (const Capture& c : m.captures) caps.push_back({c.start, c.end, c.has_start, c.has_end});
  return Show(status == MatchStatus::kMatch, m.start, m.end, caps);
}

struct Comparisons {
  int compared = 0;
  int memo_programs = 0;
  int literal_programs = 0;  // found by the literal scan alone
};

// Compares both matchers on random patterns and texts drawn from `alphabet`; DIFF_SEED and
// DIFF_ROUNDS in the environment change the seed and the number of rounds.
Comparisons CompareOnRandomInputs(Alphabet alphabet, uint32_t seed) {
  PatternGenerator gen(
      uint32_t(std::getenv("DIFF_SEED") ? std::atoi(std::getenv("DIFF_SEED")) : seed), alphabet);
  int compared = 0;
  int memo_programs = 0;
  int literal_programs = 0;
  for (int round = 0;
       round < (std::getenv("DIFF_ROUNDS") ? std::atoi(std::getenv("DIFF_ROUNDS")) : 4000);
       ++round) {
    std::u16string text_pattern = gen.Pattern();
    bool ic = gen.Pick(0, 3) == 0;
    Pattern pattern = Compile(text_pattern, ic);
    if (!pattern.valid()) continue;
    memo_programs += pattern.info()->memo_ok ? 1 : 0;
    literal_programs += pattern.info()->literal_only ? 1 : 0;
    std::vector<std::u16string> lines = gen.Text();
    StringLineSource source(lines);
    std::vector<uint8_t> program(pattern.program().begin(), pattern.program().end());
    ReferenceMatcher ref(program, ic, lines);
    MatchCache cache;
    SCOPED_TRACE(Utf8(text_pattern) + (ic ? " (ignore case)" : ""));
    for (uint32_t line = 0; line < lines.size(); ++line) {
      for (uint32_t col = 0; col <= lines[line].size(); ++col) {
        bool exhausted = false;
        ref.steps_left = 200000;
        auto expected = ref.MatchAt({line, col}, &exhausted);
        if (exhausted) continue;
        MatchResult m;
        MatchStatus s = MatchAt(pattern, source, {line, col}, cache, &m);
        std::string want =
            expected ? Show(true, expected->start, expected->end, expected->captures) : "none";
        EXPECT_EQ(Show(s, m), want) << " at " << line << ":" << col;
        if (Show(s, m) != want) return {};
        ++compared;
      }
    }
    for (int k = 0; k < 4; ++k) {
      uint32_t line = uint32_t(gen.Pick(0, int(lines.size()) - 1));
      uint32_t col = uint32_t(gen.Pick(0, int(lines[line].size())));
      SearchArgs args = From(line, col, gen.Pick(0, 1) == 1, gen.Pick(0, 1) == 1);
      args.backward = gen.Pick(0, 1) == 1;
      if (gen.Pick(0, 2) == 0) {
        uint32_t sl = uint32_t(gen.Pick(0, int(lines.size()) - 1));
        args.stop = TextPos{sl, uint32_t(gen.Pick(0, int(lines[sl].size())))};
      }
      bool exhausted = false;
      ref.steps_left = 2000000;
      auto expected = ref.Search(args.start, args.stop, args.backward, args.wrapscan,
                                 args.accept_at_start, &exhausted);
      if (exhausted) continue;
      MatchResult m;
      MatchStatus s = Search(pattern, source, args, cache, &m);
      std::string want =
          expected ? Show(true, expected->start, expected->end, expected->captures) : "none";
      EXPECT_EQ(Show(s, m), want) << " search from " << line << ":" << col
                                  << (args.backward ? " backward" : " forward")
                                  << (args.wrapscan ? " wrap" : "")
                                  << (args.accept_at_start ? " accept" : "")
                                  << (args.stop ? " stop " + Describe(*args.stop) : "");
      if (Show(s, m) != want) return {};
      ++compared;
    }
  }
  return {compared, memo_programs, literal_programs};
}

TEST(RegexDifferentialTest, FastMatcherAgreesWithThePlainReference) {
  const Comparisons c = CompareOnRandomInputs(kPlain, 20261207);
  EXPECT_GT(c.compared, 20000);
  EXPECT_GT(c.memo_programs, 500);
  EXPECT_GT(c.literal_programs, 50);
}

TEST(RegexDifferentialTest, EveryClassAgreesOnNonAsciiText) {
  const Comparisons c = CompareOnRandomInputs(kClasses, 20261208);
  EXPECT_GT(c.compared, 20000);
}

}  // namespace
}  // namespace tavik::testing
