// The yardstick for start-up: one plain window and a message loop. Built a second time
// with the common controls 6 manifest and their start, to show what those alone cost.
#include <windows.h>
#ifdef IV_COMMON_CONTROLS
#include <commctrl.h>
#endif

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
#ifdef IV_COMMON_CONTROLS
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
#endif
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = L"MinimalWindow";
  RegisterClassW(&wc);
  HWND h = CreateWindowW(L"MinimalWindow", L"Minimal", WS_OVERLAPPEDWINDOW, 0, 0, 640, 500, nullptr, nullptr, inst,
                         nullptr);
  ShowWindow(h, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
