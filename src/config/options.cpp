// The option table accessors and the option value sets.
#include "config/options.h"

#include <cassert>

namespace tavik {
namespace {

constexpr bool TableIdsMatchRows() {
  for (size_t i = 0; i < kOptionTable.size(); ++i) {
    if (static_cast<size_t>(kOptionTable[i].id) != i) return false;
  }
  return true;
}
static_assert(TableIdsMatchRows());

bool IsValidId(OptionId id) {
  return static_cast<size_t>(id) < kOptionCount;
}

const OptionRow& RowOf(OptionId id) {
  return kOptionTable[static_cast<size_t>(id)];
}

// Option names are ASCII, typed names UTF-16: compare unit by unit.
bool SameName(std::u16string_view typed, std::string_view name) {
  if (typed.empty() || typed.size() != name.size()) return false;
  for (size_t i = 0; i < typed.size(); ++i) {
    if (typed[i] != static_cast<unsigned char>(name[i])) return false;
  }
  return true;
}

}  // namespace

OptionType OptionTypeOf(OptionId id) {
  return IsValidId(id) ? RowOf(id).type : OptionType::kNone;
}

std::string_view OptionName(OptionId id) {
  return IsValidId(id) ? RowOf(id).name : std::string_view("invalid-option");
}

bool IsGlobalOption(OptionId id) {
  return IsValidId(id) && RowOf(id).global;
}

bool DefaultBool(OptionId id) {
  return IsValidId(id) && RowOf(id).default_bool;
}

uint32_t DefaultNumber(OptionId id) {
  return IsValidId(id) ? RowOf(id).default_number : 0;
}

std::u16string_view DefaultString(OptionId id) {
  return IsValidId(id) ? RowOf(id).default_string : std::u16string_view();
}

OptionId FindOption(std::u16string_view name) {
  for (const OptionRow& row : kOptionTable) {
    if (SameName(name, row.name) || SameName(name, row.abbreviation)) return row.id;
  }
  return OptionId::kNull;
}

OptionSet::OptionSet() {
  for (const OptionRow& row : kOptionTable) {
    bools_[Index(row.id)] = row.default_bool;
    numbers_[Index(row.id)] = row.default_number;
    strings_[Index(row.id)] = std::u16string(row.default_string);
  }
}

OptionSet OptionSet::CopyForView() const {
  assert(IsGlobalSet());
  OptionSet copy = *this;
  copy.global_ = this;
  return copy;
}

size_t OptionSet::Index(OptionId id) {
  // Ids come from the table or from FindOption; anything else is a programming error.
  assert(IsValidId(id));
  return IsValidId(id) ? static_cast<size_t>(id) : 0;
}

const OptionSet& OptionSet::Source(OptionId id) const {
  return (global_ != nullptr && IsGlobalOption(id)) ? *global_ : *this;
}

}  // namespace tavik
