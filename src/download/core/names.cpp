#include "download/core/names.h"

#include <array>

#include "base/core/text.h"

namespace iv::download {

namespace {

bool IsReservedDevice(std::string_view name) {
  // Windows treats "nul.gif" like "nul": the part before the first dot counts.
  std::string base = ToLowerAscii(Trim(name.substr(0, name.find('.'))));
  static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
  for (std::string_view d : kPlain)
    if (base == d) return true;
  if (base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) && base[3] >= '0' && base[3] <= '9')
    return true;
  return base == "conin$" || base == "conout$";
}

}  // namespace

bool IsSafeName(std::string_view name) {
  const std::string trimmed = Trim(name);
  if (trimmed.empty() || trimmed == "." || trimmed == "..") return false;
  if (name.front() == ' ' || name.back() == ' ' || name.back() == '.') return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  return !IsReservedDevice(name);
}

bool IsSafeEntry(std::string_view entry) {
  const size_t sep = entry.find('\\');
  if (sep == std::string_view::npos) return false;
  return IsSafeName(entry.substr(0, sep)) && IsSafeName(entry.substr(sep + 1));
}

bool IsGif(std::string_view body) { return body.starts_with("GIF87a") || body.starts_with("GIF89a"); }

bool IsServerFailure(std::string_view reply) {
  return reply.empty() || ToLowerAscii(reply).find("<html>") != std::string::npos;
}

}  // namespace iv::download
