#include "e2e/support/driver.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace iv::e2e {

namespace fs = std::filesystem;

namespace {
constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Dravolt Software\\Iconvane for AIM";

using Match = std::function<bool(HWND)>;
BOOL CALLBACK FindMatch(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<std::pair<const Match*, HWND>*>(lp);
  if (!(*s->first)(h)) return TRUE;
  s->second = h;
  return FALSE;
}
// The first descendant of root for which match holds.
HWND FindWhere(HWND root, const Match& match) {
  std::pair<const Match*, HWND> s{&match, nullptr};
  EnumChildWindows(root, FindMatch, reinterpret_cast<LPARAM>(&s));
  return s.second;
}

// Memory in a list view's process for one item and its text.
class RemoteItem {
 public:
  static constexpr int kChars = 512;
  explicit RemoteItem(HWND lv) {
    DWORD pid = 0;
    GetWindowThreadProcessId(lv, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      mem_ = static_cast<char*>(
          VirtualAllocEx(process_, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteItem() {
    if (mem_) VirtualFreeEx(process_, mem_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteItem(const RemoteItem&) = delete;
  RemoteItem& operator=(const RemoteItem&) = delete;
  wchar_t* text() const { return reinterpret_cast<wchar_t*>(mem_ + sizeof(LVITEMW)); }
  // Copies the item over; the address to send, or 0.
  LPARAM Put(const LVITEMW& item) const {
    return mem_ && WriteProcessMemory(process_, mem_, &item, sizeof(item), nullptr) ? reinterpret_cast<LPARAM>(mem_)
                                                                                    : 0;
  }
  std::wstring Text(LRESULT len) const {
    wchar_t buf[kChars] = {};
    ReadProcessMemory(process_, text(), buf, sizeof(buf) - sizeof(wchar_t), nullptr);
    return std::wstring(buf, static_cast<size_t>(len < 0 ? 0 : std::min<LRESULT>(len, kChars - 1)));
  }

 private:
  HANDLE process_ = nullptr;
  char* mem_ = nullptr;
};
}  // namespace

std::wstring WinPath(const std::string& unixPath) {
  std::wstring out = !unixPath.empty() && unixPath[0] == '/' ? L"Z:" : L"";
  for (char c : unixPath) out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

std::wstring BinDir() {
  const char* bin = std::getenv("IV_BIN");
  return WinPath(bin ? bin : "");
}

TempDir::TempDir() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::random_device rd;
  path_ = std::wstring(base) + L"iv-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(rd());
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only files left by tests must not keep the folder alive.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
  fs::remove_all(path_, ec);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

void CopyProgramFolder(const std::wstring& dir) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(BinDir(), ec))
    if (entry.is_regular_file()) fs::copy_file(entry.path(), fs::path(dir) / entry.path().filename(),
                                               fs::copy_options::overwrite_existing, ec);
}

Process::Process(const std::wstring& exe, const std::wstring& args, const std::wstring& workDir) {
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!args.empty()) cmd += L" " + args;
  STARTUPINFOW si{sizeof(si)};
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &si, &info_))
    info_ = {};
}

Process::~Process() { Kill(); }

Process::Process(Process&& o) noexcept : info_(o.info_) { o.info_ = {}; }

Process& Process::operator=(Process&& o) noexcept {
  if (this != &o) {
    Kill();
    info_ = o.info_;
    o.info_ = {};
  }
  return *this;
}

bool Process::WaitExit(DWORD ms) { return info_.hProcess && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }

DWORD Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void Process::Kill() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
  info_ = {};
}

bool WaitUntil(const std::function<bool()>& cond, DWORD ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    if (cond()) return true;
    if (GetTickCount64() >= deadline) return false;
    // Nothing to block on across processes: look again shortly.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

std::vector<HWND> TopWindows(DWORD pid, const wchar_t* cls, const wchar_t* title) {
  std::vector<HWND> out;
  HWND h = nullptr;
  while ((h = FindWindowExW(nullptr, h, cls, title)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid || pid == 0) out.push_back(h);
  }
  return out;
}

HWND WaitForTopWindow(DWORD pid, const wchar_t* cls, const wchar_t* title, DWORD ms) {
  HWND found = nullptr;
  WaitUntil([&] {
    const auto windows = TopWindows(pid, cls, title);
    found = windows.empty() ? nullptr : windows.front();
    return found != nullptr;
  }, ms);
  return found;
}

HWND WaitForShownWindow(DWORD pid, const wchar_t* cls, const std::function<bool(HWND)>& match, DWORD ms) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND top : TopWindows(pid, cls))
      if (IsWindowVisible(top) && (!match || match(top))) return (found = top) != nullptr;
    return false;
  }, ms);
  return found;
}

HWND WaitForMainWindow(DWORD pid, DWORD ms) {
  HWND main = WaitForTopWindow(pid, kMainClass, kMainCaption, ms);
  // The window exists before its load sequence has run; it marks the end of it.
  if (main && !WaitUntil([&] { return GetPropW(main, L"IconvaneLoaded") != nullptr; }, ms)) return nullptr;
  return main;
}

HWND FindDescendant(HWND root, int id) {
  return FindWhere(root, [id](HWND h) { return GetDlgCtrlID(h) == id; });
}

HWND FindDescendantByText(HWND root, const wchar_t* cls, const std::wstring& text) {
  return FindWhere(root, [&](HWND h) {
    wchar_t name[256];
    GetClassNameW(h, name, 256);
    return (!cls || lstrcmpiW(name, cls) == 0) && WindowText(h) == text;
  });
}

HWND FindDescendantContaining(HWND root, const std::wstring& part) {
  return FindWhere(root, [&](HWND h) { return WindowText(h).find(part) != std::wstring::npos; });
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[1024] = {};
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buf;
}

std::vector<std::wstring> ListBoxRows(HWND lb) {
  std::vector<std::wstring> rows;
  for (LRESULT i = 0, n = SendMessageW(lb, LB_GETCOUNT, 0, 0); i < n; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(lb, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    const LRESULT len = SendMessageW(lb, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    rows.push_back(text.substr(0, len < 0 ? 0 : static_cast<size_t>(len)));
  }
  return rows;
}

std::vector<std::wstring> ListViewRows(HWND lv) {
  std::vector<std::wstring> rows;
  const RemoteItem remote(lv);
  for (LRESULT i = 0, n = SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0); i < n; ++i) {
    LVITEMW item{};
    item.pszText = remote.text();
    item.cchTextMax = RemoteItem::kChars;
    const LPARAM at = remote.Put(item);
    if (!at) break;
    rows.push_back(remote.Text(SendMessageW(lv, LVM_GETITEMTEXTW, i, at)));
  }
  return rows;
}

void SelectListViewRow(HWND lv, int row) {
  const RemoteItem remote(lv);
  LVITEMW item{};
  item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (const LPARAM at = remote.Put(item)) SendMessageW(lv, LVM_SETITEMSTATE, row, at);
}

bool AnswerBox(DWORD pid, const wchar_t* button, const wchar_t* title, DWORD ms) {
  // A button of this caption that shows: an OK-only box hides its other button.
  const auto shown = [&](HWND h) { return IsWindowVisible(h) && WindowText(h) == button; };
  HWND found = nullptr;
  const HWND box = WaitForShownWindow(pid, L"frmMsgBox", [&](HWND top) {
    return (!title || WindowText(top) == title) && (found = FindWhere(top, shown)) != nullptr;
  }, ms);
  if (!box) return false;
  Click(found);
  return WaitUntil([&] { return !IsWindow(box); }, ms);
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void Sync(HWND hwnd) { SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr); }

std::wstring RegText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& def) {
  wchar_t buf[4096];
  DWORD size = sizeof(buf);
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) return def;
  return buf;
}

void SetRegText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

void ResetSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Dravolt Software"); }

std::wstring GetSetting(const std::wstring& section, const std::wstring& name, const std::wstring& def) {
  return RegText(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\" + section, name.c_str(), def);
}

void SetSetting(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
  SetRegText(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\" + section, name.c_str(), value);
}

bool CloseProgram(Process& process, HWND main, DWORD ms) {
  PostMessageW(main, WM_CLOSE, 0, 0);
  bool answered = false;
  return WaitUntil([&] {
    if (process.WaitExit(0)) return true;
    if (!answered) {
      // The exit question: a window of the program's with a "Yes" button.
      for (HWND top : TopWindows(process.pid(), nullptr)) {
        if (top == main || !IsWindowVisible(top)) continue;
        if (HWND yes = FindDescendantByText(top, nullptr, L"Yes")) {
          Click(yes);
          answered = true;
        }
      }
    }
    return false;
  }, ms);
}

Program::Program(const std::wstring& args) : own_(std::make_unique<TempDir>()) {
  folder_ = own_->path();
  CopyProgramFolder(folder_);
  Start(args);
}

Program::Program(const TempDir& folder, const std::wstring& args) : folder_(folder.path()) { Start(args); }

void Program::Start(const std::wstring& args) {
  process_ = Process(folder_ + L"\\iconvane.exe", args, folder_);
  if (process_.started()) main_ = WaitForMainWindow(process_.pid());
}

}  // namespace iv::e2e
