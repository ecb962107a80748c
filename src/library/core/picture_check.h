// What an imported picture file holds, read from its bytes before any decoder sees
// them: the format, the size of every frame and whether the file is complete. A
// picture that fails here is refused with the reason, so a hostile file (a header
// claiming 30,000 x 30,000 pixels, a cut-off download) never reaches the decoder.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace iv::library {

enum class PictureFormat { Unknown, Png, Jpeg, Bmp, Gif };

// Largest picture accepted: decoders hold whole frames in memory.
inline constexpr int kMaxPictureSide = 10000;
inline constexpr std::int64_t kMaxPicturePixels = 25'000'000;
inline constexpr std::int64_t kMaxPictureFileBytes = 64LL * 1024 * 1024;

// One frame of a GIF as placed on its logical screen.
struct GifFrameFacts {
  int left = 0, top = 0, width = 0, height = 0;
  int delayCs = 0;   // display time in hundredths of a second
  int disposal = 0;  // 0-1 keep, 2 clear to background, 3 restore the previous picture
};

struct PictureFacts {
  PictureFormat format = PictureFormat::Unknown;
  int width = 0, height = 0;          // the picture, or a GIF's logical screen
  std::vector<GifFrameFacts> frames;  // GIF only; one entry per frame
  int FrameCount() const { return frames.empty() ? 1 : static_cast<int>(frames.size()); }
};

struct PictureCheck {
  PictureFacts facts;
  std::string problem;  // empty when the picture may be imported
  bool ok() const { return problem.empty(); }
};

// The format a file name promises by its extension (any letter case).
PictureFormat FormatFromName(std::string_view fileName);

// Checks the bytes of the file named fileName: the extension is a picture's and
// matches the content, the structure is complete, every frame is within the limits.
PictureCheck CheckPicture(std::string_view fileName, std::span<const std::uint8_t> bytes);

}  // namespace iv::library
