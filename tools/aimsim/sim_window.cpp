// The simulator's visible window, laid out like a buddy list: who is signed in, the
// buddy icon as "picture.id" holds it, and the last lines of the log. Its class and
// title are its own, so nothing that looks for the messenger's windows finds it.
#include <windows.h>

#include <objidl.h>
#include <shlwapi.h>
// GDI+ headers expect min/max, which NOMINMAX removes.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <memory>
#include <string>

#include "base/win/handles.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "sim.h"

namespace aimsim {

namespace {

constexpr int kNameId = 1, kIconId = 2, kIconTextId = 3, kLogId = 4;
constexpr int kLogLines = 8;
constexpr int kWidth = 300, kHeight = 370, kIconBox = 100;

struct StreamRelease {
  void operator()(IStream* s) const { s->Release(); }
};

// A decoded picture; the stream must outlive the image that reads from it.
struct Picture {
  std::unique_ptr<IStream, StreamRelease> stream;
  std::unique_ptr<Gdiplus::Image> image;
};

std::unique_ptr<Picture> Decode(const std::string& bytes) {
  auto pic = std::make_unique<Picture>();
  pic->stream.reset(SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!pic->stream) return nullptr;
  pic->image.reset(Gdiplus::Image::FromStream(pic->stream.get()));
  if (!pic->image || pic->image->GetLastStatus() != Gdiplus::Ok || pic->image->GetWidth() == 0 ||
      pic->image->GetHeight() == 0)
    return nullptr;
  return pic;
}

bool StartsWith(const std::string& text, const char* head) { return text.rfind(head, 0) == 0; }

class BuddyListWindow : public iv::Window {
 public:
  explicit BuddyListWindow(Context& ctx) : ctx_(ctx) {}
  ~BuddyListWindow() override { ctx_.onLog = nullptr; }

  bool Open() {
    RECT work{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const std::wstring title = L"AIM simulator - " + iv::Widen(ctx_.options.user);
    if (!Create(kBuddyListClass, title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                work.right - kWidth - 8, work.top + 8, kWidth, kHeight, nullptr, nullptr, CS_DBLCLKS,
                GetSysColorBrush(COLOR_BTNFACE)))
      return false;
    ctx_.onLog = [this](const std::string& line) { OnLog(line); };
    // Not activated: the messenger's own dialogs and the program keep the focus.
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    return true;
  }

 protected:
  bool OnCreate() override {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int w = client.right - 16;
    const HWND name = iv::CreateControl(hwnd(), L"STATIC", iv::Widen(ctx_.options.user).c_str(),
                                        WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 8, 8, w, 20, kNameId);
    LOGFONTW lf{};
    GetObjectW(iv::UiFont(), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = lf.lfHeight * 3 / 2;
    bold_.reset(CreateFontIndirectW(&lf));
    SendMessageW(name, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
    iv::CreateControl(hwnd(), L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, (client.right - kIconBox) / 2, 36,
                      kIconBox, kIconBox, kIconId);
    iv::CreateControl(hwnd(), L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 8, 140, w, 32,
                      kIconTextId);
    iv::CreateControl(hwnd(), L"STATIC", L"Log:", WS_CHILD | WS_VISIBLE | SS_LEFT, 8, 178, w, 16, -1);
    iv::CreateControl(hwnd(), L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL,
                      8, 196, w, client.bottom - 204, kLogId, WS_EX_CLIENTEDGE);
    ReloadPicture();
    return true;
  }

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (di->CtlID != kIconId) break;
        DrawIcon(*di);
        return TRUE;
      }
      case WM_CLOSE:
        // Closing the buddy list signs off: the whole messenger ends.
        if (ctx_.main) PostMessageW(ctx_.main, WM_CLOSE, 0, 0);
        return 0;
    }
    return iv::Window::WndProc(msg, wp, lp);
  }

 private:
  void OnLog(const std::string& line) {
    const HWND list = GetDlgItem(hwnd(), kLogId);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(iv::Widen(line).c_str()));
    while (SendMessageW(list, LB_GETCOUNT, 0, 0) > kLogLines) SendMessageW(list, LB_DELETESTRING, 0, 0);
    if (StartsWith(line, "icon-set ") || StartsWith(line, "icon-fetched ")) ReloadPicture();
  }

  // Read again from the file rather than taken from the log, so the window shows
  // what the messenger really holds.
  void ReloadPicture() {
    std::string bytes;
    const std::string reason = ReadIcon(ctx_.PicturePath(), bytes);
    picture_ = reason.empty() ? Decode(bytes) : nullptr;
    std::string text;
    if (!reason.empty()) text = "No buddy icon (" + reason + ")";
    else if (!picture_) text = "Buddy icon not readable, " + std::to_string(bytes.size()) + " bytes";
    else
      text = "Buddy icon " + std::to_string(picture_->image->GetWidth()) + "x" +
             std::to_string(picture_->image->GetHeight()) + ", " + std::to_string(bytes.size()) + " bytes, CRC " +
             Hex8(Crc32(bytes));
    SetDlgItemTextW(hwnd(), kIconTextId, iv::Widen(text).c_str());
    InvalidateRect(GetDlgItem(hwnd(), kIconId), nullptr, TRUE);
  }

  void DrawIcon(const DRAWITEMSTRUCT& di) {
    const RECT r = di.rcItem;
    FillRect(di.hDC, &r, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(di.hDC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    if (!picture_) return;
    Gdiplus::Image& image = *picture_->image;
    // Whole multiples keep a small icon's pixels square and sharp.
    const UINT inner = static_cast<UINT>(r.right - r.left - 4);
    const UINT scale = std::max<UINT>(1, inner / std::max(image.GetWidth(), image.GetHeight()));
    const UINT w = std::min(inner, image.GetWidth() * scale), h = std::min(inner, image.GetHeight() * scale);
    Gdiplus::Graphics g(di.hDC);
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    g.DrawImage(&image, static_cast<INT>(r.left + (r.right - r.left - static_cast<LONG>(w)) / 2),
                static_cast<INT>(r.top + (r.bottom - r.top - static_cast<LONG>(h)) / 2), static_cast<INT>(w),
                static_cast<INT>(h));
  }

  Context& ctx_;
  iv::UniqueFont bold_;
  std::unique_ptr<Picture> picture_;
};

// GDI+ for the life of the window.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

}  // namespace

struct BuddyList::Parts {
  GdiplusSession gdiplus;  // started before the window draws and shut after it is gone
  BuddyListWindow window;
  explicit Parts(Context& ctx) : window(ctx) {}
};

BuddyList::BuddyList(Context& ctx) : parts_(std::make_unique<Parts>(ctx)) {
  if (!parts_->window.Open()) ctx.Log("window-failed");
}

BuddyList::~BuddyList() = default;

}  // namespace aimsim
