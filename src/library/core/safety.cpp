#include "library/core/safety.h"

#include <array>

#include "base/core/text.h"

namespace iv::library {

namespace {
bool IsReservedDevice(std::string_view name) {
  // The device is named by the part before the first dot, trailing blanks ignored.
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  static constexpr std::array<std::string_view, 6> kFixed = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view fixed : kFixed)
    if (EqualsNoCase(base, fixed)) return true;
  if (base.size() < 4 || !(StartsWithNoCase(base, "COM") || StartsWithNoCase(base, "LPT"))) return false;
  const std::string_view digit = base.substr(3);
  // Windows reserves the superscript digits one to three too (UTF-8 of U+00B9, U+00B2, U+00B3).
  return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
         digit == "\xC2\xB3";
}
}  // namespace

// Names are UTF-8 in the core; anything else would turn into another name on the way
// to the file system.
bool IsUtf8(std::string_view text) {
  static constexpr unsigned kMin[] = {0, 0, 0x80, 0x800, 0x10000};  // shortest form per length
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > text.size()) return false;
    unsigned cp = len == 1 ? c : c & (0x7Fu >> len);
    for (size_t k = 1; k < len; ++k) {
      const auto cc = static_cast<unsigned char>(text[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = cp << 6 | (cc & 0x3F);
    }
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

bool IsSafeName(std::string_view name) {
  // "." and ".." are caught by the trailing-dot rule; a blank at either end would be
  // dropped by the file system and name another entry.
  if (name.empty() || name.front() == ' ' || name.back() == ' ' || name.back() == '.') return false;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) return false;
    if (std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos) return false;
  }
  return IsUtf8(name) && !IsReservedDevice(name);
}

bool IsDirectChild(std::string_view parent, std::string_view child) {
  while (!parent.empty() && parent.back() == '\\') parent.remove_suffix(1);
  if (parent.empty() || child.size() <= parent.size() + 1) return false;
  if (!EqualsNoCase(child.substr(0, parent.size()), parent) || child[parent.size()] != '\\') return false;
  const std::string_view rest = child.substr(parent.size() + 1);
  return rest.find('\\') == std::string_view::npos && rest.find('/') == std::string_view::npos &&
         IsSafeName(rest);
}

}  // namespace iv::library
