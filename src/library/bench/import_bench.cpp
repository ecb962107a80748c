// The import benchmark's Windows half (import_bench.sh runs it and the yardstick):
//   import_bench make DIR COUNT   writes COUNT photo-like JPEGs of 1 to 5 MB into DIR
//   import_bench import DIR OUT   imports every picture of DIR into OUT, as the
//                                 program's worker does, and prints the time taken
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "library/win/import.h"

namespace library = iv::library;

namespace {

namespace fs = std::filesystem;
using Microsoft::WRL::ComPtr;

// Gradients with grain: the grain keeps the files as large as camera photos.
std::vector<BYTE> Photo(UINT w, UINT h, unsigned seed, int grain) {
  std::vector<BYTE> px(static_cast<size_t>(w) * h * 3);
  std::uint32_t noise = seed * 2654435761u + 7;
  for (UINT y = 0; y < h; ++y)
    for (UINT x = 0; x < w; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int n = static_cast<int>(noise >> 24) * grain / 256 - grain / 2;
      const int v[3] = {static_cast<int>(x * 255 / w), static_cast<int>(y * 255 / h),
                        static_cast<int>(((x + y + seed * 40) % 512) / 2)};
      BYTE* p = &px[(static_cast<size_t>(y) * w + x) * 3];
      for (int c = 0; c < 3; ++c) p[c] = static_cast<BYTE>(std::clamp(v[c] + n, 0, 255));
    }
  return px;
}

bool SaveJpeg(IWICImagingFactory* wic, const fs::path& path, UINT w, UINT h, std::vector<BYTE>& px) {
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  return SUCCEEDED(wic->CreateStream(&stream)) &&
         SUCCEEDED(stream->InitializeFromFilename(path.wstring().c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(wic->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) &&
         SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options.Get())) &&
         SUCCEEDED(frame->SetSize(w, h)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
         SUCCEEDED(frame->WritePixels(h, w * 3, w * h * 3, px.data())) && SUCCEEDED(frame->Commit()) &&
         SUCCEEDED(encoder->Commit());
}

int Make(IWICImagingFactory* wic, const fs::path& dir, int count) {
  fs::create_directories(dir);
  std::uintmax_t smallest = UINTMAX_MAX, largest = 0;
  for (int i = 0; i < count; ++i) {
    // 2.9 to 11.6 megapixels at 4:3; with the grain that is 1 to 5 MB.
    const UINT w = 1960 + static_cast<UINT>(i % 10) * 220, h = w * 3 / 4;
    auto px = Photo(w, h, static_cast<unsigned>(i), 90);
    const fs::path file = dir / ("photo" + std::to_string(i) + ".jpg");
    if (!SaveJpeg(wic, file, w, h, px)) {
      std::fprintf(stderr, "could not write %s\n", file.string().c_str());
      return 1;
    }
    smallest = std::min(smallest, fs::file_size(file));
    largest = std::max(largest, fs::file_size(file));
  }
  std::printf("photos=%d smallest_bytes=%ju largest_bytes=%ju\n", count, smallest, largest);
  return 0;
}

int Import(IWICImagingFactory* wic, const fs::path& dir, const fs::path& out) {
  fs::create_directories(out);
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir)) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  const std::atomic<bool> cancel{false};
  int ok = 0;
  std::size_t largest = 0;
  const auto start = std::chrono::steady_clock::now();
  for (const auto& f : files) {
    const auto r = library::ImportPicture(wic, f.wstring(), out.wstring(), cancel);
    if (!r.ok) std::fprintf(stderr, "%s: %s\n", f.string().c_str(), r.problem.c_str());
    ok += r.ok ? 1 : 0;
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  for (const auto& e : fs::directory_iterator(out)) largest = std::max<std::size_t>(largest, fs::file_size(e));
  std::printf("import_ms=%.0f files=%zu imported=%d largest_icon_bytes=%zu\n", ms, files.size(), ok, largest);
  return ok == static_cast<int>(files.size()) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 1;
  const auto wic = library::MakeWicFactory();
  int rc = 2;
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (!wic)
    rc = 1;
  else if (mode == L"make" && argc == 4)
    rc = Make(wic.Get(), argv[2], _wtoi(argv[3]));
  else if (mode == L"import" && argc == 4)
    rc = Import(wic.Get(), argv[2], argv[3]);
  else
    std::fprintf(stderr, "usage: import_bench make DIR COUNT | import DIR OUT\n");
  CoUninitialize();
  return rc;
}
