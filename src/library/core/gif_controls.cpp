#include "library/core/gif_controls.h"

#include <cstring>

namespace iv::library {

namespace {

using Bytes = std::vector<std::uint8_t>;

// Copies data sub-blocks with their terminator; false when they run past the end.
bool CopySubBlocks(std::span<const std::uint8_t> b, size_t& at, Bytes* out) {
  while (at < b.size()) {
    const size_t n = b[at];
    if (n + 1 > b.size() - at) return false;
    if (out) out->insert(out->end(), b.begin() + at, b.begin() + at + n + 1);
    at += n + 1;
    if (n == 0) return true;
  }
  return false;
}

void AppendControl(Bytes& out, const FrameControl& c) {
  const int delay = c.delayCs < 0 ? 0 : (c.delayCs > 65535 ? 65535 : c.delayCs);
  const bool transparent = c.transparent >= 0 && c.transparent <= 255;
  out.insert(out.end(), {0x21, 0xF9, 0x04,
                         static_cast<std::uint8_t>(((c.disposal & 7) << 2) | (transparent ? 1 : 0)),
                         static_cast<std::uint8_t>(delay & 0xFF), static_cast<std::uint8_t>(delay >> 8),
                         static_cast<std::uint8_t>(transparent ? c.transparent : 0), 0x00});
}

void AppendLoop(Bytes& out) {
  static constexpr std::uint8_t kLoop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E',
                                           '2',  '.',  '0',  0x03, 0x01, 0x00, 0x00, 0x00};
  out.insert(out.end(), std::begin(kLoop), std::end(kLoop));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> SetFrameControls(std::span<const std::uint8_t> b,
                                                          const std::vector<FrameControl>& controls, bool loop) {
  if (b.size() < 13 || (std::memcmp(b.data(), "GIF87a", 6) != 0 && std::memcmp(b.data(), "GIF89a", 6) != 0))
    return std::nullopt;
  size_t at = 13;
  if (b[10] & 0x80) at += 3u << ((b[10] & 7) + 1);
  if (at > b.size()) return std::nullopt;
  Bytes out(b.begin(), b.begin() + at);
  std::memcpy(out.data(), "GIF89a", 6);  // the extensions need 89a
  if (loop) AppendLoop(out);
  size_t frame = 0;
  while (at < b.size()) {
    const std::uint8_t kind = b[at];
    if (kind == 0x3B) {
      if (frame != controls.size()) return std::nullopt;
      out.push_back(0x3B);
      return out;
    }
    if (kind == 0x21 && at + 1 < b.size()) {
      const std::uint8_t label = b[at + 1];
      const bool ours = label == 0xF9 ||
                        (label == 0xFF && at + 14 <= b.size() && std::memcmp(&b[at + 3], "NETSCAPE2.0", 11) == 0);
      if (!ours) out.insert(out.end(), b.begin() + at, b.begin() + at + 2);
      at += 2;
      if (!CopySubBlocks(b, at, ours ? nullptr : &out)) return std::nullopt;
    } else if (kind == 0x2C && at + 10 <= b.size()) {
      if (frame >= controls.size()) return std::nullopt;
      AppendControl(out, controls[frame++]);
      size_t end = at + 10;
      if (b[at + 9] & 0x80) end += 3u << ((b[at + 9] & 7) + 1);
      if (end + 1 > b.size()) return std::nullopt;
      out.insert(out.end(), b.begin() + at, b.begin() + end + 1);  // descriptor, colours, code size
      at = end + 1;
      if (!CopySubBlocks(b, at, &out)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace iv::library
