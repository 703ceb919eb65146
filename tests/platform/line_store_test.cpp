// The block store against a plain vector of lines under random edits.
#include "platform/line_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::platform {
namespace {

std::u16string RandomLine(std::mt19937& rng) {
  std::u16string line(rng() % 12, u'a');
  for (char16_t& c : line)
    c = static_cast<char16_t>(rng() % 5 == 0 ? 0x400 + rng() % 50 : 'a' + rng() % 26);
  return line;
}

// The text one byte per unit when every unit fits.
std::optional<std::string> Narrow(std::u16string_view text) {
  if (std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 256; })) return {};
  return std::string(text.begin(), text.end());
}

void ExpectSame(const LineStore& store, const std::vector<std::u16string>& model) {
  ASSERT_EQ(store.LineCount(), model.size());
  std::u16string line;
  for (uint32_t i = 0; i < model.size(); ++i) {
    store.ReadLine(i, line);
    ASSERT_EQ(line, model[i]) << "line " << i;
    ASSERT_EQ(store.LineLength(i), model[i].size());
  }
}

TEST(LineStoreTest, RandomEditsMatchAVectorOfLines) {
  std::mt19937 rng(12345);
  LineStore store;
  std::vector<std::u16string> model{u""};
  for (int step = 0; step < 3000; ++step) {
    const uint32_t count = static_cast<uint32_t>(model.size());
    const int op = static_cast<int>(rng() % 4);
    if (op == 0) {
      const uint32_t at = rng() % count;
      const std::u16string text = RandomLine(rng);
      if (const std::optional<std::string> narrow = Narrow(text); narrow && rng() % 2 == 0) {
        store.SetLine(at, std::string_view(*narrow));
      } else {
        store.SetLine(at, text);
      }
      model[at] = text;
    } else if (op == 1) {
      // Mostly few lines, sometimes a run long enough to build whole blocks.
      const uint32_t n = rng() % 10 == 0 ? 100 + rng() % 700 : 1 + rng() % 5;
      const uint32_t at = rng() % (count + 1);
      std::vector<std::u16string> text(n);
      for (auto& t : text) t = RandomLine(rng);
      std::vector<std::string> narrow;
      for (const std::u16string& t : text) {
        if (std::optional<std::string> n = Narrow(t)) narrow.push_back(*n);
      }
      if (narrow.size() == text.size() && rng() % 2 == 0) {
        std::vector<std::string_view> views(narrow.begin(), narrow.end());
        store.InsertNarrowLines(at, views);
      } else {
        std::vector<std::u16string_view> views(text.begin(), text.end());
        store.InsertLines(at, views);
      }
      model.insert(model.begin() + at, text.begin(), text.end());
    } else if (count > 1) {
      const uint32_t first = rng() % count;
      const uint32_t n = 1 + rng() % std::min<uint32_t>(count - first, op == 2 ? 3 : 600);
      if (n == count) continue;
      store.EraseLines(first, n);
      model.erase(model.begin() + first, model.begin() + first + n);
    }
    // Lookups going back and forth between two places after every edit.
    std::u16string read;
    for (int i = 0; i < 4; ++i) {
      const uint32_t line = i % 2 == 0 ? rng() % model.size() : uint32_t(model.size() - 1);
      store.ReadLine(line, read);
      ASSERT_EQ(read, model[line]) << "step " << step << ", line " << line;
    }
    if (step % 100 == 0) ExpectSame(store, model);
  }
  ExpectSame(store, model);
}

TEST(LineStoreTest, NarrowAndWideLines) {
  LineStore store;
  const std::u16string narrow = u"caf\u00e9\u00ff";
  const std::u16string wide = u"\u20ac\u00e9";
  store.SetLine(0, narrow);
  std::u16string_view lines[] = {wide};
  store.InsertLines(1, lines);
  EXPECT_FALSE(store.Raw(0).wide);
  EXPECT_EQ(store.Raw(0).Narrow(), "caf\xE9\xFF");
  EXPECT_TRUE(store.Raw(1).wide);
  EXPECT_EQ(store.Raw(1).Wide(), wide);
}

// Views of stored lines across blocks, up to the first wide line; appending a block's worth of
// lines at a time stores what appending them one by one stores.
TEST(LineStoreTest, NarrowLinesAreReadInBatchesAndAppendedInBulk) {
  std::vector<std::string> text;
  for (int i = 0; i < 1300; ++i)
    text.push_back(std::string(i % 7, static_cast<char>('a' + i % 26)));
  std::vector<std::string_view> views(text.begin(), text.end());
  LineStore bulk;
  bulk.ClearForAppend();
  bulk.AppendNarrowLine("first", 5);
  bulk.AppendNarrowLines(std::span(views).first(700));
  bulk.AppendNarrowLines(std::span(views).subspan(700));
  LineStore single;
  single.ClearForAppend();
  single.AppendNarrowLine("first", 5);
  for (std::string_view line : views) single.AppendNarrowLine(line.data(), line.size());
  ASSERT_EQ(bulk.LineCount(), 1301u);
  std::array<std::string_view, 600> out;
  for (uint32_t first : {0u, 1u, 255u, 700u, 1000u}) {
    const uint32_t got = bulk.ReadNarrow(first, out);
    ASSERT_EQ(got, std::min<uint32_t>(600, 1301 - first)) << first;
    for (uint32_t i = 0; i < got; ++i) {
      ASSERT_EQ(out[i], single.Raw(first + i).Narrow()) << first + i;
    }
  }
  // A line of two bytes per unit ends the batch; reading from it gives none.
  bulk.SetLine(300, u"\u20ac");
  EXPECT_EQ(bulk.ReadNarrow(10, out), 290u);
  EXPECT_EQ(bulk.ReadNarrow(300, out), 0u);
  EXPECT_EQ(bulk.ReadNarrow(1301, out), 0u);
}

TEST(LineStoreTest, EraseEverythingThenInsertKeepsAWorkingStore) {
  LineStore store;
  std::vector<std::u16string> text(2000, u"x");
  std::vector<std::u16string_view> views(text.begin(), text.end());
  store.InsertLines(1, views);
  store.EraseLines(0, 2001);
  EXPECT_EQ(store.LineCount(), 0u);
  std::u16string_view one[] = {u"back"};
  store.InsertLines(0, one);
  ExpectSame(store, {u"back"});
}

TEST(LineStoreTest, ManyEditsOfOneLineDoNotGrowWithoutBound) {
  LineStore store;
  std::vector<std::u16string> text(300, u"0123456789");
  std::vector<std::u16string_view> views(text.begin(), text.end());
  store.InsertLines(0, views);
  for (int i = 0; i < 20000; ++i) store.SetLine(5, std::u16string(100, u'a' + i % 26));
  std::u16string line;
  store.ReadLine(5, line);
  EXPECT_EQ(line, std::u16string(100, u'a' + 19999 % 26));
  store.ReadLine(299, line);
  EXPECT_EQ(line, u"0123456789");
}

}  // namespace
}  // namespace tavik::platform
