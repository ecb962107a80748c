// Importing generated pictures, each result read back by the icon site's own GIF
// reader rather than by WIC, which wrote it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "gif_reader.h"
#include "library/win/import.h"
#include "library/wintests/pictures.h"

namespace iv::library::testing {
namespace {

namespace fs = std::filesystem;

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    wic_ = MakeWicFactory();
    ASSERT_TRUE(wic_);
    root_ = fs::temp_directory_path() / (L"iv-import-" + std::to_wstring(GetCurrentProcessId()));
    fs::remove_all(root_);
    fs::create_directories(root_ / L"in");
    fs::create_directories(Out());
  }
  void TearDown() override {
    wic_.Reset();
    std::error_code ec;
    fs::remove_all(root_, ec);
    CoUninitialize();
  }

  fs::path In(const wchar_t* name) const { return root_ / L"in" / name; }
  fs::path Out() const { return root_ / L"Cats"; }

  ImportResult Import(const fs::path& source) {
    const std::atomic<bool> cancel{false};
    return ImportPicture(wic_.Get(), source.wstring(), Out().wstring(), cancel);
  }

  // The written icon, decoded independently, with its size checked against AIM's limits.
  gif::testing::Decoded Check(const ImportResult& r) {
    EXPECT_TRUE(r.ok) << r.problem;
    const fs::path icon = Out() / r.iconName;
    EXPECT_LE(fs::file_size(icon), 7168u) << r.note;
    std::string error;
    const auto d = gif::testing::DecodeFile(icon.string(), error);
    EXPECT_TRUE(d) << error;
    if (!d) return {};
    EXPECT_LE(d->width, 48);
    EXPECT_LE(d->height, 48);
    return *d;
  }

  size_t FilesWritten() const { return static_cast<size_t>(std::distance(fs::directory_iterator(Out()), {})); }

  ComPtr<IWICImagingFactory> wic_;
  fs::path root_;
};

TEST_F(ImportTest, APhotoIsScaledTo48PixelsWideAndCentredOnASeeThroughSquare) {
  ASSERT_TRUE(SavePhotoJpeg(wic_.Get(), In(L"Holiday Photo.jpg"), 2000, 1500, 1));
  const ImportResult r = Import(In(L"Holiday Photo.jpg"));
  EXPECT_EQ(r.iconName, L"Holiday Photo.gif");
  const auto d = Check(r);
  ASSERT_EQ(d.frames.size(), 1u);
  EXPECT_EQ(d.width, 48);
  EXPECT_EQ(d.height, 48);
  // 2000 x 1500 is 48 x 36: six see-through rows above and below, none in the picture.
  ASSERT_GE(d.transparent, 0);
  const auto& px = d.frames[0];
  for (int x = 0; x < 48; ++x) {
    EXPECT_EQ(px[0 * 48 + x], d.transparent);
    EXPECT_EQ(px[5 * 48 + x], d.transparent);
    EXPECT_NE(px[6 * 48 + x], d.transparent);
    EXPECT_NE(px[41 * 48 + x], d.transparent);
    EXPECT_EQ(px[42 * 48 + x], d.transparent);
  }
}

TEST_F(ImportTest, ATransparentPngKeepsItsSeeThroughCornersAndOpaqueMiddle) {
  ASSERT_TRUE(SaveTransparentPng(wic_.Get(), In(L"disc.png"), 120, 120));
  const auto d = Check(Import(In(L"disc.png")));
  ASSERT_EQ(d.frames.size(), 1u);
  EXPECT_EQ(d.width, 48);
  ASSERT_GE(d.transparent, 0);
  const auto& px = d.frames[0];
  EXPECT_EQ(px[0], d.transparent);
  EXPECT_EQ(px[48 * 48 - 1], d.transparent);
  ASSERT_NE(px[24 * 48 + 24], d.transparent);
  const gif::Rgb middle = d.framePalettes[0][px[24 * 48 + 24]];
  EXPECT_GT(middle.r, 180);
  EXPECT_LT(middle.b, 90);
}

TEST_F(ImportTest, ALongAnimationIsReducedUntilItFits) {
  SaveBytes(In(L"dance.gif"), AnimatedGif(200, 96));
  const ImportResult r = Import(In(L"dance.gif"));
  const auto d = Check(r);
  ASSERT_GE(d.frames.size(), 1u);
  EXPECT_EQ(d.width, 48);
  EXPECT_FALSE(r.note.empty());
  if (d.frames.size() > 1) {
    EXPECT_TRUE(d.loops);
    EXPECT_LT(d.frames.size(), 200u);
    EXPECT_NE(r.note.find("of 200 frames"), std::string::npos) << r.note;
    // The kept frames show for as long as the 200 did (5/100 s each).
    int total = 0;
    for (int cs : d.delaysCs) total += cs;
    EXPECT_EQ(total, 1000);
  } else {
    EXPECT_NE(r.note.find("only the first frame"), std::string::npos) << r.note;
  }
}

TEST_F(ImportTest, AnAnimationOfThousandsOfFramesKeepsItsRunningTime) {
  SaveBytes(In(L"flicker.gif"), AnimatedGif(5000, 8));
  const ImportResult r = Import(In(L"flicker.gif"));
  const auto d = Check(r);
  EXPECT_EQ(d.width, 8);
  EXPECT_NE(r.note.find("of 5000 frames"), std::string::npos) << r.note;
  int total = 0;
  for (int cs : d.delaysCs) total += cs;
  EXPECT_EQ(total, 5000 * 5);
}

TEST_F(ImportTest, AGifKeepsItsSeeThroughPixels) {
  gif::Image image;
  image.width = image.height = 4;
  image.palette = {{255, 0, 0}, {0, 0, 255}};
  image.transparent = 1;
  image.frames.push_back({{1, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 1}, 0});
  SaveBytes(In(L"ring.gif"), *gif::Encode(image));
  const auto d = Check(Import(In(L"ring.gif")));
  ASSERT_EQ(d.frames.size(), 1u);
  ASSERT_GE(d.transparent, 0);
  const auto& px = d.frames[0];
  for (int i : {0, 3, 4, 15}) EXPECT_EQ(px[i], d.transparent) << i;
  for (int i : {5, 6, 9, 10}) {
    ASSERT_NE(px[i], d.transparent) << i;
    EXPECT_GE(d.framePalettes[0][px[i]].r, 240);  // the palette builder rounds a little
    EXPECT_LE(d.framePalettes[0][px[i]].b, 15);
  }
}

TEST_F(ImportTest, AOnePixelBmpStaysOnePixelAndAgainGetsANumber) {
  SaveBytes(In(L"dot.bmp"), Bmp(1, 1));
  const ImportResult r = Import(In(L"dot.bmp"));
  EXPECT_EQ(r.iconName, L"dot.gif");
  EXPECT_EQ(Import(In(L"dot.bmp")).iconName, L"dot (2).gif");
  const auto d = Check(r);
  ASSERT_EQ(d.frames.size(), 1u);
  EXPECT_EQ(d.width, 1);
  EXPECT_EQ(d.height, 1);
  const gif::Rgb c = d.framePalettes[0][d.frames[0][0]];
  EXPECT_NEAR(c.r, 30, 8);
  EXPECT_NEAR(c.g, 120, 8);
  EXPECT_NEAR(c.b, 200, 8);
}

// The portable picture check's own tests hold its refusals by header and name; these
// are the ones that take the decoder, the file system, and a header no decoder may see.
TEST_F(ImportTest, BadAndHostileFilesAreRefusedWithAReasonAndWriteNothing) {
  ASSERT_TRUE(SavePhotoJpeg(wic_.Get(), In(L"whole.jpg"), 400, 300, 2));
  std::ifstream whole(In(L"whole.jpg"), std::ios::binary);
  PictureBytes jpeg{std::istreambuf_iterator<char>(whole), {}};
  whole.close();
  SaveBytes(In(L"cut.jpg"), PictureBytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
  // A 30,000 x 30,000 PNG: whole header, nothing behind it that a decoder could use.
  PictureBytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                   0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30, 8, 6, 0, 0, 0, 0, 0, 0, 0,
                   0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  SaveBytes(In(L"huge.png"), png);
  PictureBytes garbage(5000);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
  garbage[0] = 'G', garbage[1] = 'I', garbage[2] = 'F', garbage[3] = '8', garbage[4] = '9', garbage[5] = 'a';
  SaveBytes(In(L"corrupt.gif"), garbage);

  const struct {
    const wchar_t* name;
    const char* problem;
  } cases[] = {{L"cut.jpg", "damaged or incomplete"},
               {L"huge.png", "too large (30000 x 30000"},
               {L"corrupt.gif", "damaged or incomplete"},
               {L"missing.png", "could not be opened"}};
  for (const auto& c : cases) {
    const ImportResult r = Import(In(c.name));
    EXPECT_FALSE(r.ok) << fs::path(c.name).string();
    EXPECT_NE(r.problem.find(c.problem), std::string::npos) << fs::path(c.name).string() << ": " << r.problem;
  }
  EXPECT_EQ(FilesWritten(), 0u);
}

TEST_F(ImportTest, ACancelledImportWritesNothing) {
  ASSERT_TRUE(SavePhotoJpeg(wic_.Get(), In(L"big.jpg"), 1200, 900, 3));
  const std::atomic<bool> cancel{true};
  const ImportResult r = ImportPicture(wic_.Get(), In(L"big.jpg").wstring(), Out().wstring(), cancel);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(FilesWritten(), 0u);
}

}  // namespace
}  // namespace iv::library::testing
