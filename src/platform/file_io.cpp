// Chunked loading with memchr and an all-ASCII fast path; block-wise encoding for saving.
#include "platform/file_io.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/utf8_codec.h"

namespace tavik::platform {

namespace {

constexpr size_t kChunkSize = 1 << 20;
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string ErrorText(const char* what, const std::string& path) {
  return std::string(what) + " \"" + path + "\": " + std::strerror(errno);
}

}  // namespace

FileLoader::FileLoader(LineStore& lines) : lines_(lines) {
  lines_.ClearForAppend();
}

void FileLoader::TakeLine(const char* data, size_t size, bool ascii_known) {
  if (ascii_known || IsAscii(data, size)) {
    lines_.AppendNarrowLine(data, size);
    return;
  }
  decoded_.clear();
  DecodeUtf8({data, size}, decoded_);
  lines_.AppendLine(decoded_);
}

void FileLoader::Feed(const char* data, size_t size) {
  if (head_done_) {
    FeedLines(data, size);
    return;
  }
  const size_t take = std::min(size, kBom.size() - head_.size());
  head_.append(data, take);
  if (head_.size() < kBom.size()) return;
  head_done_ = true;
  bom_ = head_ == kBom;
  if (!bom_) FeedLines(head_.data(), head_.size());
  FeedLines(data + take, size - take);
}

void FileLoader::FeedLines(const char* data, size_t size) {
  if (size == 0) return;
  const char* p = data;
  const char* end = data + size;
  if (!partial_.empty()) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', size));
    if (nl == nullptr) {
      partial_.append(p, size);
      return;
    }
    partial_.append(p, static_cast<size_t>(nl - p));
    ++lf_count_;
    if (partial_.back() == '\r') ++crlf_count_;
    TakeLine(partial_.data(), partial_.size(), false);
    partial_.clear();
    p = nl + 1;
  }
  const bool ascii = IsAscii(p, static_cast<size_t>(end - p));
  // All-ASCII lines go to the store a block's worth at a time.
  std::array<std::string_view, 256> pending;
  size_t held = 0;
  while (p < end) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    if (nl == nullptr) {
      partial_.assign(p, end);
      break;
    }
    ++lf_count_;
    if (nl > p && nl[-1] == '\r') ++crlf_count_;
    if (ascii) {
      pending[held++] = {p, static_cast<size_t>(nl - p)};
      if (held == pending.size()) {
        lines_.AppendNarrowLines({pending.data(), held});
        held = 0;
      }
    } else {
      TakeLine(p, static_cast<size_t>(nl - p), false);
    }
    p = nl + 1;
  }
  lines_.AppendNarrowLines({pending.data(), held});
}

FileFormat FileLoader::Finish() {
  if (!head_done_) {
    head_done_ = true;
    FeedLines(head_.data(), head_.size());
  }
  FileFormat format;
  format.utf8_bom = bom_;
  if (lf_count_ > 0 && partial_.empty()) {
    format.final_line_break = true;
  } else {
    TakeLine(partial_.data(), partial_.size(), false);
    partial_.clear();
  }
  if (lf_count_ > 0 && crlf_count_ == lf_count_) {
    format.line_break = LineBreak::kCrLf;
    lines_.DropLastUnitOfLines(lf_count_);
  }
  return format;
}

std::optional<std::string> LoadFile(const std::string& path, LineStore& lines, FileFormat& format) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return ErrorText("Cannot open", path);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, &std::fclose);
  LineStore loaded;
  FileLoader loader(loaded);
  std::vector<char> chunk(kChunkSize);
  for (;;) {
    const size_t n = std::fread(chunk.data(), 1, chunk.size(), file);
    if (n > 0) loader.Feed(chunk.data(), n);
    if (n < chunk.size()) {
      if (std::ferror(file)) return ErrorText("Cannot read", path);
      break;
    }
  }
  format = loader.Finish();
  lines = std::move(loaded);
  return std::nullopt;
}

FileFormat LoadBytes(std::string_view bytes, LineStore& lines) {
  FileLoader loader(lines);
  loader.Feed(bytes.data(), bytes.size());
  return loader.Finish();
}

bool WriteText(const LineStore& lines, const FileFormat& format, const ByteSink& sink) {
  if (format.utf8_bom && !sink(kBom.data(), kBom.size())) return false;
  // A new document that is still one empty line is an empty file, not a lone line break.
  if (format.empty_when_blank && lines.LineCount() == 1 && lines.LineLength(0) == 0) return true;
  std::vector<char> buffer(kChunkSize);
  size_t used = 0;
  const std::string_view line_break = format.line_break == LineBreak::kCrLf ? "\r\n" : "\n";
  const uint32_t count = lines.LineCount();
  // Room for `units` units encoded at up to `per_unit` bytes each and a line break.
  auto make_room = [&](size_t units, size_t per_unit) {
    const size_t need = units * per_unit + line_break.size();
    if (used + need <= buffer.size()) return true;
    if (used > 0 && !sink(buffer.data(), used)) return false;
    used = 0;
    if (need > buffer.size()) buffer.resize(need);
    return true;
  };
  auto end_line = [&](uint32_t line) {
    if (line + 1 == count && !format.final_line_break) return;
    std::memcpy(buffer.data() + used, line_break.data(), line_break.size());
    used += line_break.size();
  };
  std::array<std::string_view, 256> batch;
  for (uint32_t i = 0; i < count;) {
    const uint32_t got = lines.ReadNarrow(i, batch);
    if (got == 0) {
      const RawLine raw = lines.Raw(i);  // held two bytes per unit
      if (!make_room(raw.length, 3)) return false;
      used +=
          EncodeUtf8To(static_cast<const char16_t*>(raw.data), raw.length, buffer.data() + used);
      end_line(i++);
      continue;
    }
    // Lines stored one after the other are tested for ASCII together.
    for (uint32_t first = 0; first < got;) {
      uint32_t end = first + 1;
      while (end < got && batch[end].data() == batch[end - 1].data() + batch[end - 1].size()) {
        ++end;
      }
      const bool ascii = IsAscii(
          batch[first].data(),
          static_cast<size_t>(batch[end - 1].data() + batch[end - 1].size() - batch[first].data()));
      for (; first < end; ++first, ++i) {
        const std::string_view text = batch[first];
        if (!make_room(text.size(), ascii ? 1 : 2)) return false;
        if (ascii) {
          if (!text.empty()) std::memcpy(buffer.data() + used, text.data(), text.size());
          used += text.size();
        } else {
          used += EncodeNarrowUtf8To(reinterpret_cast<const unsigned char*>(text.data()),
                                     text.size(), buffer.data() + used);
        }
        end_line(i);
      }
    }
  }
  return used == 0 || sink(buffer.data(), used);
}

bool WriteText(const LineStore& lines, const FileFormat& format, std::FILE* out) {
  return WriteText(lines, format, [out](const char* data, size_t size) {
    return std::fwrite(data, 1, size, out) == size;
  });
}

bool WriteText(const LineStore& lines, const FileFormat& format, std::ostream& out) {
  return WriteText(lines, format, [&out](const char* data, size_t size) {
    out.write(data, static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
  });
}

std::string EncodeText(const LineStore& lines, const FileFormat& format) {
  std::string text;
  WriteText(lines, format, [&text](const char* data, size_t size) {
    text.append(data, size);
    return true;
  });
  return text;
}

}  // namespace tavik::platform
