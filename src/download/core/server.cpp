#include "download/core/server.h"

#include "base/core/text.h"

namespace iv::download {

std::string ServerBase(const settings::Store& store) {
  std::string base = Trim(store.Get("Options", "IconServer", ""));
  if (base.empty()) base = kDefaultServer;
  while (!base.empty() && base.back() == '/') base.pop_back();
  return base;
}

std::string ServerUrl(const settings::Store& store, std::string_view path) {
  return ServerBase(store) + std::string(path);
}

std::string BuddyIconLink(const settings::Store& store) {
  return "aim:BuddyIcon?Src=" + ServerUrl(store, kNothingGifPath);
}

}  // namespace iv::download
