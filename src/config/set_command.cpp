// The `set` command. Parsing is deliberately forgiving: only an unknown name is an error, and
// text the syntax does not look at is ignored.
#include "config/set_command.h"

#include <limits>

#include "common/char_class.h"

namespace tavik {
namespace {

constexpr std::u16string_view kUnknownOption = u"Unknown option";
constexpr std::u16string_view kListingHeader = u"---Options---  ";

bool IsSetBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

size_t AlphaRunEnd(std::u16string_view text, size_t pos) {
  while (pos < text.size() && IsAlphaChar(text[pos])) ++pos;
  return pos;
}

void AppendAscii(std::u16string& out, std::string_view text) {
  for (char c : text) out.push_back(static_cast<unsigned char>(c));
}

void AppendDecimal(std::u16string& out, uint32_t value) {
  const std::string digits = std::to_string(value);
  AppendAscii(out, digits);
}

// The run of decimal digits at the start of `text`; an empty run reads as 0. Values beyond the
// 32-bit range stop growing instead of wrapping around.
uint32_t LeadingNumber(std::u16string_view text) {
  uint64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + (c - u'0');
    if (value > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
  }
  return static_cast<uint32_t>(value);
}

// "name=value" for a number or string option.
std::u16string ShowValue(OptionId id, const OptionSet& reader) {
  std::u16string out;
  AppendAscii(out, OptionName(id));
  out.push_back(u'=');
  if (OptionTypeOf(id) == OptionType::kNumber) {
    AppendDecimal(out, reader.Number(id));
  } else {
    out.append(reader.String(id));
  }
  return out;
}

enum class Prefix { kNone, kOff, kInvert };

}  // namespace

std::u16string OptionListing(const OptionSet& options) {
  std::u16string line(kListingHeader);
  for (size_t i = 1; i < kOptionCount; ++i) {
    const auto id = static_cast<OptionId>(i);
    line.push_back(u' ');
    if (OptionTypeOf(id) == OptionType::kBool) {
      if (!options.Bool(id)) line.append(u"no");
      AppendAscii(line, OptionName(id));
    } else {
      line.append(ShowValue(id, options));
    }
  }
  return line;
}

SetOutcome RunSetCommand(std::u16string_view argument, OptionSet& global, OptionSet* view) {
  const OptionSet& reader = view != nullptr ? *view : global;
  if (argument.empty() || argument.substr(0, AlphaRunEnd(argument, 0)) == u"all") {
    return {OptionListing(reader), OptionId::kNull};
  }

  Prefix prefix = Prefix::kNone;
  size_t pos = 0;
  if (argument.starts_with(u"no")) {
    prefix = Prefix::kOff;
    pos = 2;
  } else if (argument.starts_with(u"inv")) {
    prefix = Prefix::kInvert;
    pos = 3;
  }

  const size_t name_end = AlphaRunEnd(argument, pos);
  const OptionId id = FindOption(argument.substr(pos, name_end - pos));
  if (id == OptionId::kNull) return {std::u16string(kUnknownOption), OptionId::kNull};

  size_t op = name_end;
  while (op < argument.size() && IsSetBlank(argument[op])) ++op;
  const bool has_equals = op < argument.size() && argument[op] == u'=';
  const std::u16string_view after_equals = has_equals ? argument.substr(op + 1) : u"";

  auto store = [&](auto setter) {
    if (view != nullptr) setter(*view);
    setter(global);
    return SetOutcome{u"", id};
  };

  switch (OptionTypeOf(id)) {
    case OptionType::kBool: {
      // A question mark right after the name asks for the value and changes nothing.
      if (name_end < argument.size() && argument[name_end] == u'?') {
        std::u16string shown = reader.Bool(id) ? u"" : u"no";
        AppendAscii(shown, OptionName(id));
        return {std::move(shown), OptionId::kNull};
      }
      bool value = true;
      if (name_end < argument.size() && argument[name_end] == u'!') {
        value = !reader.Bool(id);
      } else if (prefix == Prefix::kOff) {
        value = false;
      } else if (prefix == Prefix::kInvert) {
        value = !reader.Bool(id);
      }
      return store([&](OptionSet& set) { set.SetBool(id, value); });
    }
    case OptionType::kNumber: {
      if (!has_equals) return {ShowValue(id, reader), OptionId::kNull};
      const uint32_t value = LeadingNumber(after_equals);
      return store([&](OptionSet& set) { set.SetNumber(id, value); });
    }
    case OptionType::kString: {
      if (!has_equals) return {ShowValue(id, reader), OptionId::kNull};
      return store([&](OptionSet& set) { set.SetString(id, after_equals); });
    }
    case OptionType::kNone:
      break;
  }
  return {std::u16string(kUnknownOption), OptionId::kNull};
}

}  // namespace tavik
