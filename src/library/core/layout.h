// Where the Icon Library lives and how its paths are spelled. Every subsystem that
// touches library files builds its paths here, so the layout has one definition.
// Paths are UTF-8 with backslashes; the program folder has no trailing backslash.
#pragma once
#include <string>
#include <string_view>

namespace iv::library {

inline constexpr std::string_view kLibraryFolder = "Icon Library";
inline constexpr std::string_view kCategoriesFile = "Categories.dat";

// program folder + "\Icon Library"
std::string LibraryRoot(std::string_view programFolder);
// library root + "\" + category
std::string CategoryPath(std::string_view programFolder, std::string_view category);
// library root + "\" + category + "\" + file
std::string IconPath(std::string_view programFolder, std::string_view category, std::string_view file);
// A rotation or queue entry ("category\file", relative to the root): program folder +
// "\Icon Library\" + the trimmed entry.
std::string EntryPath(std::string_view programFolder, std::string_view entry);
// program folder + "\Categories.dat"
std::string CategoriesFilePath(std::string_view programFolder);

// True when the text after the last "." is "gif" in any letter case.
bool IsIconFileName(std::string_view name);
// The row text of an icon in the file view: a blank and the lower-case name.
std::string FileRowText(std::string_view fileName);

// The text before the first NUL (all of it when there is none).
std::string StripNulls(std::string_view text);

}  // namespace iv::library
