#include "library/win/library_files.h"

#include "base/core/text.h"
#include "base/win/handles.h"
#include "base/win/utf.h"
#include "library/core/safety.h"

namespace iv::library {

namespace {

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// Windows 7 and later list faster without short names and in larger batches; older
// Windows refuses both (ERROR_INVALID_PARAMETER) and gets a plain search.
HANDLE FindFirst(const std::wstring& searchPath, WIN32_FIND_DATAW& fd) {
  constexpr auto kInfoBasic = static_cast<FINDEX_INFO_LEVELS>(1);  // FindExInfoBasic
  constexpr DWORD kLargeFetch = 2;                                  // FIND_FIRST_EX_LARGE_FETCH
  const HANDLE h = FindFirstFileExW(searchPath.c_str(), kInfoBasic, &fd, FindExSearchNameMatch, nullptr, kLargeFetch);
  if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) return h;
  return FindFirstFileW(searchPath.c_str(), &fd);
}

// Each found entry of a search path, "." and ".." included.
template <typename Fn>
void ForEachEntry(const std::wstring& searchPath, Fn&& fn) {
  WIN32_FIND_DATAW fd;
  UniqueFind find(FindFirst(searchPath, fd));
  if (!find) return;
  do {
    fn(fd);
  } while (FindNextFileW(find.get(), &fd));
}

// Compared the way the file system compares names: upper-cased character by character.
bool SamePath(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  std::wstring ua = a, ub = b;
  CharUpperBuffW(ua.data(), static_cast<DWORD>(ua.size()));
  CharUpperBuffW(ub.data(), static_cast<DWORD>(ub.size()));
  return ua == ub;
}

// The resolved path of `name` inside `parent`, or "" when it would land anywhere else.
std::wstring ChildPath(const std::wstring& parent, const std::wstring& name) {
  if (!IsSafeName(Narrow(name))) return {};
  const std::wstring fullParent = ResolvePath(parent);
  const std::wstring full = ResolvePath(parent + L"\\" + name);
  if (fullParent.empty() || full.empty()) return {};
  const size_t cut = full.rfind(L'\\');
  if (cut == std::wstring::npos || !SamePath(full.substr(0, cut), fullParent)) return {};
  return IsDirectChild(Narrow(fullParent), Narrow(full)) ? full : std::wstring{};
}

}  // namespace

std::vector<DirEntry> ListDirectory(const std::string& searchPath) {
  std::vector<DirEntry> out;
  ForEachEntry(Widen(searchPath), [&](const WIN32_FIND_DATAW& fd) {
    out.push_back({Narrow(fd.cFileName), (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  });
  return out;
}

int GetFileAttrKind(const std::wstring& path) {
  DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) attrs = 0;
  if (attrs & FILE_ATTRIBUTE_HIDDEN) return 2;
  return (attrs & FILE_ATTRIBUTE_READONLY) ? 1 : 0;
}

bool SetFileAttr(const std::wstring& path, DWORD attributes) {
  return SetFileAttributesW(path.c_str(), attributes) != 0;
}

bool DeleteFolderTree(const std::wstring& folder) {
  const DWORD attrs = GetFileAttributesW(folder.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
  // A junction or folder link is removed as a link; its target is not ours to empty.
  if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveDirectoryW(folder.c_str()) != 0;
  ForEachEntry(folder + L"\\*", [&](const WIN32_FIND_DATAW& fd) {
    if (IsDotEntry(fd.cFileName)) return;
    const std::wstring path = folder + L"\\" + fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      DeleteFolderTree(path);
    } else if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
      DeleteFileW(path.c_str());  // a file that cannot go keeps its folder; nothing to report
    }
  });
  return RemoveDirectoryW(folder.c_str()) != 0;
}

std::wstring ResolvePath(const std::wstring& path) {
  const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::wstring full(n, L'\0');
  const DWORD got = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  if (got == 0 || got >= n) return {};
  full.resize(got);
  return full;
}

bool DeleteCategoryFolder(const std::wstring& root, const std::wstring& category) {
  const std::wstring path = ChildPath(root, category);
  return !path.empty() && DeleteFolderTree(path);
}

bool DeleteIconFile(const std::wstring& root, const std::wstring& category, const std::wstring& file) {
  const std::wstring folder = ChildPath(root, category);
  if (folder.empty()) return false;
  const std::wstring path = ChildPath(folder, file);
  if (path.empty()) return false;
  const DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (GetFileAttrKind(path) == 1) SetFileAttr(path, FILE_ATTRIBUTE_ARCHIVE);
  return DeleteFileW(path.c_str()) != 0;
}

}  // namespace iv::library
