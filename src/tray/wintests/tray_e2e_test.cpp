// The tray icon of the real program, driven through its hidden window the way the
// shell reports mouse actions on the icon.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/driver.h"
#include "ui/win/ids.h"

namespace iv::e2e {
namespace {

// Rows of the tray menu as the keyboard reaches them from the top (separators are skipped).
constexpr int kShowRow = 1, kPauseRow = 4, kAboutRow = 6, kExitRow = 7;

HWND TrayWindow(DWORD pid) { return WaitForTopWindow(pid, L"frmSysTray", nullptr, kDeadline); }

void Notify(HWND tray, UINT mouseMessage) { PostMessageW(tray, WM_MOUSEMOVE, 0, mouseMessage); }

// Sent rather than posted: on return the tray has handled it, so what it did can be read.
bool NotifyAndWait(HWND tray, UINT mouseMessage) {
  return SendMessageTimeoutW(tray, WM_MOUSEMOVE, 0, mouseMessage, SMTO_NORMAL, kDeadline, nullptr) != 0;
}

// Opens the tray menu with the right button and picks a row with the arrow keys and
// Enter, as a keyboard user does. True once the menu has closed on the choice.
bool ChooseFromMenu(DWORD pid, HWND tray, int row) {
  Notify(tray, WM_RBUTTONDOWN);
  const HWND menu = WaitForShownWindow(pid, L"#32768", nullptr, kDeadline);
  if (!menu) return false;
  for (int i = 0; i < row; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  return WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, kDeadline);
}

// Answers the exit question, a box titled with the program's name.
bool AnswerExit(DWORD pid, const wchar_t* button) { return AnswerBox(pid, button, L"Iconvane for AIM", kDeadline); }

class TrayE2E : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(); }
  void TearDown() override { ResetSettings(); }
};

// One copy living in the tray, its window hidden, through every item a user reaches.
TEST_F(TrayE2E, ClicksAndMenuItemsOfACopyInTheTray) {
  Program program(L"-min");
  ASSERT_TRUE(program.main());
  const DWORD pid = program.process().pid();
  const HWND tray = TrayWindow(pid);
  ASSERT_TRUE(tray);
  EXPECT_FALSE(IsWindowVisible(tray));
  ASSERT_TRUE(NotifyAndWait(tray, WM_LBUTTONDOWN));
  ASSERT_TRUE(NotifyAndWait(tray, WM_LBUTTONUP));
  EXPECT_FALSE(IsWindowVisible(program.main()));

  // The rotation's items come right after "Show Iconvane Window"; the fourth pauses,
  // and the same item resumes.
  ASSERT_TRUE(ChooseFromMenu(pid, tray, kPauseRow));
  EXPECT_TRUE(WaitUntil([] { return GetSetting(L"Options", L"Paused") == L"1"; }, kDeadline));
  ASSERT_TRUE(ChooseFromMenu(pid, tray, kPauseRow));
  EXPECT_TRUE(WaitUntil([] { return GetSetting(L"Options", L"Paused") == L"0"; }, kDeadline));
  EXPECT_EQ(GetSetting(L"Options", L"Rotate", L"missing"), L"missing");

  // The about box comes once, however often it is asked for.
  ASSERT_TRUE(ChooseFromMenu(pid, tray, kAboutRow));
  const HWND about = WaitForTopWindow(pid, nullptr, L"About Iconvane", kDeadline);
  ASSERT_TRUE(about);
  EXPECT_TRUE(FindDescendantByText(about, nullptr, L"Iconvane: V 1.2.0"));
  ASSERT_TRUE(ChooseFromMenu(pid, tray, kAboutRow));
  // The choice runs when the menu closes; the tray's thread is then done with it.
  Sync(tray);
  EXPECT_EQ(TopWindows(pid, nullptr, L"About Iconvane").size(), 1u);
  Click(FindDescendantByText(about, L"AOLButton", L"OK"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, kDeadline));

  Notify(tray, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.main()) && !IsIconic(program.main()); }, kDeadline));
  Click(program.control(ids::cmdExit));  // "Close Window" hides it again
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.main()); }, kDeadline));

  // Exit answered No leaves everything: the tray's menu brings the main window back.
  ASSERT_TRUE(ChooseFromMenu(pid, tray, kExitRow));
  ASSERT_TRUE(AnswerExit(pid, L"No"));
  ASSERT_TRUE(ChooseFromMenu(pid, tray, kShowRow));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.main()) != FALSE; }, kDeadline));
  EXPECT_TRUE(IsWindow(tray));
  EXPECT_FALSE(program.process().WaitExit(0));
  // Yes ends the program.
  ASSERT_TRUE(ChooseFromMenu(pid, tray, kExitRow));
  ASSERT_TRUE(AnswerExit(pid, L"Yes"));
  EXPECT_TRUE(program.process().WaitExit(kDeadline));
}

}  // namespace
}  // namespace iv::e2e
