// The tray icon of the real program, driven through its hidden window the way the
// shell reports mouse actions on the icon.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/driver.h"

namespace iv::e2e {
namespace {

HWND TrayWindow(DWORD pid) { return WaitForTopWindow(pid, L"frmSysTray", nullptr, 10000); }

void Notify(HWND tray, UINT mouseMessage) { PostMessageW(tray, WM_MOUSEMOVE, 0, mouseMessage); }

// Opens the tray menu with the right button and picks an item by its access key.
bool ChooseFromMenu(DWORD pid, HWND tray, wchar_t accessKey) {
  Notify(tray, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  if (!WaitUntil([&] {
        for (HWND w : TopWindows(pid, L"#32768"))
          if (IsWindowVisible(w)) menu = w;
        return menu != nullptr;
      }, 10000))
    return false;
  PostMessageW(menu, WM_CHAR, accessKey, 0);
  return true;
}

// Opens the tray menu and chooses the item 'downs' steps from the top with the arrow keys.
bool ChooseByPosition(DWORD pid, HWND tray, int downs) {
  Notify(tray, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  if (!WaitUntil([&] {
        for (HWND w : TopWindows(pid, L"#32768"))
          if (IsWindowVisible(w)) menu = w;
        return menu != nullptr;
      }, 10000))
    return false;
  for (int i = 0; i < downs; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  return WaitUntil([&] { return !IsWindowVisible(menu); }, 10000);
}

}  // namespace

class TrayE2E : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(); }
  void TearDown() override { ResetSettings(); }
};

TEST_F(TrayE2E, LeftClickKeepsTheWindowHiddenAndDoubleClickShowsIt) {
  Program program(L"-min");
  ASSERT_TRUE(program.main());
  const HWND tray = TrayWindow(program.process().pid());
  ASSERT_TRUE(tray);
  EXPECT_FALSE(IsWindowVisible(tray));
  Notify(tray, WM_LBUTTONDOWN);
  Notify(tray, WM_LBUTTONUP);
  Sync(tray);
  Sync(program.main());
  EXPECT_FALSE(IsWindowVisible(program.main()));
  Notify(tray, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.main()) && !IsIconic(program.main()); }, 10000));
  EXPECT_TRUE(program.Close());
}

TEST_F(TrayE2E, RightButtonMenuExitEndsTheProgram) {
  Program program;
  ASSERT_TRUE(program.main());
  const DWORD pid = program.process().pid();
  const HWND tray = TrayWindow(pid);
  ASSERT_TRUE(tray);
  ASSERT_TRUE(ChooseFromMenu(pid, tray, L'e'));  // "&Exit Iconvane"
  bool answered = false;
  EXPECT_TRUE(WaitUntil([&] {
    if (program.process().WaitExit(0)) return true;
    for (HWND top : TopWindows(pid, nullptr)) {
      if (answered || top == program.main() || !IsWindowVisible(top)) continue;
      if (HWND yes = FindDescendantByText(top, nullptr, L"Yes")) {
        Click(yes);
        answered = true;
      }
    }
    return false;
  }, 20000));
}

TEST_F(TrayE2E, AboutItemShowsTheAboutBoxOnce) {
  Program program;
  ASSERT_TRUE(program.main());
  const DWORD pid = program.process().pid();
  const HWND tray = TrayWindow(pid);
  ASSERT_TRUE(tray);
  ASSERT_TRUE(ChooseFromMenu(pid, tray, L'a'));  // "&About Iconvane..."
  const HWND about = WaitForTopWindow(pid, nullptr, L"About Iconvane", 10000);
  ASSERT_TRUE(about);
  EXPECT_TRUE(FindDescendantByText(about, nullptr, L"Iconvane: V 1.2.0"));
  ASSERT_TRUE(ChooseFromMenu(pid, tray, L'a'));
  Sync(tray);
  EXPECT_EQ(TopWindows(pid, nullptr, L"About Iconvane").size(), 1u);
  Click(FindDescendantByText(about, L"AOLButton", L"OK"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 10000));
  EXPECT_TRUE(program.Close());
}

// The rotation's items come right after "Show Iconvane Window"; the fourth pauses,
// and the same item resumes.
TEST_F(TrayE2E, PauseRotationItemPausesAndResumes) {
  Program program(L"-min");
  ASSERT_TRUE(program.main());
  const DWORD pid = program.process().pid();
  const HWND tray = TrayWindow(pid);
  ASSERT_TRUE(tray);
  // The first arrow selects "Show Iconvane Window".
  ASSERT_TRUE(ChooseByPosition(pid, tray, 4));
  EXPECT_TRUE(WaitUntil([] { return GetSetting(L"Options", L"Paused") == L"1"; }, 10000));
  ASSERT_TRUE(ChooseByPosition(pid, tray, 4));
  EXPECT_TRUE(WaitUntil([] { return GetSetting(L"Options", L"Paused") == L"0"; }, 10000));
  EXPECT_EQ(GetSetting(L"Options", L"Rotate", L"missing"), L"missing");
  EXPECT_TRUE(program.Close());
}

}  // namespace iv::e2e
