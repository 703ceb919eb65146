// The editing behaviour of the host editor that typing and host commands share.
#include "platform/edit_operations.h"

#include <algorithm>
#include <cwctype>

namespace tavik::platform {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

bool IsWordUnit(char16_t c) {
  return c == u'_' || std::iswalnum(static_cast<wint_t>(c)) != 0;
}

int BracketDelta(char16_t c) {
  switch (c) {
    case u'{':
    case u'(':
    case u'[':
      return 1;
    case u'}':
    case u')':
    case u']':
      return -1;
    default:
      return 0;
  }
}

}  // namespace

std::u16string LeadingWhitespace(const TextBuffer& buffer, uint32_t line) {
  std::u16string text = buffer.Line(line);
  size_t n = 0;
  while (n < text.size() && IsBlank(text[n])) ++n;
  text.resize(n);
  return text;
}

uint32_t DisplayColumn(std::u16string_view line, uint32_t column, uint32_t tab_size) {
  if (tab_size == 0) tab_size = 8;
  uint32_t width = 0;
  for (uint32_t i = 0; i < column && i < line.size(); ++i) {
    width = line[i] == u'\t' ? tab_size * ((width + tab_size) / tab_size) : width + 1;
  }
  return width + (column > line.size() ? column - static_cast<uint32_t>(line.size()) : 0);
}

std::u16string IndentText(const ViewPreferences& prefs, uint32_t width) {
  std::u16string text;
  const uint32_t tab = prefs.tab_size == 0 ? 8 : prefs.tab_size;
  if (prefs.insert_tabs) text.assign(width / tab, u'\t'), width %= tab;
  text.append(width, u' ');
  return text;
}

void InsertAtCaret(View& view, std::u16string_view text, bool typing) {
  TextBuffer& buffer = view.Buffer();
  const ViewSelection sel = view.Selection();
  const TextPos start = sel.Empty() ? view.Caret() : sel.Start();
  const TextPos end = sel.Empty() ? view.Caret() : sel.End();
  if (std::optional<TextPos> new_end = buffer.Replace(start, end, text, typing && sel.Empty())) {
    view.SetCaret(*new_end);
  }
}

bool DeleteSelection(View& view) {
  const ViewSelection sel = view.Selection();
  if (sel.Empty()) return false;
  view.Buffer().Replace(sel.Start(), sel.End(), u"");
  view.SetCaret(sel.Start());
  return true;
}

void BreakLine(View& view) {
  TextBuffer& buffer = view.Buffer();
  buffer.OpenCompound();
  DeleteSelection(view);
  const TextPos caret = view.Caret();
  std::u16string indent = LeadingWhitespace(buffer, caret.line);
  if (indent.size() > caret.column) indent.resize(caret.column);
  InsertAtCaret(view, u"\n" + indent, false);
  buffer.CloseCompound();
}

bool DeleteAtCaret(View& view, bool backward) {
  if (DeleteSelection(view)) return true;
  TextBuffer& buffer = view.Buffer();
  const TextPos caret = view.Caret();
  const std::u16string line = buffer.Line(caret.line);
  TextPos from = caret;
  TextPos to = caret;
  if (backward) {
    if (caret.column > 0) {
      from.column -= 1;
      if (from.column > 0 && line[from.column] >= 0xDC00 && line[from.column] <= 0xDFFF &&
          line[from.column - 1] >= 0xD800 && line[from.column - 1] <= 0xDBFF) {
        from.column -= 1;
      }
    } else if (caret.line > 0) {
      from = {caret.line - 1, buffer.LineLength(caret.line - 1)};
    } else {
      return false;
    }
  } else {
    if (caret.column < line.size()) {
      to.column += 1;
      if (to.column < line.size() && line[caret.column] >= 0xD800 && line[caret.column] <= 0xDBFF &&
          line[to.column] >= 0xDC00 && line[to.column] <= 0xDFFF) {
        to.column += 1;
      }
    } else if (caret.line + 1 < buffer.LineCount()) {
      to = {caret.line + 1, 0};
    } else {
      return false;
    }
  }
  buffer.Replace(from, to, u"");
  view.SetCaret(from);
  return true;
}

void FormatLines(View& view, uint32_t first, uint32_t last) {
  TextBuffer& buffer = view.Buffer();
  last = std::min(last, buffer.LineCount() - 1);
  std::u16string text;
  int depth = 0;
  for (uint32_t l = 0; l < first; ++l) {
    buffer.ReadLine(l, text);
    for (char16_t c : text) depth = std::max(0, depth + BracketDelta(c));
  }
  const ViewPreferences& prefs = view.Preferences();
  buffer.OpenCompound();
  for (uint32_t l = first; l <= last; ++l) {
    buffer.ReadLine(l, text);
    size_t blank = 0;
    while (blank < text.size() && IsBlank(text[blank])) ++blank;
    int closers = 0;
    for (size_t i = blank; i < text.size() && BracketDelta(text[i]) < 0; ++i) ++closers;
    const int level = std::max(0, depth - closers);
    const std::u16string indent =
        blank == text.size() ? u""
                             : IndentText(prefs, static_cast<uint32_t>(level) * prefs.indent_size);
    if (text.compare(0, blank, indent) != 0) {
      buffer.Replace({l, 0}, {l, static_cast<uint32_t>(blank)}, indent);
    }
    for (size_t i = blank; i < text.size(); ++i) depth = std::max(0, depth + BracketDelta(text[i]));
  }
  buffer.CloseCompound();
  const uint32_t indent_end = static_cast<uint32_t>(LeadingWhitespace(buffer, first).size());
  view.SetCaret({first, indent_end});
}

uint32_t CollapseToDefinitions(View& view) {
  const TextBuffer& buffer = view.Buffer();
  CollapsedRegions& regions = view.Regions();
  std::u16string text;
  uint32_t count = 0;
  int depth = 0;
  TextPos open;
  for (uint32_t l = 0; l < buffer.LineCount(); ++l) {
    buffer.ReadLine(l, text);
    for (uint32_t c = 0; c < text.size(); ++c) {
      if (text[c] == u'{') {
        if (depth++ == 0) open = {l, c};
      } else if (text[c] == u'}' && depth > 0 && --depth == 0 && l > open.line) {
        const TextPos end{l, c + 1};
        bool known = false;
        for (const OutlineRegion& r : regions.All()) {
          if (r.start == open && r.end == end) {
            known = true;
            if (!r.collapsed) regions.Toggle(r.id);
          }
        }
        if (!known) regions.Add(open, end, u"{...}");
        ++count;
      }
    }
  }
  if (const OutlineRegion* r = view.Layout().HidingRegionAt(view.Caret())) view.SetCaret(r->start);
  return count;
}

bool CompleteWord(View& view) {
  TextBuffer& buffer = view.Buffer();
  const TextPos caret = view.Caret();
  const std::u16string line = buffer.Line(caret.line);
  uint32_t begin = std::min<uint32_t>(caret.column, static_cast<uint32_t>(line.size()));
  while (begin > 0 && IsWordUnit(line[begin - 1])) --begin;
  const std::u16string prefix = line.substr(begin, caret.column - begin);
  if (prefix.empty()) return false;
  // Nearest line first, looking upwards, then downwards.
  std::u16string text;
  const uint32_t count = buffer.LineCount();
  for (uint32_t step = 0; step < 2 * count; ++step) {
    const int64_t offset = step % 2 == 0 ? -static_cast<int64_t>(step / 2) : (step + 1) / 2;
    const int64_t l = static_cast<int64_t>(caret.line) + offset;
    if (l < 0 || l >= count) continue;
    buffer.ReadLine(static_cast<uint32_t>(l), text);
    for (size_t i = 0; i < text.size();) {
      if (!IsWordUnit(text[i])) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < text.size() && IsWordUnit(text[j])) ++j;
      const bool is_self = l == caret.line && i == begin;
      if (!is_self && j - i > prefix.size() && text.compare(i, prefix.size(), prefix) == 0) {
        InsertAtCaret(view,
                      std::u16string_view(text).substr(i + prefix.size(), j - i - prefix.size()),
                      false);
        return true;
      }
      i = j;
    }
  }
  return false;
}

}  // namespace tavik::platform
