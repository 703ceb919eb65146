// ":g" with a bare ":d" deletes runs of marked lines at once; the text, the register, the
// marks, the caret and undo must end exactly as ":d" run on each marked line in turn (".d",
// which takes the general path) leaves them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/batch_session.h"

namespace tavik {
namespace {

std::string RandomText(std::mt19937& rng, int lines) {
  static constexpr const char* kLines[] = {"x", "  x y", "y", "", "\tz", "xx", "a b"};
  std::string text;
  for (int i = 0; i < lines; ++i) {
    if (i > 0) text += '\n';
    text += kLines[std::uniform_int_distribution<size_t>(0, std::size(kLines) - 1)(rng)];
  }
  return text;
}

// Everything a user can observe after the command: text, caret, marks, register, undo, redo.
std::vector<std::string> Observe(const std::string& text, const std::string& setup,
                                 const std::string& command) {
  app::BatchSession session;
  session.OpenText("t.txt", text);
  std::vector<std::string> seen;
  auto step = [&](const std::string& keys) {
    session.FeedNotation(keys == "command" ? setup + command : keys);
    session.FinishKeys();
    const auto [line, column] = session.Cursor();
    seen.push_back(keys + " -> " + session.BufferTextUtf8() + " @" + std::to_string(line) + ":" +
                   std::to_string(column) + " " + session.StatusUtf8());
  };
  step("command");
  for (const char* keys : {"'a", "'b", "`b", "'A", "'[", "']", "p", "u", "u", "<C-r>", "<C-r>"})
    step(keys);
  return seen;
}

TEST(GlobalDeleteTest, RunsOfMarkedLinesEndAsDeletingEachLine) {
  std::mt19937 rng(7);
  for (int round = 0; round < 80; ++round) {
    const int lines = std::uniform_int_distribution<int>(1, 30)(rng);
    const std::string text = RandomText(rng, lines);
    auto pick = [&] { return std::uniform_int_distribution<int>(1, lines)(rng); };
    auto line = [&] { return std::to_string(pick()); };
    const std::string setup = line() + "Gma" + line() + "G$mb" + line() + "GmA" + line() + "G";
    const int from = pick();
    const std::string range =
        round % 3 == 0 ? std::to_string(from) + "," + std::to_string(std::max(from, pick())) : "";
    const std::string kind = round % 2 == 0 ? "g" : "v";
    const std::string pattern = round % 5 == 0 ? "^" : "x";
    const std::string fast = ":" + range + kind + "/" + pattern + "/d<CR>";
    const std::string slow = ":" + range + kind + "/" + pattern + "/.d<CR>";
    ASSERT_EQ(Observe(text, setup, fast), Observe(text, setup, slow)) << text << "\n" << fast;
  }
}

}  // namespace
}  // namespace tavik
