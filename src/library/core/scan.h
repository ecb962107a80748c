// The rules that turn a folder listing into rows of the two library views. The
// listing itself comes from a DirLister, so the rules run the same on any platform.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::library {

struct DirEntry {
  std::string name;  // as the platform returns it; NULs and blanks around it are removed
  bool isDirectory = false;
};

// Lists a search path such as "C:\prog\Icon Library\*.*"; an empty result when the
// search cannot start.
using DirLister = std::function<std::vector<DirEntry>(const std::string& searchPath)>;

struct ScanResult {
  std::vector<std::string> folders;   // category rows, in listing order
  std::vector<std::string> fileRows;  // icon rows (" " + lower-case name), in listing order
};

// The folder path is trimmed and given a trailing "\"; folders whose name begins with
// "." are skipped, files count only when they are GIF files.
ScanResult ScanFolder(const DirLister& lister, std::string_view folderPath, std::string_view pattern);

}  // namespace iv::library
