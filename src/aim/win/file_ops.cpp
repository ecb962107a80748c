#include "aim/win/file_ops.h"

#include <windows.h>

#include "aim/core/aim_rules.h"
#include "aim/hook/ivhook.h"
#include "base/win/handles.h"

namespace iv::aim {

bool FileExists(const std::wstring& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAW data;
  return static_cast<bool>(UniqueFind(FindFirstFileW(path.c_str(), &data)));
}

bool SetFileAttr(const std::wstring& path, int attributes) {
  const std::wstring cut = path.substr(0, 255);
  return SetFileAttributesW(cut.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : static_cast<DWORD>(attributes)) != 0;
}

int GetFileAttrKind(const std::wstring& path) {
  const DWORD attrs = GetFileAttributesW(path.c_str());
  return AttrKind(attrs == INVALID_FILE_ATTRIBUTES ? 0 : attrs);
}

bool CopyOver(const std::wstring& from, const std::wstring& to) {
  // Windows refuses to replace a hidden or system file; some file systems do not,
  // and a file someone hid on purpose should stay as it is either way.
  const DWORD target = GetFileAttributesW(to.c_str());
  if (target != INVALID_FILE_ATTRIBUTES && (target & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) return false;
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

int DeleteMovedAsideHooks(const std::wstring& folder) {
  const std::wstring pattern = std::wstring(kHookDll) + L".*.old";
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW((folder + L"\\" + pattern).c_str(), &data));
  if (!find) return 0;
  int left = 0;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!DeleteFileW((folder + L"\\" + data.cFileName).c_str())) ++left;
  } while (FindNextFileW(find.get(), &data));
  return left;
}

}  // namespace iv::aim
