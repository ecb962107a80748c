#include "msgbox/win/gdi_measurer.h"

#include "base/core/text.h"
#include "base/win/utf.h"

namespace iv::msgbox {

HFONT MessageFonts::Get(FontFlags font) {
  UniqueFont& slot = fonts_[font.Index()];
  if (!slot) {
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(RoundHalfEven(9.75 * dpiY_ / 72.0));
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
    slot.reset(CreateFontIndirectW(&lf));
  }
  return slot.get();
}

double GdiMeasurer::TextWidth(std::string_view utf8, FontFlags font) {
  auto& cache = widths_[font.Index()];
  if (auto it = cache.find(std::string(utf8)); it != cache.end()) return it->second;
  const std::wstring text = Widen(utf8);
  SIZE size{};
  {
    SelectScope select(dc_, fonts_.Get(font));
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  }
  const double width = size.cx * tppX_;
  cache.emplace(std::string(utf8), width);
  return width;
}

double GdiMeasurer::LineHeight(FontFlags font) {
  SelectScope select(dc_, fonts_.Get(font));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc_, &tm);
  return tm.tmHeight * tppY_;
}

}  // namespace iv::msgbox
