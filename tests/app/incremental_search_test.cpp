// The search shown while a search line is typed, read in slices across keys and pauses, must
// land where the search the line's Return runs lands. Random texts, patterns, starts and options
// against that search, one line per slice so that every slice boundary and the wrap are crossed.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/batch_session.h"
#include "engine/search/search_state.h"
#include "engine/view_engine.h"

namespace tavik::app {
namespace {

struct SearchCase {
  std::string text;
  std::string options;  // ex commands run first
  int line = 0;
  int column = 0;
  char command = '/';
  std::string pattern;
};

SearchCase RandomCase(std::mt19937& random) {
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  static const char* const kWords[] = {"a", "b", "ab", "ba", "A", "aab", " ", "  "};
  SearchCase c;
  const int lines = 1 + pick(7);
  std::vector<int> lengths;
  for (int l = 0; l < lines; ++l) {
    std::string line;
    for (int w = pick(4); w > 0; --w) line += kWords[pick(8)];
    lengths.push_back(static_cast<int>(line.size()));
    c.text += line + "\n";
  }
  c.line = pick(lines);
  c.column = lengths[c.line] > 0 ? pick(lengths[c.line]) : 0;
  c.command = pick(2) == 0 ? '/' : '?';
  static const char kPatternChars[] = "aabbA .";
  for (int n = 1 + pick(4); n > 0; --n) c.pattern += kPatternChars[pick(7)];
  if (pick(3) == 0) c.options += ":set nowrapscan<CR>";
  if (pick(2) == 0) c.options += ":set ignorecase<CR>";
  if (pick(2) == 0) c.options += ":set smartcase<CR>";
  return c;
}

std::unique_ptr<BatchSession> Start(const SearchCase& c) {
  auto session = std::make_unique<BatchSession>();
  session->OpenText("case.txt", c.text);
  session->FeedNotation(":set incsearch hlsearch<CR>" + c.options);
  session->SetCursorUtf8(c.line, c.column);
  return session;
}

std::string Describe(const SearchCase& c) {
  return "text \"" + c.text + "\" options " + c.options + " from " + std::to_string(c.line) + "," +
         std::to_string(c.column) + " keys " + c.command + c.pattern;
}

TEST(IncrementalSearchTest, SlicesAcrossKeysAndPausesLandWhereReturnLands) {
  std::mt19937 random(20261208);
  int pending_keys = 0;
  for (int n = 0; n < 200; ++n) {
    const SearchCase c = RandomCase(random);
    // What Return finds: the search as a whole, in one go.
    auto whole = Start(c);
    whole->FeedNotation(std::string(1, c.command) + c.pattern + "<CR>");
    const auto expected = whole->Cursor();

    auto typed = Start(c);
    SearchState& search = typed->Package().Engine().Search();
    search.IncrementalSearcher().SetBudget(std::chrono::microseconds(0), 1);
    typed->FeedKey(KeyCode::Char(static_cast<char16_t>(c.command)));
    for (size_t i = 0; i < c.pattern.size(); ++i) {
      typed->FeedKey(KeyCode::Char(static_cast<char16_t>(c.pattern[i])));
      if (search.IncrementalPending()) ++pending_keys;
      // Sometimes keys pause between two characters, sometimes they come without a break.
      if (random() % 2 == 0) typed->FinishKeys();
    }
    typed->FinishKeys();
    ASSERT_FALSE(search.IncrementalPending()) << Describe(c);
    ASSERT_EQ(typed->Cursor(), expected) << Describe(c);
    // Escape gives back the caret the line was opened at.
    typed->FeedNotation("<Esc>");
    const auto start = Start(c)->Cursor();
    ASSERT_EQ(typed->Cursor(), start) << Describe(c);
  }
  // The slices were really left pending between keys.
  EXPECT_GT(pending_keys, 50);
}

}  // namespace
}  // namespace tavik::app
