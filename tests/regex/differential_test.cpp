// The fast matcher against the plain reference matcher on random small patterns and texts:
// every start position with Match at, and searches with random directions, wrap, stops and
// accept-at-start. Results, match bounds and captures must be identical.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "reference_matcher.h"
#include "regex/program_info.h"
#include "regex_test_util.h"

namespace tavik::testing {
namespace {

class PatternGenerator {
 public:
  explicit PatternGenerator(uint32_t seed) : rng_(seed) {}

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
    static constexpr char16_t kChars[] = u"aabb1 A_";
    for (auto& line : lines) {
      int n = Pick(0, 6);
      for (int i = 0; i < n; ++i) line += kChars[Pick(0, 7)];
    }
    return lines;
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

 private:
  std::u16string Atom(int depth) {
    static const char16_t* const kAtoms[] = {
        u"a",    u"b",   u"A",   u".",     u"\\_.", u"\\n",  u"[ab]", u"[^a]", u"\\_[^a]",
        u"\\w",  u"\\W", u"\\d", u"\\_s",  u"^",    u"$",    u"\\<",  u"\\>",  u"\\zs",
        u"\\ze", u"\\1", u"\\2", u"[a-b]", u"\\_^", u"\\_$", u"1",    u" ",    u"[[:upper:]]"};
    int n = int(std::size(kAtoms));
    if (depth < 3 && Pick(0, 4) == 0) {
      std::u16string inner = Pattern(depth + 1);
      return (Pick(0, 2) ? u"\\(" : u"\\%(") + inner + u"\\)";
    }
    return kAtoms[Pick(0, n - 1)];
  }
  std::u16string Multi() {
    static const char16_t* const kMultis[] = {u"*",       u"\\+",     u"\\=",    u"\\{2}",
                                              u"\\{1,2}", u"\\{-1,}", u"\\{,2}", u"\\{-}",
                                              u"\\{}",    u"\\{-,1}", u"\\{0,3}"};
    return kMultis[Pick(0, int(std::size(kMultis)) - 1)];
  }

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

TEST(RegexDifferentialTest, FastMatcherAgreesWithThePlainReference) {
  PatternGenerator gen(
      uint32_t(std::getenv("DIFF_SEED") ? std::atoi(std::getenv("DIFF_SEED")) : 20261207));
  int compared = 0;
  int memo_programs = 0;
  for (int round = 0;
       round < (std::getenv("DIFF_ROUNDS") ? std::atoi(std::getenv("DIFF_ROUNDS")) : 4000);
       ++round) {
    std::u16string text_pattern = gen.Pattern();
    bool ic = gen.Pick(0, 3) == 0;
    Pattern pattern = Compile(text_pattern, ic);
    if (!pattern.valid()) continue;
    memo_programs += pattern.info()->memo_ok ? 1 : 0;
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
        ASSERT_EQ(Show(s, m), want) << " at " << line << ":" << col;
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
      ASSERT_EQ(Show(s, m), want) << " search from " << line << ":" << col
                                  << (args.backward ? " backward" : " forward")
                                  << (args.wrapscan ? " wrap" : "")
                                  << (args.accept_at_start ? " accept" : "")
                                  << (args.stop ? " stop " + Describe(*args.stop) : "");
      ++compared;
    }
  }
  EXPECT_GT(compared, 20000);
  EXPECT_GT(memo_programs, 500);
}

}  // namespace
}  // namespace tavik::testing
