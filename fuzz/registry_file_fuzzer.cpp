// Fuzz target of the registry file reader: random text read as a ".reg" file. Whatever was read
// before a bad line (or the whole file) is written out again; reading that back must succeed and
// give the same keys and values, and writing those gives the same text.
//
// Input layout: the file's bytes, at most 16 KB.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_invariants.h"
#include "platform/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavik::platform;
  if (size > 16384) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  RegistryKeys keys;
  const std::optional<std::string> error = ParseRegistryFile(text, keys);
  if (error) FUZZ_CHECK(!error->empty());

  const std::string written = WriteRegistryFile(keys);
  RegistryKeys again;
  const std::optional<std::string> error_again = ParseRegistryFile(written, again);
  if (error_again)
    std::fprintf(stderr, "written text does not read back: %s\n", error_again->c_str());
  FUZZ_CHECK(!error_again);
  FUZZ_CHECK(again == keys);
  FUZZ_CHECK(WriteRegistryFile(again) == written);
  return 0;
}
