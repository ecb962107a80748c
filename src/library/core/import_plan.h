// The decisions of turning a picture into a buddy icon, apart from the decoders:
// the size it is scaled to, how it is reduced until it fits AIM's byte limit, which
// frames of an animation are kept, and the name it gets in the library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::library {

inline constexpr int kIconSide = 48;          // AIM shows buddy icons at most 48 x 48
inline constexpr std::size_t kIconBytes = 7168;  // and refuses larger files

// Where a w x h picture goes in its icon: scaled to fit a side x side box keeping the
// aspect ratio (never enlarged, never below 1 pixel) and centred on a square canvas
// whose border stays transparent.
struct Placement {
  int canvas = 0;  // the icon is canvas x canvas pixels
  int x = 0, y = 0, width = 0, height = 0;
};
Placement PlaceInIcon(int w, int h, int side = kIconSide);

// Shrinks premultiplied 32-bit pixels by averaging every source pixel into the
// destination pixel it falls in. Rows may be given in strips, top to bottom, so a
// large picture never has to be held whole.
class BoxScaler {
 public:
  BoxScaler(int srcW, int srcH, int dstW, int dstH);
  // `count` rows starting at row `first`, each `stride` bytes apart, 4 bytes a pixel.
  void AddRows(const std::uint8_t* rows, int first, int count, std::size_t stride);
  // The dstW x dstH result, 4 bytes a pixel, rows packed.
  std::vector<std::uint8_t> Result() const;

 private:
  int srcW_, srcH_, dstW_, dstH_;
  std::vector<int> column_;            // destination column of each source column
  std::vector<std::uint64_t> sums_;    // 4 channel sums per destination pixel
  std::vector<std::uint32_t> counts_;  // source pixels per destination pixel
};

// One way of writing the icon: at most `colours` colours a frame, every `frameStep`th
// frame of an animation (their display times added up), dithered or not.
struct Attempt {
  int colours = 256;
  int frameStep = 1;
  bool dither = true;
};

// The attempts in order: colours are reduced first (an animation to no fewer than 16),
// then frames are dropped, then a single remaining frame loses colours down to 2.
class ReductionPlan {
 public:
  explicit ReductionPlan(int frameCount);
  const Attempt& Current() const { return current_; }
  // Moves to the next attempt after one wrote `bytes`; false when none is left.
  bool Next(std::size_t bytes, std::size_t limit = kIconBytes);

 private:
  int frames_;
  Attempt current_;
};

// The indices of the frames kept with every step-th frame, and their display times:
// each kept frame shows for the frames it stands in for.
std::vector<int> KeptFrames(int frameCount, int step);
// Every how manyth frame of an animation is kept in memory at all: an icon never
// shows hundreds of frames, and a hostile file may hold a hundred thousand.
inline constexpr int kMaxKeptFrames = 300;
int DecodeStep(int frameCount);
std::vector<int> KeptDelays(const std::vector<int>& delaysCs, int step);

// The icon's file name for a picture: its name without folder and extension, made
// safe for the library (unsafe characters become "_", blanks and dots trimmed from
// the ends, "picture" when nothing is left, a device name gets a leading "_"), with
// ".gif"; when `taken` says a name is in use, " (2)", " (3)"... is added.
std::string IconNameFor(std::string_view sourcePath, const std::function<bool(const std::string&)>& taken);

}  // namespace iv::library
