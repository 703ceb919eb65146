// The `set` options: the compiled-in option table, the per-engine and per-view value sets, and
// the accessors every other part uses to read them. The `set` command itself is in set_command.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavik {

enum class OptionType : uint8_t { kNone = 0, kBool = 1, kNumber = 2, kString = 3 };

// Option ids: the row index in kOptionTable.
enum class OptionId : uint32_t {
  kNull = 0,
  kIgnoreCase = 1,
  kSmartCase = 2,
  kMagic = 3,
  kViUndo = 4,
  kIncSearch = 5,
  kVaxEsc = 6,
  kGDefault = 7,
  kHlSearch = 8,
  kRemap = 9,
  kWrapScan = 10,
  kList = 11,
  kTimeout = 12,
  kTimeoutLen = 13,
  kNrFormats = 14,
  kHideStatus = 15,
};
inline constexpr size_t kOptionCount = 16;  // ids 0 to 15

struct OptionRow {
  std::string_view name;
  std::string_view abbreviation;  // empty: none
  OptionId id;
  OptionType type;
  bool global;  // read from the global set rather than the view's copy
  bool default_bool;
  uint32_t default_number;
  std::u16string_view default_string;
};

inline constexpr std::array<OptionRow, kOptionCount> kOptionTable = {{
    // name, abbreviation, id, type, global, default bool, default number, default string
    {"null opt", "n o", OptionId::kNull, OptionType::kNone, false, false, 0, u""},
    {"ignorecase", "ic", OptionId::kIgnoreCase, OptionType::kBool, true, true, 0, u""},
    {"smartcase", "scs", OptionId::kSmartCase, OptionType::kBool, true, true, 0, u""},
    {"magic", "ma", OptionId::kMagic, OptionType::kBool, true, true, 0, u""},
    {"viundo", "viu", OptionId::kViUndo, OptionType::kBool, true, false, 0, u""},
    {"incsearch", "is", OptionId::kIncSearch, OptionType::kBool, true, true, 0, u""},
    {"vaxesc", "vax", OptionId::kVaxEsc, OptionType::kBool, true, true, 0, u""},
    {"gdefault", "gd", OptionId::kGDefault, OptionType::kBool, true, false, 0, u""},
    {"hlsearch", "hls", OptionId::kHlSearch, OptionType::kBool, true, true, 0, u""},
    {"remap", "rem", OptionId::kRemap, OptionType::kBool, true, true, 0, u""},
    {"wrapscan", "ws", OptionId::kWrapScan, OptionType::kBool, true, true, 0, u""},
    {"list", "", OptionId::kList, OptionType::kBool, true, false, 0, u""},
    {"timeout", "to", OptionId::kTimeout, OptionType::kBool, true, true, 0, u""},
    {"timeoutlen", "tm", OptionId::kTimeoutLen, OptionType::kNumber, true, false, 1000, u""},
    {"nrformats", "nf", OptionId::kNrFormats, OptionType::kString, false, false, 0, u"octal,hex"},
    {"hidestatus", "", OptionId::kHideStatus, OptionType::kBool, true, false, 0, u""},
}};

// Table accessors. Ids outside the table give kNone, "invalid-option", false, 0 or "".
OptionType OptionTypeOf(OptionId id);
std::string_view OptionName(OptionId id);
bool IsGlobalOption(OptionId id);
bool DefaultBool(OptionId id);
uint32_t DefaultNumber(OptionId id);
std::u16string_view DefaultString(OptionId id);

// The id whose full name, then abbreviation, equals `name` exactly (case-sensitive); 0 if none.
OptionId FindOption(std::u16string_view name);

// The values of every option. The engine's global set has no link; a view's set is a copy of
// the global values linked back to it, so global options are always read from one place.
class OptionSet {
 public:
  // A global set holding the table defaults.
  OptionSet();
  // A view's set: a copy of this global set's current values, linked to it. This set must
  // outlive the copy.
  OptionSet CopyForView() const;

  bool IsGlobalSet() const { return global_ == nullptr; }

  // Values as a view sees them: global options from the global set, per-view options from this
  // set. All engine code reads options this way.
  bool Bool(OptionId id) const { return Source(id).bools_[Index(id)]; }
  uint32_t Number(OptionId id) const { return Source(id).numbers_[Index(id)]; }
  std::u16string_view String(OptionId id) const { return Source(id).strings_[Index(id)]; }

  // Store into this set's own slot, whatever the option's scope.
  void SetBool(OptionId id, bool value) { bools_[Index(id)] = value; }
  void SetNumber(OptionId id, uint32_t value) { numbers_[Index(id)] = value; }
  void SetString(OptionId id, std::u16string_view value) {
    strings_[Index(id)] = std::u16string(value);
  }

 private:
  static size_t Index(OptionId id);
  const OptionSet& Source(OptionId id) const;

  std::array<bool, kOptionCount> bools_{};
  std::array<uint32_t, kOptionCount> numbers_{};
  std::array<std::u16string, kOptionCount> strings_{};
  const OptionSet* global_ = nullptr;
};

}  // namespace tavik
