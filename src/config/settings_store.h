// Where the persistent settings live. The host package backs this with its per-user registry
// key; MemorySettingsStore keeps the values in memory for tests and hosts without a registry.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tavik {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Reads give nothing when the value is missing, of another type or unreadable.
  virtual std::optional<uint32_t> ReadDword(std::string_view name) = 0;
  virtual std::optional<std::u16string> ReadString(std::string_view name) = 0;
  // Writes report whether the value was stored.
  virtual bool WriteDword(std::string_view name, uint32_t value) = 0;
  virtual bool WriteString(std::string_view name, std::u16string_view value) = 0;
};

class MemorySettingsStore final : public SettingsStore {
 public:
  std::optional<uint32_t> ReadDword(std::string_view name) override;
  std::optional<std::u16string> ReadString(std::string_view name) override;
  bool WriteDword(std::string_view name, uint32_t value) override;
  bool WriteString(std::string_view name, std::u16string_view value) override;

  // Stands in for an unreachable store (a key that cannot be opened or created).
  void set_reads_fail(bool fail) { reads_fail_ = fail; }
  void set_writes_fail(bool fail) { writes_fail_ = fail; }
  bool Contains(std::string_view name) const { return values_.contains(std::string(name)); }
  size_t write_count() const { return write_count_; }

 private:
  std::map<std::string, std::variant<uint32_t, std::u16string>, std::less<>> values_;
  bool reads_fail_ = false;
  bool writes_fail_ = false;
  size_t write_count_ = 0;
};

}  // namespace tavik
