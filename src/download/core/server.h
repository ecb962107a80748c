// Every request the program makes of the icon server is built here.
#pragma once
#include <string>
#include <string_view>

#include "settings/core/store.h"

namespace iv::download {

// The built-in server address; "Options"/"IconServer" in the store overrides it.
inline constexpr std::string_view kDefaultServer = "http://icons.dravolt.example";

std::string ServerBase(const settings::Store& store);

// Base address plus a path such as "/iconvane.php" or "/nothing.gif".
std::string ServerUrl(const settings::Store& store, std::string_view path);

inline constexpr std::string_view kCategoryListPath = "/iconvane.php";
inline constexpr std::string_view kHelpPath = "/help.php";
inline constexpr std::string_view kHomePath = "/";
inline constexpr std::string_view kNothingGifPath = "/nothing.gif";

// "aim:BuddyIcon?Src=" + server + "/nothing.gif".
std::string BuddyIconLink(const settings::Store& store);

}  // namespace iv::download
