// Test pictures made at test time: photos and transparent pictures through WIC's own
// encoders, animations through the icon site's GIF writer, small files byte by byte.
#pragma once
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "gif.h"

namespace iv::library::testing {

using Microsoft::WRL::ComPtr;
using PictureBytes = std::vector<std::uint8_t>;

inline void SaveBytes(const std::filesystem::path& path, const PictureBytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

// Encodes w x h pixels of `format` (BGR or BGRA, rows packed) with a WIC encoder.
inline bool WicSave(IWICImagingFactory* wic, const std::filesystem::path& path, const GUID& container,
                    WICPixelFormatGUID format, UINT w, UINT h, UINT bytesPerPixel, std::vector<BYTE>& px) {
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  const WICPixelFormatGUID wanted = format;
  return SUCCEEDED(wic->CreateStream(&stream)) &&
         SUCCEEDED(stream->InitializeFromFilename(path.wstring().c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(wic->CreateEncoder(container, nullptr, &encoder)) &&
         SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options.Get())) &&
         SUCCEEDED(frame->SetSize(w, h)) && SUCCEEDED(frame->SetPixelFormat(&format)) && format == wanted &&
         SUCCEEDED(frame->WritePixels(h, w * bytesPerPixel, w * h * bytesPerPixel, px.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// Smooth colour fields with grain, like a photo: it does not compress to nothing.
inline std::vector<BYTE> PhotoPixels(UINT w, UINT h, unsigned seed) {
  std::vector<BYTE> px(static_cast<size_t>(w) * h * 3);
  std::uint32_t noise = seed * 2654435761u + 1;
  for (UINT y = 0; y < h; ++y)
    for (UINT x = 0; x < w; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = static_cast<int>(noise >> 27) - 16;
      const double fx = static_cast<double>(x) / w, fy = static_cast<double>(y) / h;
      const int v[3] = {static_cast<int>(128 + 100 * std::sin(6 * fx + seed)),
                        static_cast<int>(128 + 100 * std::cos(5 * fy + 2 * fx)),
                        static_cast<int>(60 + 150 * fx * fy)};
      for (int c = 0; c < 3; ++c) px[(static_cast<size_t>(y) * w + x) * 3 + c] = static_cast<BYTE>(
                                        std::clamp(v[c] + grain, 0, 255));
    }
  return px;
}

inline bool SavePhotoJpeg(IWICImagingFactory* wic, const std::filesystem::path& path, UINT w, UINT h, unsigned seed) {
  auto px = PhotoPixels(w, h, seed);
  return WicSave(wic, path, GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, w, h, 3, px);
}

// A red disc on a see-through ground, with a soft edge.
inline bool SaveTransparentPng(IWICImagingFactory* wic, const std::filesystem::path& path, UINT w, UINT h) {
  std::vector<BYTE> px(static_cast<size_t>(w) * h * 4);
  for (UINT y = 0; y < h; ++y)
    for (UINT x = 0; x < w; ++x) {
      const double d = std::hypot(x - w / 2.0, y - h / 2.0) / (std::min(w, h) / 2.0);
      BYTE* p = &px[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = 40, p[1] = 40, p[2] = 220;
      p[3] = static_cast<BYTE>(std::clamp(static_cast<int>((1.0 - d) * 2550), 0, 255));
    }
  return WicSave(wic, path, GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, w, h, 4, px);
}

// A square moving across a striped ground, one position a frame.
inline PictureBytes AnimatedGif(int frames, int side) {
  gif::Image image;
  image.width = image.height = side;
  for (int i = 0; i < 16; ++i)
    image.palette.push_back({static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(255 - i * 16),
                             static_cast<std::uint8_t>((i * 53) % 256)});
  for (int f = 0; f < frames; ++f) {
    gif::Frame frame;
    frame.delayCs = 5;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const bool square = std::abs(x - (f * 3) % side) < side / 6 && std::abs(y - side / 2) < side / 6;
        frame.pixels.push_back(static_cast<std::uint8_t>(square ? 15 : (y / 4 + f) % 8));
      }
    image.frames.push_back(std::move(frame));
  }
  return *gif::Encode(image);
}

// A w x h 24-bit BMP of one colour.
inline PictureBytes Bmp(std::uint32_t w, std::uint32_t h) {
  const std::uint32_t stride = (w * 3 + 3) & ~3u, size = 54 + stride * h;
  PictureBytes b(size);
  const auto put32 = [&](size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B', b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  b[26] = 1, b[28] = 24;
  for (size_t i = 54; i < size; i += 3)
    if (i + 2 < size) b[i] = 200, b[i + 1] = 120, b[i + 2] = 30;
  return b;
}

}  // namespace iv::library::testing
