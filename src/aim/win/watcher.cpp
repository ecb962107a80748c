#include "aim/win/watcher.h"

namespace iv::aim {

namespace {
DialogHook* g_hook = nullptr;
bool g_armedWithoutHook = false;
}  // namespace

void ClickWindow(HWND hwnd) {
  if (!hwnd) return;
  PostMessageW(hwnd, WM_LBUTTONDOWN, 13, 0);
  PostMessageW(hwnd, WM_LBUTTONUP, 13, 0);
}

void BringToFront(HWND hwnd) {
  if (!hwnd) return;
  if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
  // Windows lets only the foreground thread hand the foreground on; sharing its
  // input state for a moment makes us part of it.
  const HWND front = GetForegroundWindow();
  const DWORD frontThread = front ? GetWindowThreadProcessId(front, nullptr) : 0;
  const DWORD ours = GetCurrentThreadId();
  const bool attach = frontThread != 0 && frontThread != ours && AttachThreadInput(ours, frontThread, TRUE);
  BringWindowToTop(hwnd);
  SetForegroundWindow(hwnd);
  if (attach) AttachThreadInput(ours, frontThread, FALSE);
}

bool DialogHook::Load(const std::wstring& folder, HWND notify) {
  Off();
  notify_ = notify;
  dll_ = LoadLibraryW((folder + L"\\" + kHookDll).c_str());
  if (!dll_) return false;
  proc_ = reinterpret_cast<HOOKPROC>(GetProcAddress(dll_, kCbtProcName));
  watch_ = reinterpret_cast<IvWatchFn>(GetProcAddress(dll_, kWatchName));
  release_ = reinterpret_cast<IvReleaseFn>(GetProcAddress(dll_, kReleaseName));
  setArmed_ = reinterpret_cast<IvSetArmedFn>(GetProcAddress(dll_, kSetArmedName));
  isArmed_ = reinterpret_cast<IvIsArmedFn>(GetProcAddress(dll_, kIsArmedName));
  if (!proc_ || !watch_ || !release_ || !setArmed_ || !isArmed_ || !watch_(notify_, 0)) {
    FreeLibrary(dll_);
    dll_ = nullptr;
    return false;
  }
  setArmed_(notify_, localArmed_);
  return true;
}

void DialogHook::Watch(DWORD thread) {
  if (!dll_) return;
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  watch_(notify_, thread);
  // A failed hook (AIM gone meanwhile, or of another bitness) just catches nothing.
  if (thread != 0) hook_ = SetWindowsHookExW(WH_CBT, proc_, dll_, thread);
}

void DialogHook::Off() {
  if (!dll_) return;
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  localArmed_ = isArmed_(notify_);
  release_(notify_);
  FreeLibrary(dll_);
  dll_ = nullptr;
}

bool DialogHook::Armed() const { return dll_ ? isArmed_(notify_) != FALSE : localArmed_; }

void DialogHook::SetArmed(bool armed) {
  localArmed_ = armed;
  if (dll_) setArmed_(notify_, armed);
}

bool HookArmed() { return g_hook ? g_hook->Armed() : g_armedWithoutHook; }

void SetHookArmed(bool armed) {
  if (g_hook) g_hook->SetArmed(armed);
  else g_armedWithoutHook = armed;
}

void UseDialogHook(DialogHook* hook) { g_hook = hook; }

}  // namespace iv::aim
