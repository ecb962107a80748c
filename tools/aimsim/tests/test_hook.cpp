// A stand-in for the program's dialog hook, loaded into the simulator by a CBT hook:
// it lets the first dialog through (the question) and keeps the next one from showing
// by swallowing its WM_SHOWWINDOW and closing it.
#include <windows.h>

namespace {

HMODULE g_module = nullptr;
HHOOK g_hook = nullptr;  // per process; only the installing process uses it
int g_dialogsSeen = 0;
WNDPROC g_original = nullptr;

LRESULT CALLBACK Suppress(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SHOWWINDOW && wp) {
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    return 0;
  }
  return CallWindowProcW(g_original, hwnd, msg, wp, lp);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    const HWND hwnd = reinterpret_cast<HWND>(wp);
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0 && ++g_dialogsSeen == 2)
      g_original =
          reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Suppress)));
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

extern "C" __declspec(dllexport) BOOL HookThread(DWORD thread) {
  g_hook = SetWindowsHookExW(WH_CBT, CbtProc, g_module, thread);
  return g_hook != nullptr;
}

extern "C" __declspec(dllexport) void Unhook() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = module;
  return TRUE;
}
