#include "sample.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <system_error>
#include <vector>

#include "gif.h"

namespace iv::iconserver {
namespace {

namespace fs = std::filesystem;
using gif::Rgb;

// Palette slots every drawing uses.
enum Ink : std::uint8_t { kBack, kLine, kMain, kSecond, kWhite, kPink };

struct Colours {
  Rgb main;
  Rgb second;
};

class Canvas {
 public:
  Canvas() : pixels_(kIconSize * kIconSize, kBack) {}

  void Plot(int x, int y, Ink ink) {
    if (x >= 0 && y >= 0 && x < kIconSize && y < kIconSize) pixels_[y * kIconSize + x] = ink;
  }
  // Paints every pixel whose centre passes the test.
  void Fill(Ink ink, const std::function<bool(double, double)>& inside) {
    for (int y = 0; y < kIconSize; ++y)
      for (int x = 0; x < kIconSize; ++x)
        if (inside(x + 0.5, y + 0.5)) Plot(x, y, ink);
  }
  void Disc(double cx, double cy, double r, Ink ink) {
    Fill(ink, [=](double x, double y) { return Dist(x, y, cx, cy) <= r; });
  }
  void Ring(double cx, double cy, double r, double width, Ink ink) {
    Fill(ink, [=](double x, double y) {
      const double d = Dist(x, y, cx, cy);
      return d <= r && d >= r - width;
    });
  }
  void Line(int x0, int y0, int x1, int y1, Ink ink) {
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i)
      Plot(x0 + (x1 - x0) * i / std::max(steps, 1), y0 + (y1 - y0) * i / std::max(steps, 1),
           ink);
  }
  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

 private:
  static double Dist(double x, double y, double cx, double cy) {
    return std::hypot(x - cx, y - cy);
  }
  std::vector<std::uint8_t> pixels_;
};

std::vector<Rgb> Palette(const Colours& c, Rgb back) {
  return {back, {30, 30, 30}, c.main, c.second, {255, 255, 255}, {240, 140, 170}};
}

Canvas CatFace(bool eyesClosed) {
  Canvas cv;
  // Ears first so the head overlaps their base.
  cv.Fill(kMain, [](double x, double y) { return y > 4 && y < 22 && std::abs(x - 12) < (y - 4) * 0.6; });
  cv.Fill(kMain, [](double x, double y) { return y > 4 && y < 22 && std::abs(x - 36) < (y - 4) * 0.6; });
  cv.Disc(24, 27, 17, kMain);
  if (eyesClosed) {
    cv.Line(13, 23, 20, 23, kLine);
    cv.Line(28, 23, 35, 23, kLine);
  } else {
    cv.Disc(17, 22, 3.5, kSecond);
    cv.Disc(31, 22, 3.5, kSecond);
    cv.Disc(17, 22, 1.5, kLine);
    cv.Disc(31, 22, 1.5, kLine);
  }
  cv.Fill(kPink, [](double x, double y) { return y > 28 && y < 32 && std::abs(x - 24) < (32 - y); });
  for (int dy : {-2, 1, 4}) {
    cv.Line(4, 30 + dy, 16, 31, kLine);
    cv.Line(32, 31, 44, 30 + dy, kLine);
  }
  return cv;
}

Canvas Smiley() {
  Canvas cv;
  cv.Disc(24, 24, 21, kMain);
  cv.Ring(24, 24, 21, 1.5, kLine);
  cv.Disc(17, 18, 3, kLine);
  cv.Disc(31, 18, 3, kLine);
  cv.Fill(kLine, [](double x, double y) {
    const double d = std::hypot(x - 24, y - 24);
    return y > 28 && d <= 14 && d >= 11.5;
  });
  return cv;
}

Canvas Ball() {
  Canvas cv;
  cv.Disc(24, 24, 20, kMain);
  cv.Fill(kSecond, [](double x, double y) {
    return std::hypot(x - 24, y - 24) <= 20 && std::abs(y - 24) < 3;
  });
  cv.Disc(17, 16, 4, kWhite);
  cv.Ring(24, 24, 20, 1.5, kLine);
  return cv;
}

Canvas Stripes() {
  Canvas cv;
  cv.Fill(kMain, [](double x, double y) { return static_cast<int>(x + y) / 8 % 2 == 0; });
  cv.Fill(kSecond, [](double x, double y) { return static_cast<int>(x + y) / 8 % 2 == 1; });
  return cv;
}

Canvas Checker() {
  Canvas cv;
  cv.Fill(kMain, [](double x, double y) {
    return (static_cast<int>(x) / 8 + static_cast<int>(y) / 8) % 2 == 0;
  });
  cv.Fill(kSecond, [](double x, double y) {
    return (static_cast<int>(x) / 8 + static_cast<int>(y) / 8) % 2 == 1;
  });
  return cv;
}

Canvas Diamond() {
  Canvas cv;
  cv.Fill(kMain, [](double x, double y) { return std::abs(x - 24) + std::abs(y - 24) <= 22; });
  cv.Fill(kSecond, [](double x, double y) { return std::abs(x - 24) + std::abs(y - 24) <= 12; });
  return cv;
}

struct Icon {
  const char* category;
  const char* file;
  Colours colours;
  std::vector<Canvas> frames;  // two frames make it blink
};

bool Write(const fs::path& root, const Icon& icon, std::string& error) {
  const fs::path folder = root / icon.category;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    error = "cannot create " + folder.string() + ": " + ec.message();
    return false;
  }
  gif::Image image;
  image.width = image.height = kIconSize;
  image.palette = Palette(icon.colours, {235, 240, 250});
  for (const Canvas& cv : icon.frames) image.frames.push_back({cv.Pixels(), 60});
  if (!gif::WriteFile(image, (folder / icon.file).string())) {
    error = "cannot write " + (folder / icon.file).string();
    return false;
  }
  return true;
}

// Colour of hue h (0..359) at full saturation: gives the bulk icons distinct looks.
Rgb Hue(int h) {
  const double x = 1 - std::abs(std::fmod(h / 60.0, 2) - 1);
  double r = 0, g = 0, b = 0;
  switch (h / 60 % 6) {
    case 0: r = 1; g = x; break;
    case 1: r = x; g = 1; break;
    case 2: g = 1; b = x; break;
    case 3: g = x; b = 1; break;
    case 4: r = x; b = 1; break;
    default: r = 1; b = x; break;
  }
  auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255)); };
  return {byte(r), byte(g), byte(b)};
}

}  // namespace

bool WriteSample(const std::filesystem::path& root, std::string& error) {
  const Rgb orange{240, 150, 40}, grey{150, 150, 160}, black{50, 50, 60}, green{90, 200, 80};
  const Rgb yellow{250, 220, 40}, red{220, 40, 40}, blue{50, 90, 220}, white{255, 255, 255};
  const std::vector<Icon> icons = {
      {"Funny Cats", "cat-orange.gif", {orange, green}, {CatFace(false)}},
      {"Funny Cats", "cat-grey.gif", {grey, yellow}, {CatFace(false)}},
      {"Funny Cats", "cat-black.gif", {black, green}, {CatFace(false)}},
      {"Funny Cats", "cat-wink.gif", {orange, blue}, {CatFace(false), CatFace(true)}},
      {"Smileys", "smile-yellow.gif", {yellow, black}, {Smiley()}},
      {"Smileys", "smile-green.gif", {green, black}, {Smiley()}},
      {"Smileys", "smile-blue.gif", {{120, 170, 250}, black}, {Smiley()}},
      {"Sports", "ball-red.gif", {red, white}, {Ball()}},
      {"Sports", "ball-blue.gif", {blue, yellow}, {Ball()}},
      {"Sports", "flag-checkered.gif", {black, white}, {Checker()}},
      {"abstract", "stripes.gif", {red, yellow}, {Stripes()}},
      {"abstract", "diamond.gif", {blue, green}, {Diamond()}},
  };
  for (const Icon& icon : icons)
    if (!Write(root, icon, error)) return false;
  return true;
}

bool WriteBulkCategory(const std::filesystem::path& root, int count, std::string& error) {
  const std::vector<Canvas> shapes = {Ball(), Diamond(), Stripes(), Checker(), Smiley()};
  for (int i = 1; i <= count; ++i) {
    char file[32];
    std::snprintf(file, sizeof file, "icon%03d.gif", i);
    // Golden-angle hue steps keep neighbours apart; the shape cycles separately.
    const Colours colours{Hue(i * 137 % 360), Hue((i * 137 + 180) % 360)};
    const Icon icon{kBulkCategory, file, colours, {shapes[i % shapes.size()]}};
    if (!Write(root, icon, error)) return false;
  }
  return true;
}

}  // namespace iv::iconserver
