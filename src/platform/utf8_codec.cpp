// UTF-8 decoding with raw-byte carriage of invalid input, and the matching encoder.
#include "platform/utf8_codec.h"

#include <cstring>

namespace tavik::platform {

bool IsAscii(const char* data, size_t size) {
  size_t i = 0;
  uint64_t acc = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, data + i, 8);
    acc |= word;
  }
  for (; i < size; ++i) acc |= static_cast<unsigned char>(data[i]);
  return (acc & 0x8080808080808080ull) == 0;
}

namespace {

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// Length of the valid sequence starting at s[0], or 0 when the lead byte starts none.
size_t ValidSequenceLength(const unsigned char* s, size_t avail, char32_t& cp) {
  const unsigned char b0 = s[0];
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len;
  char32_t min;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, min = 0x80, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, min = 0x800, cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (avail < len) return 0;
  for (size_t i = 1; i < len; ++i) {
    if (!IsContinuation(s[i])) return 0;
    cp = (cp << 6) | (s[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

void DecodeUtf8(std::string_view bytes, std::u16string& out) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  out.reserve(out.size() + n);
  size_t i = 0;
  while (i < n) {
    if (s[i] < 0x80) {
      out.push_back(s[i++]);
      continue;
    }
    char32_t cp = 0;
    const size_t len = ValidSequenceLength(s + i, n - i, cp);
    if (len == 0) {
      out.push_back(static_cast<char16_t>(kRawByteBase + s[i]));
      ++i;
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
      i += len;
    } else {
      out.push_back(static_cast<char16_t>(cp));
      i += len;
    }
  }
}

size_t EncodeUtf8To(const char16_t* u, size_t count, char* out) {
  char* o = out;
  for (size_t i = 0; i < count; ++i) {
    const char32_t c = u[i];
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *o++ = static_cast<char>(0xC0 | (c >> 6));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && u[i + 1] >= 0xDC00 &&
               u[i + 1] <= 0xDFFF) {
      const char32_t cp = 0x10000 + ((c - 0xD800) << 10) + (u[i + 1] - 0xDC00);
      ++i;
      *o++ = static_cast<char>(0xF0 | (cp >> 18));
      *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (c >= kRawByteBase + 0x80 && c <= kRawByteBase + 0xFF) {
      *o++ = static_cast<char>(c - kRawByteBase);
    } else {
      *o++ = static_cast<char>(0xE0 | (c >> 12));
      *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return static_cast<size_t>(o - out);
}

size_t EncodeNarrowUtf8To(const unsigned char* u, size_t count, char* out) {
  char* o = out;
  for (size_t i = 0; i < count; ++i) {
    const unsigned char c = u[i];
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
    } else {
      *o++ = static_cast<char>(0xC0 | (c >> 6));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return static_cast<size_t>(o - out);
}

void EncodeUtf8(std::u16string_view units, std::string& out) {
  const size_t old = out.size();
  out.resize(old + units.size() * 3);
  out.resize(old + EncodeUtf8To(units.data(), units.size(), out.data() + old));
}

void EncodeNarrowUtf8(std::string_view units, std::string& out) {
  const size_t old = out.size();
  out.resize(old + units.size() * 2);
  const auto* u = reinterpret_cast<const unsigned char*>(units.data());
  out.resize(old + EncodeNarrowUtf8To(u, units.size(), out.data() + old));
}

std::u16string FromUtf8(std::string_view bytes) {
  std::u16string out;
  DecodeUtf8(bytes, out);
  return out;
}

std::string ToUtf8(std::u16string_view units) {
  std::string out;
  EncodeUtf8(units, out);
  return out;
}

}  // namespace tavik::platform
