// Reading and writing the registry export text. Strings are UTF-8 with backslash escapes for
// the backslash, the quote, control characters and UTF-16 units that are not characters, so
// every value comes back unit for unit.
#include "platform/registry_file.h"

#include <cstdio>
#include <vector>

#include "platform/utf8_codec.h"

namespace tavik::platform {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kHeaderV5 = "Windows Registry Editor Version 5.00";
constexpr size_t kHexBytesPerLine = 25;

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<uint32_t> ParseHexNumber(std::string_view s, size_t max_digits) {
  if (s.empty() || s.size() > max_digits) return std::nullopt;
  uint32_t value = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(d);
  }
  return value;
}

// A quoted string starting at s[pos] == '"'; `pos` ends after the closing quote.
std::optional<std::u16string> ParseQuoted(std::string_view s, size_t& pos, std::string& error) {
  std::u16string out;
  std::string run;  // UTF-8 bytes since the last escape
  auto flush = [&] {
    DecodeUtf8(run, out);
    run.clear();
  };
  for (size_t i = pos + 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      flush();
      pos = i + 1;
      return out;
    }
    if (c != '\\') {
      run.push_back(c);
      continue;
    }
    if (++i == s.size()) break;
    flush();
    switch (s[i]) {
      case '\\':
        out.push_back(u'\\');
        break;
      case '"':
        out.push_back(u'"');
        break;
      case 'n':
        out.push_back(u'\n');
        break;
      case 'r':
        out.push_back(u'\r');
        break;
      case 't':
        out.push_back(u'\t');
        break;
      case '0':
        out.push_back(u'\0');
        break;
      case 'x': {
        size_t digits = 0;
        uint32_t unit = 0;
        while (digits < 4 && i + 1 < s.size() && HexDigit(s[i + 1]) >= 0) {
          unit = unit * 16 + static_cast<uint32_t>(HexDigit(s[++i]));
          ++digits;
        }
        if (digits == 0) {
          error = "\\x without hex digits";
          return std::nullopt;
        }
        out.push_back(static_cast<char16_t>(unit));
        break;
      }
      default:
        error = std::string("unknown escape \\") + s[i];
        return std::nullopt;
    }
  }
  error = "string without its closing quote";
  return std::nullopt;
}

std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view s, std::string& error) {
  std::vector<uint8_t> bytes;
  s = TrimLeft(TrimRight(s));
  if (s.empty()) return bytes;
  size_t begin = 0;
  for (;;) {
    const size_t comma = s.find(',', begin);
    const std::string_view part = TrimLeft(
        TrimRight(s.substr(begin, comma == std::string_view::npos ? s.npos : comma - begin)));
    const std::optional<uint32_t> byte = ParseHexNumber(part, 2);
    if (!byte) {
      error = "bad hex byte \"" + std::string(part) + "\"";
      return std::nullopt;
    }
    bytes.push_back(static_cast<uint8_t>(*byte));
    if (comma == std::string_view::npos) break;
    begin = comma + 1;
  }
  return bytes;
}

std::optional<std::u16string> Utf16LeText(const std::vector<uint8_t>& bytes, std::string& error) {
  if (bytes.size() % 2 != 0) {
    error = "odd number of bytes in a UTF-16 string";
    return std::nullopt;
  }
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  if (!text.empty() && text.back() == u'\0') text.pop_back();  // the terminator
  return text;
}

// The data after "=": a quoted string, dword:, hex:, hex(N):, str(2): or "-" to delete.
std::optional<RegistryValue> ParseData(std::string_view data, std::string& error) {
  RegistryValue value;
  data = TrimRight(data);
  if (data.starts_with('"') || data.starts_with("str(2):\"")) {
    const bool expand = data.starts_with('s');
    size_t pos = expand ? 7 : 0;
    std::optional<std::u16string> text = ParseQuoted(data, pos, error);
    if (!text) return std::nullopt;
    if (pos != data.size()) {
      error = "text after the closing quote";
      return std::nullopt;
    }
    value.kind = expand ? RegistryValue::Kind::kExpandString : RegistryValue::Kind::kString;
    value.text = std::move(*text);
    return value;
  }
  if (data.starts_with("dword:")) {
    const std::optional<uint32_t> number = ParseHexNumber(data.substr(6), 8);
    if (!number) {
      error = "bad dword \"" + std::string(data.substr(6)) + "\"";
      return std::nullopt;
    }
    value.kind = RegistryValue::Kind::kDword;
    value.dword = *number;
    return value;
  }
  if (data.starts_with("hex")) {
    uint32_t type = 3;
    size_t colon = 3;
    if (data.size() > 3 && data[3] == '(') {
      const size_t close = data.find(')', 4);
      const std::optional<uint32_t> number =
          close == data.npos ? std::nullopt : ParseHexNumber(data.substr(4, close - 4), 8);
      if (!number) {
        error = "bad value type in \"" + std::string(data) + "\"";
        return std::nullopt;
      }
      type = *number;
      colon = close + 1;
    }
    if (colon >= data.size() || data[colon] != ':') {
      error = "bad value data \"" + std::string(data) + "\"";
      return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> bytes = ParseHexBytes(data.substr(colon + 1), error);
    if (!bytes) return std::nullopt;
    if (type == 1 || type == 2) {
      std::optional<std::u16string> text = Utf16LeText(*bytes, error);
      if (!text) return std::nullopt;
      value.kind = type == 1 ? RegistryValue::Kind::kString : RegistryValue::Kind::kExpandString;
      value.text = std::move(*text);
    } else if (type == 4 && bytes->size() == 4) {
      value.kind = RegistryValue::Kind::kDword;
      value.dword = (*bytes)[0] | ((*bytes)[1] << 8) | ((*bytes)[2] << 16) |
                    (static_cast<uint32_t>((*bytes)[3]) << 24);
    } else {
      value.kind = RegistryValue::Kind::kBinary;
      value.binary_type = type;
      value.bytes = std::move(*bytes);
    }
    return value;
  }
  error = "bad value data \"" + std::string(data) + "\"";
  return std::nullopt;
}

bool NamesHive(std::string_view path) {
  const std::string first = RegistryStore::Folded(path.substr(0, path.find('\\')));
  for (std::string_view hive :
       {"hkey_classes_root", "hkey_current_user", "hkey_local_machine", "hkey_users",
        "hkey_current_config", "hkcr", "hkcu", "hklm", "hku", "hkcc"}) {
    if (first == hive) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> ParseRegistryFile(std::string_view text, RegistryKeys& keys) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string_view> lines;
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(TrimRight(text.substr(begin, end - begin)));
    begin = end + 1;
  }
  size_t i = 0;
  while (i < lines.size() && TrimLeft(lines[i]).empty()) ++i;
  if (i == lines.size() || (lines[i] != kHeader && lines[i] != kHeaderV5)) {
    return "no REGEDIT4 header";
  }
  std::optional<std::string> key;  // the section the values go to
  for (++i; i < lines.size(); ++i) {
    const size_t number = i + 1;
    auto fail = [number](const std::string& what) {
      return "line " + std::to_string(number) + ": " + what;
    };
    std::string_view line = TrimLeft(lines[i]);
    if (line.empty() || line.starts_with(';')) continue;
    if (line.starts_with('[')) {
      const size_t close = line.rfind(']');
      if (close == std::string_view::npos || close + 1 != line.size()) {
        return fail("key without its closing ]");
      }
      std::string_view path = line.substr(1, close - 1);
      const bool remove = path.starts_with('-');
      if (remove) path.remove_prefix(1);
      const std::optional<std::string> canonical = RegistryStore::CanonicalKey(path);
      if (!canonical || !NamesHive(path)) return fail("bad key \"" + std::string(path) + "\"");
      if (remove) {
        EraseKey(keys, *canonical);
        key.reset();
      } else {
        EnsureKey(keys, *canonical);
        key = *canonical;
      }
      continue;
    }
    if (!key) return fail("a value outside a key");
    std::string name;
    size_t pos = 0;
    std::string error;
    if (line.starts_with('@')) {
      pos = 1;
    } else if (line.starts_with('"')) {
      std::optional<std::u16string> quoted = ParseQuoted(line, pos, error);
      if (!quoted) return fail(error);
      name = ToUtf8(*quoted);
    } else {
      return fail("a line that is neither a key nor a value");
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos == line.size() || line[pos] != '=') return fail("a value without =");
    std::string data(TrimLeft(line.substr(pos + 1)));
    // Byte lists go on over lines that end with a backslash.
    while (data.starts_with("hex") && data.ends_with('\\') && i + 1 < lines.size()) {
      data.pop_back();
      data += TrimLeft(lines[++i]);
    }
    if (data == "-") {
      EraseValue(keys, *key, name);
      continue;
    }
    std::optional<RegistryValue> value = ParseData(data, error);
    if (!value) return fail(error);
    PutValue(keys, *key, name, std::move(*value));
  }
  return std::nullopt;
}

namespace {

void AppendHexUnit(std::string& out, uint32_t unit) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\x%04x", unit);
  out += buffer;
}

void AppendQuoted(std::string& out, std::u16string_view text) {
  out.push_back('"');
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    switch (c) {
      case u'\\':
        out += "\\\\";
        continue;
      case u'"':
        out += "\\\"";
        continue;
      case u'\n':
        out += "\\n";
        continue;
      case u'\r':
        out += "\\r";
        continue;
      case u'\t':
        out += "\\t";
        continue;
      case u'\0':
        out += "\\0";
        continue;
      default:
        break;
    }
    if (c < 0x20 || c == 0x7F) {
      AppendHexUnit(out, c);
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      EncodeUtf8(text.substr(i, 2), out);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      AppendHexUnit(out, c);  // a unit that is not a character
    } else {
      EncodeUtf8(text.substr(i, 1), out);
    }
  }
  out.push_back('"');
}

void AppendHex(std::string& out, const std::vector<uint8_t>& bytes) {
  char buffer[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, "%02x", bytes[i]);
    out += buffer;
    if (i + 1 < bytes.size()) {
      out += ',';
      if ((i + 1) % kHexBytesPerLine == 0) out += "\\\n  ";
    }
  }
}

void AppendValue(std::string& out, std::string_view name, const RegistryValue& value) {
  if (name.empty()) {
    out += '@';
  } else {
    AppendQuoted(out, FromUtf8(name));
  }
  out += '=';
  switch (value.kind) {
    case RegistryValue::Kind::kString:
      AppendQuoted(out, value.text);
      break;
    case RegistryValue::Kind::kDword: {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "dword:%08x", value.dword);
      out += buffer;
      break;
    }
    case RegistryValue::Kind::kExpandString: {
      std::vector<uint8_t> bytes;
      for (char16_t c : value.text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
      }
      bytes.insert(bytes.end(), {0, 0});
      out += "hex(2):";
      AppendHex(out, bytes);
      break;
    }
    case RegistryValue::Kind::kBinary: {
      char buffer[24];
      if (value.binary_type == 3) {
        out += "hex:";
      } else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", value.binary_type);
        out += buffer;
      }
      AppendHex(out, value.bytes);
      break;
    }
  }
  out += '\n';
}

}  // namespace

std::string WriteRegistryFile(const RegistryKeys& keys) {
  std::string out(kHeader);
  out += "\n\n";
  for (const auto& [folded, key] : keys) {
    out += '[';
    out += key.path;
    out += "]\n";
    for (const auto& [folded_name, entry] : key.values) AppendValue(out, entry.first, entry.second);
    out += '\n';
  }
  return out;
}

}  // namespace tavik::platform
