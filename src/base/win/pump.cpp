#include "base/win/pump.h"

namespace iv {

namespace {

// Handles one message taken from the queue; false for WM_QUIT, which goes back.
bool Dispatch(const MSG& msg) {
  if (msg.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

}  // namespace

bool PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!Dispatch(msg)) return false;
  return true;
}

Pumped PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, HANDLE wake) {
  const bool forever = timeoutMs == INFINITE;
  // Elapsed time as a difference of GetTickCount values stays right across its wrap
  // (and GetTickCount64 is missing on the oldest Windows the program supports).
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (!done() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      if (!Dispatch(msg)) return {PumpEnd::Quit, static_cast<int>(msg.wParam)};
    if (done()) return {};
    DWORD wait = INFINITE;
    if (!forever) {
      const DWORD elapsed = GetTickCount() - start;
      if (elapsed >= timeoutMs) return {PumpEnd::TimedOut};
      wait = timeoutMs - elapsed;
    }
    const DWORD count = wake ? 1 : 0;
    if (MsgWaitForMultipleObjectsEx(count, wake ? &wake : nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
        WAIT_FAILED)
      return {PumpEnd::TimedOut};  // nothing to wait on: do not spin
  }
}

int RunMessageLoop() {
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    if (IsDialogMessageW(GetAncestor(msg.hwnd, GA_ROOT), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

}  // namespace iv
