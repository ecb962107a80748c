// Entry point of the messenger stand-in: hands "aim:" links to a running copy, or
// becomes the running copy with its hidden main window.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/win/files.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "sim.h"

namespace aimsim {
namespace {

constexpr UINT kMsgLinks = WM_APP + 10;

class MainWindow : public iv::Window {
 public:
  explicit MainWindow(Context& ctx) : ctx_(ctx) {}

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COPYDATA: {
        const auto* cd = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (cd->dwData != kLinkCopyData || !cd->lpData) return FALSE;
        ctx_.links.emplace_back(static_cast<const char*>(cd->lpData), cd->cbData);
        // Answered later: the sender must not wait while the question is open.
        PostMessageW(hwnd(), kMsgLinks, 0, 0);
        return TRUE;
      }
      case kMsgLinks:
        HandleQueuedLinks(ctx_);
        return 0;
    }
    return iv::Window::WndProc(msg, wp, lp);
  }
  bool OnCommand(int id, int, HWND) override {
    if (id != kCmdPreferences) return false;
    OpenPreferences(ctx_);
    return true;
  }
  void OnDestroy() override {
    ctx_.main = nullptr;
    PostQuitMessage(0);
  }

 private:
  Context& ctx_;
};

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int n = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &n);
  for (int i = 1; argv && i < n; ++i) args.push_back(iv::Narrow(argv[i]));
  LocalFree(argv);
  return args;
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buf, nullptr);
  return n && n < MAX_PATH * 2 ? std::wstring(buf, n) : path;
}

// ProductVersion of our own version resource.
std::string OwnVersion() {
  HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  HGLOBAL mem = res ? LoadResource(nullptr, res) : nullptr;
  const void* data = mem ? LockResource(mem) : nullptr;
  if (!data) return "0.0.0";
  std::vector<char> copy(static_cast<const char*>(data), static_cast<const char*>(data) + SizeofResource(nullptr, res));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info) return "0.0.0";
  return std::to_string(HIWORD(info->dwProductVersionMS)) + "." + std::to_string(LOWORD(info->dwProductVersionMS)) +
         "." + std::to_string(HIWORD(info->dwProductVersionLS));
}

bool ForwardLink(HWND running, const std::string& link) {
  COPYDATASTRUCT cd{kLinkCopyData, static_cast<DWORD>(link.size()), const_cast<char*>(link.data())};
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cd), SMTO_ABORTIFHUNG, 10000,
                             &result) &&
         result;
}

// Closes the running simulator and returns once its process has ended, so the caller
// can start another one straight away.
int Quit(HWND running) {
  if (!running) return 0;
  DWORD pid = 0;
  GetWindowThreadProcessId(running, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageW(running, WM_CLOSE, 0, 0);
  if (!process) return 0;
  const DWORD waited = WaitForSingleObject(process, 10000);
  CloseHandle(process);
  return waited == WAIT_OBJECT_0 ? 0 : 5;
}

void FillPaths(Context& ctx) {
  ctx.exePath = iv::ExePath();
  ctx.dataDir =
      ctx.options.dataDir.empty() ? FolderOf(ctx.exePath) + L"\\AIM Data" : FullPath(iv::Widen(ctx.options.dataDir));
  while (ctx.dataDir.size() > 3 && (ctx.dataDir.back() == L'\\' || ctx.dataDir.back() == L'/')) ctx.dataDir.pop_back();
  ctx.logPath =
      ctx.options.logPath.empty() ? FolderOf(ctx.dataDir) + L"\\aimsim.log" : FullPath(iv::Widen(ctx.options.logPath));
  ctx.userFolder = ctx.dataDir + L"\\" + iv::Widen(NormalizeScreenName(ctx.options.user));
}

// The data folders and a first picture, so a preview has something to show.
void PrepareData(const Context& ctx) {
  CreateDirectoryW(ctx.dataDir.c_str(), nullptr);
  CreateDirectoryW(ctx.userFolder.c_str(), nullptr);
  if (GetFileAttributesW(ctx.PicturePath().c_str()) == INVALID_FILE_ATTRIBUTES)
    WriteWholeFile(ctx.PicturePath(), BlankGif());
}

int Run(Context& ctx) {
  PrepareData(ctx);
  if (!WriteAimRegistry(ctx)) ctx.Log("registry-failed");
  if (!ctx.options.noRegister && !RegisterAimScheme(ctx.exePath)) ctx.Log("scheme-failed");
  MainWindow main(ctx);
  if (!main.Create(kMainClass, L"AIM", WS_OVERLAPPED, 0, 0, 0, 100, 100, nullptr, nullptr)) return 1;
  ctx.main = main.hwnd();
  const BuddyList view(ctx);
  ctx.Log("started " + ctx.version + " " + std::to_string(GetCurrentProcessId()));
  if (!ctx.options.link.empty()) {
    ctx.links.push_back(ctx.options.link);
    PostMessageW(ctx.main, kMsgLinks, 0, 0);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (ctx.prefs && IsDialogMessageW(ctx.prefs, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ctx.Log("exited");
  return 0;
}

}  // namespace
}  // namespace aimsim

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace aimsim;
  const ParsedOptions parsed = ParseCommandLine(Arguments());
  if (!parsed.error.empty()) {
    const std::wstring text = iv::Widen(parsed.error) +
                              L"\n\nOptions: --user NAME, --data DIR, --log FILE, --confirm-other, "
                              L"--confirm-text TEXT, --fetch-src, --ignore-select N, --no-register, --quit, aim:LINK";
    MessageBoxW(nullptr, text.c_str(), L"AIM simulator", MB_OK | MB_ICONERROR);
    return 2;
  }
  Context ctx;
  ctx.options = parsed.options;
  ctx.version = OwnVersion();
  ctx.profile = ProfileForVersion(std::atoi(ctx.version.c_str()));
  FillPaths(ctx);
  // One messenger at a time: a second start hands over its link or stops.
  const HWND running = FindWindowW(kMainClass, nullptr);
  if (ctx.options.quit) return Quit(running);
  if (running) {
    if (ctx.options.link.empty()) return 3;
    return ForwardLink(running, ctx.options.link) ? 0 : 4;
  }
  return Run(ctx);
}
