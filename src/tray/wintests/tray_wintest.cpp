#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/win/forms.h"
#include "tray/win/frmSysTray.h"
#include "ui/wintests/test_host.h"

namespace iv::tray {
namespace {

struct Call {
  DWORD message;
  UINT flags, callback;
  HWND hwnd;
  HICON icon;
  std::wstring tip;
};

struct Recorder {
  std::vector<Call> calls;
  frmSysTray::NotifyFn Fn() {
    return [this](DWORD m, NOTIFYICONDATAW* d) {
      calls.push_back({m, d->uFlags, d->uCallbackMessage, d->hWnd, d->hIcon, d->szTip});
      return TRUE;
    };
  }
};

using ui::testing::DrainQuit;

struct MenuProbe {
  static inline bool seen = false;
  static inline UINT defaultCommand = 0;
  static inline int items = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menuWnd = FindWindowW(L"#32768", nullptr);
    if (!menuWnd) return;
    KillTimer(nullptr, id);
    seen = true;
    if (auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWnd, MN_GETHMENU, 0, 0))) {
      defaultCommand = GetMenuDefaultItem(menu, FALSE, 0);
      items = GetMenuItemCount(menu);
    }
    // Pick the first item with the keyboard, as a user would.
    PostMessageW(menuWnd, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menuWnd, WM_KEYDOWN, VK_RETURN, 0);
  }
};

class TrayWin : public ::testing::Test {
 protected:
  void TearDown() override { DrainQuit(); }
  Recorder rec;
  std::vector<std::string> log;
  TrayEvents Events() {
    TrayEvents e;
    e.mouseDown = [this](int32_t b) { log.push_back("down" + std::to_string(b)); };
    e.mouseUp = [this](int32_t b) { log.push_back("up" + std::to_string(b)); };
    e.doubleClick = [this](int32_t b) { log.push_back("dbl" + std::to_string(b)); };
    e.mouseMove = [this] { log.push_back("move"); };
    e.menuClick = [this](int32_t i, const std::string& key) { log.push_back("menu" + std::to_string(i) + key); };
    return e;
  }
};

TEST_F(TrayWin, IconIsAddedOnFirstMenuAccessAndDeletedAtUnload) {
  frmSysTray tray(Events(), rec.Fn());
  EXPECT_FALSE(tray.Loaded());
  EXPECT_EQ(tray.AddMenuItem(L"Show", L"open", true), 0);
  ASSERT_EQ(rec.calls.size(), 1u);
  EXPECT_EQ(rec.calls[0].message, DWORD{NIM_ADD});
  EXPECT_EQ(rec.calls[0].flags, UINT{NIF_MESSAGE | NIF_ICON | NIF_TIP});
  EXPECT_EQ(rec.calls[0].callback, 512u);
  EXPECT_EQ(rec.calls[0].hwnd, tray.hwnd());
  EXPECT_FALSE(IsWindowVisible(tray.hwnd()));

  tray.SetIconHandle(tray.IconHandle());
  EXPECT_EQ(rec.calls.size(), 1u);  // same icon: no shell call
  const HICON other = LoadIconW(nullptr, IDI_WARNING);
  tray.SetIconHandle(other);
  EXPECT_EQ(rec.calls.back().message, DWORD{NIM_MODIFY});
  EXPECT_EQ(rec.calls.back().flags, UINT{NIF_ICON});
  EXPECT_EQ(rec.calls.back().icon, other);

  tray.SetToolTip(std::wstring(70, L'x'));
  EXPECT_EQ(rec.calls.back().flags, UINT{NIF_TIP});
  EXPECT_EQ(rec.calls.back().tip, std::wstring(64, L'x'));
  EXPECT_EQ(tray.ToolTip(), std::wstring(64, L'x'));

  // Explorer restarted: the icon is added again.
  SendMessageW(tray.hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_EQ(rec.calls.back().message, DWORD{NIM_ADD});

  EXPECT_TRUE(tray.Unload(ui::kFormCode));
  EXPECT_EQ(rec.calls.back().message, DWORD{NIM_DELETE});
}

TEST_F(TrayWin, ShellNotificationsBecomeEventsAndTheIconGoesWithTheObject) {
  {
    frmSysTray tray(Events(), rec.Fn());
    tray.AddMenuItem(L"Show", L"open");
    for (LPARAM m : {512, 513, 514, 515, 517, 518, 519}) SendMessageW(tray.hwnd(), WM_MOUSEMOVE, 0, m);
    EXPECT_EQ(log, (std::vector<std::string>{"move", "down1", "dbl1", "up2", "dbl2"}));
  }
  ASSERT_EQ(rec.calls.size(), 2u);
  EXPECT_EQ(rec.calls.back().message, DWORD{NIM_DELETE});
}

TEST_F(TrayWin, RightButtonOpensTheMenuWithItsDefaultInBold) {
  // The main window's handler opens the menu at the right-button press.
  frmSysTray* trayPtr = nullptr;
  TrayEvents e = Events();
  e.mouseDown = [&](int32_t b) {
    log.push_back("down" + std::to_string(b));
    if (b == 2) trayPtr->ShowMenu();
  };
  frmSysTray tray(e, rec.Fn());
  trayPtr = &tray;
  tray.AddMenuItem(L"Show Iconvane Window", L"open", true);
  tray.AddMenuItem(L"-");
  tray.AddMenuItem(L"&Exit Iconvane", L"close");
  MenuProbe::seen = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, MenuProbe::Tick);
  SendMessageW(tray.hwnd(), WM_MOUSEMOVE, 0, WM_RBUTTONDOWN);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(MenuProbe::seen);
  EXPECT_EQ(MenuProbe::defaultCommand, 1u);
  EXPECT_EQ(MenuProbe::items, 3);
  EXPECT_EQ(log, (std::vector<std::string>{"down2", "menu0open"}));
}

// Stands in for the main window, loaded first: its exit question is answered by `refuse`.
class MainStandIn : public ui::Form {
 public:
  MainStandIn() { Create(L"TrayTestMain", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 100, nullptr, nullptr); }
  bool refuse = true;
  int asked = 0;

 protected:
  bool QueryUnload(int) override { return ++asked, refuse; }
};

// The tray menu's exit item unloads every window; "No" to the exit question must stop
// that whole unload, or the icon goes while the program keeps running out of reach.
TEST_F(TrayWin, ExitRefusedByTheMainWindowKeepsTheTray) {
  MainStandIn main;
  frmSysTray tray(Events(), rec.Fn());
  tray.AddMenuItem(L"&Exit Iconvane", L"close");
  ui::UnloadAllForms();
  EXPECT_EQ(main.asked, 1);
  EXPECT_TRUE(ui::IsFormLoaded(main.hwnd()));
  EXPECT_TRUE(ui::IsFormLoaded(tray.hwnd()));
  EXPECT_NE(rec.calls.back().message, DWORD{NIM_DELETE});

  main.refuse = false;
  ui::UnloadAllForms();
  EXPECT_FALSE(ui::IsFormLoaded(main.hwnd()));
  EXPECT_FALSE(tray.Loaded());
  EXPECT_EQ(rec.calls.back().message, DWORD{NIM_DELETE});
}

}  // namespace
}  // namespace iv::tray
