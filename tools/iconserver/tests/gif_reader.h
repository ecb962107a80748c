// An independent GIF reader for the tests: parses every block and undoes the LZW
// compression, so a round trip proves the writer's output decodes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gif.h"

namespace iv::gif::testing {

struct Decoded {
  std::string version;  // "GIF89a"
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;
  std::vector<std::vector<std::uint8_t>> frames;
  std::vector<std::vector<Rgb>> framePalettes;  // the local table, or the global one
  std::vector<int> delaysCs;
  bool loops = false;
  int transparent = -1;
};

// Nothing, with the reason in error, when the bytes are not a well-formed GIF
// ending in its trailer byte.
std::optional<Decoded> Decode(const std::vector<std::uint8_t>& bytes, std::string& error);
std::optional<Decoded> DecodeFile(const std::string& path, std::string& error);

}  // namespace iv::gif::testing
