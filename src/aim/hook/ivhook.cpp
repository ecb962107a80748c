#include "aim/hook/ivhook.h"

namespace {

// One slot per program window that watches a thread. Shared by every process that
// loads this DLL file; a program copy started from another folder has its own.
struct Slot {
  HWND notify;
  DWORD thread;
  LONG armed;
};
constexpr int kSlots = 8;
Slot g_slots[kSlots] __attribute__((section(".ivshr"), shared)) = {};

constexpr wchar_t kOldProcProp[] = L"Iconvane.OldProc";

// The dialog caught last in this process: it must not take the activation (and
// with it the foreground) on its way to being closed.
HWND g_caught = nullptr;

Slot* FindSlot(HWND notify) {
  for (Slot& s : g_slots)
    if (s.notify == notify) return &s;
  return nullptr;
}

// Keeps the caught dialog from becoming visible and closes it as soon as it can.
LRESULT CALLBACK SwallowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcProp));
  switch (msg) {
    case WM_CREATE:
      // Closed once creation has finished and the dialog manager is ready for it.
      PostMessageW(hwnd, WM_CLOSE, 0, 0);
      break;
    case WM_WINDOWPOSCHANGING:
      // Showing goes through here; without the flag the window stays hidden.
      reinterpret_cast<WINDOWPOS*>(lp)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
      break;
    case WM_SHOWWINDOW:
      if (wp) {
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      if (g_caught == hwnd) g_caught = nullptr;
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
      RemovePropW(hwnd, kOldProcProp);
      break;
  }
  return old ? CallWindowProcW(old, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

bool IsDialogClass(HWND hwnd) {
  wchar_t cls[256] = L"";
  GetClassNameW(hwnd, cls, 256);
  return lstrcmpW(cls, L"#32770") == 0;
}

void Catch(HWND dialog, HWND notify) {
  g_caught = dialog;
  // The window now runs our code: keep this DLL in AIM's process even after the
  // program unhooks, in case AIM keeps the dialog alive.
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(&SwallowProc), &self);
  const LONG_PTR old = GetWindowLongPtrW(dialog, GWLP_WNDPROC);
  if (SetPropW(dialog, kOldProcProp, reinterpret_cast<HANDLE>(old)))
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SwallowProc));
  // The program may bring its window to the front after answering AIM.
  AllowSetForegroundWindow(ASFW_ANY);
  static const UINT caught = RegisterWindowMessageW(kCaughtMessage);
  PostMessageW(notify, caught, HCBT_CREATEWND, reinterpret_cast<LPARAM>(dialog));
}

}  // namespace

IVHOOK_API LRESULT CALLBACK IvCbtProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE && g_caught && reinterpret_cast<HWND>(wp) == g_caught) return 1;
  if (code == HCBT_CREATEWND) {
    const HWND created = reinterpret_cast<HWND>(wp);
    const DWORD thread = GetCurrentThreadId();
    for (Slot& s : g_slots) {
      if (s.thread != thread || !s.armed || !IsDialogClass(created)) continue;
      // Only one watcher takes the dialog, even when several program copies watch.
      if (InterlockedExchange(&s.armed, 0) == 0) continue;
      Catch(created, s.notify);
      break;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

IVHOOK_API BOOL IvWatch(HWND notify, DWORD thread) {
  Slot* slot = FindSlot(notify);
  if (!slot) slot = FindSlot(nullptr);
  if (!slot) return FALSE;
  slot->thread = thread;
  slot->notify = notify;
  return TRUE;
}

IVHOOK_API void IvRelease(HWND notify) {
  if (Slot* slot = FindSlot(notify)) *slot = Slot{};
}

IVHOOK_API void IvSetArmed(HWND notify, BOOL armed) {
  if (Slot* slot = FindSlot(notify)) InterlockedExchange(&slot->armed, armed ? 1 : 0);
}

IVHOOK_API DWORD IvWatchedThread(HWND notify) {
  const Slot* slot = FindSlot(notify);
  return slot ? slot->thread : 0;
}

IVHOOK_API BOOL IvIsArmed(HWND notify) {
  const Slot* slot = FindSlot(notify);
  return slot && slot->armed;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
