// Fuzz target of the file loader: random bytes loaded and saved again must give the same bytes,
// whether they arrive at once or in chunks of any size, and after a line is rewritten with its
// own text (which moves it from narrow to wide storage) they still must.
//
// Input layout: byte 0 sets the chunk size of the second load; the rest are the file's bytes
// (at most 64 KB).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_invariants.h"
#include "platform/file_io.h"
#include "platform/line_store.h"

namespace {

constexpr size_t kMaxBytes = 65536;

bool SameFormat(const tavik::platform::FileFormat& a, const tavik::platform::FileFormat& b) {
  return a.line_break == b.line_break && a.final_line_break == b.final_line_break &&
         a.empty_when_blank == b.empty_when_blank && a.utf8_bom == b.utf8_bom;
}

bool SameLines(const tavik::platform::LineStore& a, const tavik::platform::LineStore& b) {
  if (a.LineCount() != b.LineCount()) return false;
  std::u16string x;
  std::u16string y;
  for (uint32_t line = 0; line < a.LineCount(); ++line) {
    a.ReadLine(line, x);
    b.ReadLine(line, y);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavik::platform;
  if (size < 1 || size > kMaxBytes + 1) return 0;
  const size_t chunk = size_t{data[0]} % 17 + 1;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  LineStore whole;
  const FileFormat format = LoadBytes(bytes, whole);
  FUZZ_CHECK(whole.LineCount() >= 1);
  FUZZ_CHECK(EncodeText(whole, format) == bytes);

  LineStore pieces;
  FileLoader loader(pieces);
  for (size_t at = 0; at < bytes.size(); at += chunk) {
    loader.Feed(bytes.data() + at, std::min(chunk, bytes.size() - at));
  }
  const FileFormat pieces_format = loader.Finish();
  FUZZ_CHECK(SameFormat(format, pieces_format));
  FUZZ_CHECK(SameLines(whole, pieces));

  std::string streamed;
  FUZZ_CHECK(WriteText(whole, format, [&](const char* out, size_t n) {
    streamed.append(out, n);
    return true;
  }));
  FUZZ_CHECK(streamed == bytes);

  const uint32_t line = static_cast<uint32_t>(chunk * 7919 % whole.LineCount());
  std::u16string text;
  whole.ReadLine(line, text);
  whole.SetLine(line, text);
  FUZZ_CHECK(EncodeText(whole, format) == bytes);
  return 0;
}
