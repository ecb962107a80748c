#include "base/win/files.h"

#include "base/win/handles.h"

namespace iv {

std::string ReadWholeFile(const std::wstring& path) {
  // Read access only, so a read-only file still reads and a missing one is not created.
  const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 20)) return {};
  std::string data(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!data.empty() && !ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr))
    return {};
  data.resize(read);
  return data;
}

std::wstring ExePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring ExeName() {
  std::wstring name = ExePath();
  name.erase(0, name.find_last_of(L"\\/") + 1);  // npos + 1 keeps it all
  if (const size_t dot = name.rfind(L'.'); dot != std::wstring::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace iv
