#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

#include <unistd.h>

#include "gif.h"
#include "gif_reader.h"
#include "sample.h"
#include "site.h"

namespace iv::gif {
namespace {

namespace fs = std::filesystem;

Image Solid(int w, int h, std::size_t colours) {
  Image image;
  image.width = w;
  image.height = h;
  for (std::size_t i = 0; i < colours; ++i)
    image.palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7});
  image.frames.push_back({std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h, 0), 0});
  return image;
}

testing::Decoded RoundTrip(const Image& image) {
  const auto bytes = Encode(image);
  EXPECT_TRUE(bytes.has_value());
  if (!bytes) return {};
  std::string error;
  const auto decoded = testing::Decode(*bytes, error);
  EXPECT_TRUE(decoded.has_value()) << error;
  return decoded.value_or(testing::Decoded{});
}

TEST(GifWriter, StaticImageDecodesToTheSamePixelsAndPalette) {
  Image image = Solid(48, 48, 5);
  for (int i = 0; i < 48 * 48; ++i) image.frames[0].pixels[i] = (i / 7 + i % 3) % 5;
  const auto bytes = Encode(image).value();
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
  EXPECT_EQ(bytes.back(), 0x3B);
  const auto d = RoundTrip(image);
  EXPECT_EQ(d.width, 48);
  EXPECT_EQ(d.height, 48);
  ASSERT_EQ(d.palette.size(), 8u);  // padded to a power of two
  EXPECT_EQ(d.palette[4], image.palette[4]);
  ASSERT_EQ(d.frames.size(), 1u);
  EXPECT_EQ(d.frames[0], image.frames[0].pixels);
  EXPECT_FALSE(d.loops);
}

TEST(GifWriter, AnimationKeepsFramesDelaysAndLoops) {
  Image image = Solid(10, 6, 2);
  image.frames[0].delayCs = 50;
  Frame second{std::vector<std::uint8_t>(60, 1), 25};
  second.pixels[0] = 0;
  image.frames.push_back(second);
  const auto d = RoundTrip(image);
  ASSERT_EQ(d.frames.size(), 2u);
  EXPECT_EQ(d.frames[1], second.pixels);
  EXPECT_EQ(d.delaysCs, (std::vector<int>{50, 25}));
  EXPECT_TRUE(d.loops);
}

// Noise fills the 4096-entry code table several times over, exercising the
// table restart and every code width up to 12 bits.
TEST(GifWriter, NoisyLargeImagesSurviveTableRestarts) {
  std::mt19937 random(7);
  for (std::size_t colours : {2u, 16u, 256u}) {
    Image image = Solid(300, 200, colours);
    for (auto& p : image.frames[0].pixels) p = static_cast<std::uint8_t>(random() % colours);
    const auto d = RoundTrip(image);
    ASSERT_EQ(d.frames.size(), 1u) << colours;
    EXPECT_EQ(d.frames[0], image.frames[0].pixels) << colours;
  }
  // Every length meets the code-width steps at a different point of the stream,
  // including the one where the last code widens the end code.
  for (int n = 1; n <= 700; ++n) {
    for (std::size_t colours : {2u, 4u}) {
      Image image = Solid(n, 1, colours);
      for (auto& p : image.frames[0].pixels) p = static_cast<std::uint8_t>(random() % colours);
      const auto d = RoundTrip(image);
      ASSERT_EQ(d.frames.size(), 1u) << n;
      ASSERT_EQ(d.frames[0], image.frames[0].pixels) << n;
    }
  }
  Image one = Solid(1, 1, 1);
  one.transparent = 0;
  const auto d = RoundTrip(one);
  EXPECT_EQ(d.transparent, 0);
  EXPECT_EQ(d.frames.at(0).size(), 1u);
}

TEST(GifWriter, RefusesMalformedImages) {
  Image wrongSize = Solid(4, 4, 2);
  wrongSize.frames[0].pixels.pop_back();
  Image badIndex = Solid(4, 4, 2);
  badIndex.frames[0].pixels[3] = 2;
  Image noPalette = Solid(4, 4, 0);
  Image hugePalette = Solid(4, 4, 257);
  Image noFrames = Solid(4, 4, 2);
  noFrames.frames.clear();
  Image zero = Solid(4, 4, 2);
  zero.width = 0;
  Image badTransparent = Solid(4, 4, 2);
  badTransparent.transparent = 2;
  for (const Image* image :
       {&wrongSize, &badIndex, &noPalette, &hugePalette, &noFrames, &zero, &badTransparent})
    EXPECT_FALSE(Encode(*image).has_value());
  EXPECT_FALSE(WriteFile(Solid(2, 2, 2), "/nonexistent-folder/x.gif"));
}

class SampleFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) /
            ("iv-sample-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(SampleFolder, StandardSampleIsDecodableIconsWithOneAnimation) {
  std::string error;
  ASSERT_TRUE(iconserver::WriteSample(root_, error)) << error;
  const auto categories = iconserver::ListCategories(root_);
  EXPECT_GE(categories.size(), 3u);
  EXPECT_NE(std::find(categories.begin(), categories.end(), "Funny Cats"), categories.end());
  int animated = 0;
  for (const auto& category : categories) {
    const auto icons = iconserver::ListIcons(root_, category);
    EXPECT_GE(icons.size(), 2u) << category;
    for (const auto& file : icons) {
      const auto d = testing::DecodeFile((root_ / category / file).string(), error);
      ASSERT_TRUE(d.has_value()) << file << ": " << error;
      EXPECT_EQ(d->width, iconserver::kIconSize);
      EXPECT_EQ(d->height, iconserver::kIconSize);
      if (d->frames.size() == 2) {
        ++animated;
        EXPECT_NE(d->frames[0], d->frames[1]) << file;
      }
    }
  }
  EXPECT_EQ(animated, 1);
}

TEST_F(SampleFolder, BulkCategoryHoldsDistinctIcons) {
  std::string error;
  ASSERT_TRUE(iconserver::WriteBulkCategory(root_, 300, error)) << error;
  EXPECT_EQ(iconserver::ListCategories(root_), std::vector<std::string>{"Bulk Icons"});
  const auto icons = iconserver::ListIcons(root_, "Bulk Icons");
  ASSERT_EQ(icons.size(), 300u);
  EXPECT_EQ(icons.front(), "icon001.gif");
  EXPECT_EQ(icons.back(), "icon300.gif");
  std::set<std::vector<Rgb>> palettes;
  for (const auto& file : icons) {
    const auto d = testing::DecodeFile((root_ / "Bulk Icons" / file).string(), error);
    ASSERT_TRUE(d.has_value()) << file << ": " << error;
    palettes.insert(d->palette);
  }
  EXPECT_EQ(palettes.size(), 300u);
}

}  // namespace
}  // namespace iv::gif
