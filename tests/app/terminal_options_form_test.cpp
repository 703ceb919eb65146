// The options form without a terminal: moving between fields and pages, check boxes that write
// their setting at once, refused and invalid input shown on the form, colours cycled through
// the display items, preferences per language, the keyboard page's controls; the welcome
// dialog's keys; and the looks of the highlights taken from the display items.
#include <gtest/gtest.h>

#include <clocale>

#include "app/batch_session.h"
#include "app/terminal_colours.h"
#include "app/terminal_draw.h"
#include "app/terminal_options_form.h"
#include "app/terminal_paint.h"
#include "app/terminal_welcome_dialog.h"
#include "host/registry_settings_store.h"

namespace tavik::app {
namespace {

namespace colour = platform::colour;
using Form = OptionsForm;

class RecordingEffects final : public host::SettingsEffects {
 public:
  void SettingChanged(SettingId id) override { changed.push_back(id); }
  std::vector<SettingId> changed;
};

class OptionsFormTest : public ::testing::Test {
 protected:
  OptionsFormTest()
      : settings_(session_.Package().GetSettings(), effects_),
        form_(settings_, session_.Editor().colours(), session_.Editor().preferences()) {}

  void Keys(std::initializer_list<KeyCode> keys) {
    for (KeyCode key : keys) form_.HandleKey(key);
  }
  void Type(std::u16string_view text) {
    for (char16_t c : text) form_.HandleKey(KeyCode::Char(c));
  }
  // Focuses the field of the page whose label starts so; false when there is none.
  bool FocusField(std::u16string_view label) {
    for (size_t i = 0; i < form_.Fields().size(); ++i) {
      if (form_.Fields()[form_.FocusedField()].label.starts_with(label)) return true;
      form_.HandleKey(KeyCode::Special(vk::kDown));
    }
    return false;
  }
  const Form::Field& Focused() const { return form_.Fields()[form_.FocusedField()]; }
  std::string SettingsKeyOf() { return host::SettingsKey(session_.Editor().LocalRegistryRoot()); }
  std::string ColourKeyOf(std::string_view item) {
    return "HKEY_CURRENT_USER\\" + session_.Editor().LocalRegistryRoot() +
           "\\FontAndColors\\Text Editor\\" + std::string(item);
  }

  BatchSession session_;
  RecordingEffects effects_;
  host::SettingsObject settings_;
  OptionsForm form_;
};

constexpr KeyCode kSpace = KeyCode::Char(u' ');
constexpr KeyCode kEnter = KeyCode::Char(ch::kReturn);

TEST_F(OptionsFormTest, GeneralPageHasEveryBooleanSettingAndTogglingWritesIt) {
  size_t checks = 0;
  for (const Form::Field& field : form_.Fields()) checks += field.kind == Form::FieldKind::kCheck;
  size_t booleans = 0;
  for (const SettingRow& row : kSettingTable) booleans += row.type == SettingType::kBool;
  EXPECT_EQ(checks, booleans);
  // Up from the first field wraps to the last.
  form_.HandleKey(KeyCode::Special(vk::kUp));
  EXPECT_EQ(form_.FocusedField(), form_.Fields().size() - 1);
  ASSERT_TRUE(FocusField(u"Use the clipboard"));
  EXPECT_EQ(form_.ValueText(Focused()), u"[x]");
  Keys({kSpace});
  EXPECT_EQ(form_.ValueText(Focused()), u"[ ]");
  EXPECT_FALSE(session_.Package().GetSettings().DefaultWinClipboard());
  EXPECT_EQ(session_.Editor().registry().Dword(SettingsKeyOf(), "DefaultWinClipboard"), 0u);
  EXPECT_EQ(effects_.changed, std::vector<SettingId>{SettingId::kDefaultWinClipboard});
  // Escape closes; keys after that do nothing.
  EXPECT_FALSE(form_.HandleKey(KeyCode::Char(ch::kEscape)));
  EXPECT_FALSE(form_.Open());
  EXPECT_FALSE(form_.HandleKey(kSpace));
  EXPECT_FALSE(session_.Package().GetSettings().DefaultWinClipboard());
}

TEST_F(OptionsFormTest, ACaptionOverTheLimitIsRefusedOnTheForm) {
  ASSERT_TRUE(FocusField(u"File tab caption"));
  Keys({kEnter});
  ASSERT_TRUE(form_.EditText());
  EXPECT_EQ(*form_.EditText(), u" - vi");
  Type(std::u16string(300, u'x'));
  Keys({kEnter});
  EXPECT_NE(form_.Message().find(u"Refused"), std::u16string::npos);
  EXPECT_EQ(session_.Package().GetSettings().FileTabCaption(), u" - vi");
  // "q" types into a field being edited, and Escape only ends the editing.
  Keys({kEnter, KeyCode::Char(ch::kBackspace), KeyCode::Char(u'q'), kEnter});
  EXPECT_TRUE(form_.Open());
  EXPECT_EQ(session_.Package().GetSettings().FileTabCaption(), u" - vq");
  EXPECT_TRUE(form_.Message().empty());
  Keys({kEnter, KeyCode::Char(u'z'), KeyCode::Char(ch::kEscape)});
  EXPECT_TRUE(form_.Open());
  EXPECT_EQ(session_.Package().GetSettings().FileTabCaption(), u" - vq");
  EXPECT_FALSE(form_.HandleKey(KeyCode::Char(u'q')));
}

TEST_F(OptionsFormTest, ColoursCycleThroughTheColourTableAndPersist) {
  Keys({KeyCode::Char(ch::kTab)});
  ASSERT_EQ(form_.CurrentPage(), Form::Page::kColours);
  EXPECT_EQ(form_.Fields().size(), 6u);  // foreground and background of three items
  ASSERT_TRUE(FocusField(u"Tavik hlsearch background"));
  EXPECT_EQ(form_.ValueText(Focused()), u"Yellow");
  Keys({kSpace});
  EXPECT_EQ(form_.ValueText(Focused()), u"Blue");
  Keys({KeyCode::Char(u'-'), KeyCode::Char(u'-')});
  EXPECT_EQ(form_.ValueText(Focused()), u"Green");
  const platform::ColourItem* item = session_.Editor().colours().Find(u"Tavik hlsearch");
  EXPECT_EQ(item->background, colour::kGreen);
  EXPECT_EQ(item->foreground, colour::kBlack);
  EXPECT_EQ(session_.Editor().registry().Dword(ColourKeyOf("Tavik hlsearch"), "Background"),
            colour::kGreen);
  // The last colour wraps round to the first.
  ASSERT_TRUE(FocusField(u"Tavik Incremental Search foreground"));
  for (int i = 0; i < 18; ++i) Keys({kSpace});
  EXPECT_EQ(form_.ValueText(Focused()), u"White");
}

TEST_F(OptionsFormTest, EditorPageSetsTheLanguagesPreferences) {
  Keys({KeyCode::Special(vk::kLeft), KeyCode::Special(vk::kLeft)});
  ASSERT_EQ(form_.CurrentPage(), Form::Page::kEditor);
  const std::u16string language = form_.Language();
  ASSERT_TRUE(FocusField(u"Tab size"));
  Keys({kEnter, KeyCode::Char(ch::kBackspace), KeyCode::Char(u'2'), kEnter});
  EXPECT_EQ(session_.Editor().preferences().For(language).tab_size, 2u);
  Keys({KeyCode::Char(u'+')});
  EXPECT_EQ(session_.Editor().preferences().For(language).tab_size, 3u);
  Keys({kEnter, KeyCode::Char(u'x'), kEnter});
  EXPECT_FALSE(form_.Message().empty());
  EXPECT_EQ(session_.Editor().preferences().For(language).tab_size, 3u);
  ASSERT_TRUE(FocusField(u"Visible whitespace"));
  Keys({kSpace});
  EXPECT_TRUE(session_.Editor().preferences().For(language).visible_whitespace);
}

TEST_F(OptionsFormTest, KeyboardPageShowsItsControls) {
  Keys({KeyCode::Char(ch::kTab, key_mod::kShift)});
  ASSERT_EQ(form_.CurrentPage(), Form::Page::kKeyboard);
  std::vector<int> controls;
  for (const Form::Field& field : form_.Fields()) controls.push_back(field.control);
  EXPECT_EQ(controls, (std::vector<int>{1028, 1032, 1027, 1035, 1029}));
  const auto& fields = form_.Fields();
  EXPECT_EQ(form_.ValueText(fields[0]), u"[x]");  // DynamicKbdRestore
  EXPECT_EQ(form_.ValueText(fields[1]), u"[x]");  // clashes are not allowed
  EXPECT_EQ(form_.ValueText(fields[2]), u"(None)");
  EXPECT_EQ(form_.ValueText(fields[3]), u"RFBDUWTQEYOINP]");
  EXPECT_EQ(form_.ValueText(fields[4]), u"(None)");
  ASSERT_TRUE(FocusField(u"Remove key bindings"));
  Keys({kSpace});
  EXPECT_TRUE(session_.Package().GetSettings().AllowKbdClashes());
  session_.Package().GetSettings().PutString(SettingId::kRemovedKeySet, u"Edit.Find");
  EXPECT_EQ(form_.ValueText(fields[2]), u"Edit.Find");
}

// With the package's clash manager the page is the keyboard manager: its check boxes and key
// list wait for OK, its buttons ask first and act at once.
TEST_F(OptionsFormTest, KeyboardManagerPageActsThroughItsButtons) {
  std::vector<std::u16string> questions;
  Form form(settings_, session_.Editor().colours(), session_.Editor().preferences(),
            session_.Package().KeyboardClashes(), [&](std::u16string_view question) {
              questions.emplace_back(question);
              return true;
            });
  form.ShowPage(Form::Page::kKeyboard);
  auto focus = [&](int control) {
    for (size_t i = 0; i < form.Fields().size(); ++i) {
      if (form.Fields()[form.FocusedField()].control == control) return true;
      form.HandleKey(KeyCode::Special(vk::kDown));
    }
    return false;
  };
  ASSERT_TRUE(focus(1029));
  EXPECT_NE(form.ValueText(form.Fields()[form.FocusedField()]).find(u"Edit.Find="),
            std::u16string::npos);
  ASSERT_TRUE(focus(1035));
  form.HandleKey(kEnter);
  for (int i = 0; i < 20; ++i) form.HandleKey(KeyCode::Char(ch::kBackspace));
  for (char16_t c : std::u16string_view(u"F")) form.HandleKey(KeyCode::Char(c));
  form.HandleKey(kEnter);
  EXPECT_EQ(session_.Package().GetSettings().ScanForClashes(), u"RFBDUWTQEYOINP]");
  ASSERT_TRUE(focus(1030));
  form.HandleKey(kSpace);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(session_.Package().GetSettings().ScanForClashes(), u"F");
  EXPECT_EQ(session_.Package().GetSettings().RemovedKeySet(), u"Edit.Find=Text Editor::Ctrl+F");
  EXPECT_TRUE(session_.Editor().bindings().Find(u"Edit.Find")->bindings.empty());
  ASSERT_TRUE(focus(1028));
  form.HandleKey(kSpace);
  EXPECT_TRUE(session_.Package().GetSettings().DynamicKbdRestore());  // not before OK
  ASSERT_TRUE(focus(1));
  form.HandleKey(kEnter);
  EXPECT_FALSE(form.Open());
  EXPECT_FALSE(session_.Package().GetSettings().DynamicKbdRestore());
}

TEST_F(OptionsFormTest, DrawnFullScreenWithTheFocusedFieldMarked) {
  std::setlocale(LC_CTYPE, "C.UTF-8");
  ScreenGrid grid;
  grid.Resize(10, 60);
  int row = -1, col = -1;
  form_.Draw(grid, row, col);
  EXPECT_NE(grid.RowText(0).find("General"), std::string::npos);
  EXPECT_NE(grid.RowText(2).find("[x] Ignore Caps Lock"), std::string::npos);
  EXPECT_EQ(grid.At(2, 3).style, CellStyle::kStatus);
  EXPECT_EQ(grid.At(3, 3).style, CellStyle::kPaneText);
  // The fields scroll with the focus.
  for (int i = 0; i < 10; ++i) form_.HandleKey(KeyCode::Special(vk::kDown));
  form_.Draw(grid, row, col);
  EXPECT_EQ(grid.At(8, 3).style, CellStyle::kStatus);
}

TEST(WelcomeDialogTest, SpaceTicksAndEnterOrEscapeClose) {
  WelcomeDialog dialog;
  EXPECT_TRUE(dialog.HandleKey(KeyCode::Char(u'x')));
  EXPECT_TRUE(dialog.HandleKey(KeyCode::Char(u' ')));
  EXPECT_TRUE(dialog.DontShowAgain());
  EXPECT_FALSE(dialog.HandleKey(KeyCode::Char(ch::kEscape)));
  EXPECT_FALSE(dialog.Open());
  WelcomeDialog other;
  EXPECT_FALSE(other.HandleKey(KeyCode::Char(ch::kReturn)));
  EXPECT_FALSE(other.DontShowAgain());
  ScreenGrid grid;
  grid.Resize(24, 80);
  int row = -1, col = -1;
  dialog.Draw(grid, row, col);
  EXPECT_NE(grid.RowText(row).find("[x] Don't show this again"), std::string::npos);
  bool bold_title = false;
  for (int r = 0; r < 24 && !bold_title; ++r)
    bold_title = grid.RowText(r).find("Welcome to Tavik") != std::string::npos &&
                 grid.At(r, (80 - 2) / 2).style != CellStyle::kText;
  EXPECT_TRUE(bold_title);
}

TEST(TerminalColoursTest, HighlightsAreDrawnInTheirItemsColours) {
  BatchSession session;
  platform::ColourItems& items = session.Editor().colours();
  CellLooks looks = LooksFromItems(items);
  EXPECT_EQ(looks[static_cast<size_t>(CellStyle::kSearch)], (CellLook{0, 11, 0, 5}));
  EXPECT_EQ(looks[static_cast<size_t>(CellStyle::kSelection)].background, 7);
  ASSERT_TRUE(items.Recolour(u"Tavik hlsearch", colour::kWhite, colour::kMaroon));
  looks = LooksFromItems(items);
  const CellLook& search = looks[static_cast<size_t>(CellStyle::kSearch)];
  EXPECT_EQ(search.foreground, 15);
  EXPECT_EQ(search.background, 1);

  // A search match drawn by the composer and painted with those looks comes out in them.
  StyleCapabilities caps;
  caps.reset = "\x1b[0m";
  caps.colours = 256;
  caps.foreground_code = [](int n) { return "\x1b[38;5;" + std::to_string(n) + "m"; };
  caps.background_code = [](int n) { return "\x1b[48;5;" + std::to_string(n) + "m"; };
  EXPECT_EQ(StyleSequence(search, caps), "\x1b[0;38;5;15;48;5;1m");
  caps.colours = 8;  // the bright half shows as the dark half
  EXPECT_EQ(StyleSequence(search, caps), "\x1b[0;38;5;7;48;5;1m");
  caps.colours = 256;
  session.OpenText("t.txt", "abc foo\n");
  session.FocusFirstDocument();
  session.FeedNotation(":set hls<CR>/foo<CR>");
  ScreenComposer composer;
  ScreenGrid grid;
  grid.Resize(4, 20);
  composer.Draw(session.Editor(), DrawRequest{}, grid);
  EXPECT_EQ(grid.At(1, 4).style, CellStyle::kSearch);
  TerminalCodes codes;
  codes.move_to = [](int r, int c, std::string& out) {
    out += "<" + std::to_string(r) + "," + std::to_string(c) + ">";
  };
  for (size_t i = 0; i < kCellStyleCount; ++i) codes.styles[i] = StyleSequence(looks[i], caps);
  TerminalPainter painter(codes);
  ScreenGrid empty;
  std::string out;
  painter.Paint(empty, grid, 0, 0, true, out);
  EXPECT_NE(out.find("\x1b[0;38;5;15;48;5;1mfoo"), std::string::npos);
}

TEST(TerminalColoursTest, OverlappingHighlightsShowTheHigherPriority) {
  BatchSession session;
  session.OpenText("t.txt", "abc foo\n");
  session.FocusFirstDocument();
  platform::HighlightMarkers& markers = session.Editor().FocusedView()->Buffer().Markers();
  markers.Add(platform::HighlightKind::kSearch, {0, 4}, {0, 7});
  markers.Add(platform::HighlightKind::kIncSearch, {0, 4}, {0, 7});
  markers.Add(platform::HighlightKind::kSelection, {0, 5}, {0, 6});
  ScreenComposer composer;
  ScreenGrid grid;
  grid.Resize(4, 20);
  composer.Draw(session.Editor(), DrawRequest{}, grid);
  EXPECT_EQ(grid.At(1, 5).style, CellStyle::kIncSearch);  // 902 over 901 and 900
  platform::MarkerTypeDefinition search = host::kMarkerTypes[1];
  search.priority = 990;
  session.Editor().colours().RegisterMarkerType(search);
  composer.Draw(session.Editor(), DrawRequest{}, grid);
  EXPECT_EQ(grid.At(1, 5).style, CellStyle::kSearch);
  EXPECT_EQ(grid.At(1, 4).style, CellStyle::kSearch);
}

}  // namespace
}  // namespace tavik::app
