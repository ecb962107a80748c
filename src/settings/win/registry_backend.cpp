#include "settings/win/registry_backend.h"

#include <windows.h>

#include "base/win/handles.h"
#include "base/win/utf.h"

namespace iv::settings {

namespace {

HKEY Root(Hive hive) { return hive == Hive::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER; }

// Reads need full access, as the program always opens its keys that way; a key
// that can only be read yields the default.
UniqueKey Open(Hive hive, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(Root(hive), Widen(path).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return {};
  return UniqueKey(key);
}

}  // namespace

std::optional<RawValue> RegistryBackend::Read(Hive hive, const std::string& path, const std::string& name) {
  const UniqueKey key = Open(hive, path);
  if (!key) return std::nullopt;
  const std::wstring wname = Widen(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  RawValue out;
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buf.data()), &got) !=
        ERROR_SUCCESS)
      return std::nullopt;
    buf.resize(got / sizeof(wchar_t));
    // Stored text may or may not carry its terminator; the text ends at the first NUL.
    if (const size_t nul = buf.find(L'\0'); nul != std::wstring::npos) buf.resize(nul);
    out.kind = RawValue::Kind::Text;
    out.text = Narrow(buf);
  } else if (type == REG_DWORD) {
    DWORD v = 0, got = sizeof(v);
    if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &got) !=
        ERROR_SUCCESS)
      return std::nullopt;
    out.kind = RawValue::Kind::Number;
    out.number = v;
  }
  return out;
}

bool RegistryBackend::WriteText(Hive hive, const std::string& path, const std::string& name,
                                const std::string& value) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(Root(hive), Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &raw, nullptr) != ERROR_SUCCESS)
    return false;
  const UniqueKey key(raw);
  const std::wstring text = Widen(value);
  return RegSetValueExW(key.get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistryBackend::DeleteKey(Hive hive, const std::string& path) {
  // RegDeleteKey refuses a key with sub-keys, which keeps "Icons" while "Icons\Temp" exists.
  return RegDeleteKeyW(Root(hive), Widen(path).c_str()) == ERROR_SUCCESS;
}

std::optional<KeyStamp> RegistryBackend::Stamp(Hive hive, const std::string& path) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(Root(hive), Widen(path).c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return std::nullopt;
  const UniqueKey key(raw);
  DWORD values = 0;
  FILETIME written{};
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, &written) != ERROR_SUCCESS)
    return std::nullopt;
  return KeyStamp{(static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime, values};
}

std::vector<std::pair<std::string, std::string>> RegistryBackend::Values(Hive hive, const std::string& path) {
  std::vector<std::pair<std::string, std::string>> out;
  HKEY raw = nullptr;
  if (RegOpenKeyExW(Root(hive), Widen(path).c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return out;
  const UniqueKey key(raw);
  DWORD maxName = 0, maxData = 0;
  RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                   nullptr, nullptr);
  std::wstring name(maxName + 2, L'\0');
  std::vector<BYTE> data(maxData + sizeof(wchar_t) * 2);
  for (DWORD i = 0;; ++i) {
    DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(data.size()), type = 0;
    const LONG rc = RegEnumValueW(key.get(), i, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen);
    if (rc == ERROR_MORE_DATA) {
      // A value grew since the size query: make room and read the same index again.
      name.resize(name.size() * 2 + 256);
      data.resize(data.size() * 2 + 256);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    std::string text;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      std::wstring w(reinterpret_cast<const wchar_t*>(data.data()), dataLen / sizeof(wchar_t));
      if (const size_t nul = w.find(L'\0'); nul != std::wstring::npos) w.resize(nul);
      text = Narrow(w);
    } else if (type == REG_DWORD && dataLen == sizeof(DWORD)) {
      text = std::to_string(*reinterpret_cast<const DWORD*>(data.data()));
    }
    out.emplace_back(Narrow(std::wstring_view(name.data(), nameLen)), std::move(text));
  }
  return out;
}

Store& RegistryStore() {
  static RegistryBackend backend;
  static Store store(backend);
  return store;
}

}  // namespace iv::settings
