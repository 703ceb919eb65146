// Indentation by one unit, shared by ">" and "<", their ex forms and CTRL-T and CTRL-D in insert
// mode.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/text/text_view.h"

namespace tavik {

// One indent unit: the indent size in spaces, or tabs and spaces when the host inserts tabs.
inline std::u16string IndentUnit(const TextView& view) {
  uint32_t indent = view.IndentSize();
  if (!view.InsertTabs() || view.TabSize() == 0) return std::u16string(indent, u' ');
  return std::u16string(indent / view.TabSize(), u'\t') +
         std::u16string(indent % view.TabSize(), u' ');
}

// How many leading units one unindent removes: up to one indent size of white space, a tab
// counting the tab size; a tab is taken whole and ends the removal when less than a tab size
// was left.
inline uint32_t UnitsToUnindent(const TextView& view, uint32_t line) {
  std::u16string_view text = view.LineText(line);
  uint32_t budget = view.IndentSize();
  uint32_t n = 0;
  while (n < text.size() && budget > 0) {
    if (text[n] == u' ') {
      --budget;
    } else if (text[n] == u'\t') {
      bool last = budget < view.TabSize();
      budget = last ? 0 : budget - view.TabSize();
      ++n;
      if (last) break;
      continue;
    } else {
      break;
    }
    ++n;
  }
  return n;
}

// Shifts the lines [first, last] one unit right (empty lines stay empty) or left, as one
// compound edit.
inline void ShiftLines(TextView& view, uint32_t first, uint32_t last, bool right) {
  const std::u16string unit = IndentUnit(view);
  TextView::CompoundScope compound(view);
  for (uint32_t line = first; line <= last; ++line) {
    if (right) {
      if (view.LineLength(line) > 0) view.InsertText({line, 0}, unit);
    } else if (uint32_t n = UnitsToUnindent(view, line); n > 0) {
      view.DeleteRange({line, 0}, {line, n});
    }
  }
}

}  // namespace tavik
