// Opening the host's registry and loading the package it lists.
#include "app/host_start.h"

#include <filesystem>
#include <system_error>

#include "host/registration.h"
#include "platform/utf8_codec.h"

namespace tavik::app {

RegistrySource RegistrySourceOf(const std::optional<std::string>& registry_option) {
  RegistrySource source;
  if (registry_option) {
    source.kind = RegistrySource::Kind::kFile;
    source.file = *registry_option;
  } else {
    source.kind = RegistrySource::Kind::kUserFile;
  }
  return source;
}

bool OpenRegistry(platform::EditorHost& editor, const RegistrySource& source) {
  std::string file;
  switch (source.kind) {
    case RegistrySource::Kind::kMemory:
      return true;
    case RegistrySource::Kind::kFile:
      file = source.file;
      break;
    case RegistrySource::Kind::kUserFile: {
      file = platform::DefaultRegistryFile();
      if (file.empty()) {
        editor.output().AppendLine(u"No home folder for the registry file: settings are not saved");
        return false;
      }
      std::error_code ignored;
      std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
      break;
    }
  }
  editor.registry().SetBackingFile(file);
  if (std::optional<std::string> problem = editor.registry().Load()) {
    editor.output().AppendLine(platform::FromUtf8(*problem));
  }
  editor.AttachStoresToRegistry();
  return true;
}

std::string ModulePath() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("tavik") : self.string();
}

std::unique_ptr<host::Package> LoadPackage(platform::EditorHost& editor) {
  if (!host::LoadPackageAtStart(editor.registry(), editor.LocalRegistryRoot(), ModulePath())) {
    return nullptr;
  }
  return std::make_unique<host::Package>(editor);
}

}  // namespace tavik::app
