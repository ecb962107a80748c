// File-system work of the Icon Library: listing, reading, attributes and the
// deletions, which refuse anything that would reach outside the library.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "library/core/scan.h"

namespace iv::library {

// Lists a search path ("folder\*.*") with names in UTF-8; nothing when it cannot start.
std::vector<DirEntry> ListDirectory(const std::string& searchPath);

// 2 when the hidden bit is set, otherwise 1 when the read-only bit is set, otherwise 0
// (a missing file reads as 0).
int GetFileAttrKind(const std::wstring& path);
bool SetFileAttr(const std::wstring& path, DWORD attributes);

// Deletes a folder depth first the way a non-forcing delete does: every file that is
// not read-only goes, links to other folders are removed without entering them, and
// a folder that still holds something stays. True when the folder is gone.
bool DeleteFolderTree(const std::wstring& folder);

// The full, resolved form of a path ("" when it cannot be resolved).
std::wstring ResolvePath(const std::wstring& path);

// Deletes the category folder `category` of the library at `root`; refused (false,
// nothing touched) unless the name is a plain name that resolves directly inside root.
bool DeleteCategoryFolder(const std::wstring& root, const std::wstring& category);

// Deletes one icon of a category: read-only icons (not hidden ones) are made writable
// first. Refused unless both names are plain and the file resolves inside the category.
bool DeleteIconFile(const std::wstring& root, const std::wstring& category, const std::wstring& file);

}  // namespace iv::library
