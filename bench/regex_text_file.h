// Loads a UTF-8 text file into one UTF-16 buffer with a view per line, for the pattern
// benchmarks and the line-counting tool. Lines end at '\n'; a '\r' before it is dropped.
#pragma once

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/line_source.h"

namespace tavik::bench {

struct TextFile {
  std::u16string text;
  std::vector<std::u16string_view> lines;
};

// ASCII bytes to UTF-16 units, 16 at a time through local buffers so the compiler vectorises
// the loop without having to prove that source and destination do not overlap.
inline void WidenAscii(const char* src, char16_t* dst, size_t n) {
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    unsigned char in[16];
    char16_t out[16];
    std::memcpy(in, src + i, 16);
    for (int k = 0; k < 16; ++k) out[k] = in[k];
    std::memcpy(dst + i, out, sizeof out);
  }
  for (; i < n; ++i) dst[i] = static_cast<unsigned char>(src[i]);
}

inline void AppendUtf8(std::string_view in, std::u16string& out) {
  // ASCII runs are widened in bulk; the loop below handles the rest.
  size_t ascii = 0;
  while (ascii < in.size() && static_cast<unsigned char>(in[ascii]) < 0x80) ++ascii;
  size_t old = out.size();
  out.resize(old + ascii);
  WidenAscii(in.data(), out.data() + old, ascii);
  for (size_t i = ascii; i < in.size();) {
    unsigned char b = static_cast<unsigned char>(in[i]);
    if (b < 0x80) {
      out.push_back(char16_t(b));
      ++i;
      continue;
    }
    uint32_t cp = 0xFFFD;
    size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (i + n <= in.size() && n > 1) {
      cp = b & (0x7F >> n);
      for (size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(in[i + k]) & 0x3F);
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
    i += n;
  }
}

inline std::optional<TextFile> LoadTextFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::string bytes;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    long size = std::ftell(f);
    std::rewind(f);
    if (size > 0) bytes.resize(size_t(size));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  }
  char buf[1 << 16];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
  std::fclose(f);
  TextFile file;
  std::vector<std::pair<size_t, size_t>> spans;
  std::string_view all(bytes);
  unsigned char high = 0;
  for (char c : all) high |= static_cast<unsigned char>(c);
  const bool ascii = high < 0x80;
  if (ascii) {
    // Offsets in the bytes are offsets in the text: widen once, then split on the bytes.
    file.text.resize(all.size());
    WidenAscii(all.data(), file.text.data(), all.size());
  } else {
    file.text.reserve(all.size());
  }
  size_t start = 0;
  while (start <= all.size()) {
    const void* hit = std::memchr(all.data() + start, '\n', all.size() - start);
    size_t nl = hit ? size_t(static_cast<const char*>(hit) - all.data()) : all.size();
    if (nl == all.size() && start == all.size()) break;
    std::string_view line = all.substr(start, nl - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (ascii) {
      spans.push_back({start, line.size()});
    } else {
      size_t from = file.text.size();
      AppendUtf8(line, file.text);
      spans.push_back({from, file.text.size() - from});
    }
    start = nl + 1;
  }
  if (spans.empty()) spans.push_back({0, 0});
  for (auto [from, len] : spans) file.lines.emplace_back(file.text.data() + from, len);
  return file;
}

}  // namespace tavik::bench
