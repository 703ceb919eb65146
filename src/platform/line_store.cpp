// Block storage of lines with an offset table per block and a lazily maintained block index.
#include "platform/line_store.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace tavik::platform {

namespace {

constexpr uint32_t kBlockLines = 256;
constexpr uint32_t kMaxBlockLines = 2 * kBlockLines;
constexpr uint32_t kWideBit = 0x80000000u;
// Inserting more lines than this at once builds whole blocks instead of growing one.
constexpr size_t kFewLines = 64;

bool FitsNarrow(std::u16string_view text) {
  // An OR over all units rather than an early exit, so the loop becomes vector code.
  char16_t all_bits = 0;
  for (char16_t c : text) all_bits |= c;
  return all_bits < 256;
}

}  // namespace

struct LineStore::Block {
  struct Record {
    uint32_t offset;
    uint32_t length_and_wide;  // top bit: two bytes per unit

    uint32_t Length() const { return length_and_wide & ~kWideBit; }
    bool Wide() const { return (length_and_wide & kWideBit) != 0; }
    size_t Bytes() const { return static_cast<size_t>(Length()) << (Wide() ? 1 : 0); }
  };

  std::vector<char> bytes;
  std::vector<Record> lines;
  size_t garbage = 0;  // bytes no line refers to any more
  uint32_t first_line = 0;

  Record Store(std::u16string_view text) {
    Record rec;
    if (FitsNarrow(text)) {
      rec.offset = static_cast<uint32_t>(bytes.size());
      rec.length_and_wide = static_cast<uint32_t>(text.size());
      bytes.resize(bytes.size() + text.size());
      char* out = bytes.data() + rec.offset;
      for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i]);
    } else {
      if (bytes.size() % 2 != 0) bytes.push_back(0), ++garbage;
      rec.offset = static_cast<uint32_t>(bytes.size());
      rec.length_and_wide = static_cast<uint32_t>(text.size()) | kWideBit;
      bytes.resize(bytes.size() + text.size() * 2);
      std::memcpy(bytes.data() + rec.offset, text.data(), text.size() * 2);
    }
    return rec;
  }

  // Bytes that are already one per unit.
  Record Store(std::string_view narrow) {
    Record rec{static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(narrow.size())};
    bytes.insert(bytes.end(), narrow.begin(), narrow.end());
    return rec;
  }
  Record CopyFrom(const Block& other, Record rec) {
    if (rec.Wide() && bytes.size() % 2 != 0) bytes.push_back(0), ++garbage;
    Record out{static_cast<uint32_t>(bytes.size()), rec.length_and_wide};
    bytes.insert(bytes.end(), other.bytes.data() + rec.offset,
                 other.bytes.data() + rec.offset + rec.Bytes());
    return out;
  }

  void Forget(const Record& rec) { garbage += rec.Bytes(); }

  // Rewrites the bytes without the garbage once it outweighs the live text.
  void CompactIfWasteful() {
    if (garbage < 4096 || garbage * 2 < bytes.size()) return;
    Block fresh;
    fresh.bytes.reserve(bytes.size() - garbage + lines.size());
    fresh.lines.reserve(lines.size());
    for (const Record& rec : lines) fresh.lines.push_back(fresh.CopyFrom(*this, rec));
    bytes = std::move(fresh.bytes);
    lines = std::move(fresh.lines);
    garbage = fresh.garbage;
  }
};

LineStore::LineStore() {
  blocks_.push_back(std::make_unique<Block>());
  const std::u16string_view empty;
  blocks_[0]->lines.push_back(blocks_[0]->Store(empty));
  line_count_ = 1;
}

LineStore::LineStore(LineStore&&) noexcept = default;
LineStore& LineStore::operator=(LineStore&&) noexcept = default;
LineStore::~LineStore() = default;

LineStore::Location LineStore::Locate(uint32_t line) const {
  assert(line < line_count_);
  const size_t known = std::min(indexed_, blocks_.size());
  for (size_t b = last_block_; b < std::min(last_block_ + 2, known); ++b) {
    const Block& block = *blocks_[b];
    if (line >= block.first_line && line - block.first_line < block.lines.size()) {
      last_block_ = b;
      return {b, line - block.first_line};
    }
  }
  if (other_block_ < known) {
    const Block& block = *blocks_[other_block_];
    if (line >= block.first_line && line - block.first_line < block.lines.size()) {
      std::swap(last_block_, other_block_);
      return {last_block_, line - block.first_line};
    }
  }
  other_block_ = last_block_;
  while (indexed_ < blocks_.size()) {
    const Block& last = *blocks_[indexed_ - 1];
    const uint32_t end = last.first_line + static_cast<uint32_t>(last.lines.size());
    if (line < end) break;
    blocks_[indexed_]->first_line = end;
    ++indexed_;
  }
  auto it = std::upper_bound(
      blocks_.begin(), blocks_.begin() + static_cast<ptrdiff_t>(indexed_), line,
      [](uint32_t l, const std::unique_ptr<Block>& b) { return l < b->first_line; });
  const size_t block = static_cast<size_t>(it - blocks_.begin()) - 1;
  last_block_ = block;
  return {block, line - blocks_[block]->first_line};
}

void LineStore::CountChanged(size_t block) {
  indexed_ = std::min(indexed_, block + 1);
}

void LineStore::BlocksMoved(size_t from) {
  blocks_[0]->first_line = 0;
  indexed_ = std::max<size_t>(1, std::min({indexed_, from, blocks_.size()}));
}

uint32_t LineStore::LineLength(uint32_t line) const {
  const Location loc = Locate(line);
  return blocks_[loc.block]->lines[loc.index].Length();
}

RawLine LineStore::Raw(uint32_t line) const {
  const Location loc = Locate(line);
  const Block& b = *blocks_[loc.block];
  const Block::Record rec = b.lines[loc.index];
  return {b.bytes.data() + rec.offset, rec.Length(), rec.Wide()};
}

void LineStore::ReadLine(uint32_t line, std::u16string& out) const {
  out.clear();
  AppendLineTo(line, out);
}

void LineStore::AppendLineTo(uint32_t line, std::u16string& out) const {
  const RawLine raw = Raw(line);
  const size_t old = out.size();
  out.resize(old + raw.length);
  if (raw.wide) {
    std::memcpy(out.data() + old, raw.data, raw.length * 2);
  } else {
    const auto* in = static_cast<const unsigned char*>(raw.data);
    char16_t* o = out.data() + old;
    for (uint32_t i = 0; i < raw.length; ++i) o[i] = in[i];
  }
}

uint32_t LineStore::ReadNarrow(uint32_t first, std::span<std::string_view> out) const {
  if (first >= line_count_ || out.empty()) return 0;
  Location loc = Locate(first);
  size_t filled = 0;
  while (filled < out.size() && loc.block < blocks_.size()) {
    const Block& b = *blocks_[loc.block];
    const size_t n = std::min(out.size() - filled, b.lines.size() - loc.index);
    for (size_t i = 0; i < n; ++i) {
      const Block::Record rec = b.lines[loc.index + i];
      if (rec.Wide()) return static_cast<uint32_t>(filled + i);
      out[filled + i] = {b.bytes.data() + rec.offset, rec.Length()};
    }
    filled += n;
    loc = {loc.block + 1, 0};
  }
  return static_cast<uint32_t>(filled);
}

template <class Text>
void LineStore::SetLineText(uint32_t line, Text text) {
  const Location loc = Locate(line);
  Block& b = *blocks_[loc.block];
  b.Forget(b.lines[loc.index]);
  b.lines[loc.index] = b.Store(text);
  b.CompactIfWasteful();
}

void LineStore::SetLine(uint32_t line, std::u16string_view text) {
  SetLineText(line, text);
}

void LineStore::SetLine(uint32_t line, std::string_view narrow) {
  SetLineText(line, narrow);
}

void LineStore::SplitAt(size_t block, uint32_t index) {
  Block& src = *blocks_[block];
  auto tail = std::make_unique<Block>();
  tail->lines.reserve(src.lines.size() - index);
  for (size_t i = index; i < src.lines.size(); ++i) {
    tail->lines.push_back(tail->CopyFrom(src, src.lines[i]));
    src.Forget(src.lines[i]);
  }
  src.lines.resize(index);
  src.CompactIfWasteful();
  blocks_.insert(blocks_.begin() + static_cast<ptrdiff_t>(block) + 1, std::move(tail));
  BlocksMoved(block + 1);
}

void LineStore::SplitIfLarge(size_t block) {
  if (blocks_[block]->lines.size() > kMaxBlockLines) SplitAt(block, kBlockLines);
}

template <class LineView>
void LineStore::InsertFew(uint32_t at, std::span<const LineView> lines) {
  Location loc;
  if (at == line_count_) {
    loc = {blocks_.size() - 1, static_cast<uint32_t>(blocks_.back()->lines.size())};
  } else {
    loc = Locate(at);
  }
  Block& b = *blocks_[loc.block];
  std::vector<Block::Record> records;
  records.reserve(lines.size());
  for (const LineView& text : lines) records.push_back(b.Store(text));
  b.lines.insert(b.lines.begin() + loc.index, records.begin(), records.end());
  line_count_ += static_cast<uint32_t>(lines.size());
  CountChanged(loc.block);
  SplitIfLarge(loc.block);
}

void LineStore::InsertLines(uint32_t at, std::span<const std::u16string_view> lines) {
  assert(at <= line_count_);
  if (lines.empty()) return;
  if (lines.size() <= kFewLines) {
    InsertFew(at, lines);
    return;
  }
  InsertBlocks(at, lines);
}

void LineStore::InsertNarrowLines(uint32_t at, std::span<const std::string_view> lines) {
  assert(at <= line_count_);
  if (lines.empty()) return;
  if (lines.size() <= kFewLines) {
    InsertFew(at, lines);
    return;
  }
  InsertBlocks(at, lines);
}

template <class LineView>
void LineStore::InsertBlocks(uint32_t at, std::span<const LineView> lines) {
  // Make `at` a block boundary, then put whole new blocks in between.
  size_t insert_before;
  if (at == line_count_) {
    insert_before = blocks_.size();
  } else {
    const Location loc = Locate(at);
    if (loc.index == 0) {
      insert_before = loc.block;
    } else {
      SplitAt(loc.block, loc.index);
      insert_before = loc.block + 1;
    }
  }
  std::vector<std::unique_ptr<Block>> fresh;
  for (size_t i = 0; i < lines.size(); i += kBlockLines) {
    auto block = std::make_unique<Block>();
    const size_t end = std::min(lines.size(), i + kBlockLines);
    // Room for the block's text at once: one allocation instead of one growth per line.
    size_t units = 0;
    for (size_t j = i; j < end; ++j) units += lines[j].size();
    block->bytes.reserve(units);
    block->lines.reserve(end - i);
    for (size_t j = i; j < end; ++j) block->lines.push_back(block->Store(lines[j]));
    block->bytes.shrink_to_fit();
    fresh.push_back(std::move(block));
  }
  blocks_.insert(blocks_.begin() + static_cast<ptrdiff_t>(insert_before),
                 std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
  line_count_ += static_cast<uint32_t>(lines.size());
  // An empty block left by an earlier erase of everything must not stay in the index.
  if (blocks_.size() > 1 && blocks_[0]->lines.empty()) blocks_.erase(blocks_.begin());
  BlocksMoved(insert_before);
}

void LineStore::EraseLines(uint32_t first, uint32_t count) {
  assert(first + count <= line_count_);
  while (count > 0) {
    const Location loc = Locate(first);
    Block& b = *blocks_[loc.block];
    const uint32_t in_block = static_cast<uint32_t>(b.lines.size()) - loc.index;
    if (loc.index == 0 && count >= in_block && blocks_.size() > 1) {
      // Whole blocks go at once.
      size_t end = loc.block;
      uint32_t removed = 0;
      while (end < blocks_.size() && removed + blocks_[end]->lines.size() <= count) {
        removed += static_cast<uint32_t>(blocks_[end]->lines.size());
        ++end;
      }
      if (end == blocks_.size() && loc.block == 0) {
        --end;  // keep one block to hold what comes next
        removed -= static_cast<uint32_t>(blocks_[end]->lines.size());
      }
      if (end > loc.block) {
        const uint32_t start = b.first_line;
        blocks_.erase(blocks_.begin() + static_cast<ptrdiff_t>(loc.block),
                      blocks_.begin() + static_cast<ptrdiff_t>(end));
        if (loc.block < blocks_.size()) blocks_[loc.block]->first_line = start;
        line_count_ -= removed;
        count -= removed;
        BlocksMoved(loc.block + 1);
        continue;
      }
    }
    const uint32_t n = std::min(count, in_block);
    for (uint32_t i = 0; i < n; ++i) b.Forget(b.lines[loc.index + i]);
    b.lines.erase(b.lines.begin() + loc.index, b.lines.begin() + loc.index + n);
    b.CompactIfWasteful();
    line_count_ -= n;
    count -= n;
    CountChanged(loc.block);
    if (b.lines.empty() && blocks_.size() > 1) {
      blocks_.erase(blocks_.begin() + static_cast<ptrdiff_t>(loc.block));
      BlocksMoved(loc.block);
    }
  }
}

void LineStore::ClearForAppend() {
  blocks_.clear();
  blocks_.push_back(std::make_unique<Block>());
  line_count_ = 0;
  indexed_ = 1;
}

void LineStore::MakeRoomToAppend() {
  if (blocks_.back()->lines.size() < kBlockLines) return;
  blocks_.back()->bytes.shrink_to_fit();
  auto block = std::make_unique<Block>();
  block->first_line = line_count_;
  block->lines.reserve(kBlockLines);
  blocks_.push_back(std::move(block));
  // Appending keeps the index exact.
  indexed_ = blocks_.size();
}

void LineStore::AppendNarrowLine(const char* data, size_t length) {
  MakeRoomToAppend();
  Block& b = *blocks_.back();
  b.lines.push_back({static_cast<uint32_t>(b.bytes.size()), static_cast<uint32_t>(length)});
  b.bytes.insert(b.bytes.end(), data, data + length);
  ++line_count_;
}

void LineStore::AppendNarrowLines(std::span<const std::string_view> lines) {
  size_t next = 0;
  while (next < lines.size()) {
    MakeRoomToAppend();
    Block& b = *blocks_.back();
    const size_t n = std::min(lines.size() - next, kBlockLines - b.lines.size());
    size_t units = 0;
    for (size_t i = next; i < next + n; ++i) units += lines[i].size();
    b.bytes.reserve(b.bytes.size() + units);
    for (size_t i = next; i < next + n; ++i) b.lines.push_back(b.Store(lines[i]));
    line_count_ += static_cast<uint32_t>(n);
    next += n;
  }
}

void LineStore::AppendLine(std::u16string_view text) {
  if (FitsNarrow(text)) {
    std::string narrow(text.begin(), text.end());
    AppendNarrowLine(narrow.data(), narrow.size());
    return;
  }
  AppendNarrowLine(nullptr, 0);  // opens a block when needed; replaced just below
  Block& b = *blocks_.back();
  b.lines.back() = b.Store(text);
}

void LineStore::DropLastUnitOfLines(uint32_t count) {
  for (uint32_t line = 0; line < count;) {
    const Location loc = Locate(line);
    Block& b = *blocks_[loc.block];
    for (uint32_t i = loc.index; i < b.lines.size() && line < count; ++i, ++line) {
      Block::Record& rec = b.lines[i];
      assert(rec.Length() > 0);
      b.garbage += rec.Wide() ? 2 : 1;
      rec.length_and_wide -= 1;
    }
  }
}

}  // namespace tavik::platform
