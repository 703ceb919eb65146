// Searches over a host that hands out its Latin-1 lines one byte per unit land where they land
// over a host that gives every line as UTF-16, edits in between included.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/key_notation.h"
#include "config/settings.h"
#include "config/settings_store.h"
#include "engine/attached_view.h"
#include "engine/fake_host_view.h"
#include "engine/view_engine.h"

namespace tavik {
namespace {

// One engine over one fake host.
struct Editor {
  Editor(std::u16string_view text, bool narrow)
      : settings(store),
        engine(settings, engine_host),
        host(text),
        view(&host, engine.GlobalOptions()) {
    host.set_narrow_lines(narrow);
  }
  void Keys(std::u16string_view notation) {
    for (KeyCode key : ParseKeys(notation)) engine.FeedKey(view, key);
  }

  MemorySettingsStore store;
  Settings settings;
  FakeEngineHost engine_host;
  ViewEngine engine;
  FakeHostView host;
  AttachedView view;
};

// Lines ending in "la" are followed by lines starting with "zy": "lazy" straddles them.
std::u16string Text() {
  std::u16string text;
  for (int i = 0; i < 900; ++i) {
    if (i > 0) text += u'\n';
    if (i % 97 == 0) {
      text += u"caf\u00e9 lazy dog 7";
    } else if (i % 131 == 0) {
      text += u"\u20ac lazy dig 7";
    } else if (i % 10 == 3) {
      text += u"quick fox la";
    } else if (i % 10 == 4) {
      text += u"zy quick fox";
    } else {
      text += u"quick fox 7";
    }
  }
  return text;
}

TEST(NarrowLinesSearchTest, SearchesLandWhereTheyLandOverUtf16Lines) {
  const std::u16string_view steps[] = {u"/lazy dog<CR>",
                                       u"n",
                                       u"nn",
                                       u"N",
                                       u"/lazy dig<CR>",
                                       u"n",
                                       u"?lazy<CR>",
                                       u"n",
                                       u"/\\cCAF\u00c9<CR>",
                                       u"n",
                                       u"/7$<CR>",
                                       u"n",
                                       u"ddn",
                                       u"/zy qu<CR>",
                                       u"/la$<CR>",
                                       u"/nowhere<CR>",
                                       u"G?dog<CR>",
                                       u"dggn",
                                       u"/\u20ac<CR>",
                                       u"/\\<dig<CR>"};
  Editor narrow(Text(), true);
  Editor wide(Text(), false);
  for (std::u16string_view keys : steps) {
    narrow.Keys(keys);
    wide.Keys(keys);
    ASSERT_EQ(narrow.host.Caret(), wide.host.Caret()) << std::string(keys.begin(), keys.end());
    ASSERT_EQ(narrow.host.Text(), wide.host.Text());
  }
  // The steps moved: they did search.
  EXPECT_NE(wide.host.Caret(), (TextPos{0, 0}));
}

}  // namespace
}  // namespace tavik
