#include "fader/core/fader.h"

#include <array>
#include <cstdio>

#include "base/core/text.h"

namespace iv::fader {
namespace {

constexpr std::u32string_view kTagStart = U"<font color=#";
constexpr size_t kTagLength = 20;  // "<font color=#" + six digits + ">"

const std::array<std::u32string_view, 22> kSmileys = {
    U":)",  U":-)", U":(",  U":-(",  U";)",  U";-)", U":-P", U"=-O", U":-*", U">:o", U"8-)",
    U":-$", U":-!", U":-[", U"O:-)", U":-\\", U":-/", U":'(", U":-x", U":-X", U":-D", U">:O"};

// Malformed bytes are taken one by one as Latin-1 so nothing is lost.
std::u32string Decode(std::string_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b >= 0xF8 ? -1 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : b >= 0x80 ? -1 : 0;
    char32_t cp = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
    bool ok = extra >= 0;
    for (int k = 1; ok && k <= extra; ++k) {
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    if (!ok) {
      out.push_back(b);
      ++i;
    } else {
      out.push_back(cp);
      i += extra + 1;
    }
  }
  return out;
}

std::string Encode(std::u32string_view s) {
  std::string out;
  for (char32_t c : s) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

bool IsUpperHex(char32_t c) { return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'F'); }

// A tag stands before position p when the 20 characters before p are exactly a
// colour tag; a stray ">" of the text (as in ">:o") is not taken for one.
bool TagBefore(const std::u32string& out, size_t p) {
  if (p < kTagLength) return false;
  const size_t start = p - kTagLength;
  if (out.compare(start, kTagStart.size(), kTagStart) != 0) return false;
  for (size_t i = start + kTagStart.size(); i < p - 1; ++i)
    if (!IsUpperHex(out[i])) return false;
  return out[p - 1] == U'>';
}

bool EndsWith(const std::u32string& s, std::u32string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Removes the tag in front of the last 'tail.size()' characters if there is one.
void DropTagBefore(std::u32string& out, std::u32string_view tail) {
  if (!EndsWith(out, tail)) return;
  const size_t p = out.size() - tail.size();
  if (TagBefore(out, p)) out.erase(p - kTagLength, kTagLength);
}

int HexPair(std::string_view s, size_t pos) {
  if (pos >= s.size()) return 0;
  int v = 0;
  for (size_t i = pos; i < pos + 2 && i < s.size(); ++i) {
    const char c = s[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return 0;
    v = v * 16 + d;
  }
  return v;
}

std::u32string Tag(int r, int g, int b) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", r, g, b);
  std::u32string tag(kTagStart);
  for (const char* p = hex; *p; ++p) tag.push_back(static_cast<char32_t>(*p));
  tag.push_back(U'>');
  return tag;
}

int Interpolate(int from, int to, int length, int position) {
  double v = static_cast<double>(to - from) / length;
  v *= position;
  v += from;
  return static_cast<int>(RoundHalfEven(v));
}

}  // namespace

std::string HexColor6(Color c) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(c));
  return hex;
}

void ColorToRGB(Color c, uint8_t& red, uint8_t& green, uint8_t& blue) {
  const std::string hex = HexColor6(c);
  red = static_cast<uint8_t>(HexPair(hex, hex.size() - 2));
  green = static_cast<uint8_t>(HexPair(hex, 2));
  blue = static_cast<uint8_t>(HexPair(hex, 0));
}

Color HtmlToColor(std::string_view rrggbb) {
  return HexPair(rrggbb, 0) + 256 * HexPair(rrggbb, 2) + 65536 * HexPair(rrggbb, 4);
}

bool HasSmiley(std::u32string& window) {
  for (std::u32string_view smiley : kSmileys) {
    size_t pos = window.find(smiley);
    if (pos == std::u32string::npos) continue;
    while (pos != std::u32string::npos) {
      window.erase(pos, smiley.size());
      pos = window.find(smiley, pos);
    }
    return true;
  }
  return false;
}

std::u32string UnsplitSmiley(std::u32string output, std::u32string copy) {
  const std::u32string asPassed = copy;
  for (std::u32string_view two : {std::u32string_view(U":)"), std::u32string_view(U":("),
                                  std::u32string_view(U";)")}) {
    const size_t pos = asPassed.find(two);
    if (pos != std::u32string::npos) copy = asPassed.substr(pos, 2);
  }
  if (copy.size() == 2) {
    DropTagBefore(output, std::u32string_view(copy).substr(1));
  } else if (copy.size() == 3) {
    DropTagBefore(output, std::u32string_view(copy).substr(2));
    DropTagBefore(output, std::u32string_view(copy).substr(1));
  }
  return output;
}

std::string FadeText(std::string_view text, const std::vector<Color>& colors, int step) {
  if (colors.size() < 2) return {};
  const std::u32string chars = Decode(text);
  std::vector<uint8_t> r(colors.size()), g(colors.size()), b(colors.size());
  for (size_t i = 0; i < colors.size(); ++i) ColorToRGB(colors[i], r[i], g[i], b[i]);

  const size_t segments = colors.size() - 1;
  const size_t total = chars.size();
  std::u32string out, window;
  int n = 0;
  size_t next = 0;
  for (size_t k = 0; k < segments; ++k) {
    const int length = static_cast<int>(total / segments + (k < total % segments ? 1 : 0));
    for (int c = 1; c <= length; ++c) {
      const char32_t ch = chars[next++];
      if (window.size() >= 3) window.erase(0, 1);
      window.push_back(ch);
      ++n;
      bool tag = false;
      if (next == 1) {
        tag = true;
        n = 1;
      } else if (n >= step) {
        tag = true;
        n = 0;
      }
      if (tag) {
        out += Tag(Interpolate(r[k], r[k + 1], length, c), Interpolate(g[k], g[k + 1], length, c),
                   Interpolate(b[k], b[k + 1], length, c));
      }
      out.push_back(ch);
      const std::u32string before = window;
      if (HasSmiley(window)) out = UnsplitSmiley(std::move(out), before);
    }
  }
  return Encode(out);
}

std::vector<Color> BuildAdColors() {
  std::string html = FadeText(std::string(100, 'm'), {0x000000, 0xFF0000, 0x000000, 0x0000FF, 0x000000}, 1);
  std::string lines;
  for (size_t i = 0; i < html.size();) {
    if (html.compare(i, 13, "<font color=#") == 0) {
      i += 13;
    } else if (html.compare(i, 2, ">m") == 0) {
      lines.push_back('\n');
      i += 2;
    } else {
      lines.push_back(html[i++]);
    }
  }
  std::vector<Color> colors{0};
  for (size_t start = 0, lf; (lf = lines.find('\n', start)) != std::string::npos; start = lf + 1)
    colors.push_back(HtmlToColor(std::string_view(lines).substr(start, lf - start)));
  return colors;
}

std::optional<Color> AdCycle::Tick() {
  ++counter_;
  if (counter_ <= static_cast<int>(colors_.size()) - 1) return colors_[counter_];
  counter_ = 0;
  return std::nullopt;
}

}  // namespace iv::fader
