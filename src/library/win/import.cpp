#include "library/win/import.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "base/win/handles.h"
#include "base/win/utf.h"
#include "library/core/gif_controls.h"
#include "library/core/import_plan.h"
#include "library/core/picture_check.h"

namespace iv::library {

using Microsoft::WRL::ComPtr;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kUnreadable = "the picture could not be read";
constexpr int kMinDelayCs = 2;  // browsers show shorter delays as 1/10 s, and so do we
constexpr int kDefaultDelayCs = 10;

// A frame of the icon: canvas x canvas premultiplied BGRA pixels.
using IconFrame = Bytes;

struct Decoded {
  int sourceFrames = 1;  // frames of the picture, before any was dropped
  int canvas = 0;
  std::vector<IconFrame> frames;
  std::vector<int> delaysCs;
};

std::optional<Bytes> ReadFileBytes(const std::wstring& path, std::string& problem) {
  const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  const HANDLE h = file.get();
  if (!file) {
    problem = "the file could not be opened";
    return std::nullopt;
  }
  std::optional<Bytes> out;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h, &size)) {
    problem = "the file could not be read";
  } else if (size.QuadPart > kMaxPictureFileBytes) {
    problem = "the file is larger than 64 MB";
  } else {
    Bytes bytes(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (bytes.empty() || (ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                          got == bytes.size()))
      out = std::move(bytes);
    else
      problem = "the file could not be read";
  }
  return out;
}

bool WithinLimits(UINT w, UINT h) {
  return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide &&
         static_cast<std::int64_t>(w) * h <= kMaxPicturePixels;
}

// Scales a still picture into its icon a strip of rows at a time.
std::optional<IconFrame> ScaleStill(IWICBitmapSource* frame, const std::atomic<bool>& cancel, int& canvas) {
  UINT w = 0, h = 0;
  if (FAILED(frame->GetSize(&w, &h)) || !WithinLimits(w, h)) return std::nullopt;
  ComPtr<IWICBitmapSource> pixels;
  if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame, &pixels))) return std::nullopt;
  const Placement p = PlaceInIcon(static_cast<int>(w), static_cast<int>(h));
  BoxScaler scaler(static_cast<int>(w), static_cast<int>(h), p.width, p.height);
  const UINT stride = w * 4, strip = std::max<UINT>(1, std::min<UINT>(h, (1u << 22) / stride));
  Bytes rows(static_cast<size_t>(stride) * strip);
  for (UINT y = 0; y < h; y += strip) {
    if (cancel) return std::nullopt;
    const UINT n = std::min(strip, h - y);
    const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(w), static_cast<INT>(n)};
    if (FAILED(pixels->CopyPixels(&rect, stride, stride * n, rows.data()))) return std::nullopt;
    scaler.AddRows(rows.data(), static_cast<int>(y), static_cast<int>(n), stride);
  }
  const Bytes scaled = scaler.Result();
  canvas = p.canvas;
  IconFrame icon(static_cast<size_t>(p.canvas) * p.canvas * 4);
  for (int y = 0; y < p.height; ++y)
    std::memcpy(&icon[((p.y + y) * p.canvas + p.x) * 4], &scaled[y * p.width * 4], p.width * 4);
  return icon;
}

// Draws a GIF frame's pixels on the logical screen; see-through pixels leave it alone.
void DrawOver(Bytes& screen, int sw, int sh, const Bytes& px, int left, int top, int w, int h) {
  for (int y = 0; y < h; ++y) {
    if (top + y >= sh) break;
    for (int x = 0; x < w && left + x < sw; ++x) {
      const std::uint8_t* s = &px[(y * w + x) * 4];
      if (s[3] != 0) std::memcpy(&screen[((top + y) * sw + left + x) * 4], s, 4);
    }
  }
}

void ClearRect(Bytes& screen, int sw, int sh, int left, int top, int w, int h) {
  for (int y = top; y < std::min(sh, top + h); ++y)
    for (int x = left; x < std::min(sw, left + w); ++x) std::memset(&screen[(y * sw + x) * 4], 0, 4);
}

// Plays the animation on its logical screen and scales every picture it shows.
std::optional<Decoded> DecodeGif(IWICBitmapDecoder* decoder, const PictureFacts& facts,
                                 const std::atomic<bool>& cancel) {
  UINT count = 0;
  if (FAILED(decoder->GetFrameCount(&count)) || count == 0) return std::nullopt;
  count = std::min<UINT>(count, static_cast<UINT>(facts.frames.size()));
  const int sw = facts.width, sh = facts.height;
  const Placement p = PlaceInIcon(sw, sh);
  const int step = DecodeStep(static_cast<int>(count));
  Decoded out;
  out.canvas = p.canvas;
  out.sourceFrames = static_cast<int>(count);
  Bytes screen(static_cast<size_t>(sw) * sh * 4), previous;
  for (UINT i = 0; i < count; ++i) {
    if (cancel) return std::nullopt;
    const GifFrameFacts& ff = facts.frames[i];
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> pixels;
    UINT w = 0, h = 0;
    if (FAILED(decoder->GetFrame(i, &frame)) || FAILED(frame->GetSize(&w, &h)) || !WithinLimits(w, h) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.Get(), &pixels)))
      return std::nullopt;
    Bytes px(static_cast<size_t>(w) * h * 4);
    if (FAILED(pixels->CopyPixels(nullptr, w * 4, static_cast<UINT>(px.size()), px.data()))) return std::nullopt;
    if (ff.disposal == 3) previous = screen;
    DrawOver(screen, sw, sh, px, ff.left, ff.top, static_cast<int>(w), static_cast<int>(h));
    const int delay = ff.delayCs < kMinDelayCs ? kDefaultDelayCs : ff.delayCs;
    // Every frame is drawn, as later ones draw over it; only every step-th is kept.
    if (i % step == 0) {
      BoxScaler scaler(sw, sh, p.width, p.height);
      scaler.AddRows(screen.data(), 0, sh, static_cast<size_t>(sw) * 4);
      const Bytes scaled = scaler.Result();
      IconFrame icon(static_cast<size_t>(p.canvas) * p.canvas * 4);
      for (int y = 0; y < p.height; ++y)
        std::memcpy(&icon[((p.y + y) * p.canvas + p.x) * 4], &scaled[y * p.width * 4], p.width * 4);
      out.frames.push_back(std::move(icon));
      out.delaysCs.push_back(delay);
    } else {
      out.delaysCs.back() = std::min(65535, out.delaysCs.back() + delay);
    }
    if (ff.disposal == 2) ClearRect(screen, sw, sh, ff.left, ff.top, static_cast<int>(w), static_cast<int>(h));
    if (ff.disposal == 3) screen.swap(previous);
  }
  return out;
}

std::optional<Decoded> Decode(IWICImagingFactory* wic, const Bytes& bytes, const PictureFacts& facts,
                              const std::atomic<bool>& cancel) {
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(wic->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
      FAILED(wic->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)))
    return std::nullopt;
  if (facts.format == PictureFormat::Gif) return DecodeGif(decoder.Get(), facts, cancel);
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, &frame))) return std::nullopt;
  Decoded out;
  auto icon = ScaleStill(frame.Get(), cancel, out.canvas);
  if (!icon) return std::nullopt;
  out.frames.push_back(std::move(*icon));
  out.delaysCs.push_back(0);
  return out;
}

// One icon frame in palette form.
struct Indexed {
  std::vector<WICColor> palette;
  Bytes indices;
  int transparent = -1;
};

// A bitmap of packed BGR rows (WIC copies the pixels; its rows are padded to 4 bytes).
ComPtr<IWICBitmap> BgrBitmap(IWICImagingFactory* wic, UINT w, UINT h, const std::uint8_t* packed) {
  const UINT stride = (w * 3 + 3) & ~3u;
  Bytes rows(static_cast<size_t>(stride) * h);
  for (UINT y = 0; y < h; ++y) std::memcpy(&rows[y * stride], packed + static_cast<size_t>(y) * w * 3, w * 3);
  ComPtr<IWICBitmap> bmp;
  if (FAILED(wic->CreateBitmapFromMemory(w, h, GUID_WICPixelFormat24bppBGR, stride, static_cast<UINT>(rows.size()),
                                         rows.data(), &bmp)))
    return nullptr;
  return bmp;
}

// Reduces one frame to at most `colours` colours with WIC's palette and converter;
// see-through pixels get an entry of their own, which the converter never picks.
std::optional<Indexed> Quantise(IWICImagingFactory* wic, const IconFrame& px, int side, int colours, bool dither) {
  const int n = side * side;
  Bytes opaque;  // the opaque pixels, un-premultiplied, as packed BGR
  Bytes full(static_cast<size_t>(n) * 3);
  bool seeThrough = false;
  for (int i = 0; i < n; ++i) {
    const std::uint8_t* s = &px[i * 4];
    if (s[3] < 128) {
      seeThrough = true;
      continue;
    }
    for (int c = 0; c < 3; ++c) {
      full[i * 3 + c] = static_cast<std::uint8_t>(std::min(255, (s[c] * 255 + s[3] / 2) / s[3]));
      opaque.push_back(full[i * 3 + c]);
    }
  }
  Indexed out;
  out.indices.assign(n, 0);
  const int opaqueCount = static_cast<int>(opaque.size() / 3);
  if (opaqueCount > 0) {
    // A one-row bitmap of the opaque pixels builds the palette; the whole frame is converted.
    ComPtr<IWICBitmap> sampleBmp = BgrBitmap(wic, static_cast<UINT>(opaqueCount), 1, opaque.data());
    ComPtr<IWICBitmap> frameBmp = BgrBitmap(wic, static_cast<UINT>(side), static_cast<UINT>(side), full.data());
    if (!sampleBmp || !frameBmp) return std::nullopt;
    ComPtr<IWICPalette> palette;
    ComPtr<IWICFormatConverter> converter;
    const UINT wanted = static_cast<UINT>(std::max(2, seeThrough ? colours - 1 : colours));
    if (FAILED(wic->CreatePalette(&palette)) || FAILED(palette->InitializeFromBitmap(sampleBmp.Get(), wanted, FALSE)) ||
        FAILED(wic->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frameBmp.Get(), GUID_WICPixelFormat8bppIndexed,
                                     dither ? WICBitmapDitherTypeErrorDiffusion : WICBitmapDitherTypeNone,
                                     palette.Get(), 0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(side), static_cast<UINT>(n), out.indices.data())))
      return std::nullopt;
    UINT count = 0;
    if (FAILED(palette->GetColorCount(&count)) || count == 0) return std::nullopt;
    out.palette.resize(count);
    if (FAILED(palette->GetColors(count, out.palette.data(), &count))) return std::nullopt;
    out.palette.resize(count);
  } else {
    out.palette.push_back(0xFF000000);
  }
  if (seeThrough) {
    out.transparent = static_cast<int>(out.palette.size());
    out.palette.push_back(0x00000000);
    for (int i = 0; i < n; ++i)
      if (px[i * 4 + 3] < 128) out.indices[i] = static_cast<std::uint8_t>(out.transparent);
  }
  return out;
}

struct Encoded {
  Bytes gif;
  int framesWritten = 0;
};

// Writes the chosen frames as one GIF and sets their timing and transparency.
std::optional<Encoded> Encode(IWICImagingFactory* wic, const Decoded& d, const std::vector<int>& kept,
                              const std::vector<int>& delays, const Attempt& attempt) {
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
      FAILED(wic->CreateEncoder(GUID_ContainerFormatGif, nullptr, &encoder)) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)))
    return std::nullopt;
  std::vector<FrameControl> controls;
  const bool animated = kept.size() > 1;
  for (size_t k = 0; k < kept.size(); ++k) {
    const auto q = Quantise(wic, d.frames[kept[k]], d.canvas, attempt.colours, attempt.dither);
    if (!q) return std::nullopt;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IWICPalette> palette;
    WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
    const UINT side = static_cast<UINT>(d.canvas);
    if (FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(side, side)) || FAILED(frame->SetPixelFormat(&format)) ||
        format != GUID_WICPixelFormat8bppIndexed || FAILED(wic->CreatePalette(&palette)) ||
        FAILED(palette->InitializeCustom(const_cast<WICColor*>(q->palette.data()),
                                         static_cast<UINT>(q->palette.size()))) ||
        FAILED(frame->SetPalette(palette.Get())) ||
        FAILED(frame->WritePixels(side, side, side * side, const_cast<BYTE*>(q->indices.data()))) ||
        FAILED(frame->Commit()))
      break;  // the frames so far are still a picture
    // A see-through animation clears each frame before the next, or earlier ones show through.
    controls.push_back({animated ? delays[k] : 0, q->transparent, q->transparent >= 0 && animated ? 2 : 1});
  }
  if (controls.empty() || FAILED(encoder->Commit())) return std::nullopt;
  STATSTG stat{};
  HGLOBAL global = nullptr;
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream.Get(), &global)))
    return std::nullopt;
  const void* data = GlobalLock(global);
  if (!data) return std::nullopt;
  const Bytes raw(static_cast<const std::uint8_t*>(data),
                  static_cast<const std::uint8_t*>(data) + static_cast<size_t>(stat.cbSize.QuadPart));
  GlobalUnlock(global);
  // An encoder that keeps only some frames: time those it wrote.
  const PictureCheck written = CheckPicture("icon.gif", raw);
  if (!written.ok()) return std::nullopt;
  const int frames = std::min<int>(written.facts.FrameCount(), static_cast<int>(controls.size()));
  controls.resize(static_cast<size_t>(frames));
  auto timed = SetFrameControls(raw, controls, frames > 1);
  if (!timed) return std::nullopt;
  return Encoded{std::move(*timed), frames};
}

std::string Plural(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Reduces the icon until it fits; the note says what it cost.
std::optional<Bytes> Fit(IWICImagingFactory* wic, const Decoded& d, const std::atomic<bool>& cancel,
                         std::string& problem, std::string& note) {
  const int total = static_cast<int>(d.frames.size());
  const int shown = total == 1 ? 1 : d.sourceFrames;  // frames the user knows of
  ReductionPlan plan(total);
  size_t smallest = SIZE_MAX;
  for (;;) {
    if (cancel) return std::nullopt;
    const Attempt& a = plan.Current();
    const std::vector<int> kept = KeptFrames(total, a.frameStep);
    const auto encoded = Encode(wic, d, kept, KeptDelays(d.delaysCs, a.frameStep), a);
    if (!encoded) {
      problem = "the icon could not be written";
      return std::nullopt;
    }
    const size_t bytes = encoded->gif.size();
    smallest = std::min(smallest, bytes);
    if (bytes <= kIconBytes) {
      std::vector<std::string> parts;
      if (a.colours < 256) parts.push_back("reduced to " + std::to_string(a.colours) + " colours");
      if (encoded->framesWritten < static_cast<int>(kept.size()))
        parts.push_back("only the first frame could be written");
      else if (static_cast<int>(kept.size()) < shown)
        parts.push_back("kept " + std::to_string(kept.size()) + " of " + Plural(shown, "frame", "frames"));
      for (size_t i = 0; i < parts.size(); ++i) note += (i ? ", " : "") + parts[i];
      return encoded->gif;
    }
    if (encoded->framesWritten < static_cast<int>(kept.size())) {
      // The encoder writes one frame only: go on with a still.
      Decoded first{1, d.canvas, {d.frames[0]}, {0}};
      auto still = Fit(wic, first, cancel, problem, note);
      if (still) note = note.empty() ? "only the first frame could be written" : note + ", only the first frame could be written";
      return still;
    }
    if (!plan.Next(bytes)) {
      problem = "it cannot be made small enough for AIM (" + std::to_string(smallest) + " bytes at best; at most " +
                std::to_string(kIconBytes) + ")";
      return std::nullopt;
    }
  }
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Writes the icon under a name no other file has; false when it could not be written whole.
bool WriteIcon(const std::wstring& folder, const std::wstring& source, const Bytes& gif, std::wstring& name) {
  for (int tries = 0; tries < 20; ++tries) {
    name = Widen(IconNameFor(Narrow(source), [&](const std::string& n) { return Exists(folder + L"\\" + Widen(n)); }));
    const std::wstring path = folder + L"\\" + name;
    bool ok = false;
    {
      const UniqueFile file(
          CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file) {
        if (GetLastError() == ERROR_FILE_EXISTS) continue;  // someone took the name meanwhile
        return false;
      }
      DWORD wrote = 0;
      ok = WriteFile(file.get(), gif.data(), static_cast<DWORD>(gif.size()), &wrote, nullptr) && wrote == gif.size();
    }  // closed before a failed write is deleted
    if (!ok) DeleteFileW(path.c_str());
    return ok;
  }
  return false;
}

}  // namespace

ComPtr<IWICImagingFactory> MakeWicFactory() {
  ComPtr<IWICImagingFactory> wic;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&wic))))
    return nullptr;
  return wic;
}

ImportResult ImportPicture(IWICImagingFactory* wic, const std::wstring& source, const std::wstring& folder,
                           const std::atomic<bool>& cancel) {
  ImportResult r;
  const auto bytes = ReadFileBytes(source, r.problem);
  if (!bytes) return r;
  const PictureCheck check = CheckPicture(Narrow(source), *bytes);
  if (!check.ok()) {
    r.problem = check.problem;
    return r;
  }
  if (!wic) {
    r.problem = "the picture decoders are not available";
    return r;
  }
  const auto decoded = Decode(wic, *bytes, check.facts, cancel);
  if (cancel) {
    r.cancelled = true;
    return r;
  }
  if (!decoded || decoded->frames.empty()) {
    r.problem = kUnreadable;
    return r;
  }
  const auto gif = Fit(wic, *decoded, cancel, r.problem, r.note);
  if (!gif) {
    r.cancelled = cancel;
    return r;
  }
  if (!WriteIcon(folder, source, *gif, r.iconName)) {
    r.problem = "the icon could not be saved in the library";
    return r;
  }
  r.ok = true;
  return r;
}

}  // namespace iv::library
