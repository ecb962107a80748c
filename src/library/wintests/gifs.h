// Tiny hand-made GIF files for the tests.
#pragma once
#include <string>

namespace iv::library::testing {

inline std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s += static_cast<char>(c);
  return s;
}

// One pixel of grey (shade, shade, shade), white unless told, so icons can differ in content.
inline std::string StillGif(int shade = 0xFF) {
  return Bytes({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, shade, shade, shade, 0, 0, 0, 0x2C, 0, 0, 0,
                0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B});
}

// Two frames, white for 100 ms then black for 200 ms, looping.
inline std::string AnimatedGif() {
  std::string s = Bytes({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0});
  s += Bytes({0x21, 0xFF, 0x0B}) + "NETSCAPE2.0" + Bytes({3, 1, 0, 0, 0});
  s += Bytes({0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0});
  s += Bytes({0x21, 0xF9, 4, 0, 20, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 1, 0});
  return s + Bytes({0x3B});
}

}  // namespace iv::library::testing
