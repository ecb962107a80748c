#include "ui/win/image_view.h"

#include <objidl.h>
// GDI+ headers expect min/max, which NOMINMAX removes.
#include <algorithm>
#include <cstring>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "base/win/files.h"
#include "base/win/handles.h"

namespace iv::ui {

namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kMinDelayMs = 20;       // browsers treat shorter delays as this
constexpr UINT kDefaultDelayMs = 100;  // and a zero delay as this

// GDI+ is started on first use and left running: the views live until the process ends.
bool StartGdiplus() {
  static const bool started = [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

struct StreamRelease {
  void operator()(IStream* s) const { s->Release(); }
};

struct Picture {
  // The decoder reads from the stream for as long as the image lives.
  std::unique_ptr<IStream, StreamRelease> stream;
  std::unique_ptr<Gdiplus::Image> image;
  std::vector<UINT> delays;  // per frame, in ms
  UINT frame = 0;
  bool paused = false;  // hidden: the next paint goes on with the animation
};

struct ViewData {
  std::wstring path;
  std::unique_ptr<Picture> picture;
  std::string pending;  // read while hidden: decoded when first needed
};

std::vector<UINT> FrameDelays(Gdiplus::Image& image, UINT frames) {
  std::vector<UINT> delays(frames, kDefaultDelayMs);
  const UINT size = image.GetPropertyItemSize(PropertyTagFrameDelay);
  if (size < sizeof(Gdiplus::PropertyItem)) return delays;
  std::vector<BYTE> buffer(size);
  auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
  if (image.GetPropertyItem(PropertyTagFrameDelay, size, item) != Gdiplus::Ok || !item->value) return delays;
  const UINT count = std::min<UINT>(frames, item->length / sizeof(LONG));
  for (UINT i = 0; i < count; ++i) {
    const LONG centis = static_cast<const LONG*>(item->value)[i];
    delays[i] = centis <= 0 ? kDefaultDelayMs : std::max<UINT>(kMinDelayMs, static_cast<UINT>(centis) * 10);
  }
  return delays;
}

// A stream over a copy of the bytes; the stream frees the copy when released.
IStream* MemoryStream(const std::string& bytes) {
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!copy) return nullptr;
  if (void* p = GlobalLock(copy)) {
    memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (SUCCEEDED(CreateStreamOnHGlobal(copy, TRUE, &stream))) return stream;
  }
  GlobalFree(copy);
  return nullptr;
}

std::unique_ptr<Picture> LoadPicture(const std::string& bytes) {
  if (bytes.empty() || !StartGdiplus()) return nullptr;
  auto pic = std::make_unique<Picture>();
  pic->stream.reset(MemoryStream(bytes));
  if (!pic->stream) return nullptr;
  pic->image.reset(Gdiplus::Image::FromStream(pic->stream.get()));
  if (!pic->image || pic->image->GetLastStatus() != Gdiplus::Ok || pic->image->GetWidth() == 0 ||
      pic->image->GetHeight() == 0)
    return nullptr;
  UINT frames = 1;
  GUID dimension = Gdiplus::FrameDimensionTime;
  if (pic->image->GetFrameDimensionsCount() > 0) {
    pic->image->GetFrameDimensionsList(&dimension, 1);
    frames = std::max<UINT>(1, pic->image->GetFrameCount(&dimension));
  }
  pic->delays = frames > 1 ? FrameDelays(*pic->image, frames) : std::vector<UINT>(1, 0);
  return pic;
}

ViewData* Data(HWND hwnd) {
  if (!hwnd) return nullptr;
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (lstrcmpW(cls, kImageViewClass) != 0) return nullptr;
  return reinterpret_cast<ViewData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The largest rectangle of the picture's shape that fits the client area, centred.
RECT FitRect(const RECT& client, UINT w, UINT h) {
  const int cw = client.right - client.left, ch = client.bottom - client.top;
  int dw = cw, dh = static_cast<int>(static_cast<long long>(h) * cw / w);
  if (dh > ch) {
    dh = ch;
    dw = static_cast<int>(static_cast<long long>(w) * ch / h);
  }
  const int x = client.left + (cw - dw) / 2, y = client.top + (ch - dh) / 2;
  return {x, y, x + dw, y + dh};
}

void Paint(HWND hwnd, ViewData& data) {
  PaintScope paint(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  // Drawn off screen first so an animation does not flicker.
  UniqueBitmap bmp(CreateCompatibleBitmap(paint.dc(), std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom)));
  MemoryDC mem(paint.dc());
  mem.Select(bmp.get());
  FillRect(mem.get(), &client, GetSysColorBrush(COLOR_WINDOW));
  if (data.picture && client.right > 0 && client.bottom > 0) {
    Gdiplus::Image& image = *data.picture->image;
    const RECT r = FitRect(client, image.GetWidth(), image.GetHeight());
    Gdiplus::Graphics g(mem.get());
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    g.DrawImage(&image, static_cast<INT>(r.left), static_cast<INT>(r.top), static_cast<INT>(r.right - r.left),
                static_cast<INT>(r.bottom - r.top));
  }
  BitBlt(paint.dc(), 0, 0, client.right, client.bottom, mem.get(), 0, 0, SRCCOPY);
}

void ScheduleFrame(HWND hwnd, const Picture& pic) {
  if (pic.delays.size() > 1) SetTimer(hwnd, kFrameTimer, pic.delays[pic.frame], nullptr);
}

void NextFrame(HWND hwnd, ViewData& data) {
  KillTimer(hwnd, kFrameTimer);
  Picture* pic = data.picture.get();
  if (!pic || pic->delays.size() < 2) return;
  // Frames nobody sees cost a wake-up each; showing the view paints it, which resumes.
  if (!IsWindowVisible(hwnd)) {
    pic->paused = true;
    return;
  }
  pic->frame = (pic->frame + 1) % pic->delays.size();
  GUID dimension = Gdiplus::FrameDimensionTime;
  pic->image->SelectActiveFrame(&dimension, pic->frame);
  InvalidateRect(hwnd, nullptr, FALSE);
  ScheduleFrame(hwnd, *pic);
}

// A view that nobody sees decodes its picture later: a copy that starts in the tray
// then never starts GDI+ at all.
void Decode(HWND hwnd, ViewData& data) {
  data.picture = LoadPicture(data.pending);
  data.pending.clear();
  if (data.picture) ScheduleFrame(hwnd, *data.picture);
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* data = reinterpret_cast<ViewData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new ViewData));
      break;
    case WM_NCDESTROY:
      KillTimer(hwnd, kFrameTimer);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete data;
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (data) {
        if (!data->pending.empty()) Decode(hwnd, *data);
        Paint(hwnd, *data);
        if (data->picture && data->picture->paused) {
          data->picture->paused = false;
          ScheduleFrame(hwnd, *data->picture);
        }
        return 0;
      }
      break;
    case WM_SIZE:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_TIMER:
      if (data && wp == kFrameTimer) NextFrame(hwnd, *data);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterViewClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ViewProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kImageViewClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

HWND CreateImageView(HWND parent, int id, RECT r) {
  if (!RegisterViewClass()) return nullptr;
  return CreateWindowExW(WS_EX_CLIENTEDGE, kImageViewClass, L"", WS_CHILD | WS_VISIBLE, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

bool SetImagePath(HWND view, const std::wstring& path) {
  ViewData* data = Data(view);
  if (!data) return false;
  KillTimer(view, kFrameTimer);
  data->path = path;
  data->picture.reset();
  data->pending = path.empty() ? std::string() : ReadWholeFile(path);
  InvalidateRect(view, nullptr, FALSE);
  if (!IsWindowVisible(view) && !data->pending.empty()) return true;
  Decode(view, *data);
  return data->picture != nullptr;
}

ImageViewState GetImageViewState(HWND view) {
  ImageViewState state;
  ViewData* data = Data(view);
  if (!data) return state;
  if (!data->pending.empty()) Decode(view, *data);
  state.path = data->path;
  if (const Picture* pic = data->picture.get()) {
    state.width = static_cast<int>(pic->image->GetWidth());
    state.height = static_cast<int>(pic->image->GetHeight());
    state.frames = static_cast<int>(pic->delays.size());
    state.frame = static_cast<int>(pic->frame);
  }
  return state;
}

}  // namespace iv::ui
