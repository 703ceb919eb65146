// The package's registration: what --register writes below the host's machine root, what
// --unregister takes away and leaves, and whether the host loads the package at start.
#include "host/registration.h"

#include <gtest/gtest.h>

#include "app/batch_session.h"

namespace tavik::host {
namespace {

constexpr std::string_view kRoot = "Software\\Tavik\\Host\\1.0";
const std::string kMachine = "HKEY_LOCAL_MACHINE\\Software\\Tavik\\Host\\1.0";
const std::string kPackageKey = kMachine + "\\Packages\\" + std::string(kPackageClsid);

TEST(RegistrationTest, RegisterWritesTheScriptAndUnregisterTakesOnlyThePackagesOwnKeys) {
  platform::RegistryStore registry;
  ASSERT_TRUE(RegisterPackage(registry, kRoot, "/opt/tavik/bin/tavik"));
  EXPECT_EQ(registry.String(kPackageKey, ""), u"Tavik Package");
  EXPECT_EQ(registry.String(kPackageKey, "InprocServer32"), u"/opt/tavik/bin/tavik");
  EXPECT_EQ(registry.String(kPackageKey, "ProductVersion"), u"1.3");
  EXPECT_EQ(registry.String(kPackageKey + "\\SatelliteDll", "Path"), u"/opt/tavik/bin/");
  EXPECT_EQ(registry.String(kMachine + "\\Menus", std::string(kPackageClsid)), u", 1000, 1");
  const std::string editor = kMachine + "\\Editors\\" + std::string(kEditorFactoryGuid);
  EXPECT_EQ(registry.String(editor, "Package"), platform::FromUtf8(kPackageClsid));
  EXPECT_EQ(registry.Dword(editor, "ExcludeDefTextEditor"), 1u);
  EXPECT_EQ(registry.Dword(editor + "\\Extensions", "*"), 50u);
  EXPECT_TRUE(registry.KeyExists(editor + "\\LogicalViews"));
  EXPECT_EQ(registry.String(kMachine + "\\InstalledProducts\\Tavik", "LogoID"), u"#400");
  const std::string dirs = kMachine + "\\Projects\\" + std::string(kMiscFilesProjectGuid) +
                           "\\AddItemTemplates\\TemplateDirs";
  EXPECT_EQ(registry.Dword(dirs + "\\" + std::string(kPackageClsid) + "\\/1", "SortPriority"),
            20000u);
  EXPECT_TRUE(PackageRegistered(registry, kRoot));
  // A value another package keeps in a shared key stays through unregistering.
  ASSERT_TRUE(registry.SetString(kMachine + "\\Menus", "{OTHER}", u", 2000, 1"));
  ASSERT_TRUE(registry.CreateKey(kMachine + "\\Packages\\{OTHER}"));

  ASSERT_TRUE(UnregisterPackage(registry, kRoot));
  EXPECT_FALSE(PackageRegistered(registry, kRoot));
  EXPECT_FALSE(registry.KeyExists(editor));
  EXPECT_FALSE(registry.KeyExists(kMachine + "\\InstalledProducts\\Tavik"));
  EXPECT_FALSE(registry.KeyExists(dirs + "\\" + std::string(kPackageClsid)));
  EXPECT_FALSE(registry.String(kMachine + "\\Menus", std::string(kPackageClsid)));
  for (const char* shared : {"\\Packages", "\\Menus", "\\Editors", "\\InstalledProducts"}) {
    EXPECT_TRUE(registry.KeyExists(kMachine + shared)) << shared;
  }
  EXPECT_TRUE(registry.KeyExists(dirs));
  EXPECT_EQ(registry.String(kMachine + "\\Menus", "{OTHER}"), u", 2000, 1");
  EXPECT_EQ(registry.SubkeyNames(kMachine + "\\Packages"), (std::vector<std::string>{"{OTHER}"}));
}

TEST(RegistrationTest, AFreshRegistryRegistersOnFirstStartAndUnregisteringSticks) {
  platform::RegistryStore registry;
  EXPECT_TRUE(LoadPackageAtStart(registry, kRoot, "/bin/tavik"));
  EXPECT_TRUE(PackageRegistered(registry, kRoot));
  ASSERT_TRUE(UnregisterPackage(registry, kRoot));
  EXPECT_FALSE(LoadPackageAtStart(registry, kRoot, "/bin/tavik"));
  EXPECT_FALSE(PackageRegistered(registry, kRoot));
  ASSERT_TRUE(RegisterPackage(registry, kRoot, "/bin/tavik"));
  EXPECT_TRUE(LoadPackageAtStart(registry, kRoot, "/bin/tavik"));
  // Unregistering on a registry that never had the package keeps it away too.
  platform::RegistryStore fresh;
  ASSERT_TRUE(UnregisterPackage(fresh, kRoot));
  EXPECT_FALSE(LoadPackageAtStart(fresh, kRoot, "/bin/tavik"));
  // Another host version has its own root: a first start there registers again.
  EXPECT_FALSE(PackageRegistered(registry, "Software\\Tavik\\Host\\7.1"));
  EXPECT_TRUE(LoadPackageAtStart(registry, "Software\\Tavik\\Host\\7.1", "/bin/tavik"));
}

}  // namespace
}  // namespace tavik::host
