// Drives the messenger stand-in from outside, by window messages, the way the program
// does, and checks its log, its registry values and the user's picture.id.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/win/utf.h"
#include "base/win/window.h"
#include "sim_core.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kAimKey[] = L"Software\\America Online\\AOL Instant Messenger (TM)\\CurrentVersion";

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

std::wstring RegString(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t buf[1024];
  DWORD size = sizeof buf;
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) return L"<none>";
  return buf;
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

TEST(AimSim, StartPublishesRegistryDataAndVersion) {
  Sim sim;
  ASSERT_TRUE(sim.main()) << "the simulator did not start";
  const std::wstring base = kAimKey;
  EXPECT_EQ(RegString(HKEY_CURRENT_USER, base + L"\\AppPath", nullptr), BinDir() + L"\\aimsim.exe");
  EXPECT_EQ(RegString(HKEY_CURRENT_USER, base + L"\\Login", L"Screen Name"), L"Test User");
  EXPECT_EQ(RegString(HKEY_CURRENT_USER, base + L"\\Misc", L"BaseDataPath"), sim.Dir() + L"\\data");
  EXPECT_NE(RegString(HKEY_CLASSES_ROOT, L"aim\\shell\\open\\command", nullptr).find(L"aimsim.exe\" \"%1\""),
            std::wstring::npos);

  // Users: the normalised name, a name with "<" and one value larger than 4096 bytes.
  HKEY users = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (base + L"\\Users").c_str(), 0, KEY_READ, &users), ERROR_SUCCESS);
  std::vector<std::wstring> names;
  bool sawMoreData = false;
  for (DWORD i = 0;; ++i) {
    wchar_t name[260];
    DWORD nameLen = 260;
    BYTE data[4096];
    DWORD dataLen = sizeof data;
    LONG rc = RegEnumValueW(users, i, name, &nameLen, nullptr, nullptr, data, &dataLen);
    if (rc == ERROR_MORE_DATA) {
      sawMoreData = true;
      nameLen = 260;
      rc = RegEnumValueW(users, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr);
    }
    if (rc != ERROR_SUCCESS) break;
    names.emplace_back(name, nameLen);
  }
  RegCloseKey(users);
  std::sort(names.begin(), names.end());  // enumeration order is the registry's choice
  EXPECT_EQ(names, (std::vector<std::wstring>{L"<Default>", L"otherbuddy", L"testuser"}));
  EXPECT_TRUE(sawMoreData);
  EXPECT_TRUE(aimsim::IsGif(ReadAll(sim.Picture())));

  // A second plain start leaves the running one alone.
  HANDLE second = sim.Start(L"");
  ASSERT_TRUE(second);
  EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0);
  CloseHandle(second);
  EXPECT_TRUE(IsWindow(sim.main()));

  // --quit returns once the running one is gone, so another can start at once.
  HANDLE quit = sim.Start(L"--quit");
  ASSERT_TRUE(quit);
  EXPECT_EQ(WaitForSingleObject(quit, 15000), WAIT_OBJECT_0);
  CloseHandle(quit);
  EXPECT_FALSE(FindWindowW(L"_Oscar_StatusNotify", nullptr));
  EXPECT_TRUE(sim.LogHas("exited"));
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

  // A missing file is refused as well, once the error box is answered.
  ASSERT_TRUE(Answer(error, L"OK"));
  const std::string missing = iv::Narrow(sim.Dir()) + "\\missing.gif";
  SendMessageA(FindWindowExW(chooser, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(missing.c_str()));
  SendMessageW(chooser, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(sim.WaitLog("icon-refused " + missing + " missing"));
  ASSERT_TRUE(Answer(WaitDialog(L"AOL Instant Messenger"), L"OK"));

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
HWND OpenLink(const Sim& sim, const std::wstring& link, bool throughShell = false) {
  if (throughShell) {
    const auto rc =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return rc > 32 ? WaitDialog(L"Confirm action") : nullptr;
  }
  HANDLE handler = sim.Start(L"\"" + link + L"\"");
  if (!handler) return nullptr;
  DWORD code = 1;
  WaitForSingleObject(handler, 10000);
  GetExitCodeProcess(handler, &code);
  CloseHandle(handler);
  if (code != 0) return nullptr;
  return WaitDialog(L"Confirm action");
}

std::wstring QuestionText(HWND confirm) {
  const HWND first = FindWindowExW(confirm, nullptr, L"Static", nullptr);
  const HWND second = FindWindowExW(confirm, first, L"Static", nullptr);
  wchar_t buf[512] = L"";
  GetWindowTextW(second, buf, 512);
  return buf;
}

TEST(AimSim, ConfirmedLinkTakesPictureIdAndFollowsUp) {
  Sim sim;
  ASSERT_TRUE(sim.main()) << "the simulator did not start";
  const std::string bytes = SmallGif('b');
  WriteAll(sim.Picture(), bytes);
  const HWND confirm = OpenLink(sim, L"aim:BuddyIcon?Src=http://127.0.0.1/nothing.gif");
  ASSERT_TRUE(confirm);
  EXPECT_NE(QuestionText(confirm).find(L"Buddy Icon"), std::wstring::npos);
  EXPECT_FALSE(sim.LogHas("icon-set"));
  ASSERT_TRUE(Answer(confirm, nullptr));
  ASSERT_TRUE(sim.WaitLog("followup-shown")) << sim.LogText();
  const std::string log = sim.LogText();
  EXPECT_NE(log.find("link-received aim:BuddyIcon?Src=http://127.0.0.1/nothing.gif"), std::string::npos);
  EXPECT_NE(log.find("src-checked http://127.0.0.1/nothing.gif ok\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("confirm-answered yes"), std::string::npos);
  EXPECT_NE(log.find(sim.IconSetLine(bytes)), std::string::npos) << log;
  EXPECT_LT(log.find("icon-set"), log.find("followup-created"));
  const HWND followup = WaitDialog(L"AOL Instant Messenger");
  ASSERT_TRUE(followup);
  PostMessageW(followup, WM_CLOSE, 0, 0);
  EXPECT_TRUE(sim.WaitLog("followup-closed"));
}

TEST(AimSim, OtherQuestionsAndAnswerNoSetNothing) {
  Sim sim(L"aimsim.exe", L"--confirm-other");
  ASSERT_TRUE(sim.main()) << "the simulator did not start";
  HWND confirm = OpenLink(sim, L"aim:BuddyIcon?Src=x");
  ASSERT_TRUE(confirm);
  EXPECT_EQ(QuestionText(confirm).find(L"Buddy Icon"), std::wstring::npos);
  ASSERT_TRUE(Answer(confirm, nullptr));
  ASSERT_TRUE(sim.WaitLog("followup-created"));
  EXPECT_FALSE(sim.LogHas("icon-set"));
  PostMessageW(WaitDialog(L"AOL Instant Messenger"), WM_CLOSE, 0, 0);
  ASSERT_TRUE(sim.WaitLog("followup-closed"));

  confirm = OpenLink(sim, L"aim:BuddyIcon?Src=y", true);  // the registered scheme
  ASSERT_TRUE(confirm);
  ASSERT_TRUE(Answer(confirm, L"&No"));
  ASSERT_TRUE(sim.WaitLog("confirm-answered no"));
  EXPECT_TRUE(WaitUntil([] { return FindDialog(L"AOL Instant Messenger") == nullptr; }, 5s));
}

TEST(AimSim, FetchedSourceOverwritesOnlyAWritablePicture) {
  Sim sim(L"aimsim.exe", L"--fetch-src");
  ASSERT_TRUE(sim.main()) << "the simulator did not start";
  const std::string bytes = SmallGif('c');
  WriteAll(sim.Picture(), bytes);
  SetFileAttributesW(sim.Picture().c_str(), FILE_ATTRIBUTE_READONLY);
  HWND confirm = OpenLink(sim, L"aim:BuddyIcon?Src=http://h/nothing.gif");
  ASSERT_TRUE(confirm);
  ASSERT_TRUE(Answer(confirm, nullptr));
  ASSERT_TRUE(sim.WaitLog("followup-created"));
  EXPECT_TRUE(sim.LogHas("icon-protected"));
  EXPECT_TRUE(sim.LogHas(sim.IconSetLine(bytes)));
  PostMessageW(WaitDialog(L"AOL Instant Messenger"), WM_CLOSE, 0, 0);
  ASSERT_TRUE(sim.WaitLog("followup-closed"));

  SetFileAttributesW(sim.Picture().c_str(), FILE_ATTRIBUTE_NORMAL);
  confirm = OpenLink(sim, L"aim:BuddyIcon?Src=http://h/nothing.gif");
  ASSERT_TRUE(confirm);
  ASSERT_TRUE(Answer(confirm, nullptr));
  ASSERT_TRUE(sim.WaitLog("icon-fetched http://h/nothing.gif"));
  EXPECT_TRUE(sim.WaitLog(sim.IconSetLine(std::string(aimsim::BlankGif()))));
  PostMessageW(WaitDialog(L"AOL Instant Messenger"), WM_CLOSE, 0, 0);
}

}  // namespace
