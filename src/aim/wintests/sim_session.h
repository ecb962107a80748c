// A running AIM simulator and an Aim integration wired to a hidden window of the
// test, with the 50 ms confirmation timer running, as in the program.
#pragma once
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "aim/win/aim.h"
#include "aim/win/discovery.h"
#include "e2e/support/driver.h"
#include "settings/win/registry_backend.h"
#include "shell/win/shell_open.h"

namespace iv::aim::testing {

inline constexpr UINT_PTR kTmrMsg = 5;

// The test's stand-in for the main window: runs TmrMsg and receives the hook's reports.
class HostWindow {
 public:
  HostWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"IvAimTestHost";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"Aim test host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                            nullptr, wc.hInstance, nullptr);
  }
  ~HostWindow() {
    KillTimer(hwnd_, kTmrMsg);
    DestroyWindow(hwnd_);
    aim_ = nullptr;
  }
  void Attach(Aim* aim) {
    aim_ = aim;
    if (aim) SetTimer(hwnd_, kTmrMsg, 50, nullptr);
    else KillTimer(hwnd_, kTmrMsg);
  }
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (aim_ && m == WM_TIMER && w == kTmrMsg) {
      aim_->AnswerConfirmAction();
      return 0;
    }
    if (aim_ && aim_->OnMessage(m, w, l)) return 0;
    return DefWindowProcW(h, m, w, l);
  }
  static inline Aim* aim_ = nullptr;
  HWND hwnd_ = nullptr;
};

using e2e::ReadAll;

// A small GIF whose bytes say which icon it is.
inline std::wstring WriteIcon(const std::wstring& path, char tag) {
  e2e::WriteAll(path, "GIF89a" + std::string(40, tag));
  return path;
}

// One simulator run in a temporary folder that also serves as the program folder.
class SimSession {
 public:
  explicit SimSession(const wchar_t* exe, const std::wstring& extraArgs = L"") {
    CopyFileW((e2e::BinDir() + L"\\ivhook.dll").c_str(), (dir_ / L"ivhook.dll").c_str(), FALSE);
    const std::wstring args = L"--data \"" + (dir_ / L"AIM Data") + L"\" --log \"" + LogPath() + L"\" " + extraArgs;
    sim_ = e2e::Process(e2e::BinDir() + L"\\" + exe, args);
    aimWindow_ = e2e::WaitUntil([] { return FindAIMWindow() != nullptr; }, 15000) ? FindAIMWindow() : nullptr;
  }
  ~SimSession() {
    host_.Attach(nullptr);
    aim_.reset();
    if (aimWindow_) PostMessageW(aimWindow_, WM_CLOSE, 0, 0);
    if (!sim_.WaitExit(5000)) sim_.Kill();
  }

  // The integration under test, tracking the simulator like TmrAIM does.
  Aim& Start(std::function<void(long)> wait = nullptr,
             std::wstring link = L"aim:BuddyIcon?Src=http://127.0.0.1:1/nothing.gif") {
    Services s;
    s.wait = std::move(wait);
    s.shellOpen = [](const std::wstring& url) { (void)shell::ShellOpen(url); };
    s.buddyIconLink = [link] { return link; };
    s.showCurrentIcon = [this](const std::wstring& gif) { shown_ = gif; };
    s.applied = [this](const std::wstring& icon) { applied_.push_back(icon); };
    aim_ = std::make_unique<Aim>(settings::RegistryStore(), dir_.path(), host_.hwnd(), std::move(s));
    aim_->LoadHook();
    aim_->TmrAIM_Timer();
    host_.Attach(aim_.get());
    return *aim_;
  }

  std::wstring LogPath() const { return dir_ / L"aimsim.log"; }
  std::string Log() const { return ReadAll(LogPath()); }
  bool LogHas(const std::string& text) const { return Log().find(text) != std::string::npos; }
  bool WaitLog(const std::string& text, DWORD ms = 10000) const {
    return e2e::WaitUntil([&] { return LogHas(text); }, ms);
  }
  // The log's lines, without their line ends.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(Log());
    for (std::string line; std::getline(in, line); lines.push_back(line))
      if (!line.empty() && line.back() == '\r') line.pop_back();
    return lines;
  }
  // Whether a dialog of exactly this title ever became visible: a line
  // "dialog-shown <title> <x> <y> 1" (the title may hold blanks; three fields follow it).
  bool DialogBecameVisible(const std::string& title) const {
    const std::string head = "dialog-shown " + title + " ";
    for (const std::string& line : Lines()) {
      if (line.rfind(head, 0) != 0) continue;
      std::istringstream rest(line.substr(head.size()));
      long x = 0, y = 0;
      int visible = 0;
      std::string extra;
      if (rest >> x >> y >> visible && !(rest >> extra) && visible == 1) return true;
    }
    return false;
  }
  // Whether the log holds exactly this line.
  bool HasLine(const std::string& want) const {
    const auto lines = Lines();
    return std::find(lines.begin(), lines.end(), want) != lines.end();
  }
  // Count of log lines that start with the text.
  int LogCount(const std::string& start) const {
    const auto lines = Lines();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](auto& l) { return l.rfind(start, 0) == 0; }));
  }
  std::wstring PictureId() const { return dir_ / L"AIM Data\\testuser\\picture.id"; }
  std::wstring Icon(const std::wstring& name, char tag) const { return WriteIcon(dir_ / name, tag); }
  const std::wstring& folder() const { return dir_.path(); }
  const std::wstring& shown() const { return shown_; }
  // The icons the integration reported as taken by AIM, in order.
  const std::vector<std::wstring>& applied() const { return applied_; }
  HWND aimWindow() const { return aimWindow_; }
  HWND host() const { return host_.hwnd(); }
  bool running() const { return aimWindow_ != nullptr; }

 private:
  e2e::TempDir dir_;
  e2e::Process sim_;
  HWND aimWindow_ = nullptr;
  HostWindow host_;
  std::unique_ptr<Aim> aim_;
  std::wstring shown_;
  std::vector<std::wstring> applied_;
};

}  // namespace iv::aim::testing
