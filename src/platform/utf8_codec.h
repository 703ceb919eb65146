// Conversion between the UTF-8 bytes of files and the UTF-16 units of buffer lines. Bytes that
// are not valid UTF-8 travel as the lone units U+DC80..U+DCFF so that every file round-trips.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavik::platform {

// The unit that carries an undecodable byte b is kRawByteBase + b.
inline constexpr char16_t kRawByteBase = 0xDC00;

// True when no byte of [data, data + size) has its high bit set.
bool IsAscii(const char* data, size_t size);

// Appends the UTF-16 form of the bytes to `out`. Overlong forms, encoded surrogates, code points
// above U+10FFFF and truncated sequences decode byte by byte as raw-byte units.
void DecodeUtf8(std::string_view bytes, std::u16string& out);

// Appends the UTF-8 form of the units to `out`; raw-byte units give back their byte. Any other
// lone surrogate is written in the three-byte form so that no unit is lost.
void EncodeUtf8(std::u16string_view units, std::string& out);
// The same for units stored one byte each (all below 256).
void EncodeNarrowUtf8(std::string_view units, std::string& out);

// Writes the UTF-8 form of `units` to `out` and returns the number of bytes written; `out` must
// have room for 3 bytes per unit.
size_t EncodeUtf8To(const char16_t* units, size_t count, char* out);
size_t EncodeNarrowUtf8To(const unsigned char* units, size_t count, char* out);

// Convenience for tests and messages: UTF-16 from and to UTF-8 text.
std::u16string FromUtf8(std::string_view bytes);
std::string ToUtf8(std::u16string_view units);

}  // namespace tavik::platform
