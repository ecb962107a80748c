// Non-copyable owners of Win32 handles and GDI objects.
#pragma once
#include <windows.h>

#include <utility>

namespace iv {

template <typename H, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::Invalid()));
    return *this;
  }
  ~Owned() { reset(); }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  H release() { return std::exchange(h_, Traits::Invalid()); }
  void reset(H h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }

 private:
  H h_ = Traits::Invalid();
};

struct HandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
// CreateFileW fails with INVALID_HANDLE_VALUE, not null.
struct FileTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
struct KeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};
template <typename T>
struct GdiTraits {
  static T Invalid() { return nullptr; }
  static void Close(T h) { DeleteObject(h); }
};
struct IconTraits {
  static HICON Invalid() { return nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};

using UniqueHandle = Owned<HANDLE, HandleTraits>;
using UniqueFile = Owned<HANDLE, FileTraits>;
using UniqueFind = Owned<HANDLE, FindTraits>;
using UniqueKey = Owned<HKEY, KeyTraits>;
using UniqueFont = Owned<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = Owned<HBRUSH, GdiTraits<HBRUSH>>;
using UniquePen = Owned<HPEN, GdiTraits<HPEN>>;
using UniqueBitmap = Owned<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueIcon = Owned<HICON, IconTraits>;

// Selects an object into a DC for one scope.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() { SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The screen's DC (or a window's) for one scope.
class ScreenDC {
 public:
  explicit ScreenDC(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  ~ScreenDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A memory DC compatible with another. Whatever Select put in is swapped back for the
// DC's own object before the DC is deleted, so the selected bitmap can be freed.
class MemoryDC {
 public:
  explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  ~MemoryDC() {
    if (!dc_) return;
    if (original_) SelectObject(dc_, original_);
    DeleteDC(dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void Select(HGDIOBJ obj) {
    const HGDIOBJ previous = SelectObject(dc_, obj);
    if (!original_) original_ = previous;
  }

 private:
  HDC dc_;
  HGDIOBJ original_ = nullptr;
};

// Dots per inch of the screen (96 when it cannot be read). The system's DPI holds for the
// whole session, so it is read once, and from a memory DC for the screen: the screen's
// own DC costs a round trip to the window system.
inline POINT ScreenDpi() {
  static const POINT dpi = [] {
    const MemoryDC screen(nullptr);
    const int x = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    const int y = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return POINT{x > 0 ? x : 96, y > 0 ? y : 96};
  }();
  return dpi;
}
inline int ScreenDpiY() { return ScreenDpi().y; }

// BeginPaint/EndPaint for one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  HDC dc() const { return dc_; }
  const RECT& rect() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace iv
