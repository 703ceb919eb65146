// The byte program decoded once per compile into instruction records, with what the matcher
// and the search prefilters need to know about it (join points, loop counters, first
// characters, a literal every match contains). Shared by all copies of a Pattern.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "regex/regex_classes.h"
#include "regex/regex_tables.h"

namespace tavik::regex {

struct Inst {
  Op op = Op::kMatch;
  Item item = Item::kLiteral;
  uint8_t arg = 0;    // group, slot, counter, class id or back-reference group
  uint8_t flags = 0;  // class flags
  char16_t ch = 0;    // literal
  char16_t ch_upper = 0;
  uint16_t value = 0;   // counter minimum or maximum
  int32_t target = -1;  // instruction index of a jump or split target
  int32_t join = -1;    // index among the join points, or -1
  uint32_t set = 0;     // index into ProgramInfo::sets
};

// A bracket set with its answers for ASCII subjects precomputed, both case rules.
struct SetInfo {
  bool negated = false;
  bool line_break = false;
  std::array<std::array<uint64_t, 2>, 2> ascii{};  // [ignore case][code / 64]
  std::vector<char16_t> chars;
  std::vector<CharSpan> ranges;
};

// Where a match can begin, for one case rule.
struct FirstChars {
  bool any_position = true;      // no filter: the pattern may match empty or starts too loosely
  bool line_start_only = false;  // every match begins at column 0
  bool word_start_only = false;  // every match begins at the start of a word
  bool at_line_end = false;      // a match may begin at the end of a line
  std::array<uint64_t, 2> ascii{};
  bool non_ascii = false;  // some character at or above 128 may begin a match
  std::array<char16_t, 3> needles{};
  uint8_t needle_count = 0;  // 1-3: the ASCII members, for a vectorised scan
};

// A string every match contains within one line, with the character to scan for.
struct RequiredLiteral {
  std::u16string text;  // empty: none
  size_t scan_index = 0;
  std::array<char16_t, 2> scan_chars{};  // the scanned character in both cases
  uint8_t scan_count = 0;
  bool scan_non_ascii = false;
  // The text comes right before the end of the line in every match ("7$"): a line can only
  // match when it ends with it, which is tested there instead of searched for.
  bool at_line_end = false;
};

struct ProgramInfo {
  std::vector<uint8_t> bytes;
  std::vector<Inst> insts;
  std::vector<SetInfo> sets;
  uint32_t join_count = 0;
  uint32_t group_count = 0;  // highest group byte + 1
  uint32_t slot_count = 0;
  uint32_t counter_count = 0;
  std::vector<uint16_t> counter_cap;  // counter values above this are alike for loop checks
  // No back-references, counters or and-concatenation: whether a path from an instruction at
  // a position can succeed depends on nothing else, so explored pairs need no second visit.
  bool memo_ok = true;
  bool single_line = true;  // no item consumes a line break
  // The program is literal characters alone (none a surrogate): a match is exactly where the
  // text holds them, which the required literal's scan finds without the matcher.
  bool literal_only = false;
  std::array<FirstChars, 2> first;          // [ignore case]
  std::array<RequiredLiteral, 2> required;  // [ignore case]
};

// Decodes and analyses a well-formed program as the compiler produced it.
ProgramInfo AnalyzeProgram(std::vector<uint8_t> bytes);

// Set membership of a subject character with the set rules (ranges compare codes of 128 and
// above as 0).
bool SetContains(const SetInfo& set, char16_t c, bool ignore_case);

}  // namespace tavik::regex
