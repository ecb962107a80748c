#include "library/core/picture_check.h"

#include <algorithm>
#include <cstring>

#include "base/core/text.h"

namespace iv::library {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr const char* kDamaged = "the picture is damaged or incomplete";

unsigned Be16(Bytes b, size_t at) { return (b[at] << 8) | b[at + 1]; }
unsigned Le16(Bytes b, size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t Be32(Bytes b, size_t at) {
  return (std::uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}
std::int32_t Le32(Bytes b, size_t at) {
  return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24));
}
bool StartsWith(Bytes b, const char* magic, size_t n) { return b.size() >= n && std::memcmp(b.data(), magic, n) == 0; }

PictureFormat FormatFromBytes(Bytes b) {
  if (StartsWith(b, "\x89PNG\r\n\x1A\n", 8)) return PictureFormat::Png;
  if (StartsWith(b, "\xFF\xD8\xFF", 3)) return PictureFormat::Jpeg;
  if (StartsWith(b, "BM", 2)) return PictureFormat::Bmp;
  if (StartsWith(b, "GIF87a", 6) || StartsWith(b, "GIF89a", 6)) return PictureFormat::Gif;
  return PictureFormat::Unknown;
}

const char* FormatName(PictureFormat f) {
  switch (f) {
    case PictureFormat::Png: return "PNG";
    case PictureFormat::Jpeg: return "JPEG";
    case PictureFormat::Bmp: return "BMP";
    case PictureFormat::Gif: return "GIF";
    default: return "";
  }
}

// Walks the chunks to IEND; the size comes from IHDR, which must come first.
std::string CheckPng(Bytes b, PictureFacts& f) {
  size_t at = 8;
  bool first = true;
  while (at + 12 <= b.size()) {
    const std::uint32_t len = Be32(b, at);
    if (len > b.size() - at - 12) return kDamaged;
    const bool ihdr = std::memcmp(&b[at + 4], "IHDR", 4) == 0;
    if (first != ihdr || (ihdr && len < 8)) return kDamaged;
    if (ihdr) {
      f.width = static_cast<int>(std::min<std::uint32_t>(Be32(b, at + 8), 0x7FFFFFFF));
      f.height = static_cast<int>(std::min<std::uint32_t>(Be32(b, at + 12), 0x7FFFFFFF));
    }
    if (std::memcmp(&b[at + 4], "IEND", 4) == 0) return {};
    first = false;
    at += 12 + len;
  }
  return kDamaged;
}

bool IsStartOfFrame(unsigned m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

// Follows the markers to EOI, skipping the entropy-coded data after each scan.
std::string CheckJpeg(Bytes b, PictureFacts& f) {
  size_t at = 2;
  bool sized = false;
  while (at + 1 < b.size()) {
    if (b[at] != 0xFF) return kDamaged;
    const unsigned m = b[at + 1];
    if (m == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    at += 2;
    if (m == 0xD9) return sized ? std::string{} : kDamaged;
    if ((m >= 0xD0 && m <= 0xD7) || m == 0x01) continue;
    if (at + 2 > b.size()) return kDamaged;
    const unsigned len = Be16(b, at);
    if (len < 2 || len > b.size() - at) return kDamaged;
    if (IsStartOfFrame(m)) {
      if (len < 7) return kDamaged;
      f.height = static_cast<int>(Be16(b, at + 3));
      f.width = static_cast<int>(Be16(b, at + 5));
      if (f.width == 0 || f.height == 0) return kDamaged;
      sized = true;
    }
    at += len;
    if (m == 0xDA) {
      if (!sized) return kDamaged;
      // Entropy-coded data: a marker is an FF not followed by 00, a restart or a fill.
      while (at + 1 < b.size() &&
             !(b[at] == 0xFF && b[at + 1] != 0 && b[at + 1] != 0xFF && !(b[at + 1] >= 0xD0 && b[at + 1] <= 0xD7)))
        ++at;
    }
  }
  return kDamaged;
}

std::string CheckBmp(Bytes b, PictureFacts& f) {
  if (b.size() < 26) return kDamaged;
  const std::uint32_t offBits = static_cast<std::uint32_t>(Le32(b, 10));
  const std::uint32_t header = static_cast<std::uint32_t>(Le32(b, 14));
  std::int64_t w = 0, h = 0;
  unsigned bpp = 0, compression = 0;
  if (header == 12) {
    w = Le16(b, 18);
    h = Le16(b, 20);
    bpp = Le16(b, 24);
  } else if (header >= 40 && b.size() >= 14 + 40) {
    w = Le32(b, 18);
    h = Le32(b, 22);
    bpp = Le16(b, 28);
    compression = static_cast<unsigned>(Le32(b, 30));
  } else {
    return kDamaged;
  }
  if (h < 0) h = -h;  // top-down rows
  if (w <= 0 || h <= 0) return kDamaged;
  f.width = static_cast<int>(std::min<std::int64_t>(w, 0x7FFFFFFF));
  f.height = static_cast<int>(std::min<std::int64_t>(h, 0x7FFFFFFF));
  if (w > kMaxPictureSide || h > kMaxPictureSide) return {};  // the size check names it
  if (offBits >= b.size()) return kDamaged;
  // Uncompressed rows must all be there; compressed ones are checked by the decoder.
  if (compression == 0 || compression == 3) {
    if (bpp == 0 || bpp > 32) return kDamaged;
    const std::int64_t stride = (w * bpp + 31) / 32 * 4;
    if (static_cast<std::int64_t>(offBits) + stride * h > static_cast<std::int64_t>(b.size())) return kDamaged;
  }
  return {};
}

// Skips data sub-blocks; false when the data ends before the terminator.
bool SkipSubBlocks(Bytes b, size_t& at) {
  while (at < b.size()) {
    const size_t n = b[at++];
    if (n == 0) return true;
    if (n > b.size() - at) return false;
    at += n;
  }
  return false;
}

std::string CheckGif(Bytes b, PictureFacts& f) {
  if (b.size() < 13) return kDamaged;
  f.width = static_cast<int>(Le16(b, 6));
  f.height = static_cast<int>(Le16(b, 8));
  size_t at = 13;
  if (b[10] & 0x80) at += 3u << ((b[10] & 7) + 1);
  GifFrameFacts pending;
  while (at < b.size()) {
    const std::uint8_t kind = b[at++];
    if (kind == 0x3B) return f.frames.empty() ? kDamaged : std::string{};
    if (kind == 0x21) {
      if (at >= b.size()) return kDamaged;
      const std::uint8_t label = b[at++];
      if (label == 0xF9 && at + 5 <= b.size() && b[at] >= 4) {
        pending.disposal = (b[at + 1] >> 2) & 7;
        pending.delayCs = static_cast<int>(Le16(b, at + 2));
      }
      if (!SkipSubBlocks(b, at)) return kDamaged;
    } else if (kind == 0x2C) {
      if (at + 10 > b.size()) return kDamaged;
      GifFrameFacts frame = pending;
      frame.left = static_cast<int>(Le16(b, at));
      frame.top = static_cast<int>(Le16(b, at + 2));
      frame.width = static_cast<int>(Le16(b, at + 4));
      frame.height = static_cast<int>(Le16(b, at + 6));
      const std::uint8_t flags = b[at + 8];
      at += 9;
      if (flags & 0x80) at += 3u << ((flags & 7) + 1);
      if (at >= b.size() || frame.width == 0 || frame.height == 0) return kDamaged;
      ++at;  // LZW minimum code size
      if (!SkipSubBlocks(b, at)) return kDamaged;
      f.width = std::max(f.width, frame.left + frame.width);
      f.height = std::max(f.height, frame.top + frame.height);
      f.frames.push_back(frame);
      pending = {};
    } else {
      break;
    }
  }
  // Many writers leave out the trailer; a file that ends after a whole frame is usable.
  return !f.frames.empty() && at == b.size() ? std::string{} : kDamaged;
}

}  // namespace

PictureFormat FormatFromName(std::string_view fileName) {
  const size_t dot = fileName.find_last_of('.');
  const size_t slash = fileName.find_last_of("\\/");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return PictureFormat::Unknown;
  const std::string ext = ToLowerAscii(fileName.substr(dot + 1));
  if (ext == "png") return PictureFormat::Png;
  if (ext == "jpg" || ext == "jpeg" || ext == "jpe" || ext == "jfif") return PictureFormat::Jpeg;
  if (ext == "bmp" || ext == "dib") return PictureFormat::Bmp;
  if (ext == "gif") return PictureFormat::Gif;
  return PictureFormat::Unknown;
}

PictureCheck CheckPicture(std::string_view fileName, std::span<const std::uint8_t> bytes) {
  PictureCheck out;
  const PictureFormat named = FormatFromName(fileName);
  if (named == PictureFormat::Unknown) {
    out.problem = "only PNG, JPEG, BMP and GIF pictures can be imported";
    return out;
  }
  if (bytes.empty()) {
    out.problem = "the file is empty";
    return out;
  }
  if (static_cast<std::int64_t>(bytes.size()) > kMaxPictureFileBytes) {
    out.problem = "the file is larger than 64 MB";
    return out;
  }
  const PictureFormat held = FormatFromBytes(bytes);
  if (held != named) {
    out.problem = std::string("the file is named as a ") + FormatName(named) + " picture but " +
                  (held == PictureFormat::Unknown ? std::string("holds no picture")
                                                  : std::string("holds a ") + FormatName(held) + " picture");
    return out;
  }
  out.facts.format = held;
  switch (held) {
    case PictureFormat::Png: out.problem = CheckPng(bytes, out.facts); break;
    case PictureFormat::Jpeg: out.problem = CheckJpeg(bytes, out.facts); break;
    case PictureFormat::Bmp: out.problem = CheckBmp(bytes, out.facts); break;
    default: out.problem = CheckGif(bytes, out.facts); break;
  }
  const PictureFacts& f = out.facts;
  if (out.ok() && (f.width <= 0 || f.height <= 0)) out.problem = kDamaged;
  if (out.ok() && (f.width > kMaxPictureSide || f.height > kMaxPictureSide ||
                   std::int64_t{f.width} * f.height > kMaxPicturePixels))
    out.problem = "the picture is too large (" + std::to_string(f.width) + " x " + std::to_string(f.height) +
                  " pixels; at most " + std::to_string(kMaxPicturePixels / 1'000'000) + " million pixels and " +
                  std::to_string(kMaxPictureSide) + " on a side)";
  return out;
}

}  // namespace iv::library
