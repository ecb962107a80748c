#include "ui/win/form.h"

namespace iv::ui {

namespace {
int g_shuttingDown = 0;
}  // namespace

bool Form::ShuttingDown() { return g_shuttingDown > 0; }

Form::~Form() {
  if (hwnd() && IsWindow(hwnd())) DestroyWindow(hwnd());
}

bool Form::Unload(int mode) {
  if (unloading_ || !hwnd()) return true;
  if (QueryUnload(mode)) return false;
  unloading_ = true;
  ++g_shuttingDown;
  OnUnload();
  --g_shuttingDown;
  if (hwnd()) DestroyWindow(hwnd());
  return true;
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE:
      RegisterForm(hwnd());
      break;
    case WM_CLOSE:
      Unload(kFormControlMenu);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wp) Unload(kAppWindows);
      return 0;
    case WM_NCDESTROY:
      UnregisterForm(hwnd());
      break;
  }
  return Window::WndProc(msg, wp, lp);
}

}  // namespace iv::ui
