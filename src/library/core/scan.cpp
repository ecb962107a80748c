#include "library/core/scan.h"

#include "base/core/text.h"
#include "library/core/layout.h"

namespace iv::library {

ScanResult ScanFolder(const DirLister& lister, std::string_view folderPath, std::string_view pattern) {
  std::string folder = Trim(folderPath);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  ScanResult result;
  for (const DirEntry& entry : lister(folder + std::string(pattern))) {
    const std::string name = Trim(StripNulls(entry.name));
    if (name.empty()) continue;
    if (entry.isDirectory) {
      if (name.front() != '.') result.folders.push_back(name);
    } else if (IsIconFileName(name)) {
      result.fileRows.push_back(FileRowText(name));
    }
  }
  return result;
}

}  // namespace iv::library
