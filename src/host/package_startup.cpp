// The package's startup file: the search reads the home variables of the environment, and the
// lines run against the engine's global options and mapping list before any view is attached.
#include <cstdlib>
#include <fstream>

#include "config/startup_file.h"
#include "host/package.h"

namespace tavik::host {

bool Package::RunStartupFile(const StartupSource& source) {
  if (engine_ == nullptr) return true;  // closed: nothing runs
  std::filesystem::path file;
  switch (source.kind) {
    case StartupSource::Kind::kNone:
      return true;
    case StartupSource::Kind::kFile:
      file = source.file;
      break;
    case StartupSource::Kind::kSearch: {
      std::vector<std::filesystem::path> directories =
          StartupDirectories(std::getenv("HOMEDRIVE"), std::getenv("HOMEPATH"), std::getenv("HOME"),
                             source.program_dir);
      std::optional<std::filesystem::path> found = FindStartupFile(directories);
      if (!found) return true;  // no startup file is no error
      file = *found;
      break;
    }
  }
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) return false;

  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(file, error);
  if (error) full = file;
  StartupContext context{engine_->GlobalOptions(), engine_->Mappings(),
                         [this](std::u16string_view message) { engine_->SetMessage(message); }};
  // Error lines go to the pane without bringing it forward.
  size_t failures = RunStartupLines(in, MultiByteToUtf16(full.string()), context,
                                    [this](std::u16string_view line) { WriteOutput(line); });
  if (failures != 0) startup_errors_ = true;
  return true;
}

}  // namespace tavik::host
