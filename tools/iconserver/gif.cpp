#include "gif.h"

#include <fstream>
#include <unordered_map>

namespace iv::gif {
namespace {

constexpr int kMaxCodes = 4096;  // GIF codes are at most 12 bits wide

void PutU16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// Bits of the smallest power-of-two table that holds the palette (at least 2 entries).
int TableBits(std::size_t colours) {
  int bits = 1;
  while ((std::size_t{1} << bits) < colours) ++bits;
  return bits;
}

// Packs variable-width codes least significant bit first, as GIF requires.
class BitWriter {
 public:
  void Put(unsigned code, int width) {
    acc_ |= static_cast<std::uint32_t>(code) << used_;
    used_ += width;
    while (used_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
      acc_ >>= 8;
      used_ -= 8;
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (used_ > 0) bytes_.push_back(static_cast<std::uint8_t>(acc_ & 0xFF));
    acc_ = 0;
    used_ = 0;
    return std::move(bytes_);
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint32_t acc_ = 0;
  int used_ = 0;
};

std::vector<std::uint8_t> Lzw(const std::vector<std::uint8_t>& pixels, int minBits) {
  const unsigned clear = 1u << minBits;
  const unsigned end = clear + 1;
  BitWriter bits;
  std::unordered_map<std::uint32_t, unsigned> dict;
  int width = minBits + 1;
  unsigned next = end + 1;
  auto reset = [&] {
    dict.clear();
    width = minBits + 1;
    next = end + 1;
  };

  bits.Put(clear, width);
  bool sinceClear = false;  // a code went out since the last clear
  unsigned prefix = pixels[0];
  for (std::size_t i = 1; i < pixels.size(); ++i) {
    const std::uint32_t key = (prefix << 8) | pixels[i];
    if (auto found = dict.find(key); found != dict.end()) {
      prefix = found->second;
      continue;
    }
    bits.Put(prefix, width);
    sinceClear = true;
    if (next < kMaxCodes) {
      dict.emplace(key, next++);
      // The decoder adds each entry one code later, so widen one step late too.
      if (next > (1u << width) && width < 12) ++width;
    } else {
      // A full table starts over rather than freezing: keeps later pixels compact.
      bits.Put(clear, width);
      reset();
      sinceClear = false;
    }
    prefix = pixels[i];
  }
  bits.Put(prefix, width);
  // The decoder adds an entry for this last code too (unless it is the first after
  // a clear) and may widen before reading the end code; stay in step with it.
  if (sinceClear && next < kMaxCodes && ++next > (1u << width) && width < 12) ++width;
  bits.Put(end, width);
  return bits.Finish();
}

void PutSubBlocks(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& data) {
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + at, data.begin() + at + n);
  }
  out.push_back(0);
}

bool IsValid(const Image& image) {
  if (image.width < 1 || image.width > 0xFFFF || image.height < 1 || image.height > 0xFFFF)
    return false;
  if (image.palette.empty() || image.palette.size() > 256 || image.frames.empty())
    return false;
  if (image.transparent >= static_cast<int>(image.palette.size())) return false;
  const std::size_t area = static_cast<std::size_t>(image.width) * image.height;
  for (const Frame& frame : image.frames) {
    if (frame.pixels.size() != area) return false;
    for (std::uint8_t index : frame.pixels)
      if (index >= image.palette.size()) return false;
  }
  return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> Encode(const Image& image) {
  if (!IsValid(image)) return std::nullopt;
  const int bits = TableBits(image.palette.size());
  const bool animated = image.frames.size() > 1;

  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  PutU16(out, image.width);
  PutU16(out, image.height);
  out.push_back(static_cast<std::uint8_t>(0x80 | 0x70 | (bits - 1)));  // global table
  out.push_back(0);  // background index
  out.push_back(0);  // square pixels
  for (int i = 0; i < (1 << bits); ++i) {
    const Rgb c = i < static_cast<int>(image.palette.size()) ? image.palette[i] : Rgb{};
    out.insert(out.end(), {c.r, c.g, c.b});
  }
  if (animated) {
    // Loop forever; browsers and picture viewers read this application block.
    const char* app = "NETSCAPE2.0";
    out.insert(out.end(), {0x21, 0xFF, 11});
    out.insert(out.end(), app, app + 11);
    out.insert(out.end(), {3, 1, 0, 0, 0});
  }
  for (const Frame& frame : image.frames) {
    if (animated || image.transparent >= 0) {
      const bool see = image.transparent >= 0;
      out.insert(out.end(), {0x21, 0xF9, 4});
      out.push_back(static_cast<std::uint8_t>((1 << 2) | (see ? 1 : 0)));  // keep frame
      PutU16(out, frame.delayCs);
      out.push_back(static_cast<std::uint8_t>(see ? image.transparent : 0));
      out.push_back(0);
    }
    out.push_back(0x2C);
    PutU16(out, 0);
    PutU16(out, 0);
    PutU16(out, image.width);
    PutU16(out, image.height);
    out.push_back(0);  // no local table, not interlaced
    const int minBits = std::max(2, bits);
    out.push_back(static_cast<std::uint8_t>(minBits));
    PutSubBlocks(out, Lzw(frame.pixels, minBits));
  }
  out.push_back(0x3B);
  return out;
}

bool WriteFile(const Image& image, const std::string& path) {
  const auto bytes = Encode(image);
  if (!bytes) return false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes->data()),
             static_cast<std::streamsize>(bytes->size()));
  file.close();
  return static_cast<bool>(file);
}

}  // namespace iv::gif
