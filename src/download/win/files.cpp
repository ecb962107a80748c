#include "download/win/files.h"

#include <windows.h>

#include <atomic>

#include "base/win/handles.h"

namespace iv::download {

namespace {

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool WriteAll(HANDLE file, std::string_view bytes, bool flush) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return !flush || FlushFileBuffers(file) != 0;
}

// A file this call created and could not write whole is deleted; a name already taken
// is left alone, since the file there is someone else's.
bool WriteTemp(const std::wstring& temp, std::string_view bytes, bool flush) {
  bool ok = false;
  {
    const UniqueFile file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!file) return false;
    ok = WriteAll(file.get(), bytes, flush);
  }
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

}  // namespace

std::wstring TempNameFor(const std::wstring& path) {
  static std::atomic<unsigned> serial{0};
  return path + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial) + L".tmp";
}

bool WriteNewFile(const std::wstring& path, std::string_view bytes) { return WriteTemp(path, bytes, false); }

bool CommitFile(const std::wstring& temp, const std::wstring& path) {
  // Without MOVEFILE_REPLACE_EXISTING the rename fails if the target appeared meanwhile.
  if (MoveFileExW(temp.c_str(), path.c_str(), 0)) return true;
  DeleteFileW(temp.c_str());
  return false;
}

bool FolderExists(const std::wstring& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::wstring& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnsureFolder(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) || FolderExists(path);
}

bool WriteFileAtomic(const std::wstring& path, std::string_view bytes, bool replace) {
  // A new file needs no look first: the rename below fails when the name is taken.
  if (replace) {
    const DWORD existing = Attributes(path);
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) return false;
  }
  const std::wstring temp = TempNameFor(path);
  // Replacing a file is made durable before the old content goes. A new icon is only
  // renamed into place: syncing each of a list's icons to disk took longer than
  // fetching them, and the rename alone already keeps cut files out of the library.
  bool ok = WriteTemp(temp, bytes, replace);
  // Without MOVEFILE_REPLACE_EXISTING the rename fails if the target appeared meanwhile.
  ok = ok && MoveFileExW(temp.c_str(), path.c_str(), replace ? MOVEFILE_WRITE_THROUGH | MOVEFILE_REPLACE_EXISTING : 0);
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

bool WriteTextFile(std::string_view text, const std::wstring& path, bool overwrite) {
  if (!overwrite && Attributes(path) != INVALID_FILE_ATTRIBUTES) return false;
  if (const size_t sep = path.find_last_of(L"\\/"); sep != std::wstring::npos && sep > 0)
    (void)EnsureFolder(path.substr(0, sep));
  std::string content(text);
  content += "\r\n";
  return WriteFileAtomic(path, content, true);
}

}  // namespace iv::download
