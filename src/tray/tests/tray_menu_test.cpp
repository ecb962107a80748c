#include "tray/core/tray_menu.h"

#include <gtest/gtest.h>

namespace iv::tray {

TEST(TrayMenu, FirstAddReusesElementZeroThenAppends) {
  TrayMenu m;
  EXPECT_EQ(m.Items().size(), 1u);
  EXPECT_EQ(m.AddMenuItem("Show", "open", true), 0);
  EXPECT_EQ(m.AddMenuItem("-"), 1);
  EXPECT_EQ(m.AddMenuItem("Exit", "close", false, true), 2);
  EXPECT_EQ(m.Items().size(), 3u);
  EXPECT_EQ(m.Items()[2].key, "close");
  EXPECT_TRUE(m.Items()[2].checked);
  EXPECT_EQ(m.DefaultMenuIndex(), 0);
}

TEST(TrayMenu, RemoveMovesCaptionsAndKeysButNotFlags) {
  TrayMenu m;
  for (int i = 0; i < 5; ++i) m.AddMenuItem("c" + std::to_string(i), "k" + std::to_string(i));
  m.CheckMenuItem(2);
  m.EnableMenuItem(4, false);
  m.SetDefaultMenuIndex(4);
  EXPECT_EQ(m.RemoveMenuItem(2), 0);
  ASSERT_EQ(m.Items().size(), 4u);
  EXPECT_EQ(m.Items()[2].caption, "c3");
  EXPECT_EQ(m.Items()[3].key, "k4");
  EXPECT_TRUE(m.IsItemChecked(2));  // the flag stayed with its index
  EXPECT_EQ(m.DefaultMenuIndex(), 4);  // not adjusted
  EXPECT_EQ(m.RemoveMenuItem(0), 0);
  EXPECT_EQ(m.Items().size(), 4u);
  EXPECT_EQ(m.Items()[0].caption, "");
  EXPECT_EQ(m.Items()[0].key, "k0");
  EXPECT_EQ(m.RemoveMenuItem(9), 0);
  EXPECT_EQ(m.RemoveMenuItem(-1), 0);
  EXPECT_EQ(m.Items().size(), 4u);
}

TEST(TrayMenu, CheckAndDefaultIgnoreInvalidIndexesAndElementZero) {
  TrayMenu m;
  m.AddMenuItem("a");
  m.AddMenuItem("b");
  EXPECT_TRUE(m.CheckMenuItem(1));
  EXPECT_TRUE(m.IsItemChecked(1));
  EXPECT_FALSE(m.CheckMenuItem(1));
  EXPECT_FALSE(m.CheckMenuItem(0));
  EXPECT_FALSE(m.IsItemChecked(0));
  EXPECT_FALSE(m.CheckMenuItem(5));
  EXPECT_FALSE(m.IsItemChecked(5));
  m.SetDefaultMenuIndex(1);
  EXPECT_EQ(m.DefaultMenuIndex(), 1);
  m.SetDefaultMenuIndex(7);
  EXPECT_EQ(m.DefaultMenuIndex(), 0);
  m.EnableMenuItem(99, false);  // ignored
  EXPECT_TRUE(m.Items()[1].enabled);
}

TEST(TrayNotifications, DecodingTable) {
  EXPECT_EQ(DecodeNotification(512), (TrayEvent{TrayEventKind::MouseMove, 0}));
  EXPECT_EQ(DecodeNotification(513), std::nullopt);
  EXPECT_EQ(DecodeNotification(514), (TrayEvent{TrayEventKind::MouseDown, 1}));
  EXPECT_EQ(DecodeNotification(515), (TrayEvent{TrayEventKind::DoubleClick, 1}));
  EXPECT_EQ(DecodeNotification(516), (TrayEvent{TrayEventKind::MouseDown, 2}));
  EXPECT_EQ(DecodeNotification(517), (TrayEvent{TrayEventKind::MouseUp, 2}));
  EXPECT_EQ(DecodeNotification(518), (TrayEvent{TrayEventKind::DoubleClick, 2}));
  EXPECT_EQ(DecodeNotification(519), std::nullopt);  // middle button
  EXPECT_EQ(DecodeNotification(0x404), std::nullopt);
}

TEST(TrayTip, CutAtSixtyFourCharacters) {
  EXPECT_EQ(CutTip("Iconvane - Right Click for Options"), "Iconvane - Right Click for Options");
  EXPECT_EQ(CutTip(std::string(70, 'x')), std::string(64, 'x'));
  const std::string accented = std::string(63, 'a') + "\xC3\xA9\xC3\xA9";
  EXPECT_EQ(CutTip(accented), std::string(63, 'a') + "\xC3\xA9");
  const std::string a = "\xE0\xA4\x85";  // three bytes from a lead byte of 0xE0
  EXPECT_EQ(CutTip(std::string(62, 'a') + a + a + a), std::string(62, 'a') + a + a);
}

}  // namespace iv::tray
