// Files of the library and Categories.dat. Writes go to a temporary file beside the
// target that is renamed into place, so a cancel, crash or full disk never leaves a
// truncated file under the real name.
#pragma once
#include <string>
#include <string_view>

namespace iv::download {

bool FolderExists(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Creates one folder; true when it exists afterwards.
bool EnsureFolder(const std::wstring& path);

// A name for a temporary file beside path, unique in this process.
std::wstring TempNameFor(const std::wstring& path);
// Writes a new file whole (nothing stays when that fails); no disk sync.
bool WriteNewFile(const std::wstring& path, std::string_view bytes);
// Renames a temporary file to path unless path exists; the temporary file goes either way.
bool CommitFile(const std::wstring& temp, const std::wstring& path);

// Writes bytes as the whole content of path. Without 'replace' an existing file is
// left alone and the write fails; a read-only file is never replaced, as on Windows.
bool WriteFileAtomic(const std::wstring& path, std::string_view bytes, bool replace);

// text + CR LF into path when no file exists there or 'overwrite'; creates the folder
// part of path first (its failure is ignored, the write then fails).
bool WriteTextFile(std::string_view text, const std::wstring& path, bool overwrite);

}  // namespace iv::download
