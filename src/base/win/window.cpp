#include "base/win/window.h"

#include <commctrl.h>

#include <set>
#include <unordered_map>

namespace iv {

namespace {

// The procedures that CreateControl's controls had before FramelessProc. Kept here, not
// in a window property: under Wine each property read is a round trip to the server,
// and this is read for every message. A window's procedure runs only on the thread that
// made it, so each thread keeps its own.
thread_local std::unordered_map<HWND, WNDPROC> framelessNext;

LRESULT CALLBACK FramelessProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto it = framelessNext.find(hwnd);
  if (it == framelessNext.end()) return DefWindowProcW(hwnd, msg, wp, lp);
  const WNDPROC next = it->second;
  if (msg == WM_NCDESTROY) framelessNext.erase(it);
  if (msg == WM_NCPAINT && Frameless(hwnd)) return 0;
  return CallWindowProcW(next, hwnd, msg, wp, lp);
}

}  // namespace

Window::~Window() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool Window::Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                    int w, int h, HWND parent, HMENU menuOrId, UINT classStyle, HBRUSH background, HICON icon,
                    HICON smallIcon) {
  static std::set<std::wstring> registered;
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  if (!registered.count(className)) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = classStyle;
    wc.lpfnWndProc = StaticProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered.insert(className);
  }
  return CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, menuOrId, inst, this) != nullptr;
}

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(StaticProc)) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    if (self->attached_) *std::exchange(self->attached_, nullptr) = true;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  const LRESULT r = self->WndProc(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnFinalMessage();
  }
  return r;
}

LRESULT Window::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_COMMAND: {
      const HWND ctl = reinterpret_cast<HWND>(lp);
      if (Window* child = FromHandle(ctl); child && child->OnReflectedCommand(HIWORD(wp))) return 0;
      if (OnCommand(LOWORD(wp), HIWORD(wp), ctl)) return 0;
      break;
    }
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lp);
      LRESULT result = 0;
      if (Window* child = FromHandle(nm->hwndFrom); child && child->OnReflectedNotify(nm, result)) return result;
      if (OnNotify(nm, result)) return result;
      break;
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (Window* child = FromHandle(di->hwndItem); child && child->OnReflectedDrawItem(di)) return TRUE;
      break;
    }
    case WM_TIMER:
      OnTimer(wp);
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lp), HIWORD(lp));
      break;
    case WM_NCPAINT:
      // The default frame paint takes a device context even when there is no frame: a
      // round trip to the window system for every control each time a window shows.
      if (Frameless(hwnd_)) return 0;
      break;
  }
  return Default(msg, wp, lp);
}

std::wstring GetText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring text(n + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), n + 1));
  return text;
}

std::wstring ListBoxText(HWND listBox, int index) {
  const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(listBox, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}

std::wstring ListViewText(HWND listView, int row, int column) {
  // The list view says nothing of the text's length: grow until the text fits.
  std::wstring text(256, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto got = static_cast<size_t>(
        SendMessageW(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (got + 1 < text.size()) {
      text.resize(got);
      return text;
    }
    text.resize(text.size() * 2);
  }
}

HFONT UiFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSW ncm{sizeof(ncm)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    return CreateFontIndirectW(&ncm.lfMessageFont);
  }();
  return font;
}

bool Frameless(HWND hwnd) {
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  return window.right - window.left == client.right && window.bottom - window.top == client.bottom;
}

HWND CreateControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                   int id, DWORD exStyle) {
  HWND hwnd = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  framelessNext[hwnd] =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FramelessProc)));
  return hwnd;
}

}  // namespace iv
