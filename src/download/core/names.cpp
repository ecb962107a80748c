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

bool IsGif(std::string_view body) { return body.starts_with("GIF87a") || body.starts_with("GIF89a"); }

bool IsServerFailure(std::string_view reply) {
  return reply.empty() || ToLowerAscii(reply).find("<html>") != std::string::npos;
}

}  // namespace iv::download
