// Drives the messenger stand-in from outside, by window messages, the way the program
// does. Only what the program's own tests against it would not notice: the click point
// of each version, the chooser's refusals and the fetched source.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "base/win/utf.h"
#include "base/win/window.h"
#include "sim_core.h"

namespace {

using namespace std::chrono_literals;

// The program folder; IV_BIN is a Unix path when the test runs under Wine.
std::wstring BinDir() {
  wchar_t buf[1024];
  const DWORD n = GetEnvironmentVariableW(L"IV_BIN", buf, 1024);
  std::wstring dir = n && n < 1024 ? std::wstring(buf, n) : L".";
  if (!dir.empty() && dir[0] == L'/') dir = L"Z:" + dir;
  for (wchar_t& c : dir)
    if (c == L'/') c = L'\\';
  return dir;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);  // polling another process; there is nothing to wait on
  }
  return true;
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::wstring& path, const std::string& bytes) {
  std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << bytes;
}

std::string SmallGif(char tag) {
  std::string gif("GIF89a\x02\x00\x02\x00", 10);
  gif.append(20, tag);
  gif += ';';
  return gif;
}

HWND FindDialog(const wchar_t* title) { return FindWindowW(L"#32770", title); }

HWND WaitDialog(const wchar_t* title) {
  HWND w = nullptr;
  WaitUntil([&] { return (w = FindDialog(title)) != nullptr; });
  return w;
}

HWND WaitChild(HWND parent, const wchar_t* cls, const wchar_t* text) {
  HWND w = nullptr;
  WaitUntil([&] { return (w = FindWindowExW(parent, nullptr, cls, text)) != nullptr; }, 5s);
  return w;
}

void PostClick(HWND w, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageW(w, WM_LBUTTONDOWN, 13, at);
  PostMessageW(w, WM_LBUTTONUP, 13, at);
}

// Answers like the program's watcher: the click is posted again until the dialog is gone.
bool Answer(HWND confirm, const wchar_t* button) {
  const HWND b = FindWindowExW(confirm, nullptr, L"Button", button);
  if (!b) ADD_FAILURE() << "no button " << (button ? iv::Narrow(button) : "") << " in the dialog";
  return b && WaitUntil([&] {
           PostClick(b, 0, 0);
           return !IsWindow(confirm);
         });
}

// One running simulator with its own data folder and log.
class Sim {
 public:
  explicit Sim(const wchar_t* exe = L"aimsim.exe", const std::wstring& extra = L"") {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    dir_ = std::wstring(tmp) + L"aimsim-test-" + std::to_wstring(++counter_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);  // left over from an earlier run
    CreateDirectoryW(dir_.c_str(), nullptr);
    exe_ = BinDir() + L"\\" + exe;
    Stop(FindWindowW(L"_Oscar_StatusNotify", nullptr));
    process_ = Start(L"--data \"" + dir_ + L"\\data\" --log \"" + Log() + L"\" --user \"Test User\" " + extra);
    WaitUntil([&] { return (main_ = FindWindowW(L"_Oscar_StatusNotify", nullptr)) && LogHas("started "); });
  }
  ~Sim() {
    Stop(main_);
    if (process_) {
      if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
      CloseHandle(process_);
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  // Starts the executable and returns the process handle (nullptr on failure).
  HANDLE Start(const std::wstring& args) const {
    std::wstring cmd = L"\"" + exe_ + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe_.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
  }

  HWND main() const { return main_; }
  std::wstring Dir() const { return dir_; }
  std::wstring Log() const { return dir_ + L"\\sim.log"; }
  std::wstring Picture() const { return dir_ + L"\\data\\testuser\\picture.id"; }
  std::string LogText() const { return ReadAll(Log()); }
  bool LogHas(const std::string& s) const { return LogText().find(s) != std::string::npos; }
  bool WaitLog(const std::string& s) const {
    return WaitUntil([&] { return LogHas(s); });
  }
  std::string IconSetLine(const std::string& bytes) const {
    return "icon-set " + iv::Narrow(Picture()) + " " + std::to_string(bytes.size()) + " " +
           aimsim::Hex8(aimsim::Crc32(bytes));
  }

 private:
  static void Stop(HWND main) {
    if (!main) return;
    PostMessageW(main, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(main); });
  }

  static inline int counter_ = 0;
  std::wstring dir_, exe_;
  HANDLE process_ = nullptr;
  HWND main_ = nullptr;
};

// Opens Preferences, moves it away and clicks the category list at (x, y); returns Preferences.
HWND OpenPrefsAndClick(const Sim& sim, const wchar_t* title, int x, int y) {
  SendMessageW(sim.main(), WM_COMMAND, 20002, 0);
  const HWND prefs = FindDialog(title);  // the send returns once the dialog exists
  if (!prefs) return nullptr;
  RECT r{};
  GetWindowRect(prefs, &r);
  MoveWindow(prefs, -2000, -2000, r.right - r.left, r.bottom - r.top, TRUE);
  const HWND list = FindWindowExW(prefs, nullptr, L"Listbox", nullptr);
  SendMessageW(list, LB_SETCURSEL, 8, 0);
  PostClick(list, x, y);
  std::ostringstream line;  // a string concatenation here trips a false GCC 12 warning on i686
  line << "list-click " << x << " " << y << " 13 ";
  sim.WaitLog(line.str());
  return prefs;
}

// Presses "B&rowse PC..." and types the path into the chooser; returns the chooser.
HWND BrowseAndSubmit(HWND prefs, const std::string& path) {
  const HWND page = WaitChild(prefs, L"#32770", L"Buddy Icons");
  const HWND browse = FindWindowExW(page, nullptr, L"Button", L"B&rowse PC...");
  if (!browse) return nullptr;
  SendMessageW(browse, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(browse, WM_KEYUP, VK_SPACE, 0);  // the chooser is modal: a sent key-up would block
  const HWND chooser = WaitDialog(L"Choose Buddy Icon Image");
  if (!chooser) return nullptr;
  ShowWindow(chooser, SW_HIDE);
  const HWND edit = FindWindowExW(chooser, nullptr, L"Edit", nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  const HWND select = FindWindowExW(chooser, nullptr, L"Button", L"&Select");
  SendMessageW(select, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(select, WM_KEYUP, VK_SPACE, 0);
  return chooser;
}

TEST(AimSim, ClickPointMustMatchTheVersion) {
  {
    Sim sim;  // 5.9: (35, 102) lands on another category
    ASSERT_TRUE(sim.main()) << "the simulator did not start";
    const HWND prefs = OpenPrefsAndClick(sim, L"AOL Instant Messenger Preferences", 35, 102);
    ASSERT_TRUE(prefs);
    EXPECT_TRUE(sim.LogHas("list-click 35 102 13 6"));
    EXPECT_FALSE(FindWindowExW(prefs, nullptr, L"#32770", L"Buddy Icons"));
    EXPECT_TRUE(FindWindowExW(prefs, nullptr, L"#32770", L"Sounds"));
  }
  {
    Sim sim(L"aimsim46.exe");  // older versions: their own title and click point
    ASSERT_TRUE(sim.main()) << "the simulator did not start";
    EXPECT_EQ(FindDialog(L"AOL Instant Messenger Preferences"), nullptr);
    const HWND prefs = OpenPrefsAndClick(sim, L"AOL Instant Messenger (SM) Preferences", 35, 102);
    ASSERT_TRUE(prefs);
    EXPECT_TRUE(WaitChild(prefs, L"#32770", L"Buddy Icons"));
  }
}

TEST(AimSim, ChooserRefusesWhatIsNotAGif) {
  Sim sim;
  ASSERT_TRUE(sim.main()) << "the simulator did not start";
  const std::string before = ReadAll(sim.Picture());
  const std::wstring fake = sim.Dir() + L"\\fake.gif";
  WriteAll(fake, "GIF88a not really");
  const HWND prefs = OpenPrefsAndClick(sim, L"AOL Instant Messenger Preferences", 55, 134);
  ASSERT_TRUE(prefs);
  const HWND chooser = BrowseAndSubmit(prefs, iv::Narrow(fake));
  ASSERT_TRUE(chooser);
  EXPECT_TRUE(IsWindow(chooser)) << "a refused file leaves the chooser open";
  EXPECT_TRUE(sim.LogHas("icon-refused " + iv::Narrow(fake) + " not-gif"));
  const HWND error = WaitDialog(L"AOL Instant Messenger");
  ASSERT_TRUE(error);
  EXPECT_EQ(ReadAll(sim.Picture()), before);

  ASSERT_TRUE(Answer(error, L"OK"));

  // A write-protected picture.id is not replaced, even by a good GIF.
  SetFileAttributesW(sim.Picture().c_str(), FILE_ATTRIBUTE_READONLY);
  const std::wstring good = sim.Dir() + L"\\good.gif";
  WriteAll(good, SmallGif('d'));
  SendMessageW(FindWindowExW(chooser, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(good.c_str()));
  SendMessageW(chooser, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(sim.WaitLog("icon-refused " + iv::Narrow(good) + " write-failed"));
  EXPECT_EQ(ReadAll(sim.Picture()), before);
  SetFileAttributesW(sim.Picture().c_str(), FILE_ATTRIBUTE_NORMAL);

  // Closing Preferences takes the chooser with it.
  PostMessageW(prefs, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(prefs) && !IsWindow(chooser); }));
}

// Hands a link to the running simulator through its handler, and waits for the question.
HWND OpenLink(const Sim& sim, const std::wstring& link) {
  HANDLE handler = sim.Start(L"\"" + link + L"\"");
  if (!handler) return nullptr;
  DWORD code = 1;
  WaitForSingleObject(handler, 10000);
  GetExitCodeProcess(handler, &code);
  CloseHandle(handler);
  if (code != 0) return nullptr;
  return WaitDialog(L"Confirm action");
}

// The program's tests see a write-protected picture.id kept; only this shows that
// --fetch-src really overwrites one that is not protected, so that check can fail.
TEST(AimSim, FetchedSourceOverwritesAWritablePicture) {
  Sim sim(L"aimsim.exe", L"--fetch-src");
  ASSERT_TRUE(sim.main()) << "the simulator did not start";
  WriteAll(sim.Picture(), SmallGif('c'));
  const HWND confirm = OpenLink(sim, L"aim:BuddyIcon?Src=http://h/nothing.gif");
  ASSERT_TRUE(confirm);
  ASSERT_TRUE(Answer(confirm, nullptr));
  ASSERT_TRUE(sim.WaitLog("icon-fetched http://h/nothing.gif"));
  EXPECT_TRUE(sim.WaitLog(sim.IconSetLine(std::string(aimsim::BlankGif()))));
  PostMessageW(WaitDialog(L"AOL Instant Messenger"), WM_CLOSE, 0, 0);
}

}  // namespace
