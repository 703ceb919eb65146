// The command line typed after ":", "/" or "?": its state, the editor keys that change it, and
// the history of finished lines with browsing by prefix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/key_code.h"
#include "common/text_pos.h"

namespace tavik {

// What the parser needs from the rest of the engine: register text for CTRL-R on a command line
// and the default register for CTRL-Y.
class ParserServices {
 public:
  virtual ~ParserServices() = default;
  virtual std::optional<std::u16string> RegisterTextForCommandLine(char16_t name) = 0;
  virtual void YankToDefaultRegister(std::u16string_view text) = 0;
};

// Finished command lines, oldest first, each with its prefix character so ":" lines and search
// lines are browsed apart.
class CommandLineHistory {
 public:
  // Entries live in fixed slots of 256 units including a terminator.
  static constexpr size_t kEntryCapacity = 255;

  void Add(std::u16string_view line);
  void MoveToEnd(size_t index);
  size_t size() const { return entries_.size(); }
  const std::u16string& operator[](size_t index) const { return entries_[index]; }
  // The nearest entry before `from` (after `from` for FindNewer) that begins with `prefix`.
  std::optional<size_t> FindOlder(size_t from, std::u16string_view prefix) const;
  std::optional<size_t> FindNewer(size_t from, std::u16string_view prefix) const;

 private:
  std::vector<std::u16string> entries_;
};

struct CommandLineState {
  bool open = false;
  char16_t prefix = 0;  // ':', '/' or '?'
  size_t cursor = 0;    // index into the line text; never before 1 (the prefix)
  bool incsearch_active = false;
  TextPos search_start;
  bool backward = false;
  bool waiting_for_register = false;  // after CTRL-R
  // History browsing: the entry shown and the text typed when browsing started.
  bool browsing = false;
  size_t browse_index = 0;
  std::u16string browse_prefix;
};

enum class LineKeyResult : uint8_t {
  kNotConsumed,  // the host gets the key
  kUnchanged,
  kChanged,
  kEnter,  // Return: run the line
};

// Applies one key to an open command line. `text` is the whole line, prefix included; it may
// become empty (Backspace over the prefix), which closes the line.
LineKeyResult EditCommandLine(std::u16string& text, CommandLineState& state,
                              CommandLineHistory& history, ParserServices& services, KeyCode key);

// Records a finished line: a browsed entry moves to the end, otherwise the text is added when it
// holds more than the prefix.
void RecordInHistory(std::u16string_view text, CommandLineState& state,
                     CommandLineHistory& history);

}  // namespace tavik
