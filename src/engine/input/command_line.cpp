// The command-line editor keys and the history. The line's text is the parser's pending text;
// index 0 holds the prefix character, which only Backspace on an otherwise empty line removes.
#include "engine/input/command_line.h"

#include <algorithm>

#include "common/char_class.h"

namespace tavik {

void CommandLineHistory::Add(std::u16string_view line) {
  entries_.emplace_back(line.substr(0, kEntryCapacity));
}

void CommandLineHistory::MoveToEnd(size_t index) {
  if (index >= entries_.size()) return;
  std::rotate(entries_.begin() + static_cast<std::ptrdiff_t>(index),
              entries_.begin() + static_cast<std::ptrdiff_t>(index) + 1, entries_.end());
}

std::optional<size_t> CommandLineHistory::FindOlder(size_t from, std::u16string_view prefix) const {
  for (size_t i = std::min(from, entries_.size()); i-- > 0;) {
    if (entries_[i].starts_with(prefix)) return i;
  }
  return std::nullopt;
}

std::optional<size_t> CommandLineHistory::FindNewer(size_t from, std::u16string_view prefix) const {
  for (size_t i = from + 1; i < entries_.size(); ++i) {
    if (entries_[i].starts_with(prefix)) return i;
  }
  return std::nullopt;
}

void RecordInHistory(std::u16string_view text, CommandLineState& state,
                     CommandLineHistory& history) {
  if (state.browsing && state.browse_index < history.size()) {
    history.MoveToEnd(state.browse_index);
    state.browse_index = history.size() - 1;
  } else if (text.size() > 1) {
    history.Add(text);
  }
}

namespace {

void InsertAtCursor(std::u16string& text, CommandLineState& state, std::u16string_view what) {
  text.insert(state.cursor, what);
  state.cursor += what.size();
}

LineKeyResult LoadEntry(std::u16string& text, CommandLineState& state,
                        const CommandLineHistory& history, std::optional<size_t> index) {
  if (!index) return LineKeyResult::kUnchanged;
  state.browse_index = *index;
  text = history[*index];
  state.cursor = text.size();
  return LineKeyResult::kChanged;
}

// The first Up keeps what was typed, both as the prefix to browse by and as a history entry, so
// that Down can come back to it.
LineKeyResult BrowseOlder(std::u16string& text, CommandLineState& state,
                          CommandLineHistory& history) {
  if (!state.browsing) {
    state.browse_prefix = text.substr(0, CommandLineHistory::kEntryCapacity);
    size_t before = history.size();
    RecordInHistory(text, state, history);
    state.browse_index = history.size() > before ? history.size() - 1 : history.size();
    state.browsing = true;
  }
  return LoadEntry(text, state, history,
                   history.FindOlder(state.browse_index, state.browse_prefix));
}

LineKeyResult BrowseNewer(std::u16string& text, CommandLineState& state,
                          const CommandLineHistory& history) {
  if (!state.browsing) return LineKeyResult::kUnchanged;
  return LoadEntry(text, state, history,
                   history.FindNewer(state.browse_index, state.browse_prefix));
}

LineKeyResult Backspace(std::u16string& text, CommandLineState& state) {
  // At index 1 with text after the cursor the prefix would go and leave a headless line.
  if (state.cursor <= 1 && text.size() > 1) return LineKeyResult::kUnchanged;
  if (state.cursor == 0) return LineKeyResult::kUnchanged;
  text.erase(state.cursor - 1, 1);
  --state.cursor;
  return LineKeyResult::kChanged;
}

LineKeyResult DeleteWordBefore(std::u16string& text, CommandLineState& state) {
  size_t start = state.cursor;
  while (start > 1 && ClassOf(text[start - 1]) == CharClass::kBlank) --start;
  if (start > 1) {
    CharClass run = ClassOf(text[start - 1]);
    while (start > 1 && ClassOf(text[start - 1]) == run) --start;
  }
  state.browsing = false;
  if (start >= state.cursor) return LineKeyResult::kUnchanged;
  text.erase(start, state.cursor - start);
  state.cursor = start;
  return LineKeyResult::kChanged;
}

LineKeyResult CharacterKey(std::u16string& text, CommandLineState& state, ParserServices& services,
                           char16_t c) {
  switch (c) {
    case ch::kBackspace:
      return Backspace(text, state);
    case ch::kReturn:
      return LineKeyResult::kEnter;
    case ch::kCtrlR:
      state.waiting_for_register = true;
      return LineKeyResult::kUnchanged;
    case ch::kCtrlU:
      if (state.cursor <= 1) return LineKeyResult::kUnchanged;
      text.erase(1, state.cursor - 1);
      state.cursor = 1;
      return LineKeyResult::kChanged;
    case ch::kCtrlW:
      return DeleteWordBefore(text, state);
    case ch::kCtrlY:
      services.YankToDefaultRegister(std::u16string_view(text).substr(1));
      return LineKeyResult::kUnchanged;
    default:
      break;
  }
  if (c < 32 && c != ch::kTab) return LineKeyResult::kUnchanged;
  InsertAtCursor(text, state, std::u16string_view(&c, 1));
  return LineKeyResult::kChanged;
}

LineKeyResult SpecialKey(std::u16string& text, CommandLineState& state, CommandLineHistory& history,
                         uint32_t virtual_key) {
  switch (virtual_key) {
    case vk::kHome:
      state.cursor = 1;
      return LineKeyResult::kUnchanged;
    case vk::kEnd:
      state.cursor = text.size();
      return LineKeyResult::kUnchanged;
    case vk::kLeft:
      if (state.cursor > 1) --state.cursor;
      return LineKeyResult::kUnchanged;
    case vk::kRight:
      if (state.cursor < text.size()) ++state.cursor;
      return LineKeyResult::kUnchanged;
    case vk::kDelete:
      if (state.cursor >= text.size()) return LineKeyResult::kUnchanged;
      text.erase(state.cursor, 1);
      return LineKeyResult::kChanged;
    case vk::kUp:
      return BrowseOlder(text, state, history);
    case vk::kDown:
      return BrowseNewer(text, state, history);
    default:
      return LineKeyResult::kNotConsumed;
  }
}

}  // namespace

LineKeyResult EditCommandLine(std::u16string& text, CommandLineState& state,
                              CommandLineHistory& history, ParserServices& services, KeyCode key) {
  if (key.Has(key_mod::kAlt)) return LineKeyResult::kNotConsumed;
  if (state.waiting_for_register) {
    state.waiting_for_register = false;
    if (key.IsChar()) {
      std::optional<std::u16string> inserted =
          services.RegisterTextForCommandLine(static_cast<char16_t>(key.code));
      if (!inserted || inserted->empty()) return LineKeyResult::kUnchanged;
      InsertAtCursor(text, state, *inserted);
      state.browsing = false;
      return LineKeyResult::kChanged;
    }
    // Any other key just ends the wait and does its usual work.
  }
  if (key.IsChar()) {
    LineKeyResult result = CharacterKey(text, state, services, static_cast<char16_t>(key.code));
    // Editing a loaded entry makes it a new line: it goes to the history as typed.
    if (result == LineKeyResult::kChanged) state.browsing = false;
    return result;
  }
  if (key.IsSpecial()) {
    LineKeyResult result = SpecialKey(text, state, history, key.code);
    if (result == LineKeyResult::kChanged && key.code == vk::kDelete) state.browsing = false;
    return result;
  }
  return LineKeyResult::kNotConsumed;
}

}  // namespace tavik
