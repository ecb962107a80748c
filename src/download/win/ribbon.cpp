#include "download/win/ribbon.h"

#include "base/win/utf.h"

namespace iv::download {

bool Ribbon::Create(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h) {
  if (!Window::Create(L"IvRibbon", caption, WS_CHILD | WS_VISIBLE, 0, x, y, w, h, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
    return false;
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(11, ScreenDpiY(), 72);
  lf.lfWeight = FW_BOLD;
  lf.lfQuality = CLEARTYPE_QUALITY;
  CopyTruncated(lf.lfFaceName, L"Arial");
  font_.reset(CreateFontIndirectW(&lf));
  return true;
}

void Ribbon::SetCaption(const std::wstring& text) { SetWindowTextW(hwnd(), text.c_str()); }

void Ribbon::SetColor(COLORREF color) {
  color_ = color;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void Ribbon::SetState(bool state) {
  state_ = state;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT Ribbon::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      const LRESULT r = Default(msg, wp, lp);
      InvalidateRect(hwnd(), nullptr, TRUE);
      return r;
    }
  }
  return Window::WndProc(msg, wp, lp);
}

void Ribbon::Paint() {
  PaintScope ps(hwnd());
  RECT rc;
  GetClientRect(hwnd(), &rc);
  // The band is lit while the flag is set and dimmed while it is clear.
  const COLORREF band = state_ ? RGB(255, 250, 220) : GetSysColor(COLOR_BTNFACE);
  UniqueBrush brush(CreateSolidBrush(band));
  FillRect(ps.dc(), &rc, brush.get());
  DrawEdge(ps.dc(), &rc, BDR_SUNKENOUTER, BF_RECT);
  SelectScope font(ps.dc(), font_ ? static_cast<HGDIOBJ>(font_.get()) : static_cast<HGDIOBJ>(UiFont()));
  SetBkMode(ps.dc(), TRANSPARENT);
  SetTextColor(ps.dc(), color_);
  const std::wstring text = GetText(hwnd());
  DrawTextW(ps.dc(), text.c_str(), static_cast<int>(text.size()), &rc,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace iv::download
