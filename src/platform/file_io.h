// Reading UTF-8 files into line stores and writing them back byte for byte: line breaks, the
// final line break, NUL bytes and invalid bytes all survive a load and save without edits.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/line_store.h"

namespace tavik::platform {

enum class LineBreak { kLf, kCrLf };

// How a file's lines were separated; the lines themselves hold neither breaks nor (for CR LF
// files) the CRs.
struct FileFormat {
  LineBreak line_break = LineBreak::kLf;
  bool final_line_break = false;
  // Set for documents that did not come from a file: while they hold one empty line they save
  // as an empty file, and once they have text it ends with a line break.
  bool empty_when_blank = false;
  // The file starts with the UTF-8 byte-order mark: kept on saving, never part of the text.
  bool utf8_bom = false;
};

// Turns a stream of file bytes, fed in chunks of any size, into lines.
class FileLoader {
 public:
  explicit FileLoader(LineStore& lines);
  void Feed(const char* data, size_t size);
  FileFormat Finish();

 private:
  void TakeLine(const char* data, size_t size, bool ascii_known);
  void FeedLines(const char* data, size_t size);

  LineStore& lines_;
  std::string partial_;  // an unterminated line carried to the next chunk
  std::u16string decoded_;
  uint32_t lf_count_ = 0;
  uint32_t crlf_count_ = 0;
  // The first bytes, held until they show whether the file starts with a byte-order mark.
  std::string head_;
  bool head_done_ = false;
  bool bom_ = false;
};

// Loads a file; the error text when it cannot be read.
std::optional<std::string> LoadFile(const std::string& path, LineStore& lines, FileFormat& format);
FileFormat LoadBytes(std::string_view bytes, LineStore& lines);

// Encodes the lines as the file would hold them, in pieces of about 1 MB handed to `sink`, which
// returns false to stop.
using ByteSink = std::function<bool(const char* data, size_t size)>;
bool WriteText(const LineStore& lines, const FileFormat& format, const ByteSink& sink);
bool WriteText(const LineStore& lines, const FileFormat& format, std::FILE* out);
bool WriteText(const LineStore& lines, const FileFormat& format, std::ostream& out);
std::string EncodeText(const LineStore& lines, const FileFormat& format);

}  // namespace tavik::platform
