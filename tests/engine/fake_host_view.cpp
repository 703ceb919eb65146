// The fake host's buffer edits: positions clamped into the text, "\n" and "\r\n" splitting lines,
// and one change notification per edit as a host sends it.
#include "fake_host_view.h"

#include <algorithm>

namespace tavik {

FakeHostView::FakeHostView(std::u16string_view text) {
  size_t start = 0;
  for (;;) {
    size_t nl = text.find(u'\n', start);
    lines_.emplace_back(text.substr(start, nl == std::u16string_view::npos ? nl : nl - start));
    if (nl == std::u16string_view::npos) break;
    start = nl + 1;
  }
}

std::u16string FakeHostView::Text() const {
  std::u16string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += u'\n';
    text += lines_[i];
  }
  return text;
}

uint32_t FakeHostView::LineLength(uint32_t line) const {
  return line < lines_.size() ? uint32_t(lines_[line].size()) : 0;
}

bool FakeHostView::ReadLine(uint32_t line, std::u16string& out) const {
  if (line >= lines_.size()) return false;
  out = lines_[line];
  return true;
}

uint32_t FakeHostView::ReadNarrowLines(uint32_t first, std::span<std::string_view> out) const {
  if (!narrow_lines_) return 0;
  if (narrow_.size() != lines_.size()) {
    narrow_.assign(lines_.size(), {});
    fits_narrow_.assign(lines_.size(), true);
    for (size_t i = 0; i < lines_.size(); ++i) {
      for (char16_t c : lines_[i]) {
        if (c >= 256) fits_narrow_[i] = false;
        narrow_[i] += static_cast<char>(c);
      }
    }
  }
  uint32_t count = 0;
  for (size_t line = first; line < lines_.size() && count < out.size(); ++line, ++count) {
    if (!fits_narrow_[line]) break;
    out[count] = narrow_[line];
  }
  return count;
}

TextPos FakeHostView::Clamp(TextPos pos) const {
  uint32_t line = std::min<uint32_t>(pos.line, LineCount() - 1);
  return {line, std::min(pos.column, LineLength(line))};
}

HostResult FakeHostView::ReplaceText(TextPos start, TextPos end, std::u16string_view text) {
  start = Clamp(start);
  end = Clamp(end);
  if (end < start) std::swap(start, end);
  std::vector<std::u16string> inserted(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    if (text[i] == u'\n') {
      inserted.emplace_back();
    } else {
      inserted.back() += text[i];
    }
  }
  const std::u16string tail = lines_[end.line].substr(end.column);
  const uint32_t old_count = end.line - start.line + 1;
  inserted.front().insert(0, lines_[start.line], 0, start.column);
  const TextPos new_end{uint32_t(start.line + inserted.size() - 1),
                        uint32_t(inserted.back().size())};
  inserted.back() += tail;
  narrow_.clear();
  lines_.erase(lines_.begin() + start.line, lines_.begin() + end.line + 1);
  lines_.insert(lines_.begin() + start.line, inserted.begin(), inserted.end());
  if (listener_) {
    listener_({start.line, old_count, uint32_t(inserted.size()), start, end, new_end});
  }
  return HostResult::kOk;
}

HostResult FakeHostView::ExecuteCommand(std::u16string_view name, std::u16string_view argument) {
  std::u16string line(name);
  if (!argument.empty()) line.append(u" ").append(argument);
  commands_.push_back(std::move(line));
  return HostResult::kOk;
}

}  // namespace tavik
