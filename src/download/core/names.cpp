#include "download/core/names.h"

#include "base/core/text.h"
#include "library/core/safety.h"

namespace iv::download {

bool IsSafeName(std::string_view name) { return library::IsSafeName(name); }

bool IsSafeEntry(std::string_view entry) {
  const size_t sep = entry.find('\\');
  if (sep == std::string_view::npos) return false;
  return IsSafeName(entry.substr(0, sep)) && IsSafeName(entry.substr(sep + 1));
}

bool IsIconName(std::string_view name) {
  return IsSafeName(name) && name.size() > 4 && EqualsNoCase(name.substr(name.size() - 4), ".gif");
}

// A transfer cut short without a Content-Length still starts right; the trailer
// byte tells a whole image from a cut one.
bool IsGif(std::string_view body) {
  return (body.starts_with("GIF87a") || body.starts_with("GIF89a")) && body.size() > 6 && body.back() == 0x3B;
}

bool IsServerFailure(std::string_view reply) {
  return reply.empty() || ToLowerAscii(reply).find("<html>") != std::string::npos;
}

}  // namespace iv::download
