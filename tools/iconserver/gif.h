// A small GIF89a writer for the sample site's icons: indexed pixels, one global
// palette, LZW-compressed frames, optional animation.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace iv::gif {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  auto operator<=>(const Rgb&) const = default;
};

struct Frame {
  std::vector<std::uint8_t> pixels;  // width * height palette indices, row by row
  std::uint16_t delayCs = 0;         // display time in hundredths of a second
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;  // 1 to 256 colours
  std::vector<Frame> frames;
  int transparent = -1;      // palette index drawn see-through, or -1
};

// The whole file, or nothing when the image is malformed (bad size, an index
// outside the palette, no frames).
std::optional<std::vector<std::uint8_t>> Encode(const Image& image);

// Writes the encoded image to path; false when it is malformed or cannot be written.
bool WriteFile(const Image& image, const std::string& path);

}  // namespace iv::gif
