#include <string>

#include "base/win/handles.h"
#include "base/win/utf.h"
#include "sim.h"

namespace aimsim {

namespace {

constexpr wchar_t kAimKey[] = L"Software\\America Online\\AOL Instant Messenger (TM)\\CurrentVersion";

bool SetString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
    return false;
  iv::UniqueKey k(raw);
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

// The Users key lists every screen name that signed on here, by normalised name. A
// name holding "<" and a value too large for a 4096-byte buffer are there on purpose:
// readers must skip the one and grow their buffer for the other.
bool WriteUsers(const Context& ctx) {
  const std::wstring key = std::wstring(kAimKey) + L"\\Users";
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
      ERROR_SUCCESS)
    return false;
  iv::UniqueKey k(raw);
  const std::wstring user = iv::Widen(NormalizeScreenName(ctx.options.user));
  bool ok = true;
  if (user != L"otherbuddy") {
    const std::string big(5000, '\x01');
    ok &= RegSetValueExW(k.get(), L"otherbuddy", 0, REG_BINARY, reinterpret_cast<const BYTE*>(big.data()),
                         static_cast<DWORD>(big.size())) == ERROR_SUCCESS;
  }
  const wchar_t empty[] = L"";
  ok &= RegSetValueExW(k.get(), L"<Default>", 0, REG_SZ, reinterpret_cast<const BYTE*>(empty), sizeof empty) ==
        ERROR_SUCCESS;
  ok &= RegSetValueExW(k.get(), user.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(empty), sizeof empty) ==
        ERROR_SUCCESS;
  return ok;
}

}  // namespace

void Context::Log(const std::string& line) const {
  // Opened per line and shared, so a reader sees every line as soon as it is written.
  iv::UniqueHandle f(CreateFileW(logPath.c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f.get() == INVALID_HANDLE_VALUE) {
    f.release();
    return;
  }
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  f.reset();
  if (onLog) onLog(line);
}

std::string ReadIcon(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  iv::UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f.get() == INVALID_HANDLE_VALUE) {
    f.release();
    return "missing";
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f.get(), &size)) return "missing";
  if (size.QuadPart > static_cast<LONGLONG>(kMaxIconBytes)) return "too-large";
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
    return "missing";
  return IsGif(bytes) ? "" : "not-gif";
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  if (IsReadOnly(path)) return false;  // its owner protected it
  // Written beside the target and moved over it, so a failed write leaves the old file.
  const std::wstring temp = path + L".new";
  {
    iv::UniqueHandle f(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f.get() == INVALID_HANDLE_VALUE) {
      f.release();
      return false;
    }
    DWORD written = 0;
    if (!WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      f.reset();
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

bool IsReadOnly(const std::wstring& path) {
  const DWORD attr = GetFileAttributesW(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY);
}

bool WriteAimRegistry(const Context& ctx) {
  const std::wstring base = kAimKey;
  bool ok = SetString(HKEY_CURRENT_USER, base + L"\\AppPath", nullptr, ctx.exePath);
  ok &= SetString(HKEY_CURRENT_USER, base + L"\\Login", L"Screen Name", iv::Widen(ctx.options.user));
  ok &= SetString(HKEY_CURRENT_USER, base + L"\\Misc", L"BaseDataPath", ctx.dataDir);
  ok &= WriteUsers(ctx);
  return ok;
}

bool RegisterAimScheme(const std::wstring& exePath) {
  const std::wstring command = L"\"" + exePath + L"\" \"%1\"";
  // HKEY_CLASSES_ROOT needs rights a plain user may lack; the per-user classes do not.
  for (const auto& [root, prefix] :
       {std::pair{HKEY_CLASSES_ROOT, L""}, std::pair{HKEY_CURRENT_USER, L"Software\\Classes\\"}}) {
    const std::wstring key = std::wstring(prefix) + L"aim";
    if (SetString(root, key, nullptr, L"URL:AIM Protocol") && SetString(root, key, L"URL Protocol", L"") &&
        SetString(root, key + L"\\shell\\open\\command", nullptr, command))
      return true;
  }
  return false;
}

}  // namespace aimsim
