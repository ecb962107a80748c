#include "gif_reader.h"

#include <fstream>
#include <iterator>

namespace iv::gif::testing {
namespace {

std::nullopt_t Fail(std::string& error, std::string why) {
  error = std::move(why);
  return std::nullopt;
}

class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : b_(bytes) {}
  bool Has(std::size_t n) const { return at_ + n <= b_.size(); }
  std::uint8_t U8() { return b_[at_++]; }
  int U16() {
    const int v = b_[at_] | (b_[at_ + 1] << 8);
    at_ += 2;
    return v;
  }
  bool AtEnd() const { return at_ == b_.size(); }
  // The colour table whose size the packed byte gives, in place of `table`.
  bool ColourTable(int packed, std::vector<Rgb>& table) {
    const int n = 1 << ((packed & 7) + 1);
    if (!Has(3 * n)) return false;
    table.clear();
    for (int i = 0; i < n; ++i, at_ += 3) table.push_back(Rgb{b_[at_], b_[at_ + 1], b_[at_ + 2]});
    return true;
  }
  // Concatenated data sub-blocks up to the empty one.
  std::optional<std::vector<std::uint8_t>> SubBlocks() {
    std::vector<std::uint8_t> data;
    while (Has(1)) {
      const std::size_t n = U8();
      if (n == 0) return data;
      if (!Has(n)) return std::nullopt;
      data.insert(data.end(), b_.begin() + at_, b_.begin() + at_ + n);
      at_ += n;
    }
    return std::nullopt;
  }

 private:
  const std::vector<std::uint8_t>& b_;
  std::size_t at_ = 0;
};

std::optional<std::vector<std::uint8_t>> Unlzw(const std::vector<std::uint8_t>& data,
                                               int minBits, std::size_t expected,
                                               std::string& error) {
  const int clear = 1 << minBits, end = clear + 1;
  std::vector<std::vector<std::uint8_t>> table;
  int width = 0, next = 0, prev = -1;
  auto reset = [&] {
    table.assign(clear + 2, {});
    for (int i = 0; i < clear; ++i) table[i] = {static_cast<std::uint8_t>(i)};
    width = minBits + 1;
    next = end + 1;
    prev = -1;
  };
  reset();
  std::size_t bitPos = 0;
  auto read = [&](int n) -> int {
    if (bitPos + n > data.size() * 8) return -1;
    int v = 0;
    for (int i = 0; i < n; ++i, ++bitPos)
      v |= ((data[bitPos / 8] >> (bitPos % 8)) & 1) << i;
    return v;
  };
  std::vector<std::uint8_t> out;
  for (;;) {
    const int code = read(width);
    if (code < 0) return Fail(error, "data ends without an end code");
    if (code == clear) {
      reset();
      continue;
    }
    if (code == end) break;
    std::vector<std::uint8_t> entry;
    if (prev < 0) {
      if (code >= clear) return Fail(error, "first code after clear is not a colour");
      entry = table[code];
    } else {
      if (code > next) return Fail(error, "code " + std::to_string(code) + " beyond the table");
      if (code < next) {
        entry = table[code];
      } else {
        entry = table[prev];
        entry.push_back(table[prev][0]);
      }
      if (next < 4096) {
        auto added = table[prev];
        added.push_back(entry[0]);
        table.push_back(std::move(added));
        ++next;
        if (next == (1 << width) && width < 12) ++width;
      }
    }
    out.insert(out.end(), entry.begin(), entry.end());
    prev = code;
  }
  if (out.size() != expected)
    return Fail(error, "frame has " + std::to_string(out.size()) + " pixels, expected " + std::to_string(expected));
  return out;
}

}  // namespace

std::optional<Decoded> Decode(const std::vector<std::uint8_t>& bytes, std::string& error) {
  Reader r(bytes);
  Decoded d;
  if (!r.Has(13)) return Fail(error, "too short");
  for (int i = 0; i < 6; ++i) d.version += static_cast<char>(r.U8());
  if (d.version != "GIF89a" && d.version != "GIF87a") return Fail(error, "bad signature");
  d.width = r.U16();
  d.height = r.U16();
  const int packed = r.U8();
  r.U8();
  r.U8();
  if ((packed & 0x80) && !r.ColourTable(packed, d.palette)) return Fail(error, "short colour table");
  int pendingDelay = 0;
  while (r.Has(1)) {
    const int kind = r.U8();
    if (kind == 0x3B) {
      if (!r.AtEnd()) return Fail(error, "bytes after the trailer");
      return d;
    }
    if (kind == 0x21 && r.Has(1)) {
      const int label = r.U8();
      const auto data = r.SubBlocks();
      if (!data) break;
      if (label == 0xF9 && data->size() == 4) {
        pendingDelay = (*data)[1] | ((*data)[2] << 8);
        if ((*data)[0] & 1) d.transparent = (*data)[3];
      } else if (label == 0xFF && data->size() >= 11 &&
                 std::string(data->begin(), data->begin() + 11) == "NETSCAPE2.0") {
        d.loops = true;
      }
      continue;
    }
    if (kind == 0x2C && r.Has(10)) {
      const int left = r.U16(), top = r.U16(), w = r.U16(), h = r.U16();
      const int flags = r.U8();
      if (left != 0 || top != 0 || w != d.width || h != d.height || (flags & 0x40))
        return Fail(error, "frame is not a plain full-size frame");
      std::vector<Rgb> palette = d.palette;
      if ((flags & 0x80) && !r.ColourTable(flags, palette)) break;
      const int minBits = r.U8();
      const auto data = r.SubBlocks();
      if (!data || minBits < 2 || minBits > 8) break;
      auto pixels = Unlzw(*data, minBits, static_cast<std::size_t>(w) * h, error);
      if (!pixels) return std::nullopt;
      d.frames.push_back(std::move(*pixels));
      d.framePalettes.push_back(std::move(palette));
      d.delaysCs.push_back(pendingDelay);
      continue;
    }
    break;
  }
  return Fail(error, "malformed block or missing trailer");
}

std::optional<Decoded> DecodeFile(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Fail(error, "cannot open " + path);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  return Decode(bytes, error);
}

}  // namespace iv::gif::testing
