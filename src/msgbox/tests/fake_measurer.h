// A measurer with fixed widths per character, so wrap positions can be worked out by hand.
#pragma once
#include <string_view>

#include "msgbox/core/markup.h"

namespace iv::msgbox::testing {

class FakeMeasurer : public Measurer {
 public:
  // 'W' 100, 'i' 10, 'j' 1, space 50, anything else 100; bold adds 20 to any character.
  double TextWidth(std::string_view utf8, FontFlags font) override {
    ++calls;
    double w = 0;
    for (char c : utf8) {
      if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;  // one width per character
      w += c == 'i' ? 10 : c == 'j' ? 1 : c == ' ' ? 50 : 100;
      if (font.bold) w += 20;
    }
    return w;
  }
  double LineHeight(FontFlags) override { return 225; }
  long calls = 0;
};

}  // namespace iv::msgbox::testing
