#include "aim/win/discovery.h"

#include <windows.h>
#include <psapi.h>

#include "aim/core/aim_rules.h"
#include "base/win/handles.h"
#include "base/win/utf.h"
#include "fileinfo/win/clsFiles.h"

namespace iv::aim {

namespace {

constexpr wchar_t kAppPathKey[] = L"Software\\America Online\\AOL Instant Messenger (TM)\\CurrentVersion\\AppPath";
constexpr wchar_t kUsersKey[] = L"SOFTWARE\\America Online\\AOL Instant Messenger (TM)\\CurrentVersion\\Users";
constexpr char kAimApp[] = "AOL Instant Messenger (TM)";

UniqueKey OpenForReading(const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  return UniqueKey(key);
}

}  // namespace

HWND FindAIMWindow() { return FindWindowW(kAimMainClass, nullptr); }

DWORD GetWindowThreadId(HWND hwnd) { return hwnd ? GetWindowThreadProcessId(hwnd, nullptr) : 0; }

std::string GetAIMScreenName(const settings::Store& store) {
  return store.GetRegValue(kAimApp, "CurrentVersion\\Login", "Screen Name", "", settings::Hive::CurrentUser,
                           "SOFTWARE\\America Online");
}

std::string GetAIMDataPath(const settings::Store& store) {
  return store.GetRegValue(kAimApp, "CurrentVersion\\Misc", "BaseDataPath", "", settings::Hive::CurrentUser,
                           "Software\\America Online");
}

std::wstring GetAIMAppPath() {
  const UniqueKey key = OpenForReading(kAppPathKey);
  if (!key) return L"";
  std::wstring buffer(255, L' ');
  DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
      ERROR_SUCCESS)
    return L"";
  // The stored text ends at its NUL; what follows in the buffer is not part of it.
  buffer.resize(bytes / sizeof(wchar_t));
  const size_t nul = buffer.find(L'\0');
  return nul == std::wstring::npos ? buffer : buffer.substr(0, nul);
}

// The executable of another process. Vista and later answer with limited rights, which
// also reach elevated processes; Windows XP needs read access and the process status library.
std::wstring ProcessImagePath(DWORD pid) {
  using QueryFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
  static const auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
  constexpr DWORD kQueryLimited = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION, Vista and later
  wchar_t path[MAX_PATH * 2];
  DWORD size = static_cast<DWORD>(std::size(path));
  if (query) {
    const UniqueHandle process(OpenProcess(kQueryLimited, FALSE, pid));
    if (!process || !query(process.get(), 0, path, &size)) return L"";
    return std::wstring(path, size);
  }
  const UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process) return L"";
  size = GetModuleFileNameExW(process.get(), nullptr, path, size);
  return std::wstring(path, size);
}

std::wstring GetAIMProcessPath() {
  DWORD pid = 0;
  const HWND aim = FindAIMWindow();
  if (!aim || !GetWindowThreadProcessId(aim, &pid) || pid == 0) return L"";
  return ProcessImagePath(pid);
}

std::optional<std::string> GetAIMVersion(bool keepFull) {
  std::wstring exe = GetAIMProcessPath();
  if (exe.empty()) exe = GetAIMAppPath();
  // A missing executable is not worth a message from a timer: the version just fails.
  fileinfo::clsFiles info([](const std::wstring&) {});
  if (!info.SetFilePath(exe)) return std::nullopt;
  const std::string version = Narrow(info.fProductVersion());
  if (keepFull) return version;
  return CutLastVersionPart(version);
}

void ListAIMUsers(std::vector<std::string>& users) {
  users.resize(1);
  const UniqueKey key = OpenForReading(kUsersKey);
  if (!key) return;
  // Value names are at most 16383 characters; data may be any size.
  constexpr DWORD kMaxName = 16384;
  std::vector<wchar_t> name(260);
  std::vector<BYTE> data(4096);
  for (DWORD index = 0;;) {
    DWORD nameLen = static_cast<DWORD>(name.size());
    DWORD dataLen = static_cast<DWORD>(data.size());
    const LONG rc = RegEnumValueW(key.get(), index, name.data(), &nameLen, nullptr, nullptr, data.data(), &dataLen);
    if (rc == ERROR_MORE_DATA) {
      // Grow what was too small and read the same index again; stop when nothing can grow.
      const bool dataGrows = dataLen > data.size();
      const bool nameGrows = name.size() < kMaxName;
      if (!dataGrows && !nameGrows) break;
      if (dataGrows) data.resize(dataLen);
      if (nameGrows && !dataGrows) name.resize(kMaxName);
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    const std::string valueName = Narrow(std::wstring(name.data(), nameLen));
    if (IsUserValueName(valueName)) users.push_back(valueName);
    ++index;
  }
}

}  // namespace iv::aim
