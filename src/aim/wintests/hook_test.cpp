// The hook DLL on a thread of our own that plays AIM: while armed it takes the next
// dialog only, keeps it from being shown even when shown at once, and closes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "aim/win/watcher.h"
#include "e2e/support/driver.h"

namespace iv::aim {
namespace {

constexpr UINT kMakeStatic = WM_APP + 1;
constexpr UINT kMakeDialog = WM_APP + 2;

std::atomic<bool> g_everShown{false};
std::atomic<bool> g_destroyed{false};
std::atomic<int> g_done{0};
std::atomic<HWND> g_reported{nullptr};

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM, LPARAM lp) {
  if (msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW)) g_everShown = true;
  if (msg == WM_CLOSE) {
    DestroyWindow(dlg);
    return TRUE;
  }
  if (msg == WM_DESTROY) g_destroyed = true;
  return FALSE;
}

// A thread with its own windows, like AIM's user-interface thread.
void PlayAim(std::atomic<DWORD>* id) {
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before we are told to work
  *id = GetCurrentThreadId();
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kMakeStatic) {
      CreateWindowExW(0, L"STATIC", L"not a dialog", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
      ++g_done;
    } else if (msg.message == kMakeDialog) {
      struct {
        DLGTEMPLATE t;
        WORD menu, cls, title;
      } tpl{};
      tpl.t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      tpl.t.cx = 100;
      tpl.t.cy = 40;
      const HWND dlg = CreateDialogIndirectParamW(nullptr, &tpl.t, nullptr, DialogProc, 0);
      ShowWindow(dlg, SW_SHOW);  // shown at once, before any posted close can run
      if (IsWindowVisible(dlg)) g_everShown = true;
      ++g_done;
    } else {
      DispatchMessageW(&msg);
    }
  }
}

LRESULT CALLBACK NotifyProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  static const UINT caught = RegisterWindowMessageW(kCaughtMessage);
  if (m == caught && w == HCBT_CREATEWND) g_reported = reinterpret_cast<HWND>(l);
  return DefWindowProcW(h, m, w, l);
}

TEST(DialogHook, CatchesOnlyTheNextDialogAndNeverShowsIt) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = NotifyProc;
  wc.lpszClassName = L"IvHookTestNotify";
  RegisterClassW(&wc);
  const HWND notify = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

  std::atomic<DWORD> aimThread{0};
  std::thread aim(PlayAim, &aimThread);
  ASSERT_TRUE(e2e::WaitUntil([&] { return aimThread != 0; }, 5000));

  DialogHook hook;
  ASSERT_TRUE(hook.Load(e2e::BinDir(), notify));
  hook.Watch(aimThread);
  hook.SetArmed(true);

  PostThreadMessageW(aimThread, kMakeStatic, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([] { return g_done == 1; }, 5000));
  EXPECT_TRUE(hook.Armed());  // other windows leave it armed

  PostThreadMessageW(aimThread, kMakeDialog, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([] { return g_done == 2; }, 5000));
  EXPECT_FALSE(hook.Armed());
  EXPECT_TRUE(e2e::WaitUntil([] { return g_destroyed.load(); }, 5000));
  EXPECT_TRUE(e2e::WaitUntil([] { return g_reported.load() != nullptr; }, 5000));
  EXPECT_FALSE(g_everShown);

  // Disarmed, the next dialog is left alone.
  g_destroyed = false;
  PostThreadMessageW(aimThread, kMakeDialog, 0, 0);
  ASSERT_TRUE(e2e::WaitUntil([] { return g_done == 3; }, 5000));
  EXPECT_TRUE(g_everShown);
  EXPECT_FALSE(g_destroyed);

  hook.Off();
  PostThreadMessageW(aimThread, WM_QUIT, 0, 0);
  aim.join();
  DestroyWindow(notify);
}

}  // namespace
}  // namespace iv::aim
