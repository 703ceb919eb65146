// The keyboard driver: the messages a key press sends under the US and German layouts, the
// keyboard state they are read with, and the press that gives an engine key.
#include "platform/keyboard_driver.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/editor_host.h"

namespace tavik::platform {
namespace {

struct Seen {
  WindowMessage message;
  KeyboardState state;
};

std::vector<Seen> Press(KeyboardDriver& driver, KeyPress press) {
  std::vector<Seen> seen;
  driver.Press(press, [&](const WindowMessage& m) { seen.push_back({m, driver.State()}); });
  return seen;
}

TEST(KeyboardDriverTest, PlainShiftedAndCtrlKeysSendKeyDownCharacterAndKeyUp) {
  KeyboardDriver driver;
  std::vector<Seen> a = Press(driver, {'A', key_mod::kShift});
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[0].message.message, wm::kKeyDown);
  EXPECT_EQ(a[0].message.wparam, uint32_t{'A'});
  EXPECT_EQ(a[0].message.ScanCode(), 0x1Eu);
  EXPECT_TRUE(a[0].state.shift);
  EXPECT_EQ(a[1].message.message, wm::kChar);
  EXPECT_EQ(a[1].message.wparam, uint32_t{'A'});
  EXPECT_EQ(a[2].message.message, wm::kKeyUp);
  EXPECT_NE(a[2].message.lparam & key_lparam::kReleased, 0u);
  EXPECT_FALSE(driver.State().shift);  // released after the press

  // Ctrl+[ types Escape; Ctrl+1 types nothing, so no character message follows.
  std::vector<Seen> bracket = Press(driver, {0xDB, key_mod::kCtrl});
  ASSERT_EQ(bracket.size(), 3u);
  EXPECT_EQ(bracket[1].message.wparam, 27u);
  EXPECT_EQ(Press(driver, {'1', key_mod::kCtrl}).size(), 2u);

  // Caps Lock makes letters upper case unless Shift is held.
  driver.SetCapsLock(true);
  EXPECT_EQ(Press(driver, {'J', 0})[1].message.wparam, uint32_t{'J'});
  EXPECT_EQ(Press(driver, {'J', key_mod::kShift})[1].message.wparam, uint32_t{'j'});
}

TEST(KeyboardDriverTest, AltAloneSendsTheSystemFormsAndAltGrTypesTheLayoutsCharacter) {
  KeyboardDriver driver;
  std::vector<Seen> alt_x = Press(driver, {'X', key_mod::kAlt});
  ASSERT_EQ(alt_x.size(), 3u);
  EXPECT_EQ(alt_x[0].message.message, wm::kSysKeyDown);
  EXPECT_EQ(alt_x[1].message.message, wm::kSysChar);
  EXPECT_EQ(alt_x[1].message.wparam, uint32_t{'x'});
  EXPECT_EQ(alt_x[2].message.message, wm::kSysKeyUp);
  EXPECT_NE(alt_x[0].message.lparam & key_lparam::kAltDown, 0u);
  // Ctrl+Alt+Q: nothing on a US keyboard, "@" on a German one.
  EXPECT_EQ(Press(driver, {'Q', key_mod::kCtrl | key_mod::kAlt}).size(), 2u);
  driver.SetLayout(GermanLayout());
  std::vector<Seen> altgr_q = Press(driver, {'Q', key_mod::kCtrl | key_mod::kAlt});
  ASSERT_EQ(altgr_q.size(), 3u);
  EXPECT_EQ(altgr_q[0].message.message, wm::kKeyDown);
  EXPECT_EQ(altgr_q[1].message.message, wm::kChar);
  EXPECT_EQ(altgr_q[1].message.wparam, uint32_t{'@'});
  // The key right of P is Ü on a German keyboard, with scan code 26 as on every keyboard.
  const std::vector<Seen> ue = Press(driver, {0xBA, 0});
  EXPECT_EQ(ue[0].message.ScanCode(), 26u);
  EXPECT_EQ(ue[1].message.wparam, uint32_t{u'\u00FC'});
  // Cursor keys carry the extended-key bit and type nothing.
  const std::vector<Seen> left = Press(driver, {vk::kLeft, 0});
  ASSERT_EQ(left.size(), 2u);
  EXPECT_NE(left[0].message.lparam & key_lparam::kExtended, 0u);
}

TEST(KeyboardDriverTest, PressForFindsTheKeyThatGivesAnEngineKey) {
  KeyboardDriver driver;
  EXPECT_EQ(driver.PressFor(KeyCode::Char(u'a')), (KeyPress{'A', 0}));
  EXPECT_EQ(driver.PressFor(KeyCode::Char(u'A', key_mod::kShift)),
            (KeyPress{'A', key_mod::kShift}));
  EXPECT_EQ(driver.PressFor(KeyCode::Char(u'!')), (KeyPress{'1', key_mod::kShift}));
  EXPECT_EQ(driver.PressFor(KeyCode::Char(1, key_mod::kCtrl)), (KeyPress{'A', key_mod::kCtrl}));
  EXPECT_EQ(driver.PressFor(KeyCode::Char(30, key_mod::kCtrl)), (KeyPress{'6', key_mod::kCtrl}));
  EXPECT_EQ(driver.PressFor(KeyCode::Char(ch::kEscape)), (KeyPress{vkey::kEscape, 0}));
  constexpr uint32_t kAll = key_mod::kCtrl | key_mod::kShift | key_mod::kAlt;
  EXPECT_EQ(driver.PressFor(KeyCode::Char(u'v', kAll)), (KeyPress{'V', kAll}));
  EXPECT_EQ(driver.PressFor(KeyCode::Special(vk::kF1, key_mod::kAlt)),
            (KeyPress{vk::kF1, key_mod::kAlt}));
  // A character no key types comes alone, upper case with Shift.
  EXPECT_EQ(driver.PressFor(KeyCode::Char(u'\u00C9')), (KeyPress{0, key_mod::kShift, u'\u00C9'}));
  driver.SetLayout(GermanLayout());
  EXPECT_EQ(driver.PressFor(KeyCode::Char(u'@')), (KeyPress{'Q', key_mod::kCtrl | key_mod::kAlt}));
  EXPECT_EQ(driver.PressFor(KeyCode::Char(u'y')), (KeyPress{'Y', 0}));
}

TEST(KeyboardDriverTest, HostSendsFocusAndTimerMessagesToTheViewsProcedure) {
  EditorHost host;
  host.OpenText(u"one");
  host.OpenText(u"two");
  View* first = host.ViewsOf(*host.Documents()[0]).front();
  View* second = host.ViewsOf(*host.Documents()[1]).front();
  std::vector<std::pair<uint64_t, uint32_t>> seen;
  for (View* view : {first, second}) {
    view->SetWindowProcedure([&seen](View& v, const WindowMessage& m) -> intptr_t {
      seen.emplace_back(v.Id(), m.message);
      return 1;
    });
  }
  host.Focus(*first);
  host.SyncFocus();
  host.Focus(*second);
  host.SyncFocus();
  host.SyncFocus();  // no change, no message
  EXPECT_EQ(seen, (std::vector<std::pair<uint64_t, uint32_t>>{{first->Id(), wm::kSetFocus},
                                                              {first->Id(), wm::kKillFocus},
                                                              {second->Id(), wm::kSetFocus}}));
  seen.clear();
  second->SetWindowTimer(7, 100);
  host.AdvanceClock(99);
  EXPECT_TRUE(seen.empty());
  host.AdvanceClock(1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].second, wm::kTimer);
  EXPECT_FALSE(second->WindowTimerRunning(7));  // one-shot
}

}  // namespace
}  // namespace tavik::platform
