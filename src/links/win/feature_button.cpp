#include "links/win/feature_button.h"

#include <commctrl.h>

#include <string>

#include "base/win/window.h"

namespace iv::links {
namespace {

constexpr UINT_PTR kSubclassId = 0x1F7;
constexpr int kStep = 3, kGap = 40;

struct State {
  FeatureCallbacks callbacks;
  COLORREF color = 0;
  int offset = 0;
  bool tracking = false;
};

constexpr wchar_t kStateProp[] = L"IconvaneFeatureState";

State* StateOf(HWND button) { return button ? static_cast<State*>(GetPropW(button, kStateProp)) : nullptr; }

void Paint(HWND hwnd, State& s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rc{};
  GetClientRect(hwnd, &rc);
  const LRESULT state = SendMessageW(hwnd, BM_GETSTATE, 0, 0);
  DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | ((state & BST_PUSHED) ? DFCS_PUSHED : 0));
  RECT inner = rc;
  InflateRect(&inner, -3, -3);
  const std::wstring text = GetText(hwnd);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? font : UiFont());
  SIZE sz{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz);
  const int period = sz.cx + kGap;
  const int shift = period > 0 ? s.offset % period : 0;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, s.color);
  HRGN clip = CreateRectRgnIndirect(&inner);
  SelectClipRgn(dc, clip);
  const int y = (rc.bottom - sz.cy) / 2;
  // Two copies so the line runs on without a hole.
  for (int x = inner.left + 2 - shift; x < inner.right; x += period) {
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    if (period <= 0) break;
  }
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  if (GetFocus() == hwnd) DrawFocusRect(dc, &inner);
  SelectObject(dc, old);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto& s = *reinterpret_cast<State*>(data);
  switch (msg) {
    case WM_PAINT:
      Paint(hwnd, s);
      return 0;
    case WM_MOUSEMOVE:
      if (!s.tracking) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
        s.tracking = TrackMouseEvent(&tme) != FALSE;
        if (s.callbacks.pointerEnter) s.callbacks.pointerEnter();
      }
      break;
    case WM_MOUSELEAVE:
      s.tracking = false;
      if (s.callbacks.pointerLeave) s.callbacks.pointerLeave();
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, Proc, kSubclassId);
      RemovePropW(hwnd, kStateProp);
      delete &s;
      return DefSubclassProc(hwnd, msg, wp, lp);
  }
  const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
  // The system button draws its own text at once on these; ours goes over it.
  if (msg == BM_SETSTATE || msg == WM_SETTEXT || msg == WM_ENABLE || msg == WM_SETFOCUS || msg == WM_KILLFOCUS)
    InvalidateRect(hwnd, nullptr, FALSE);
  return r;
}

}  // namespace

bool AttachFeatureButton(HWND button, FeatureCallbacks callbacks) {
  if (!button || StateOf(button)) return false;
  auto* s = new State{std::move(callbacks)};
  if (!SetWindowSubclass(button, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(s))) {
    delete s;
    return false;
  }
  if (!SetPropW(button, kStateProp, s)) {
    RemoveWindowSubclass(button, Proc, kSubclassId);
    delete s;
    return false;
  }
  InvalidateRect(button, nullptr, FALSE);
  return true;
}

void DetachFeatureButton(HWND button) {
  State* s = StateOf(button);
  if (!s) return;
  RemoveWindowSubclass(button, Proc, kSubclassId);
  RemovePropW(button, kStateProp);
  delete s;
  InvalidateRect(button, nullptr, TRUE);
}

void SetFeatureColor(HWND button, COLORREF color) {
  if (State* s = StateOf(button); s && s->color != color) {
    s->color = color;
    InvalidateRect(button, nullptr, FALSE);
  }
}

void ScrollFeatureText(HWND button) {
  if (State* s = StateOf(button)) {
    s->offset = (s->offset + kStep) % 1000000;
    InvalidateRect(button, nullptr, FALSE);
  }
}

COLORREF FeatureColor(HWND button) {
  const State* s = StateOf(button);
  return s ? s->color : CLR_INVALID;
}

}  // namespace iv::links
