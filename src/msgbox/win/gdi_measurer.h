// Measuring and drawing message text with GDI in Arial 9.75 pt.
#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <unordered_map>

#include "base/win/handles.h"
#include "msgbox/core/markup.h"

namespace iv::msgbox {

// The eight bold/italic/underline variants of the message font, made on first use.
class MessageFonts {
 public:
  explicit MessageFonts(int dpiY) : dpiY_(dpiY) {}
  HFONT Get(FontFlags font);

 private:
  int dpiY_;
  std::array<UniqueFont, 8> fonts_;
};

class GdiMeasurer : public Measurer {
 public:
  GdiMeasurer(HDC dc, MessageFonts& fonts, double twipsPerPixelX, double twipsPerPixelY)
      : dc_(dc), fonts_(fonts), tppX_(twipsPerPixelX), tppY_(twipsPerPixelY) {}
  double TextWidth(std::string_view utf8, FontFlags font) override;
  double LineHeight(FontFlags font) override;

 private:
  HDC dc_;
  MessageFonts& fonts_;
  double tppX_;
  double tppY_;
  // The layout measures one character at a time, the same ones again and again.
  std::array<std::unordered_map<std::string, double>, 8> widths_;
};

}  // namespace iv::msgbox
