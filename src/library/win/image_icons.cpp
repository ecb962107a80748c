#include "library/win/image_icons.h"

#include <array>
#include <initializer_list>

#include "base/win/handles.h"

namespace iv::library {

namespace {

constexpr COLORREF kMask = RGB(255, 0, 255);

using UniquePen = Owned<HPEN, GdiTraits<HPEN>>;

// A fill and outline colour selected into a DC for one shape.
class Ink {
 public:
  Ink(HDC dc, COLORREF fill, COLORREF line)
      : brush_(CreateSolidBrush(fill)), pen_(CreatePen(PS_SOLID, 1, line)), b_(dc, brush_.get()), p_(dc, pen_.get()) {}

 private:
  UniqueBrush brush_;
  UniquePen pen_;
  SelectScope b_, p_;
};

// Pictures are drawn on a 16-unit grid and scaled to the requested size.
struct Canvas {
  HDC dc;
  int size;
  int S(int units) const { return units * size / 16; }
  void Box(int l, int t, int r, int b, COLORREF fill, COLORREF line) const {
    Ink ink(dc, fill, line);
    Rectangle(dc, S(l), S(t), S(r), S(b));
  }
  void Disc(int l, int t, int r, int b, COLORREF fill, COLORREF line) const {
    Ink ink(dc, fill, line);
    Ellipse(dc, S(l), S(t), S(r), S(b));
  }
  void Poly(std::initializer_list<POINT> units, COLORREF fill, COLORREF line) const {
    std::array<POINT, 8> pts{};
    int n = 0;
    for (POINT p : units) pts[n++] = {S(p.x), S(p.y)};
    Ink ink(dc, fill, line);
    Polygon(dc, pts.data(), n);
  }
};

constexpr COLORREF kFolder = RGB(240, 200, 80), kFolderDark = RGB(150, 110, 20), kPaper = RGB(255, 255, 255),
                   kInk = RGB(90, 90, 90), kBlue = RGB(50, 110, 210), kSkin = RGB(250, 210, 150);

void DrawPage(const Canvas& c) {
  c.Poly({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, kPaper, kInk);
  c.Poly({{10, 1}, {10, 4}, {13, 4}}, RGB(220, 220, 220), kInk);
}

void Draw(const Canvas& c, int key) {
  switch (key) {
    case ClosedFile:
      c.Poly({{1, 3}, {6, 3}, {7, 5}, {15, 5}, {15, 14}, {1, 14}}, kFolder, kFolderDark);
      break;
    case OpenFile:
      c.Poly({{1, 3}, {6, 3}, {7, 5}, {13, 5}, {13, 7}, {1, 14}}, kFolder, kFolderDark);
      c.Poly({{4, 7}, {15, 7}, {12, 14}, {1, 14}}, RGB(250, 225, 130), kFolderDark);
      break;
    case TextFile:
      DrawPage(c);
      for (int y = 6; y <= 12; y += 3) c.Box(5, y, 11, y + 1, kInk, kInk);
      break;
    case HTMLFile:
      DrawPage(c);
      c.Disc(5, 7, 12, 14, kBlue, RGB(20, 60, 140));
      c.Box(5, 10, 12, 11, RGB(120, 200, 120), RGB(120, 200, 120));
      break;
    case Nick:
      c.Disc(5, 1, 11, 7, kSkin, kInk);
      c.Poly({{2, 15}, {4, 9}, {12, 9}, {14, 15}}, RGB(200, 60, 60), kInk);
      break;
    case Buddy:
      c.Disc(5, 1, 11, 7, kSkin, kInk);
      c.Poly({{2, 15}, {4, 9}, {12, 9}, {14, 15}}, RGB(250, 210, 40), kInk);
      break;
  }
}

}  // namespace

HIMAGELIST CreateImageIcons(int size) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kImageKeyCount, 0);
  if (!list) return nullptr;
  const ScreenDC screen;
  const MemoryDC memory(screen.get());
  const HDC dc = memory.get();
  for (int key = 0; key < kImageKeyCount; ++key) {
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size, size));
    {
      SelectScope keep(dc, bitmap.get());
      RECT all{0, 0, size, size};
      UniqueBrush mask(CreateSolidBrush(kMask));
      FillRect(dc, &all, mask.get());
      Draw(Canvas{dc, size}, key);
    }
    ImageList_AddMasked(list, bitmap.get(), kMask);
  }
  return list;
}

}  // namespace iv::library
