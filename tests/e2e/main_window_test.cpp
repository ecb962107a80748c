// Start-up, the main window's identity, hiding and position, driven from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/support/driver.h"
#include "ui/win/ids.h"

namespace iv::e2e {

namespace {

RECT WindowRect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSettings(); }
  void TearDown() override { ResetSettings(); }
};

TEST_F(MainWindowTest, MinStartStaysHiddenAndOtherSpellingsShow) {
  Program hidden(L"-min");
  ASSERT_TRUE(hidden.main());
  EXPECT_FALSE(IsWindowVisible(hidden.main()));
  Sync(hidden.main());
  EXPECT_FALSE(IsWindowVisible(hidden.main()));
  Program shown(L"-MIN");
  ASSERT_TRUE(shown.main());
  EXPECT_TRUE(IsWindowVisible(shown.main()));
  // A second plain start is a second copy, not refused.
  EXPECT_NE(hidden.process().pid(), shown.process().pid());
  EXPECT_EQ(TopWindows(0, kMainClass, kMainCaption).size(), 2u);
  EXPECT_TRUE(hidden.Close());
  EXPECT_TRUE(shown.Close());
}

// The exit question box of a process, once it is shown.
HWND WaitForQuestion(Process& p, HWND main) {
  return WaitForShownWindow(p.pid(), nullptr, [&](HWND top) {
    return top != main && FindDescendantByText(top, nullptr, L"No");
  }, kDeadline);
}

// The sizes of the icon images in the executable's icon group "APPICON".
std::vector<int> IconSizes(const std::wstring& exe) {
  std::vector<int> sizes;
  const HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return sizes;
  if (HRSRC group = FindResourceW(module, L"APPICON", RT_GROUP_ICON)) {
    auto* dir = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    for (int size : {16, 32, 48, 24}) {
      const int id = LookupIconIdFromDirectoryEx(dir, TRUE, size, size, LR_DEFAULTCOLOR);
      HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON);
      const auto* header = image ? static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)))
                                 : nullptr;
      // The nearest image drawn: 24 pixels has none of its own.
      if (header && header->biWidth == size) sizes.push_back(size);
    }
  }
  FreeLibrary(module);
  return sizes;
}

// The window with the keyboard focus in a thread of another process.
HWND FocusOf(HWND anyWindowOfThread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfThread, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::wstring ClassOf(HWND h) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  return cls;
}

// The windows show it (see the screenshots); Wine does not answer WM_GETICON for
// another process's window, so this checks what the executable carries.
TEST_F(MainWindowTest, CarriesItsOwnIconDrawnAtEachSize) {
  EXPECT_EQ(IconSizes(BinDir() + L"\\iconvane.exe"), (std::vector<int>{16, 32, 48}));
}

// One plain start: what other processes and a screen reader find, then the ways the
// window goes: minimised and "Close Window" only hide it, the close box asks first.
TEST_F(MainWindowTest, IdentityWelcomeLinkHidingAndTheCloseQuestion) {
  Program program;
  ASSERT_TRUE(program.main());
  HWND found = FindWindowW(kMainClass, kMainCaption);
  ASSERT_EQ(found, program.main());
  EXPECT_TRUE(FindWindowExW(found, nullptr, L"ABSDynaBarCls", nullptr));
  EXPECT_TRUE(IsWindowVisible(found));
  // A window with another caption is not the running copy.
  EXPECT_FALSE(FindWindowW(kMainClass, L"Iconvane for AIM: Dravolt Software"));
  // Every tab and its controls are real child windows carrying their captions.
  for (const wchar_t* caption : {L"Use this Icon!", L"Close Window", L"Every Hour", L"Disable Rotation",
                                 L"View Selected Category", L"Your Current Icon Rotation"})
    EXPECT_TRUE(FindDescendantByText(found, nullptr, caption)) << static_cast<const void*>(caption);

  const HWND view = program.control(ids::Wb);
  ASSERT_TRUE(view);
  const HWND link = FindWindowExW(view, nullptr, L"SysLink", nullptr);
  ASSERT_TRUE(link) << "the page's link is no window of its own";
  EXPECT_NE(WindowText(link).find(L">Dravolt Software</a>"), std::wstring::npos) << WindowText(link).c_str();
  EXPECT_TRUE(GetWindowLongW(link, GWL_STYLE) & WS_TABSTOP);
  EXPECT_TRUE(IsWindowVisible(link));
  // Tab goes round the "Welcome!" tab's stops and reaches the link.
  bool reached = false;
  for (int i = 0; i < 20 && !reached; ++i) {
    const HWND focus = FocusOf(program.main());
    PostMessageW(focus ? focus : program.main(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(focus ? focus : program.main(), WM_KEYUP, VK_TAB, 0xC00F0001);
    WaitUntil([&] { return FocusOf(program.main()) != focus; }, 3000);
    reached = FocusOf(program.main()) == link;
    if (!reached && ClassOf(FocusOf(program.main())) == L"SysLink") break;
  }
  EXPECT_TRUE(reached);

  PostMessageW(program.main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.main()); }, kDeadline));
  EXPECT_TRUE(IsIconic(program.main()));  // hidden while minimised
  ShowWindow(program.main(), SW_RESTORE);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(program.main()) != FALSE; }, kDeadline));
  Click(program.control(ids::cmdExit));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(program.main()); }, kDeadline));
  // The click has been handled once the window is hidden: nothing was asked and
  // nothing unloaded.
  Sync(program.main());
  EXPECT_TRUE(IsWindow(program.main()));
  EXPECT_TRUE(TopWindows(program.process().pid(), L"frmMsgBox").empty());
  ShowWindow(program.main(), SW_RESTORE);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(program.main()) != FALSE; }, kDeadline));

  PostMessageW(program.main(), WM_CLOSE, 0, 0);
  HWND box = WaitForQuestion(program.process(), program.main());
  ASSERT_TRUE(box);
  EXPECT_TRUE(FindDescendantContaining(box, L"Are you sure you want to exit Iconvane?"));
  EXPECT_FALSE(IsWindowEnabled(program.main()));
  Click(FindDescendantByText(box, nullptr, L"No"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kDeadline));
  EXPECT_TRUE(IsWindowEnabled(program.main()));
  // The close has been handled once the box is gone: the program still runs and
  // answers a second close with the question again.
  Sync(program.main());
  EXPECT_TRUE(IsWindow(program.main()));
  // Closing the question itself ends the program like Yes.
  PostMessageW(program.main(), WM_CLOSE, 0, 0);
  box = WaitForQuestion(program.process(), program.main());
  ASSERT_TRUE(box);
  PostMessageW(box, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.process().WaitExit(kDeadline));
}

// Restarts in one program folder: the position is kept and clamped to the screen, and
// an altered or missing welcome page is restored at each start.
TEST_F(MainWindowTest, PositionAndWelcomePageAcrossRestarts) {
  const std::string original = ReadAll(BinDir() + L"\\aim.htm");
  ASSERT_FALSE(original.empty());
  TempDir folder;
  CopyProgramFolder(folder.path());
  WriteAll(folder / L"aim.htm", "<p>changed</p>");
  {
    Program first(folder, L"");
    ASSERT_TRUE(first.main());
    EXPECT_EQ(ReadAll(folder / L"aim.htm"), original);
    SetWindowPos(first.main(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(first.main()).left == 40; }, kDeadline));
    ASSERT_TRUE(first.Close());
  }
  EXPECT_EQ(GetSetting(L"Main", L"Left"), L"600");  // twips, 15 to the pixel
  EXPECT_EQ(GetSetting(L"Main", L"Top"), L"450");
  DeleteFileW((folder / L"aim.htm").c_str());
  {
    Program second(folder, L"");
    ASSERT_TRUE(second.main());
    EXPECT_EQ(ReadAll(folder / L"aim.htm"), original);
    EXPECT_EQ(WindowRect(second.main()).left, 40);
    EXPECT_EQ(WindowRect(second.main()).top, 30);
    ASSERT_TRUE(second.Close());
  }
  SetSetting(L"Main", L"Top", L"999999");
  SetSetting(L"Main", L"Left", L"-4000");
  Program third(folder, L"");
  ASSERT_TRUE(third.main());
  const RECT r = WindowRect(third.main());
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(third.Close());
}

}  // namespace
}  // namespace iv::e2e
