// The messenger stand-in driven from outside, by window messages, the way the program
// does. Only what the program's own tests against it would not notice: the click point
// of each version, the chooser's refusals and the fetched source.
#include <gtest/gtest.h>

#include <sstream>

#include "base/win/utf.h"
#include "sim_core.h"
#include "sim_session.h"

namespace iv::aim::testing {
namespace {

using e2e::WriteAll;

std::string SmallGif(char tag) {
  std::string gif("GIF89a\x02\x00\x02\x00", 10);
  gif.append(20, tag);
  gif += ';';
  return gif;
}

HWND FindDialog(const wchar_t* title) { return FindWindowW(L"#32770", title); }

HWND WaitDialog(const wchar_t* title) {
  HWND w = nullptr;
  e2e::WaitUntil([&] { return (w = FindDialog(title)) != nullptr; }, 10000);
  return w;
}

HWND WaitChild(HWND parent, const wchar_t* cls, const wchar_t* text) {
  HWND w = nullptr;
  e2e::WaitUntil([&] { return (w = FindWindowExW(parent, nullptr, cls, text)) != nullptr; }, 5000);
  return w;
}

void PostClick(HWND w, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageW(w, WM_LBUTTONDOWN, 13, at);
  PostMessageW(w, WM_LBUTTONUP, 13, at);
}

// Answers like the program's watcher: the click is posted again until the dialog is gone.
bool Answer(HWND confirm, const wchar_t* button) {
  const HWND b = FindWindowExW(confirm, nullptr, L"Button", button);
  if (!b) ADD_FAILURE() << "no button " << (button ? Narrow(button) : "") << " in the dialog";
  return b && e2e::WaitUntil([&] {
           PostClick(b, 0, 0);
           return !IsWindow(confirm);
         }, 10000);
}

// Opens Preferences, moves it away and clicks the category list at (x, y); returns Preferences.
HWND OpenPrefsAndClick(const SimSession& sim, const wchar_t* title, int x, int y) {
  SendMessageW(sim.aimWindow(), WM_COMMAND, 20002, 0);
  const HWND prefs = FindDialog(title);  // the send returns once the dialog exists
  if (!prefs) return nullptr;
  RECT r{};
  GetWindowRect(prefs, &r);
  MoveWindow(prefs, -2000, -2000, r.right - r.left, r.bottom - r.top, TRUE);
  const HWND list = FindWindowExW(prefs, nullptr, L"Listbox", nullptr);
  SendMessageW(list, LB_SETCURSEL, 8, 0);
  PostClick(list, x, y);
  std::ostringstream line;  // a string concatenation here trips a false GCC 12 warning on i686
  line << "list-click " << x << " " << y << " 13 ";
  sim.WaitLog(line.str());
  return prefs;
}

// Presses "B&rowse PC..." and types the path into the chooser; returns the chooser.
HWND BrowseAndSubmit(HWND prefs, const std::string& path) {
  const HWND page = WaitChild(prefs, L"#32770", L"Buddy Icons");
  const HWND browse = FindWindowExW(page, nullptr, L"Button", L"B&rowse PC...");
  if (!browse) return nullptr;
  SendMessageW(browse, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(browse, WM_KEYUP, VK_SPACE, 0);  // the chooser is modal: a sent key-up would block
  const HWND chooser = WaitDialog(L"Choose Buddy Icon Image");
  if (!chooser) return nullptr;
  ShowWindow(chooser, SW_HIDE);
  const HWND edit = FindWindowExW(chooser, nullptr, L"Edit", nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  const HWND select = FindWindowExW(chooser, nullptr, L"Button", L"&Select");
  SendMessageW(select, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(select, WM_KEYUP, VK_SPACE, 0);
  return chooser;
}

TEST(AimSim, ClickPointMustMatchTheVersion) {
  {
    SimSession sim(L"aimsim.exe");  // 5.9: (35, 102) lands on another category
    ASSERT_TRUE(sim.running());
    const HWND prefs = OpenPrefsAndClick(sim, L"AOL Instant Messenger Preferences", 35, 102);
    ASSERT_TRUE(prefs);
    EXPECT_TRUE(sim.LogHas("list-click 35 102 13 6"));
    EXPECT_FALSE(FindWindowExW(prefs, nullptr, L"#32770", L"Buddy Icons"));
    EXPECT_TRUE(FindWindowExW(prefs, nullptr, L"#32770", L"Sounds"));
  }
  {
    SimSession sim(L"aimsim46.exe");  // older versions: their own title and click point
    ASSERT_TRUE(sim.running());
    EXPECT_EQ(FindDialog(L"AOL Instant Messenger Preferences"), nullptr);
    const HWND prefs = OpenPrefsAndClick(sim, L"AOL Instant Messenger (SM) Preferences", 35, 102);
    ASSERT_TRUE(prefs);
    EXPECT_TRUE(WaitChild(prefs, L"#32770", L"Buddy Icons"));
  }
}

TEST(AimSim, ChooserRefusesWhatIsNotAGif) {
  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  const std::string before = ReadAll(sim.PictureId());
  const std::wstring fake = sim.folder() + L"\\fake.gif";
  WriteAll(fake, "GIF88a not really");
  const HWND prefs = OpenPrefsAndClick(sim, L"AOL Instant Messenger Preferences", 55, 134);
  ASSERT_TRUE(prefs);
  const HWND chooser = BrowseAndSubmit(prefs, Narrow(fake));
  ASSERT_TRUE(chooser);
  EXPECT_TRUE(IsWindow(chooser)) << "a refused file leaves the chooser open";
  EXPECT_TRUE(sim.LogHas("icon-refused " + Narrow(fake) + " not-gif"));
  const HWND error = WaitDialog(L"AOL Instant Messenger");
  ASSERT_TRUE(error);
  EXPECT_EQ(ReadAll(sim.PictureId()), before);

  ASSERT_TRUE(Answer(error, L"OK"));

  // A write-protected picture.id is not replaced, even by a good GIF.
  SetFileAttributesW(sim.PictureId().c_str(), FILE_ATTRIBUTE_READONLY);
  const std::wstring good = sim.folder() + L"\\good.gif";
  WriteAll(good, SmallGif('d'));
  SendMessageW(FindWindowExW(chooser, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(good.c_str()));
  SendMessageW(chooser, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(sim.WaitLog("icon-refused " + Narrow(good) + " write-failed"));
  EXPECT_EQ(ReadAll(sim.PictureId()), before);
  SetFileAttributesW(sim.PictureId().c_str(), FILE_ATTRIBUTE_NORMAL);

  // Closing Preferences takes the chooser with it.
  PostMessageW(prefs, WM_CLOSE, 0, 0);
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(prefs) && !IsWindow(chooser); }, 10000));
}

// Hands a link to the running simulator through its handler, and waits for the question.
HWND OpenLink(const std::wstring& link) {
  e2e::Process handler(e2e::BinDir() + L"\\aimsim.exe", L"\"" + link + L"\"");
  return handler.WaitExit(10000) && handler.ExitCode() == 0 ? WaitDialog(L"Confirm action") : nullptr;
}

// The program's tests see a write-protected picture.id kept; only this shows that
// --fetch-src really overwrites one that is not protected, so that check can fail.
TEST(AimSim, FetchedSourceOverwritesAWritablePicture) {
  SimSession sim(L"aimsim.exe", L"--fetch-src");
  ASSERT_TRUE(sim.running());
  WriteAll(sim.PictureId(), SmallGif('c'));
  const HWND confirm = OpenLink(L"aim:BuddyIcon?Src=http://h/nothing.gif");
  ASSERT_TRUE(confirm);
  ASSERT_TRUE(Answer(confirm, nullptr));
  ASSERT_TRUE(sim.WaitLog("icon-fetched http://h/nothing.gif"));
  const std::string blank(aimsim::BlankGif());
  EXPECT_TRUE(sim.WaitLog("icon-set " + Narrow(sim.PictureId()) + " " + std::to_string(blank.size()) + " " +
                          aimsim::Hex8(aimsim::Crc32(blank))));
  PostMessageW(WaitDialog(L"AOL Instant Messenger"), WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace iv::aim::testing
