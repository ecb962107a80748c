#include "widgets/aolbutton/win/aolbutton.h"

#include <windowsx.h>

#include <cmath>
#include <memory>
#include <utility>

#include "base/win/handles.h"
#include "base/win/utf.h"
#include "base/win/window.h"

namespace iv::aolbutton {
namespace {

constexpr int kTw = kTwipsPerPixel;

int16_t ShiftState() {
  int16_t s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= 1;
  if (GetKeyState(VK_CONTROL) < 0) s |= 2;
  if (GetKeyState(VK_MENU) < 0) s |= 4;
  return s;
}

int16_t HeldButtons(WPARAM wp) {
  int16_t b = 0;
  if (wp & MK_LBUTTON) b |= 1;
  if (wp & MK_RBUTTON) b |= 2;
  if (wp & MK_MBUTTON) b |= 4;
  return b;
}

Font FontFromHandle(HFONT font) {
  LOGFONTW lf{};
  Font f;
  if (!font || !GetObjectW(font, sizeof lf, &lf)) return f;
  f.name = Narrow(lf.lfFaceName);
  f.size = std::abs(lf.lfHeight) * 72.0f / static_cast<float>(ScreenDpiY());
  f.bold = lf.lfWeight >= FW_BOLD;
  f.italic = lf.lfItalic != 0;
  f.underline = lf.lfUnderline != 0;
  f.strikethrough = lf.lfStrikeOut != 0;
  return f;
}

HFONT MakeFont(const Font& f) {
  const int dpi = ScreenDpiY();
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(f.size * static_cast<float>(dpi) / 72.0f));
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikethrough;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring name = Widen(f.name);
  CopyTruncated(lf.lfFaceName, name);
  return CreateFontIndirectW(&lf);
}

// The window of one button: keeps its picture in a bitmap (drawn only on the
// button's own triggers) and feeds platform input to the model.
class ButtonWindow final : public Surface {
 public:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  Button button{*this};
  std::function<void(Event, EventArgs&)> handler;

  // Surface
  int Width() const override { return ClientSize().cx * kTw; }
  int Height() const override { return ClientSize().cy * kTw; }
  std::optional<Color> ContainerBackColor() const override;
  void TextExtent(const std::string& text, const Font& font, float& w, float& h) const override;
  void Draw(const DrawOp& op) override;
  void SetCapture() override { ::SetCapture(hwnd_); }
  void ReleaseCapture() override {
    if (GetCapture() == hwnd_) ::ReleaseCapture();
  }
  bool HasCapture() const override { return GetCapture() == hwnd_; }
  void MoveBy(int dx, int dy, int dw, int dh) override;
  void SetEnabled(bool on) override;
  void Refresh() override {
    if (!IsWindowVisible(hwnd_)) return;
    Invalidate(true);
    UpdateWindow(hwnd_);
  }
  void Raise(Event e, EventArgs& a) override;

  bool Pixel(int x, int y, COLORREF& c) const {
    if (x < 0 || y < 0 || x >= bmpW_ || y >= bmpH_) return false;
    c = GetPixel(memDC_, x, y);
    return true;
  }

 private:
  explicit ButtonWindow(HWND hwnd) : hwnd_(hwnd) {}
  ~ButtonWindow() override {
    if (memDC_) {
      SelectObject(memDC_, oldBmp_);
      SelectObject(memDC_, oldFont_);
      DeleteDC(memDC_);
    }
  }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  SIZE ClientSize() const {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return {rc.right, rc.bottom};
  }
  void EnsureBitmap();
  void Invalidate(bool again);
  HFONT DrawFont() const;
  void Paint();
  void MouseButtonUp(int16_t which, LPARAM lp);

  HWND hwnd_;
  HDC memDC_ = nullptr;
  HGDIOBJ oldBmp_ = nullptr, oldFont_ = nullptr;
  UniqueBitmap bmp_;
  int bmpW_ = 0, bmpH_ = 0;
  mutable UniqueFont font_;
  mutable Font fontFor_;
  bool invalid_ = false;  // invalidated since the last paint
  bool settingEnabled_ = false;
  bool skipNextClick_ = false;  // the release after a double click is not a click
  int depth_ = 0;
  bool dead_ = false;
};

std::optional<Color> ButtonWindow::ContainerBackColor() const {
  HWND parent = GetParent(hwnd_);
  if (!parent) return std::nullopt;
  const auto value = static_cast<ULONG_PTR>(GetClassLongPtrW(parent, GCLP_HBRBACKGROUND));
  if (value >= 1 && value <= COLOR_MENUBAR + 1) return GetSysColor(static_cast<int>(value - 1));
  LOGBRUSH lb{};
  if (value && GetObjectW(reinterpret_cast<HBRUSH>(value), sizeof lb, &lb) && lb.lbStyle == BS_SOLID)
    return lb.lbColor;
  return GetSysColor(COLOR_BTNFACE);
}

HFONT ButtonWindow::DrawFont() const {
  if (!font_ || !(fontFor_ == button.SurfaceFont())) {
    font_.reset(MakeFont(button.SurfaceFont()));
    fontFor_ = button.SurfaceFont();
  }
  return font_.get();
}

void ButtonWindow::TextExtent(const std::string& text, const Font&, float& w, float& h) const {
  SIZE sz{};
  HDC dc = memDC_ ? memDC_ : GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, DrawFont());
  const std::wstring wide = Widen(text);
  GetTextExtentPoint32W(dc, wide.empty() ? L" " : wide.c_str(), static_cast<int>(wide.empty() ? 1 : wide.size()), &sz);
  if (wide.empty()) sz.cx = 0;
  SelectObject(dc, old);
  if (dc != memDC_) ReleaseDC(hwnd_, dc);
  w = static_cast<float>(sz.cx * kTw);
  h = static_cast<float>(sz.cy * kTw);
}

// Grows the kept picture with the window; what was drawn stays where it was.
void ButtonWindow::EnsureBitmap() {
  const SIZE sz = ClientSize();
  if (memDC_ && sz.cx <= bmpW_ && sz.cy <= bmpH_) return;
  const int w = std::max<int>(sz.cx, bmpW_), h = std::max<int>(sz.cy, bmpH_);
  // A DIB section and a DC for the screen need no window DC, which costs a round trip to
  // the window system apiece.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = std::max(w, 1);
  bi.bmiHeader.biHeight = -std::max(h, 1);
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bigger(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memDC_) {
    memDC_ = CreateCompatibleDC(nullptr);
    oldBmp_ = SelectObject(memDC_, bigger.get());
    oldFont_ = SelectObject(memDC_, GetStockObject(DEFAULT_GUI_FONT));
  } else {
    HDC tmp = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(tmp, bigger.get());
    BitBlt(tmp, 0, 0, bmpW_, bmpH_, memDC_, 0, 0, SRCCOPY);
    SelectObject(tmp, old);
    DeleteDC(tmp);
    SelectObject(memDC_, bigger.get());
  }
  bmp_ = std::move(bigger);
  bmpW_ = w;
  bmpH_ = h;
}

void ButtonWindow::Draw(const DrawOp& op) {
  EnsureBitmap();
  const COLORREF color = ToColorRef(op.color);
  switch (op.kind) {
    case DrawOp::Kind::Clear:
    case DrawOp::Kind::Fill: {
      RECT r{0, 0, bmpW_, bmpH_};
      if (op.kind == DrawOp::Kind::Fill) r = {op.x1 / kTw, op.y1 / kTw, op.x2 / kTw + 1, op.y2 / kTw + 1};
      UniqueBrush brush(CreateSolidBrush(color));
      FillRect(memDC_, &r, brush.get());
      break;
    }
    case DrawOp::Kind::Point:
      SetPixelV(memDC_, op.x1 / kTw, op.y1 / kTw, color);
      break;
    case DrawOp::Kind::Text: {
      SelectScope font(memDC_, DrawFont());
      SetBkMode(memDC_, TRANSPARENT);
      SetTextColor(memDC_, color);
      const std::wstring text = Widen(op.text);
      TextOutW(memDC_, static_cast<int>(std::floor(op.textX / kTw)), static_cast<int>(std::floor(op.textY / kTw)),
               text.c_str(), static_cast<int>(text.size()));
      break;
    }
  }
  Invalidate(false);
}

// A redraw is a dozen operations: one invalidation each would cost a round trip to the
// window system apiece. So the window is invalidated once until it has painted, and not
// while hidden: showing it paints it whole.
void ButtonWindow::Invalidate(bool again) {
  if ((invalid_ && !again) || !IsWindowVisible(hwnd_)) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  invalid_ = true;
}

void ButtonWindow::MoveBy(int dx, int dy, int dw, int dh) {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(hwnd_, nullptr, r.left + dx / kTw, r.top + dy / kTw, r.right - r.left + dw / kTw,
               r.bottom - r.top + dh / kTw, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ButtonWindow::SetEnabled(bool on) {
  if (settingEnabled_) return;
  settingEnabled_ = true;
  EnableWindow(hwnd_, on);
  if (!on) ReleaseCapture();
  settingEnabled_ = false;
}

void ButtonWindow::Raise(Event e, EventArgs& a) {
  const int id = GetDlgCtrlID(hwnd_);
  if (e == Event::Click || e == Event::DblClick) {
    const WORD code = e == Event::Click ? BN_CLICKED : BN_DOUBLECLICKED;
    SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd_));
  }
  if (handler && !dead_) handler(e, a);
}

void ButtonWindow::Paint() {
  invalid_ = false;
  PaintScope ps(hwnd_);
  if (memDC_) {
    const SIZE sz = ClientSize();
    BitBlt(ps.dc(), 0, 0, sz.cx, sz.cy, memDC_, 0, 0, SRCCOPY);
  }
}

void ButtonWindow::MouseButtonUp(int16_t which, LPARAM lp) {
  const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  button.MouseUp(which, ShiftState(), static_cast<float>(pt.x * kTw), static_cast<float>(pt.y * kTw));
  if (which != 1 || dead_) return;
  ReleaseCapture();
  // The button clicks only when this release ended a press on it, over it.
  if (!std::exchange(skipNextClick_, false)) button.PlatformClick();
}

LRESULT CALLBACK ButtonWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<ButtonWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = new ButtonWindow(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  // A click handler may destroy the button while its own handler still runs:
  // the object goes only when the outermost call has returned.
  ++self->depth_;
  const LRESULT r = self->Handle(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->dead_ = true;
  }
  if (--self->depth_ == 0 && self->dead_) delete self;
  return r;
}

LRESULT ButtonWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  const auto x = [&] { return static_cast<float>(GET_X_LPARAM(lp) * kTw); };
  const auto y = [&] { return static_cast<float>(GET_Y_LPARAM(lp) * kTw); };
  switch (msg) {
    case WM_CREATE: {
      EnsureBitmap();
      const auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
      button.InitNew(Narrow(cs->lpszName ? cs->lpszName : L""));
      return 0;
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCPAINT:
      if (Frameless(hwnd_)) return 0;
      break;
    case WM_SIZE:
      EnsureBitmap();
      button.Resized();
      return 0;
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProcW(hwnd_, msg, wp, lp);
      button.SetCaption(Narrow(lp ? reinterpret_cast<const wchar_t*>(lp) : L""));
      return r;
    }
    case WM_SETFONT:
      button.SetFont(FontFromHandle(reinterpret_cast<HFONT>(wp)));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(DrawFont());
    case WM_ENABLE:
      if (!settingEnabled_) button.SetEnabled(wp != 0);
      return 0;
    case WM_GETDLGCODE: {
      const bool isDefault = (GetWindowLongPtrW(hwnd_, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
      LRESULT code = DLGC_BUTTON | (isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      const auto* m = reinterpret_cast<const MSG*>(lp);
      if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd_) SetFocus(hwnd_);
      button.MouseDown(1, ShiftState(), x(), y());
      return 0;
    case WM_RBUTTONDOWN:
      button.MouseDown(2, ShiftState(), x(), y());
      return 0;
    case WM_MBUTTONDOWN:
      button.MouseDown(4, ShiftState(), x(), y());
      return 0;
    case WM_LBUTTONDBLCLK:
      skipNextClick_ = true;
      button.PlatformDblClick();
      return 0;
    case WM_MOUSEMOVE:
      button.MouseMove(HeldButtons(wp), ShiftState(), x(), y());
      return 0;
    case WM_LBUTTONUP:
      MouseButtonUp(1, lp);
      return 0;
    case WM_RBUTTONUP:
      MouseButtonUp(2, lp);
      return 0;
    case WM_MBUTTONUP:
      MouseButtonUp(4, lp);
      return 0;
    case WM_KEYDOWN:
      button.KeyDown(static_cast<int16_t>(wp), ShiftState());
      return 0;
    case WM_KEYUP:
      button.KeyUp(static_cast<int16_t>(wp), ShiftState());
      return 0;
    case WM_CHAR:
      button.KeyPress(static_cast<int16_t>(wp));
      return 0;
    case WM_SETFOCUS:
      button.GotFocus();
      return 0;
    case WM_KILLFOCUS:
      button.LostFocus();
      if (!dead_) button.ExitFocus();
      return 0;
    case WM_SYSCOLORCHANGE:
      button.AmbientBackColorChanged();
      return 0;
    case BM_CLICK:
      // Like a standard button: a press and a release at the corner, then the click.
      if (IsWindowEnabled(hwnd_)) {
        button.MouseDown(1, 0, 0, 0);
        if (dead_) return 0;
        button.MouseUp(1, 0, 0, 0);
        if (dead_) return 0;
        ReleaseCapture();
        button.PlatformClick();
      }
      return 0;
    case BM_GETSTATE:
      return (button.Pressed() ? BST_PUSHED : 0) | (GetFocus() == hwnd_ ? BST_FOCUS : 0);
    case BM_SETSTYLE: {
      // Kept in the window style as a system button keeps it, so the dialog manager and
      // screen readers can tell which button Enter presses.
      const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
      SetWindowLongPtrW(hwnd_, GWL_STYLE, (style & ~LONG_PTR{0xF}) | (wp & BS_DEFPUSHBUTTON));
      if (lp) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    }
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool RegisterOnce() {
  static const bool ok = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ButtonWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return ok;
}

ButtonWindow* WindowOf(HWND hwnd) {
  wchar_t cls[32] = {};
  if (!hwnd || !GetClassNameW(hwnd, cls, 32) || wcscmp(cls, kClassName) != 0) return nullptr;
  return reinterpret_cast<ButtonWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace

COLORREF ToColorRef(Color c) {
  if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
  return c & 0xFFFFFF;
}

HWND Create(HWND parent, int id, const std::wstring& caption, RECT r) {
  if (!RegisterOnce()) return nullptr;
  return CreateWindowExW(0, kClassName, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

Button* Get(HWND hwnd) {
  ButtonWindow* w = WindowOf(hwnd);
  return w ? &w->button : nullptr;
}

void SetEventHandler(HWND hwnd, std::function<void(Event, EventArgs&)> handler) {
  if (ButtonWindow* w = WindowOf(hwnd)) w->handler = std::move(handler);
}

bool ReadPixel(HWND hwnd, int x, int y, COLORREF& color) {
  ButtonWindow* w = WindowOf(hwnd);
  return w && w->Pixel(x, y, color);
}

}  // namespace iv::aolbutton
