#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gif.h"
#include "gif_reader.h"
#include "library/core/gif_controls.h"
#include "library/core/import_plan.h"
#include "library/core/picture_check.h"
#include "library/core/safety.h"

namespace iv::library {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Be32(Bytes& b, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}
void Le16(Bytes& b, unsigned v) { b.insert(b.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}); }
void Le32(Bytes& b, std::uint32_t v) {
  Le16(b, v & 0xFFFF);
  Le16(b, v >> 16);
}

// A PNG's chunk structure (the checker reads no pixels and no CRCs); IHDR may be cut short.
Bytes Png(std::uint32_t w, std::uint32_t h, std::uint32_t ihdrLength = 13) {
  Bytes b{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Be32(b, ihdrLength);
  b.insert(b.end(), {'I', 'H', 'D', 'R'});
  Be32(b, w);
  Be32(b, h);
  b.insert(b.end(), {8, 6, 0, 0, 0});
  b.resize(b.size() + ihdrLength - 13 + 4);  // and a CRC
  Be32(b, 3);
  b.insert(b.end(), {'I', 'D', 'A', 'T', 1, 2, 3, 0, 0, 0, 0});
  Be32(b, 0);
  b.insert(b.end(), {'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
  return b;
}

Bytes Jpeg(unsigned w, unsigned h) {
  Bytes b{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 'J', 'F'};
  b.insert(b.end(), {0xFF, 0xC0, 0x00, 0x0B, 8, static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h),
                     static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w), 1, 1, 0x11, 0});
  b.insert(b.end(), {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0, 0, 63, 0});
  b.insert(b.end(), {0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0x56, 0xFF, 0xD7, 0x78});  // stuffed byte and restarts
  b.insert(b.end(), {0xFF, 0xD9});
  return b;
}

Bytes Bmp(std::int32_t w, std::int32_t h, unsigned bpp = 24) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(w) * bpp + 31) / 32 * 4;
  Bytes b{'B', 'M'};
  Le32(b, 54 + stride * static_cast<std::uint32_t>(h < 0 ? -h : h));
  Le32(b, 0);
  Le32(b, 54);
  Le32(b, 40);
  Le32(b, static_cast<std::uint32_t>(w));
  Le32(b, static_cast<std::uint32_t>(h));
  Le16(b, 1);
  Le16(b, bpp);
  for (int i = 0; i < 6; ++i) Le32(b, 0);
  if (static_cast<std::int64_t>(stride) * (h < 0 ? -h : h) < 1'000'000) b.resize(b.size() + stride * (h < 0 ? -h : h));
  return b;
}

// The old 12-byte header: 16-bit sides, no compression field.
Bytes CoreBmp(unsigned w, unsigned h) {
  Bytes b{'B', 'M'};
  for (std::uint32_t v : {0u, 0u, 26u, 12u}) Le32(b, v);
  for (unsigned v : {w, h, 1u, 24u}) Le16(b, v);
  b.resize(b.size() + (w * 3 + 3) / 4 * 4 * h);
  return b;
}

Bytes Gif(int frames, int w = 4, int h = 3) {
  gif::Image image;
  image.width = w;
  image.height = h;
  image.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (int f = 0; f < frames; ++f) {
    gif::Frame frame;
    for (int i = 0; i < w * h; ++i) frame.pixels.push_back(static_cast<std::uint8_t>((i + f) % 4));
    frame.delayCs = static_cast<std::uint16_t>(10 + f);
    image.frames.push_back(frame);
  }
  return *gif::Encode(image);
}

// The first image descriptor of a GIF from Gif().
Bytes::iterator FrameAt(Bytes& gif) {
  for (size_t i = 13; i + 10 < gif.size(); ++i)
    if (gif[i] == 0x2C && gif[i + 1] == 0 && gif[i + 2] == 0) return gif.begin() + static_cast<std::ptrdiff_t>(i);
  return gif.end();
}

// A copy of exactly that size, so that a read past its end is one past the buffer.
Bytes Cut(const Bytes& b, size_t keep) { return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(keep)); }
Bytes Patched(Bytes b, size_t at, std::uint8_t v) {
  b[at] = v;
  return b;
}
Bytes Spliced(Bytes b, size_t at, const Bytes& more) {
  b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), more.begin(), more.end());
  return b;
}

TEST(CheckPicture, AcceptsWholePicturesOfEachFormatAndReadsTheirSize) {
  const struct {
    const char* name;
    Bytes bytes;
    PictureFormat format;
    int w, h;
  } cases[] = {{"a.png", Png(640, 480), PictureFormat::Png, 640, 480},
               {"b.JPG", Jpeg(2000, 1500), PictureFormat::Jpeg, 2000, 1500},
               {"c.jpeg", Jpeg(1, 1), PictureFormat::Jpeg, 1, 1},
               {"d.bmp", Bmp(1, 1), PictureFormat::Bmp, 1, 1},
               {"e.bmp", Bmp(3, -2), PictureFormat::Bmp, 3, 2},
               {"g.bmp", CoreBmp(300, 2), PictureFormat::Bmp, 300, 2},
               {"h.bmp", Bmp(2, 1, 32), PictureFormat::Bmp, 2, 1},
               {"i.bmp", Bmp(9, 1, 1), PictureFormat::Bmp, 9, 1},
               {"h.png", Png(300, 200, 8), PictureFormat::Png, 300, 200},  // an IHDR of just the size
               {"d.jpg", Patched(Jpeg(10, 10), 9, 0xCF), PictureFormat::Jpeg, 10, 10},  // lossless
               {"f.jpg", Spliced(Jpeg(5, 6), Jpeg(5, 6).size(), {0xFF}), PictureFormat::Jpeg, 5, 6},  // padded
               // Restarts and TEM stand alone; a segment may be empty.
               {"e.jpg", Spliced(Jpeg(3, 4), 8, {0xFF, 0xD0, 0xFF, 0xD7, 0xFF, 0x01, 0xFF, 0xE1, 0, 2}),
                PictureFormat::Jpeg, 3, 4},
               {"f.gif", Gif(1), PictureFormat::Gif, 4, 3},
               {"g.gif", Patched(Gif(1, 1, 1), 4, '7'), PictureFormat::Gif, 1, 1},  // GIF87a
               {"h.gif", Spliced(Gif(1), Gif(1).size(), {0, 1}), PictureFormat::Gif, 4, 3}};  // junk after the end
  for (const auto& c : cases) {
    const PictureCheck check = CheckPicture(c.name, c.bytes);
    EXPECT_TRUE(check.ok()) << c.name << ": " << check.problem;
    EXPECT_EQ(check.facts.format, c.format) << c.name;
    EXPECT_EQ(check.facts.width, c.w) << c.name;
    EXPECT_EQ(check.facts.height, c.h) << c.name;
  }
}

TEST(CheckPicture, ReadsEveryFrameOfAnAnimation) {
  Bytes anim = Gif(5);
  anim.insert(FrameAt(anim), {0x21, 0xFE, 4, 'n', 'o', 't', 'e', 0});  // a comment between control block and frame
  const PictureCheck check = CheckPicture("anim.gif", anim);
  ASSERT_TRUE(check.ok()) << check.problem;
  ASSERT_EQ(check.facts.FrameCount(), 5);
  EXPECT_EQ(check.facts.frames[0].delayCs, 10);
  EXPECT_EQ(check.facts.frames[4].delayCs, 14);
}

TEST(CheckPicture, RefusesCutOffFilesOfEachFormat) {
  const Bytes png = Png(10, 10), jpeg = Jpeg(10, 10), bmp = Bmp(10, 10), gif = Gif(3);
  for (size_t keep : {size_t{8}, size_t{20}, png.size() - 12, png.size() - 1})  // the signature alone is a PNG
    EXPECT_EQ(CheckPicture("a.png", Cut(png, keep)).problem, "the picture is damaged or incomplete") << keep;
  for (size_t keep : {size_t{3}, size_t{11}, size_t{16}, jpeg.size() - 2, jpeg.size() - 1})
    EXPECT_FALSE(CheckPicture("a.jpg", Cut(jpeg, keep)).ok()) << keep;
  Bytes shortFrame = jpeg;  // a frame header that ends inside its width
  shortFrame.erase(shortFrame.begin() + 8, shortFrame.begin() + 21);
  shortFrame.insert(shortFrame.begin() + 8, {0xFF, 0xC0, 0x00, 0x06, 8, 0, 10, 0});
  EXPECT_FALSE(CheckPicture("a.jpg", shortFrame).ok());
  shortFrame[11] = 7;  // one byte more holds the whole width
  shortFrame.insert(shortFrame.begin() + 16, 10);
  EXPECT_TRUE(CheckPicture("a.jpg", shortFrame).ok());
  for (size_t keep : {size_t{2}, size_t{30}})
    EXPECT_FALSE(CheckPicture("a.bmp", Cut(bmp, keep)).ok()) << keep;
  EXPECT_FALSE(CheckPicture("a.bmp", Cut(CoreBmp(3, 2), 25)).ok());
  for (const Bytes& b : {bmp, CoreBmp(3, 2), Bmp(10000, 1), Bmp(1, 10000)})
    EXPECT_FALSE(CheckPicture("a.bmp", Cut(b, b.size() - 1)).ok()) << b.size();
  Bytes fields = bmp;  // bit-field pictures keep their rows uncompressed too
  fields[30] = 3;
  EXPECT_FALSE(CheckPicture("a.bmp", Cut(fields, fields.size() - 1)).ok());
  fields[30] = 1;  // run-length rows are left to the decoder, but they must start inside the file
  EXPECT_TRUE(CheckPicture("a.bmp", Cut(fields, fields.size() - 1)).ok());
  EXPECT_FALSE(CheckPicture("a.bmp", Cut(fields, 54)).ok());
  // Cut after an extension's introducer, inside a control block, inside and at the end of the data.
  for (size_t keep : {size_t{6}, size_t{14}, size_t{26}, size_t{47}, gif.size() / 2, gif.size() - 3, gif.size() - 2})
    EXPECT_FALSE(CheckPicture("a.gif", Cut(gif, keep)).ok()) << keep;
  // A GIF without its trailer byte but with whole frames is what many writers make.
  const Bytes open = Cut(gif, gif.size() - 1);
  EXPECT_TRUE(CheckPicture("a.gif", open).ok());
  EXPECT_FALSE(CheckPicture("a.gif", Spliced(open, open.size(), {0x21, 0xFE, 1, 'x'})).ok());  // a cut comment
  EXPECT_FALSE(CheckPicture("a.gif", Spliced(open, open.size(), {0, 0})).ok());
}

TEST(CheckPicture, RefusesBrokenStructure) {
  const Bytes png = Png(10, 10), jpeg = Jpeg(10, 10), bmp = Bmp(10, 10);
  Bytes gif = Gif(1);
  const size_t frame = static_cast<size_t>(FrameAt(gif) - gif.begin());
  const std::pair<const char*, Bytes> cases[] = {  // named for what is wrong
      {"no IHDR first.png", Patched(png, 15, 'X')},
      {"IDAT before IHDR.png", Spliced(png, 8, Bytes(png.begin() + 33, png.begin() + 48))},
      {"IEND longer than the file.png", Patched(png, 51, 1)},
      {"no IEND.png", Patched(png, 55, 'd')},
      {"IHDR without the whole height.png", Png(300, 300, 7)},
      {"no width.png", Png(0, 5)},
      {"no height.png", Png(5, 0)},
      {"no marker after a segment.jpg", Patched(jpeg, 21, 0)},
      {"a frame of height 0 before a good one.jpg", Spliced(jpeg, 8, {0xFF, 0xC0, 0, 7, 8, 0, 0, 0, 10})},
      {"a scan before the frame.jpg", Spliced(jpeg, 8, Bytes(jpeg.begin() + 21, jpeg.end() - 2))},
      {"unknown header.bmp", Patched(bmp, 14, 39)},
      {"0 bits per pixel.bmp", Bmp(1, 1, 0)},
      {"33 bits per pixel.bmp", Bmp(1, 1, 33)},
      {"frame width 0.gif", Patched(gif, frame + 5, 0)},
      {"frame height 0.gif", Patched(gif, frame + 7, 0)}};
  for (const auto& [name, bytes] : cases)
    EXPECT_EQ(CheckPicture(name, bytes).problem, "the picture is damaged or incomplete") << name;
}

TEST(CheckPicture, RefusesHugeDimensionsFromTheHeaderAlone) {
  EXPECT_NE(CheckPicture("big.png", Png(30000, 30000)).problem.find("too large"), std::string::npos);
  EXPECT_EQ(CheckPicture("big.png", Png(0x01010000, 1)).problem,
            "the picture is too large (16842752 x 1 pixels; at most 25 million pixels and 10000 on a side)");
  EXPECT_NE(CheckPicture("big.jpg", Jpeg(30000, 30000)).problem.find("30000 x 30000"), std::string::npos);
  EXPECT_NE(CheckPicture("big.bmp", Bmp(30000, 100)).problem.find("too large"), std::string::npos);
  EXPECT_FALSE(CheckPicture("wide.png", Png(10001, 1)).ok());
  EXPECT_FALSE(CheckPicture("many.png", Png(6000, 6000)).ok());
  EXPECT_TRUE(CheckPicture("ok.png", Png(10000, 2500)).ok());
  EXPECT_TRUE(CheckPicture("ok.png", Png(2500, 10000)).ok());
  // A GIF may keep a small logical screen and place a huge frame on it.
  Bytes gif = Gif(1);
  FrameAt(gif)[6] = 0x75;  // width 30000
  FrameAt(gif)[5] = 0x30;
  EXPECT_NE(CheckPicture("frame.gif", gif).problem.find("too large"), std::string::npos);
  Bytes placed = Gif(1);  // a 4 x 3 frame at (3, 2) makes a picture 7 x 5
  const auto at = FrameAt(placed);
  at[1] = 3;
  at[3] = 2;
  const PictureFacts facts = CheckPicture("placed.gif", placed).facts;
  EXPECT_EQ(std::pair(facts.width, facts.height), std::pair(7, 5));
  placed[6] = 9;  // unless the logical screen is larger
  placed[8] = 8;
  const PictureFacts screen = CheckPicture("placed.gif", placed).facts;
  EXPECT_EQ(std::pair(screen.width, screen.height), std::pair(9, 8));
}

TEST(CheckPicture, RefusesEmptyFilesAndWrongExtensions) {
  EXPECT_EQ(CheckPicture("empty.png", {}).problem, "the file is empty");
  EXPECT_NE(CheckPicture("notes.txt", Png(1, 1)).problem.find("only PNG, JPEG, BMP and GIF"), std::string::npos);
  EXPECT_NE(CheckPicture("noext", Png(1, 1)).problem.find("only"), std::string::npos);
  EXPECT_EQ(CheckPicture("photo.png", Jpeg(1, 1)).problem, "the file is named as a PNG picture but holds a JPEG picture");
  EXPECT_EQ(CheckPicture("a.jpg", Bytes{0xFF, 0xD8, 0x00, 0xFF, 0xD9}).problem,  // a JPEG starts with three marker bytes
            "the file is named as a JPEG picture but holds no picture");
  // Near misses of a signature hold no picture (each name is also the file's content).
  for (std::string_view name : {"hello.gif", "GIF87b.gif", "GIF89x.gif", "BA.bmp", "\x89PNG\r\n\x1Ax.png"}) {
    const std::string problem = CheckPicture(name, Bytes(name.begin(), name.end())).problem;
    EXPECT_NE(problem.find("but holds no picture"), std::string::npos) << problem;
  }
  EXPECT_EQ(FormatFromName("dir.png\\file"), PictureFormat::Unknown);
  EXPECT_EQ(FormatFromName("png"), PictureFormat::Unknown);
  EXPECT_EQ(FormatFromName("x.jfif"), PictureFormat::Jpeg);
  Bytes huge(kMaxPictureFileBytes + 1);
  EXPECT_EQ(CheckPicture("huge.png", huge).problem, "the file is larger than 64 MB");
  huge.pop_back();
  EXPECT_NE(CheckPicture("huge.png", huge).problem, "the file is larger than 64 MB");
}

TEST(PlaceInIcon, FitsLargePicturesKeepingAspectAndCentres) {
  const Placement photo = PlaceInIcon(2000, 1500);
  EXPECT_EQ(photo.canvas, 48);
  EXPECT_EQ(photo.width, 48);
  EXPECT_EQ(photo.height, 36);
  EXPECT_EQ(photo.x, 0);
  EXPECT_EQ(photo.y, 6);
  const Placement tall = PlaceInIcon(24, 100);
  EXPECT_EQ(tall.canvas, 48);
  EXPECT_EQ(tall.width, 12);  // 11.52 rounds up
  EXPECT_EQ(tall.height, 48);
  EXPECT_EQ(tall.x, 18);
  const Placement strip = PlaceInIcon(5000, 1);
  EXPECT_EQ(strip.height, 1);  // never scaled to nothing
  EXPECT_EQ(strip.y, 23);
}

TEST(PlaceInIcon, NeverEnlargesSmallPictures) {
  const Placement dot = PlaceInIcon(1, 1);
  EXPECT_EQ(dot.canvas, 1);
  EXPECT_EQ(dot.width, 1);
  EXPECT_EQ(PlaceInIcon(0, 0).width, 1);  // a header that claims no size still gets a pixel
  const Placement small = PlaceInIcon(40, 20);
  EXPECT_EQ(small.canvas, 40);
  EXPECT_EQ(small.height, 20);
  EXPECT_EQ(small.y, 10);
}

TEST(BoxScaler, AveragesEachBlockAndTakesRowsInStrips) {
  // 4 x 2 to 2 x 1: each destination pixel averages a 2 x 2 block.
  const Bytes src = {0, 0, 0, 255,   10, 20, 30, 255, 100, 100, 100, 255, 0, 0, 0, 0,
                     20, 40, 60, 255, 30, 20, 10, 255, 100, 100, 100, 255, 0, 0, 0, 0};
  BoxScaler whole(4, 2, 2, 1);
  whole.AddRows(src.data(), 0, 2, 16);
  const Bytes expected = {15, 20, 25, 255, 50, 50, 50, 128};
  EXPECT_EQ(whole.Result(), expected);
  BoxScaler strips(4, 2, 2, 1);
  strips.AddRows(src.data() + 16, 1, 1, 16);
  strips.AddRows(src.data(), 0, 1, 16);
  EXPECT_EQ(strips.Result(), expected);
}

TEST(ReductionPlan, AStillLosesColoursDownToTwoThenGivesUp) {
  ReductionPlan plan(1);
  std::vector<int> colours{plan.Current().colours};
  while (plan.Next(100'000)) colours.push_back(plan.Current().colours);
  EXPECT_EQ(colours, (std::vector<int>{256, 128, 64, 32, 16, 8, 4, 2}));
  EXPECT_TRUE(plan.Current().dither);
}

TEST(ReductionPlan, AnAnimationLosesColoursThenFramesThenTheLastFramesColours) {
  ReductionPlan plan(200);
  EXPECT_EQ(plan.Current().frameStep, 1);
  EXPECT_FALSE(plan.Current().dither);
  ASSERT_TRUE(plan.Next(8000));  // a little too large: halve the colours
  EXPECT_EQ(plan.Current().colours, 128);
  ASSERT_TRUE(plan.Next(60'000));  // far too large: straight to the animation's floor
  EXPECT_EQ(plan.Current().colours, 16);
  EXPECT_EQ(plan.Current().frameStep, 1);
  ASSERT_TRUE(plan.Next(60'000));  // then frames go, in proportion to the excess
  EXPECT_EQ(plan.Current().frameStep, 9);
  EXPECT_EQ(plan.Current().colours, 16);
  ASSERT_TRUE(plan.Next(7200));
  EXPECT_EQ(plan.Current().frameStep, 10);
  int steps = 0;
  while (plan.Next(1'000'000)) ++steps;
  EXPECT_LT(steps, 10);
  EXPECT_EQ(plan.Current().frameStep, 200);
  EXPECT_EQ(plan.Current().colours, 2);
}

TEST(KeptFrames, KeepsEveryStepthFrameForTheTimeOfThoseDropped) {
  EXPECT_EQ(KeptFrames(5, 2), (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(KeptFrames(3, 7), (std::vector<int>{0}));
  EXPECT_EQ(KeptDelays({10, 10, 10, 10, 5}, 2), (std::vector<int>{20, 20, 5}));
  EXPECT_EQ(KeptDelays({40000, 40000}, 2), (std::vector<int>{65535}));
  EXPECT_EQ(DecodeStep(1), 1);
  EXPECT_EQ(DecodeStep(300), 1);
  EXPECT_EQ(DecodeStep(301), 2);
  EXPECT_EQ(DecodeStep(100'000), 334);
  EXPECT_LE(static_cast<int>(KeptFrames(100'000, DecodeStep(100'000)).size()), kMaxKeptFrames);
}

TEST(IconNameFor, NamesTheIconAfterThePictureSafely) {
  const auto none = [](const std::string&) { return false; };
  EXPECT_EQ(IconNameFor("C:\\Pictures\\My Cat.JPG", none), "My Cat.gif");
  EXPECT_EQ(IconNameFor("/tmp/a:b?c.png", none), "a_b_c.gif");
  EXPECT_EQ(IconNameFor("CON.png", none), "_CON.gif");
  EXPECT_EQ(IconNameFor(" .. .png", none), "picture.gif");
  EXPECT_EQ(IconNameFor("archive.tar.gz.bmp", none), "archive.tar.gz.gif");
  const std::string longName = IconNameFor(std::string(40, 'x') + "\xC3\xA9\xC3\xA9\xC3\xA9" + std::string(40, 'y') +
                                               ".png",
                                           none);
  EXPECT_EQ(longName, std::string(40, 'x') + "\xC3\xA9\xC3\xA9\xC3\xA9" + std::string(18, 'y') + ".gif");  // 64 bytes
}

TEST(IconNameFor, NumbersANameAlreadyTaken) {
  const auto taken = [](const std::string& n) { return n == "pug.gif" || n == "pug (2).gif"; };
  EXPECT_EQ(IconNameFor("pug.png", taken), "pug (3).gif");
}

TEST(SetFrameControls, SetsTimingTransparencyAndLoopingAndKeepsThePixels) {
  const Bytes in = Gif(3);
  std::string error;
  const auto before = gif::testing::Decode(in, error);
  ASSERT_TRUE(before) << error;
  const auto out = SetFrameControls(in, {{50, 2, 2}, {60, 2, 2}, {70, 2, 3}}, true);
  ASSERT_TRUE(out);
  EXPECT_EQ(CheckPicture("a.gif", *out).facts.frames.at(2).disposal, 3);
  const auto after = gif::testing::Decode(*out, error);
  ASSERT_TRUE(after) << error;
  EXPECT_EQ(after->frames, before->frames);
  EXPECT_EQ(after->delaysCs, (std::vector<int>{50, 60, 70}));
  EXPECT_EQ(after->transparent, 2);
  EXPECT_TRUE(after->loops);
  // Exactly one control block per frame and one loop block, whatever the input had.
  const auto twice = SetFrameControls(*out, {{1, -1, 1}, {2, -1, 1}, {3, -1, 1}}, true);
  ASSERT_TRUE(twice);
  EXPECT_EQ(twice->size(), out->size());
  const auto still = SetFrameControls(Gif(1), {{0, -1, 1}}, false);
  ASSERT_TRUE(still);
  const auto plain = gif::testing::Decode(*still, error);
  ASSERT_TRUE(plain) << error;
  EXPECT_FALSE(plain->loops);
  EXPECT_EQ(plain->transparent, -1);
  // A frame with its own colour table (the global one again).
  Bytes local = Gif(1);
  const auto frame = FrameAt(local);
  frame[9] = 0x81;
  local.insert(frame + 10, local.begin() + 13, local.begin() + 25);
  EXPECT_TRUE(CheckPicture("local.gif", local).ok());
  const auto recoloured = SetFrameControls(local, {{0, -1, 1}}, false);
  ASSERT_TRUE(recoloured);
  EXPECT_EQ(gif::testing::Decode(*recoloured, error)->frames, plain->frames);
  // Other extensions, such as a comment or another program's block, are kept as they were.
  Bytes noted = Gif(1);
  const Bytes comment = {0x21, 0xFE, 0x02, 'h', 'i', 0x00, 0x21, 0xFF, 0x03, 'X', 'M', 'P', 0x00, 0x3B};
  noted.insert(noted.end() - 1, comment.begin(), comment.end() - 1);
  const auto kept = SetFrameControls(noted, {{0, -1, 1}}, false);
  ASSERT_TRUE(kept);
  EXPECT_TRUE(std::equal(comment.rbegin(), comment.rend(), kept->rbegin()));
}

TEST(SetFrameControls, RefusesBrokenInputAndAWrongFrameCount) {
  const Bytes in = Gif(3);
  EXPECT_FALSE(SetFrameControls(in, {{1, -1, 1}}, false));
  EXPECT_FALSE(SetFrameControls(Cut(in, in.size() - 4), {{1, -1, 1}, {1, -1, 1}, {1, -1, 1}}, false));
  EXPECT_FALSE(SetFrameControls(Png(1, 1), {{1, -1, 1}}, false));
  EXPECT_FALSE(SetFrameControls(Cut(in, 62), {{1, -1, 1}, {1, -1, 1}, {1, -1, 1}}, false));  // no code size
}

}  // namespace
}  // namespace iv::library

#include "library/core/import_report.h"

namespace iv::library {
namespace {

TEST(ImportSummary, CountsWhatWasImportedAndListsRefusalsAndReductions) {
  const std::vector<ImportLine> lines = {{"a.png", true, ""},
                                         {"b~x.gif", true, "reduced to 16 colours, kept 6 of 200 frames"},
                                         {"c.txt", false, "only PNG, JPEG, BMP and GIF pictures can be imported"}};
  const std::string s = ImportSummary(lines, 3, "Cats", false);
  EXPECT_NE(s.find("~n2 of 3 pictures were imported into category ~bCats~b."), std::string::npos) << s;
  EXPECT_NE(s.find("~n~bb-x.gif~b: reduced to 16 colours, kept 6 of 200 frames."), std::string::npos) << s;
  EXPECT_NE(s.find("~n~bc.txt~b was not imported: only PNG"), std::string::npos) << s;
  EXPECT_EQ(s.find("a.png"), std::string::npos);  // nothing to say about it
  EXPECT_NE(ImportSummary({lines[0]}, 1, "C", false).find("The picture was imported"), std::string::npos);
  EXPECT_NE(ImportSummary({lines[0], lines[0]}, 2, "C", false).find("All 2 pictures were"), std::string::npos);
  EXPECT_NE(ImportSummary({lines[0]}, 40, "C", true).find("Import Cancelled~b~c#000000~n1 of 40 pictures was"),
            std::string::npos);
  EXPECT_NE(ImportSummary({lines[2]}, 1, "C", false).find("No picture was imported."), std::string::npos);
}

TEST(ImportSummary, ListsAtMostTheGivenNumberOfLines) {
  const std::vector<ImportLine> lines(20, ImportLine{"x.txt", false, "bad"});
  const std::string s = ImportSummary(lines, 20, "C", false, 12);
  size_t count = 0;
  for (size_t at = s.find("x.txt"); at != std::string::npos; at = s.find("x.txt", at + 1)) ++count;
  EXPECT_EQ(count, 12u);
  EXPECT_NE(s.find("...and 8 more."), std::string::npos);
}

}  // namespace
}  // namespace iv::library
