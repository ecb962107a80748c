#include "links/win/feature_button.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/win/handles.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "links/core/links.h"

namespace iv::links {
namespace {

constexpr UINT_PTR kSubclassId = 0x1F7;
constexpr int kMinFontPx = 8;

struct State {
  FeatureCallbacks callbacks;
  COLORREF color = 0;
  uint64_t tick = 0;
  bool tracking = false;
  std::vector<std::string> items{};  // of the window text
  size_t fittedItem = SIZE_MAX;    // the item `fitted` was made for
  UniqueFont fitted{};
};

constexpr wchar_t kStateProp[] = L"IconvaneFeatureState";

State* StateOf(HWND button) { return button ? static_cast<State*>(GetPropW(button, kStateProp)) : nullptr; }

size_t CurrentItem(const State& s) { return FeatureItemAt(s.items, s.tick); }

// The rectangle the text needs, wrapped at the width of `box`.
RECT Measure(HDC dc, const std::wstring& text, const RECT& box) {
  RECT r{0, 0, box.right - box.left, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  return r;
}

bool Fits(HDC dc, const std::wstring& text, const RECT& box) {
  const RECT need = Measure(dc, text, box);
  return need.bottom <= box.bottom - box.top && need.right <= box.right - box.left;
}

// The button's font, or a smaller one where the item would not fit on the lines there are.
HFONT FitFont(HWND hwnd, HDC dc, State& s, const std::wstring& text, const RECT& box) {
  HFONT base = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  if (!base) base = UiFont();
  const size_t item = CurrentItem(s);
  if (s.fittedItem == item) return s.fitted ? s.fitted.get() : base;
  s.fittedItem = item;
  s.fitted.reset();
  TEXTMETRICW tm{};
  {
    SelectScope font(dc, base);
    if (Fits(dc, text, box)) return base;
    GetTextMetricsW(dc, &tm);
  }
  LOGFONTW lf{};
  GetObjectW(base, sizeof lf, &lf);
  for (int px = tm.tmHeight - tm.tmInternalLeading - 1; px >= kMinFontPx; --px) {
    lf.lfHeight = -px;
    s.fitted.reset(CreateFontIndirectW(&lf));
    if (!s.fitted) return base;
    SelectScope font(dc, s.fitted.get());
    if (Fits(dc, text, box)) break;
  }
  return s.fitted ? s.fitted.get() : base;
}

void Paint(HWND hwnd, State& s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rc{};
  GetClientRect(hwnd, &rc);
  const LRESULT state = SendMessageW(hwnd, BM_GETSTATE, 0, 0);
  DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | ((state & BST_PUSHED) ? DFCS_PUSHED : 0));
  RECT inner = rc;
  InflateRect(&inner, -3, -3);
  const std::wstring text = s.items.empty() ? std::wstring() : Widen(s.items[CurrentItem(s)]);
  SelectScope font(dc, FitFont(hwnd, dc, s, text, inner));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, s.color);
  // Centred on the lines it needs.
  const RECT need = Measure(dc, text, inner);
  RECT box = inner;
  box.top += std::max<LONG>(0, (inner.bottom - inner.top - need.bottom) / 2);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  if (GetFocus() == hwnd) DrawFocusRect(dc, &inner);
  EndPaint(hwnd, &ps);
}

void Reload(HWND hwnd, State& s) {
  s.items = FeatureItems(Narrow(GetText(hwnd)));
  s.fittedItem = SIZE_MAX;
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
    case WM_SETTEXT: {
      const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
      Reload(hwnd, s);
      InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
    case WM_SETFONT:
      s.fittedItem = SIZE_MAX;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, Proc, kSubclassId);
      RemovePropW(hwnd, kStateProp);
      delete &s;
      return DefSubclassProc(hwnd, msg, wp, lp);
  }
  const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
  // The system button draws its own text at once on these; ours goes over it.
  if (msg == BM_SETSTATE || msg == WM_ENABLE || msg == WM_SETFOCUS || msg == WM_KILLFOCUS)
    InvalidateRect(hwnd, nullptr, FALSE);
  return r;
}

}  // namespace

bool AttachFeatureButton(HWND button, FeatureCallbacks callbacks) {
  if (!button || StateOf(button)) return false;
  auto* s = new State{.callbacks = std::move(callbacks)};
  Reload(button, *s);
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
    const size_t before = CurrentItem(*s);
    ++s->tick;
    if (CurrentItem(*s) != before) InvalidateRect(button, nullptr, FALSE);
  }
}

std::wstring FeatureShownText(HWND button) {
  const State* s = StateOf(button);
  return s && !s->items.empty() ? Widen(s->items[CurrentItem(*s)]) : std::wstring();
}

COLORREF FeatureColor(HWND button) {
  const State* s = StateOf(button);
  return s ? s->color : CLR_INVALID;
}

}  // namespace iv::links
