// The sample site's icons, drawn here so the repository ships no picture files.
#pragma once
#include <filesystem>
#include <string>

namespace iv::iconserver {

inline constexpr int kIconSize = 48;
inline constexpr const char* kBulkCategory = "Bulk Icons";

// Writes the standard categories (one folder each, small GIFs inside) under root.
// False with a reason when a folder or file cannot be written.
bool WriteSample(const std::filesystem::path& root, std::string& error);

// Writes the category kBulkCategory with count distinct icons "icon001.gif" onwards.
bool WriteBulkCategory(const std::filesystem::path& root, int count, std::string& error);

}  // namespace iv::iconserver
