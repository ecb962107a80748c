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
  if (base.size() == 4 && (StartsWithNoCase(base, "COM") || StartsWithNoCase(base, "LPT")))
    return base[3] >= '0' && base[3] <= '9';
  return false;
}
}  // namespace

bool IsSafeName(std::string_view name) {
  // "." and ".." are caught by the trailing-dot rule; a blank at either end would be
  // dropped by the file system and name another entry.
  if (name.empty() || name.front() == ' ' || name.back() == ' ' || name.back() == '.') return false;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) return false;
    if (std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos) return false;
  }
  return !IsReservedDevice(name);
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
