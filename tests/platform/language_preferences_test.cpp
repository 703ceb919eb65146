// Per-language editor preferences: languages by file name, persistence in the registry, the
// change event, and views following their language and the word-wrap switch.
#include "platform/language_preferences.h"

#include <gtest/gtest.h>

#include "platform/editor_host.h"
#include "platform/registry_store.h"

namespace tavik::platform {
namespace {

TEST(LanguagePreferencesTest, LanguageComesFromFileNameThenExtension) {
  struct Case {
    const char* path;
    std::u16string_view language;
  };
  const Case cases[] = {
      {"/src/a.cpp", u"C/C++"},       {"include/b.H", u"C/C++"},    {"x.cs", u"C#"},
      {"tool.py", u"Python"},         {"app.tsx", u"TypeScript"},   {"web/index.JS", u"JavaScript"},
      {"/p/Makefile", u"Makefile"},   {"rules.mk", u"Makefile"},    {"GNUmakefile", u"Makefile"},
      {"CMakeLists.txt", u"CMake"},   {"notes.txt", u"Plain Text"}, {"README.md", u"Markdown"},
      {"data.json", u"JSON"},         {"p.csproj", u"XML"},         {"run.sh", u"Shell"},
      {"noextension", u"Plain Text"}, {".bashrc", u"Plain Text"},   {"", u"Plain Text"},
      {"dir.c/file", u"Plain Text"},  {"a.unknown", u"Plain Text"},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageOfPath(c.path), c.language) << c.path;
  EXPECT_TRUE(DefaultPreferences(u"Makefile").insert_tabs);
  EXPECT_EQ(DefaultPreferences(u"Makefile").tab_size, 8u);
  EXPECT_FALSE(DefaultPreferences(u"C/C++").insert_tabs);
  EXPECT_EQ(DefaultPreferences(u"No Such Language"), DefaultPreferences(u"Plain Text"));
}

TEST(LanguagePreferencesTest, ChangesPersistAndAreReadBackAndAnnounced) {
  RegistryStore registry;
  PreferenceStore store;
  store.Persist(&registry, "Software\\Test\\Text Editor");
  std::vector<std::u16string> heard;
  store.AddListener([&heard](std::u16string_view language) { heard.emplace_back(language); });

  LanguagePreferences python = store.For(u"Python");
  python.indent_size = 2;
  python.line_numbers = true;
  ASSERT_TRUE(store.Set(u"Python", python));
  EXPECT_TRUE(store.Set(u"Python", python));  // the same again: no event
  EXPECT_EQ(heard, std::vector<std::u16string>{u"Python"});
  EXPECT_EQ(registry.Dword("Software\\Test\\Text Editor\\Python", "Indent Size"), 2u);

  // Another store on the same registry reads it back; damaged sizes keep the defaults.
  registry.SetDword("Software\\Test\\Text Editor\\C/C++", "Tab Size", 0);
  registry.SetDword("Software\\Test\\Text Editor\\C/C++", "Indent Size", 100000);
  registry.SetDword("Software\\Test\\Text Editor\\C/C++", "Word Wrap", 1);
  PreferenceStore again;
  std::vector<std::u16string> reread;
  again.AddListener([&reread](std::u16string_view language) { reread.emplace_back(language); });
  again.Persist(&registry, "Software\\Test\\Text Editor");
  EXPECT_EQ(again.For(u"Python"), python);
  EXPECT_EQ(again.For(u"C/C++").tab_size, 4u);
  EXPECT_EQ(again.For(u"C/C++").indent_size, 4u);
  EXPECT_TRUE(again.For(u"C/C++").word_wrap);
  EXPECT_EQ(reread.size(), 2u);
  // An unknown language gets the plain-text preferences until it is set.
  EXPECT_EQ(again.For(u"Cobol"), again.For(u"Plain Text"));
}

TEST(LanguagePreferencesTest, ViewsFollowTheirLanguageAndTheWordWrapSwitch) {
  EditorHost host;
  Document* make = host.OpenText(u"all:\n", "/tmp/proj/Makefile");
  View& make_view = *host.ViewsOf(*make)[0];
  Document* source = host.OpenText(u"int x;\n", "/tmp/proj/a.cpp");
  View& source_view = *host.ViewsOf(*source)[0];
  EXPECT_EQ(make->language, u"Makefile");
  EXPECT_TRUE(make_view.Preferences().insert_tabs);
  EXPECT_EQ(make_view.Preferences().tab_size, 8u);
  EXPECT_EQ(source_view.Preferences().tab_size, 4u);

  LanguagePreferences cpp = host.preferences().For(u"C/C++");
  cpp.tab_size = 2;
  cpp.visible_whitespace = true;
  host.preferences().Set(u"C/C++", cpp);
  EXPECT_EQ(source_view.Preferences().tab_size, 2u);
  EXPECT_TRUE(source_view.Preferences().visible_whitespace);
  EXPECT_EQ(make_view.Preferences().tab_size, 8u);
  host.ToggleSplit(*host.WindowOf(source_view));
  EXPECT_EQ(host.ViewsOf(*source)[1]->Preferences().tab_size, 2u);

  host.SetWordWrap(true);
  EXPECT_TRUE(make_view.Preferences().word_wrap);
  Document* later = host.OpenText(u"", "/tmp/proj/b.txt");
  EXPECT_TRUE(host.ViewsOf(*later)[0]->Preferences().word_wrap);
  host.SetWordWrap(false);
  EXPECT_FALSE(make_view.Preferences().word_wrap);
}

}  // namespace
}  // namespace tavik::platform
