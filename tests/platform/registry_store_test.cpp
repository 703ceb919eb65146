// The registry file: values of every kind come back unit for unit through the export text, a
// hand-written file with expandable strings and continued byte lists reads, a file that does
// not parse is kept aside, and a change that cannot be written changes nothing.
#include "platform/registry_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/registry_file.h"
#include "platform/utf8_codec.h"

namespace tavik::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUser = "HKEY_CURRENT_USER\\Software\\Tavik\\Host\\1.0\\Tavik";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class RegistryStoreTest : public ::testing::Test {
 protected:
  RegistryStoreTest() {
    std::string pattern = (fs::temp_directory_path() / "tavik-registry-XXXXXX").string();
    if (char* made = ::mkdtemp(pattern.data())) dir_ = made;
    file_ = (dir_ / "registry.reg").string();
  }
  ~RegistryStoreTest() override {
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, ignored);
    fs::remove_all(dir_, ignored);
  }
  void WriteFile(const std::string& bytes) {
    std::ofstream out(file_, std::ios::binary);
    out << bytes;
  }

  fs::path dir_;
  std::string file_;
};

TEST_F(RegistryStoreTest, EveryKindOfValueComesBackThroughTheFile) {
  const std::u16string tricky = u"C:\\dir \"quoted\"\r\nline\ttab\u00e9\u20ac\U0001F600";
  const std::u16string odd = std::u16string(u"a\0b", 3) + u'\xD800' + u"z\x01";
  {
    RegistryStore store;
    store.SetBackingFile(file_);
    ASSERT_FALSE(store.Load());
    EXPECT_TRUE(store.SetDword(kUser, "Beep", 10));
    EXPECT_TRUE(store.SetString(kUser, "Text", tricky));
    EXPECT_TRUE(store.SetString(kUser, "Odd", odd));
    EXPECT_TRUE(store.SetString(kUser, "", u"default"));
    EXPECT_TRUE(store.SetString("HKLM\\Software\\Tavik\\Packages\\{X}", "Na\"me\\", u"v"));
    EXPECT_TRUE(store.CreateKey("HKEY_LOCAL_MACHINE\\Software\\Tavik\\Empty"));
  }
  const std::string text = ReadAll(file_);
  EXPECT_TRUE(text.starts_with("REGEDIT4\n\n[")) << text;
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Tavik\\Host\\1.0\\Tavik]\n"), text.npos);
  EXPECT_NE(text.find("\"Beep\"=dword:0000000a\n"), text.npos);
  EXPECT_NE(text.find("@=\"default\"\n"), text.npos);
  EXPECT_NE(text.find("\"C:\\\\dir \\\"quoted\\\"\\r\\nline\\ttab\u00e9\u20ac\U0001F600\""),
            text.npos)
      << text;
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Tavik\\Packages\\{X}]\n"
                      "\"Na\\\"me\\\\\"=\"v\"\n"),
            text.npos);
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Tavik\\Empty]\n"), text.npos);

  RegistryStore loaded;
  loaded.SetBackingFile(file_);
  ASSERT_FALSE(loaded.Load());
  // Key paths and value names compare without regard to case.
  EXPECT_EQ(loaded.Dword("hkey_current_user\\SOFTWARE\\tavik\\host\\1.0\\tavik", "BEEP"), 10u);
  EXPECT_EQ(loaded.String(kUser, "Text"), tricky);
  EXPECT_EQ(loaded.String(kUser, "Odd"), odd);
  EXPECT_EQ(loaded.String(kUser, ""), u"default");
  EXPECT_EQ(loaded.String("HKEY_LOCAL_MACHINE\\Software\\Tavik\\Packages\\{x}", "na\"me\\"), u"v");
  EXPECT_FALSE(loaded.Dword(kUser, "Text"));
  // The hives are apart: the same path below the other hive holds nothing.
  EXPECT_FALSE(loaded.KeyExists("HKEY_CURRENT_USER\\Software\\Tavik\\Packages"));
  EXPECT_TRUE(loaded.KeyExists("HKEY_LOCAL_MACHINE\\Software\\Tavik\\Empty"));
  EXPECT_EQ(loaded.SubkeyNames("HKEY_LOCAL_MACHINE\\Software\\Tavik"),
            (std::vector<std::string>{"Empty", "Packages"}));
  EXPECT_EQ(loaded.Keys().size(), 3u);
  EXPECT_EQ(WriteRegistryFile(loaded.Keys()), text);

  // Subkeys are listed once, whatever sorts between a key and the keys below it.
  RegistryStore memory;
  for (const char* key : {"HKLM\\S\\b\\c", "HKLM\\S\\B c", "HKLM\\S\\b"}) {
    ASSERT_TRUE(memory.CreateKey(key));
  }
  EXPECT_EQ(memory.SubkeyNames("HKEY_LOCAL_MACHINE\\S"), (std::vector<std::string>{"b", "B c"}));
  EXPECT_TRUE(memory.DeleteKey("hklm\\s\\B"));
  EXPECT_EQ(memory.SubkeyNames("HKEY_LOCAL_MACHINE\\S"), (std::vector<std::string>{"B c"}));
}

TEST_F(RegistryStoreTest, HandWrittenFileWithExpandableStringsAndDeletions) {
  WriteFile(
      "\xEF\xBB\xBFREGEDIT4\r\n\r\n"
      "; written by hand\r\n"
      "[HKCU\\Software\\A]\r\n"
      "\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,5c,00,\\\r\n"
      "  74,00,00,00\r\n"
      "\"Wine\"=str(2):\"%TEMP%\\\\x\"\r\n"
      "\"Four\"=hex(4):2a,00,00,00\r\n"
      "\"Blob\"=hex:01,ff\r\n"
      "\"Gone\"=\"soon\"\r\n"
      "\"Gone\"=-\r\n"
      "[HKEY_CURRENT_USER\\Software\\A\\Old]\r\n"
      "\"x\"=dword:1\r\n"
      "[-HKEY_CURRENT_USER\\Software\\A\\Old]\r\n");
  RegistryStore store;
  store.SetBackingFile(file_);
  ASSERT_FALSE(store.Load());
  const std::string key = "HKEY_CURRENT_USER\\Software\\A";
  EXPECT_EQ(store.String(key, "Path"), u"%HOME%\\t");
  EXPECT_EQ(store.String(key, "Wine"), u"%TEMP%\\x");
  EXPECT_EQ(store.Dword(key, "Four"), 42u);
  EXPECT_FALSE(store.String(key, "Blob"));
  EXPECT_FALSE(store.String(key, "Gone"));
  EXPECT_FALSE(store.KeyExists(key + "\\Old"));
  // Written back, the expandable strings keep their kind and the bytes their type.
  ASSERT_TRUE(store.SetDword(key, "New", 1));
  RegistryStore again;
  again.SetBackingFile(file_);
  ASSERT_FALSE(again.Load());
  EXPECT_EQ(again.Keys(), store.Keys());
  EXPECT_NE(ReadAll(file_).find("\"Blob\"=hex:01,ff\n"), std::string::npos);
}

TEST_F(RegistryStoreTest, AFileThatDoesNotParseIsKeptAsideAndDefaultsApply) {
  for (const std::string& bad :
       {std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:zz\n"),
        std::string("[HKEY_CURRENT_USER\\A]\n\"x\"=dword:1\n"),
        std::string("REGEDIT4\n\"outside\"=\"a key\"\n"), std::string("REGEDIT4\n[NOHIVE\\A]\n"),
        std::string("REGEDIT4\n[HKCU\\A]\n\"x\"=\"open\n")}) {
    SCOPED_TRACE(bad);
    fs::remove(file_ + ".bad");
    WriteFile(bad);
    RegistryStore store;
    store.SetBackingFile(file_);
    const std::optional<std::string> message = store.Load();
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("registry.reg.bad"), std::string::npos) << *message;
    EXPECT_EQ(message->find('\n'), std::string::npos);
    EXPECT_TRUE(store.Keys().empty());
    EXPECT_EQ(ReadAll(file_ + ".bad"), bad);
    EXPECT_FALSE(fs::exists(file_));
    // The next put starts a good file again.
    ASSERT_TRUE(store.SetDword(kUser, "Beep", 0));
    RegistryStore reread;
    reread.SetBackingFile(file_);
    EXPECT_FALSE(reread.Load());
    EXPECT_EQ(reread.Dword(kUser, "Beep"), 0u);
  }
}

TEST_F(RegistryStoreTest, AChangeThatCannotBeWrittenChangesNothing) {
  RegistryStore store;
  store.SetBackingFile(file_);
  ASSERT_TRUE(store.SetDword(kUser, "Beep", 1));
  const std::string before = ReadAll(file_);

  // A folder that is gone.
  RegistryStore missing;
  missing.SetBackingFile((dir_ / "gone" / "registry.reg").string());
  EXPECT_FALSE(missing.Load());
  EXPECT_FALSE(missing.SetDword(kUser, "Beep", 0));
  EXPECT_FALSE(missing.CreateKey(kUser));
  EXPECT_TRUE(missing.Keys().empty());

  // Several changes with one bad key path: none is made.
  RegistryStore::Changes changes;
  changes.SetDword(kUser, "Beep", 7);
  changes.SetString("HKEY_CURRENT_USER\\a\\\\b", "x", u"y");
  EXPECT_FALSE(store.Commit(changes));
  EXPECT_EQ(store.Dword(kUser, "Beep"), 1u);

  // A folder that cannot be written (root writes anyway, so only other users see this).
  if (::geteuid() != 0) {
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(store.SetDword(kUser, "Beep", 0));
    EXPECT_FALSE(store.DeleteKey(kUser));
    EXPECT_EQ(store.Dword(kUser, "Beep"), 1u);
    fs::permissions(dir_, fs::perms::owner_all);
  }
  EXPECT_EQ(ReadAll(file_), before);
  // No temporary file is left behind.
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 1u);
}

// Random keys and values of every kind, with the characters the text format has to escape,
// written and read back.
TEST(RegistryFileTest, RandomRegistriesComeBackFromTheirText) {
  std::mt19937 random(20261207);
  const std::u16string units(u"aZ09 \\\"=[]@;\t\r\n\0\x01\x7f\u00e9\u20ac\xD800\xDC00\xDFFF\xFFFF",
                             24);
  const std::string name_chars = "aZ09 \\\"=[]@;-";
  auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  for (int round = 0; round < 300; ++round) {
    RegistryKeys keys;
    for (size_t k = pick(4); k > 0; --k) {
      std::string path = "HKEY_LOCAL_MACHINE\\K";
      for (size_t i = pick(6); i > 0; --i) path += i % 3 == 0 ? '\\' : name_chars[1 + pick(12)];
      if (!RegistryStore::CanonicalKey(path)) continue;
      path = *RegistryStore::CanonicalKey(path);
      EnsureKey(keys, path);
      for (size_t v = pick(4); v > 0; --v) {
        std::string name;
        for (size_t i = pick(5); i > 0; --i) name += name_chars[pick(name_chars.size())];
        RegistryValue value;
        value.kind = std::array{RegistryValue::Kind::kString, RegistryValue::Kind::kExpandString,
                                RegistryValue::Kind::kDword, RegistryValue::Kind::kBinary}[pick(4)];
        value.dword = static_cast<uint32_t>(random());
        if (value.kind != RegistryValue::Kind::kDword) value.dword = 0;
        if (value.kind == RegistryValue::Kind::kString ||
            value.kind == RegistryValue::Kind::kExpandString) {
          for (size_t i = pick(8); i > 0; --i) value.text += units[pick(units.size())];
        }
        if (value.kind == RegistryValue::Kind::kBinary) {
          value.binary_type = std::array{0u, 3u, 7u, 11u}[pick(4)];
          for (size_t i = pick(60); i > 0; --i)
            value.bytes.push_back(static_cast<uint8_t>(random()));
        }
        PutValue(keys, path, name, value);
      }
    }
    const std::string text = WriteRegistryFile(keys);
    RegistryKeys back;
    ASSERT_FALSE(ParseRegistryFile(text, back)) << text;
    ASSERT_EQ(back, keys) << text;
  }
}

}  // namespace
}  // namespace tavik::platform
