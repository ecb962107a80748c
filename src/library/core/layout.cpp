#include "library/core/layout.h"

#include "base/core/text.h"

namespace iv::library {

std::string LibraryRoot(std::string_view programFolder) {
  std::string root(programFolder);
  root += '\\';
  root += kLibraryFolder;
  return root;
}

std::string CategoryPath(std::string_view programFolder, std::string_view category) {
  std::string path = LibraryRoot(programFolder);
  path += '\\';
  path += category;
  return path;
}

std::string IconPath(std::string_view programFolder, std::string_view category, std::string_view file) {
  std::string path = CategoryPath(programFolder, category);
  path += '\\';
  path += file;
  return path;
}

std::string EntryPath(std::string_view programFolder, std::string_view entry) {
  return LibraryRoot(programFolder) + '\\' + Trim(entry);
}

std::string CategoriesFilePath(std::string_view programFolder) {
  std::string path(programFolder);
  path += '\\';
  path += kCategoriesFile;
  return path;
}

bool IsIconFileName(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot != std::string_view::npos && EqualsNoCase(name.substr(dot + 1), "gif");
}

std::string FileRowText(std::string_view fileName) { return " " + ToLowerAscii(fileName); }

std::string StripNulls(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

}  // namespace iv::library
