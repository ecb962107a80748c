// Sets the timing and transparency of a GIF another encoder wrote, by rewriting its
// blocks: every frame gets one graphic control extension with our values, and an
// animation gets the looping extension. Image data is copied untouched.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace iv::library {

struct FrameControl {
  int delayCs = 0;
  int transparent = -1;  // palette index drawn see-through, or -1
  int disposal = 1;      // 1 keep, 2 clear to transparent before the next frame
};

// Nothing when the bytes are not a whole GIF or the number of frames differs from
// controls.size().
std::optional<std::vector<std::uint8_t>> SetFrameControls(std::span<const std::uint8_t> gif,
                                                          const std::vector<FrameControl>& controls, bool loop);

}  // namespace iv::library
