// The incremental search and the character-code input of the host editor.
#include "platform/host_modal_input.h"

#include "platform/edit_operations.h"
#include "platform/editor_host.h"

namespace tavik::platform {

namespace {

constexpr size_t kMaxCodeDigits = 6;

char16_t LowerAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Lower-case text matches either case; an upper-case letter in it asks for that case.
bool MatchesAt(std::u16string_view line, size_t at, std::u16string_view pattern, bool exact) {
  if (at + pattern.size() > line.size()) return false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = line[at + i];
    if (exact ? c != pattern[i] : LowerAscii(c) != pattern[i]) return false;
  }
  return true;
}

}  // namespace

HostModalInput::HostModalInput(EditorHost& host, View& view, Kind kind)
    : host_(host), view_(view), kind_(kind) {
  origin_ = view.Selection().Empty() ? view.Caret() : view.Selection().Start();
  Show();
}

void HostModalInput::Show(std::u16string_view suffix) {
  std::u16string text =
      kind_ == Kind::kIncrementalSearch ? u"Incremental Search: " : u"Character code (hex): ";
  text += typed_;
  text += suffix;
  host_.SetStatusText(std::move(text));
}

void HostModalInput::Type(char16_t c) {
  if (kind_ == Kind::kCharacterCode && (HexValue(c) < 0 || typed_.size() >= kMaxCodeDigits)) {
    host_.Beep();
    return;
  }
  typed_ += c;
  if (kind_ == Kind::kIncrementalSearch) {
    Search(origin_);
  } else {
    Show();
  }
}

void HostModalInput::Erase() {
  if (typed_.empty()) return;
  typed_.pop_back();
  if (kind_ == Kind::kIncrementalSearch) {
    Search(origin_);
  } else {
    Show();
  }
}

void HostModalInput::Next() {
  if (kind_ != Kind::kIncrementalSearch || typed_.empty()) return;
  const TextPos start = view_.Selection().Empty() ? view_.Caret() : view_.Selection().Start();
  const TextBuffer& buffer = view_.Buffer();
  Search(start.column < buffer.LineLength(start.line) ? TextPos{start.line, start.column + 1}
                                                      : TextPos{start.line + 1, 0});
}

// Forward from `from`, around the end of the text to where it started.
void HostModalInput::Search(TextPos from) {
  const TextBuffer& buffer = view_.Buffer();
  if (typed_.empty()) {
    view_.SetCaret(origin_);
    Show();
    return;
  }
  bool exact = false;
  std::u16string pattern = typed_;
  for (char16_t& c : pattern) {
    if (c >= u'A' && c <= u'Z') exact = true;
  }
  if (!exact) {
    for (char16_t& c : pattern) c = LowerAscii(c);
  }
  const uint32_t count = buffer.LineCount();
  if (from.line >= count) from = {0, 0};
  std::u16string text;
  for (uint32_t i = 0; i <= count; ++i) {
    const uint32_t line = (from.line + i) % count;
    buffer.ReadLine(line, text);
    const size_t first = i == 0 ? from.column : 0;
    for (size_t at = first; at + pattern.size() <= text.size(); ++at) {
      if (!MatchesAt(text, at, pattern, exact)) continue;
      const auto column = static_cast<uint32_t>(at);
      view_.SetSelection({line, column}, {line, column + static_cast<uint32_t>(pattern.size())},
                         false);
      view_.ScrollToCaret();
      found_ = true;
      Show();
      return;
    }
  }
  found_ = false;
  host_.Beep();
  Show(u" (not found)");
}

void HostModalInput::Accept() {
  if (kind_ == Kind::kIncrementalSearch) {
    host_.SetStatusText(found_ || typed_.empty() ? u"" : u"Pattern not found: " + typed_);
    return;
  }
  if (typed_.empty()) {
    host_.SetStatusText(u"");
    return;
  }
  uint32_t code = 0;
  for (char16_t c : typed_) code = code * 16 + static_cast<uint32_t>(HexValue(c));
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    host_.SetStatusText(u"Invalid character code: " + typed_);
    return;
  }
  if (!host_.QueryEdit(view_.Buffer())) return;
  std::u16string text;
  if (code >= 0x10000) {
    code -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (code >> 10));
    text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  } else {
    text += static_cast<char16_t>(code);
  }
  InsertAtCaret(view_, text, true);
  view_.ScrollToCaret();
  host_.SetStatusText(u"");
}

void HostModalInput::Cancel() {
  if (kind_ == Kind::kIncrementalSearch) {
    view_.SetCaret(origin_);
    view_.ScrollToCaret();
  }
  host_.SetStatusText(u"");
}

}  // namespace tavik::platform
