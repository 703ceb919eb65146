// The registration entries of the package, as one table of keys and values.
#include "host/registration.h"

#include <filesystem>

#include "platform/registry_root.h"
#include "platform/utf8_codec.h"

namespace tavik::host {
namespace {

constexpr std::u16string_view kProductVersion = u"1.3";

std::u16string Text(std::string_view utf8) {
  return platform::FromUtf8(utf8);
}

std::u16string Text(std::u16string_view text) {
  return std::u16string(text);
}

std::string Below(std::string_view first, std::string_view second) {
  return std::string(first) + "\\" + std::string(second);
}

}  // namespace

std::vector<ScriptKey> RegistrationScript(std::string_view module_path) {
  const std::filesystem::path module(module_path);
  const std::string folder = module.parent_path().string() + "/";
  const std::u16string clsid = Text(kPackageClsid);
  const std::string packages = Below("Packages", kPackageClsid);
  const std::string editors = Below("Editors", kEditorFactoryGuid);
  const std::string templates = "Projects\\" + std::string(kMiscFilesProjectGuid) +
                                "\\AddItemTemplates\\TemplateDirs\\" + std::string(kPackageClsid);
  return {
      {"Packages", false, {}},
      {packages,
       true,
       {{"", Text(u"Tavik Package")},
        {"InprocServer32", Text(module_path)},
        {"CompanyName", Text(u"The Tavik developers")},
        {"ProductName", Text(u"Tavik")},
        {"ProductVersion", Text(kProductVersion)},
        {"MinEdition", Text(u"Standard")}}},
      // The program carries its own resources: it is its own satellite.
      {packages + "\\SatelliteDll",
       true,
       {{"DllName", Text(module.filename().string())}, {"Path", Text(folder)}}},
      {"Menus", false, {{std::string(kPackageClsid), Text(u", 1000, 1")}}},
      {"Editors", false, {}},
      {editors,
       true,
       {{"", Text(u"Tavik")},
        {"Package", clsid},
        {"DisplayName", Text(u"Tavik")},
        {"ExcludeDefTextEditor", 1u},
        {"AcceptBinaryFiles", 0u}}},
      {editors + "\\LogicalViews", true, {}},
      {editors + "\\OpenWithEntries", true, {}},
      {editors + "\\Extensions", true, {{"*", 50u}}},
      {"InstalledProducts", false, {}},
      {"InstalledProducts\\Tavik",
       true,
       {{"", Text(u"Tavik modal editing")},
        {"Package", clsid},
        {"ProductDetails", Text(u"Tavik: vi-style modal editing for the host's text editors")},
        {"LogoID", Text(u"#400")},
        {"PID", Text(kProductVersion)},
        {"UseInterface", 0u}}},
      {"Projects\\" + std::string(kMiscFilesProjectGuid) + "\\AddItemTemplates\\TemplateDirs",
       false,
       {}},
      {templates, true, {}},
      {templates + "\\/1",
       true,
       {{"", Text(u"Tavik text file")},
        {"TemplatesDir", Text(folder + "Templates")},
        {"SortPriority", 20000u}}},
  };
}

std::string MachineRoot(std::string_view root) {
  return Below(platform::kLocalMachineHive, root);
}

bool RegisterPackage(platform::RegistryStore& registry, std::string_view root,
                     std::string_view module_path) {
  const std::string base = MachineRoot(root);
  platform::RegistryStore::Changes changes;
  for (const ScriptKey& key : RegistrationScript(module_path)) {
    const std::string path = Below(base, key.path);
    // A package key is written afresh, without what an older registration left in it.
    if (key.force_remove) changes.DeleteKey(path);
    changes.CreateKey(path);
    for (const ScriptValue& value : key.values) {
      if (const auto* number = std::get_if<uint32_t>(&value.data)) {
        changes.SetDword(path, value.name, *number);
      } else {
        changes.SetString(path, value.name, std::get<std::u16string>(value.data));
      }
    }
  }
  return registry.Commit(changes);
}

// Keys the package owns go with everything below them; in shared keys only the package's own
// values go. The shared keys stay, made if need be, so that the host knows the package was
// taken away on purpose and does not register it again at start.
bool UnregisterPackage(platform::RegistryStore& registry, std::string_view root) {
  const std::string base = MachineRoot(root);
  platform::RegistryStore::Changes changes;
  for (const ScriptKey& key : RegistrationScript("")) {
    const std::string path = Below(base, key.path);
    if (key.force_remove) {
      changes.DeleteKey(path);
    } else {
      changes.CreateKey(path);
      for (const ScriptValue& value : key.values) changes.DeleteValue(path, value.name);
    }
  }
  return registry.Commit(changes);
}

bool IsVersion7Root(std::string_view root) {
  const std::string prefix = platform::RegistryStore::Folded(platform::kHostProductKey) + "\\";
  if (!platform::RegistryStore::Folded(root).starts_with(prefix)) return false;
  const std::string_view version = root.substr(prefix.size());
  return version.starts_with('7') && version.find('\\') == std::string_view::npos;
}

std::string HostVersionOfRoot(std::string_view root) {
  const std::string prefix = platform::RegistryStore::Folded(platform::kHostProductKey) + "\\";
  if (!platform::RegistryStore::Folded(root).starts_with(prefix)) return {};
  return std::string(root.substr(prefix.size()));
}

bool PackageRegistered(const platform::RegistryStore& registry, std::string_view root) {
  return registry.KeyExists(Below(MachineRoot(root), Below("Packages", kPackageClsid)));
}

bool LoadPackageAtStart(platform::RegistryStore& registry, std::string_view root,
                        std::string_view module_path) {
  if (registry.KeyExists(Below(MachineRoot(root), "Packages"))) {
    return PackageRegistered(registry, root);
  }
  RegisterPackage(registry, root, module_path);
  return true;
}

}  // namespace tavik::host
