#include "msgbox/core/markup.h"

#include "base/core/text.h"

namespace iv::msgbox {

namespace {

// The markup works on characters, so the text is decoded once; bytes that are not
// valid UTF-8 become U+FFFD and are drawn as such.
std::u32string Decode(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = extra >= 0 && i + extra < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      ok = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    if (ok && extra > 0) {
      static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
      ok = c >= kMin[extra] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    }
    out.push_back(ok ? c : U'\uFFFD');
    i += ok ? extra + 1 : 1;
  }
  return out;
}

void Encode(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t Lower(char32_t c) { return (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c; }
bool IsNewline(char32_t c) { return c == U'\r' || c == U'\n'; }

int HexDigit(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  c = Lower(c);
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  return -1;
}

// A pair read as a leading hexadecimal number: stops at the first non-digit.
int ReadPair(std::u32string_view pair) {
  int value = 0;
  for (char32_t c : pair) {
    const int d = HexDigit(c);
    if (d < 0) break;
    value = value * 16 + d;
  }
  return value;
}

Colour HexToRGB32(std::u32string_view six) {
  six = six.substr(0, 6);
  const auto mid = [&](size_t start) { return start < six.size() ? six.substr(start, 2) : std::u32string_view{}; };
  const std::u32string_view last = six.size() >= 2 ? six.substr(six.size() - 2) : six;
  return static_cast<Colour>(ReadPair(mid(0))) | static_cast<Colour>(ReadPair(mid(2))) << 8 |
         static_cast<Colour>(ReadPair(last)) << 16;
}

// Length of a code starting at a tilde whose letter is given (0 when there is none).
size_t CodeLength(char32_t letter) { return Lower(letter) == U'c' ? 9 : 2; }

class Layouter {
 public:
  Layouter(std::string_view message, const AreaGeometry& area, Measurer& measurer)
      : text_(Decode(message)), area_(area), measurer_(measurer) {}

  Layout Lay() {
    out_.height = area_.height;
    x_ = area_.leftMargin;
    y_ = kTopY;
    // The space MeasureNextWord may append is for measuring only; it is never drawn.
    const size_t end = text_.size();
    size_t p = 1;
    for (;;) {
      while (p <= end && At(p) != U'~') {
        if (IsNewline(At(p))) {
          // CR LF counts as one break.
          p += (At(p) == U'\r' && At(p + 1) == U'\n') ? 2 : 1;
          LineBreak();
          continue;
        }
        MeasureNextWord(p);
        if (!(lineWidth_ == 0 && At(p) == U' ')) Draw(p);
        ++p;
      }
      if (p > end) break;
      const char32_t code = p < end ? Lower(At(p + 1)) : 0;
      if (code == U'b') {
        font_.bold = !font_.bold;
      } else if (code == U'i') {
        font_.italic = !font_.italic;
      } else if (code == U'u') {
        font_.underline = !font_.underline;
      } else if (code == U'c') {
        colour_ = HexToRGB32(Mid(p + 3, 6));
      } else if (code == U'n') {
        LineBreak();
      } else {
        break;
      }
      p += CodeLength(code);
    }
    if (area_.iconBottom > out_.height) out_.height = area_.iconBottom + 30;
    return std::move(out_);
  }

 private:
  // 1-based character access; beyond the end reads as "no character".
  char32_t At(size_t p) const { return p >= 1 && p <= text_.size() ? text_[p - 1] : 0; }
  std::u32string_view Mid(size_t p, size_t n) const {
    return p >= 1 && p <= text_.size() ? std::u32string_view(text_).substr(p - 1, n) : std::u32string_view{};
  }

  double Width(size_t p) {
    if (p < 1 || p > text_.size()) return 0;
    std::string utf8;
    Encode(text_[p - 1], utf8);
    return measurer_.TextWidth(utf8, font_);
  }

  // Adds the character at p to the line width; at a space, measures the next word and
  // breaks the line when it would come within 30 twips of the right edge.
  void MeasureNextWord(size_t p) {
    charWidth_ = Width(p);
    lineWidth_ = RoundHalfEven(static_cast<double>(lineWidth_) + charWidth_);
    if (At(p) != U' ') return;
    long long x = lineWidth_ + area_.leftMargin;
    size_t s = text_.find(U' ', p);  // 0-based index of the next space = its offset after p, minus one
    if (s == std::u32string::npos) {
      if (p >= text_.size()) return;
      // The last word has no space after it: give it one so it is measured too.
      text_.push_back(U' ');
      s = text_.size() - 1;
    }
    const size_t wordEnd = s + 1;  // 1-based position of that space
    for (size_t q = p + 1; q <= wordEnd; ++q) {
      // Codes are skipped, not applied: the word is measured in the font at the space.
      // A line break ends the word; what follows it is on another line.
      while (At(q) == U'~' && Lower(At(q + 1)) != U'n') q += CodeLength(At(q + 1));
      if (IsNewline(At(q)) || At(q) == U'~') return;
      x = RoundHalfEven(static_cast<double>(x) + Width(q));
      if (x >= area_.width - 30) {
        LineBreak();
        return;
      }
    }
  }

  void LineBreak() {
    out_.height += kLineGrowth;
    y_ += measurer_.LineHeight(font_);
    x_ = area_.leftMargin;
    lineWidth_ = 0;
    ++line_;
  }

  void Draw(size_t p) {
    TextRun* last = out_.runs.empty() ? nullptr : &out_.runs.back();
    if (!last || last->line != line_ || last->font != font_ || last->colour != colour_) {
      out_.runs.push_back({{}, font_, colour_, x_, y_, 0, line_});
      last = &out_.runs.back();
    }
    Encode(At(p), last->text);
    last->width += charWidth_;
    x_ += charWidth_;
  }

  std::u32string text_;
  AreaGeometry area_;
  Measurer& measurer_;
  Layout out_;
  FontFlags font_;
  Colour colour_ = 0;
  long long lineWidth_ = 0;
  int line_ = 0;
  double charWidth_ = 0;
  double x_ = 0;
  double y_ = 0;
};

}  // namespace

Colour HexToRGB(std::string_view digits) { return HexToRGB32(Decode(digits)); }

Layout LayoutMessage(std::string_view message, const AreaGeometry& area, Measurer& measurer) {
  return Layouter(message, area, measurer).Lay();
}

std::string PlainText(std::string_view message) {
  const std::u32string text = Decode(message);
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (text[i] != U'~') {
      Encode(text[i++], out);
      continue;
    }
    const char32_t code = i + 1 < text.size() ? Lower(text[i + 1]) : 0;
    if (code == U'n') {
      out += '\n';
    } else if (code != U'b' && code != U'i' && code != U'u' && code != U'c') {
      break;
    }
    i += CodeLength(code);
  }
  return out;
}

}  // namespace iv::msgbox
