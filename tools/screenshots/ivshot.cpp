// Puts the program's windows in front of the camera for make-screenshots.sh, which
// runs it under Wine. Every command but "start" and "kill" prints the geometry of
// the window it waited for, as ImageMagick's -crop takes it (WxH+X+Y).
//   ivshot start EXE [ARGS...]    start a program, print its process id
//   ivshot main PID               the main window, once loaded
//   ivshot tab PID INDEX          switch the main window to a tab
//   ivshot close PID              close the main window: the exit question
//   ivshot wait PID CLASS         a top-level window of that class
//   ivshot import PID FILE NAME   import a picture into category NAME: the summary
//                                 over the main window
//   ivshot ok PID                 press "OK" on the message box shown: the main window
//   ivshot kill PID               end a program started with "start"
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr wchar_t kMainClass[] = L"ThunderRT6FormDC";
constexpr wchar_t kMainTitle[] = L"Iconvane for AIM:   Dravolt Software";
constexpr int kTabControlId = 100;

int Fail(const char* what) {
  std::fprintf(stderr, "ivshot: %s\n", what);
  return 1;
}

struct TopSearch {
  DWORD pid;
  const wchar_t* cls;
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK MatchTop(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<TopSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t text[256] = L"";
  if (pid != s->pid || !IsWindowVisible(h) || !GetClassNameW(h, text, 256) || wcscmp(text, s->cls) != 0)
    return TRUE;
  if (s->title) {
    GetWindowTextW(h, text, 256);
    if (wcscmp(text, s->title) != 0) return TRUE;
  }
  s->found = h;
  return FALSE;
}

// Waits (polling: nothing across processes can be waited on) for a visible window.
HWND WaitForTop(DWORD pid, const wchar_t* cls, const wchar_t* title) {
  const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
  for (;;) {
    TopSearch s{pid, cls, title, nullptr};
    EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(50);
  }
}

BOOL CALLBACK FindUnpainted(HWND h, LPARAM lp) {
  if (!IsWindowVisible(h) || !GetUpdateRect(h, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(lp) = true;
  return FALSE;
}

bool Painted(HWND h) {
  bool unpainted = GetUpdateRect(h, nullptr, FALSE) != FALSE;
  if (!unpainted) EnumChildWindows(h, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

// Returns once the window and its children have painted themselves afresh.
void Settle(HWND h) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
  while (!Painted(h) && GetTickCount64() < deadline) Sleep(20);
  SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored);
}

int PrintGeometry(HWND h) {
  if (!h) return Fail("window not found");
  Settle(h);
  RECT r{};
  GetWindowRect(h, &r);
  const LONG left = r.left < 0 ? 0 : r.left;
  const LONG top = r.top < 0 ? 0 : r.top;
  std::printf("%ldx%ld+%ld+%ld\n", r.right - left, r.bottom - top, left, top);
  return 0;
}

BOOL CALLBACK MatchId(HWND h, LPARAM lp) {
  if (GetDlgCtrlID(h) != kTabControlId) return TRUE;
  *reinterpret_cast<HWND*>(lp) = h;
  return FALSE;
}

int SwitchTab(DWORD pid, int index) {
  HWND main = WaitForTop(pid, kMainClass, kMainTitle);
  if (!main) return Fail("main window not found");
  HWND tab = nullptr;
  EnumChildWindows(main, MatchId, reinterpret_cast<LPARAM>(&tab));
  if (!tab) return Fail("tab control not found");
  // Moving the focus of a tab control without TCS_BUTTONS selects the tab and sends
  // the owner its selection notifications, as a click would; a WM_NOTIFY cannot be
  // sent from another process.
  SendMessageW(tab, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
  if (SendMessageW(tab, TCM_GETCURSEL, 0, 0) != index) return Fail("the tab did not change");
  return PrintGeometry(main);
}

int Start(int argc, wchar_t** argv) {
  std::wstring cmd;
  for (int i = 2; i < argc; ++i) {
    if (i > 2) cmd += L' ';
    const bool quote = wcschr(argv[i], L' ') != nullptr;
    cmd += quote ? L"\"" + std::wstring(argv[i]) + L"\"" : std::wstring(argv[i]);
  }
  std::wstring dir = argv[2];
  dir.resize(dir.find_last_of(L"\\/") == std::wstring::npos ? 0 : dir.find_last_of(L"\\/"));
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(argv[2], cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &pi))
    return Fail("cannot start the program");
  std::printf("%lu\n", pi.dwProcessId);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}

int Kill(DWORD pid) {
  HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!h) return 0;  // already gone
  TerminateProcess(h, 1);
  WaitForSingleObject(h, kTimeoutMs);
  CloseHandle(h);
  return 0;
}

struct TextSearch {
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK MatchText(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<TextSearch*>(lp);
  wchar_t text[256] = L"";
  GetWindowTextW(h, text, 256);
  if (wcscmp(text, s->text) != 0) return TRUE;
  s->found = h;
  return FALSE;
}

HWND ChildWithText(HWND parent, const wchar_t* text) {
  TextSearch s{text, nullptr};
  EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// The visible message box with (or without) an input box.
HWND WaitForMsgBox(DWORD pid, bool withInput) {
  const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
  for (;;) {
    HWND box = WaitForTop(pid, L"frmMsgBox", nullptr);
    HWND input = box ? FindWindowExW(box, nullptr, L"Edit", nullptr) : nullptr;
    if (box && (input && IsWindowVisible(input)) == withInput) return box;
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(50);
  }
}

int Import(DWORD pid, const wchar_t* file, const wchar_t* category) {
  HWND main = WaitForTop(pid, kMainClass, kMainTitle);
  HWND button = main ? ChildWithText(main, L"Import Pictures...") : nullptr;
  if (!button) return Fail("no Import Pictures... button");
  PostMessageW(button, BM_CLICK, 0, 0);
  HWND dialog = WaitForTop(pid, L"#32770", L"Import Pictures");
  HWND name = dialog ? GetDlgItem(dialog, 0x47C) : nullptr;  // the file name box
  if (!name) return Fail("no file dialog");
  if (HWND edit = FindWindowExW(name, nullptr, L"Edit", nullptr)) name = edit;
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  HWND question = WaitForMsgBox(pid, true);
  if (!question) return Fail("no category question");
  SendMessageW(FindWindowExW(question, nullptr, L"Edit", nullptr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(category));
  PostMessageW(ChildWithText(question, L"OK"), BM_CLICK, 0, 0);
  HWND summary = WaitForMsgBox(pid, false);
  if (!summary) return Fail("no summary");
  Settle(main);
  Settle(summary);
  RECT a{}, b{}, both{};
  GetWindowRect(main, &a);
  GetWindowRect(summary, &b);
  UnionRect(&both, &a, &b);
  const LONG left = both.left < 0 ? 0 : both.left, top = both.top < 0 ? 0 : both.top;
  std::printf("%ldx%ld+%ld+%ld\n", both.right - left, both.bottom - top, left, top);
  return 0;
}

int PressOk(DWORD pid) {
  HWND box = WaitForTop(pid, L"frmMsgBox", nullptr);
  HWND ok = box ? ChildWithText(box, L"OK") : nullptr;
  if (!ok) return Fail("no message box with OK");
  PostMessageW(ok, BM_CLICK, 0, 0);
  return PrintGeometry(WaitForTop(pid, kMainClass, kMainTitle));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: ivshot start|main|tab|close|wait|kill ...");
  const std::wstring cmd = argv[1];
  if (cmd == L"start") return Start(argc, argv);
  const DWORD pid = wcstoul(argv[2], nullptr, 10);
  if (cmd == L"main") return PrintGeometry(WaitForTop(pid, kMainClass, kMainTitle));
  if (cmd == L"tab" && argc == 4) return SwitchTab(pid, _wtoi(argv[3]));
  if (cmd == L"close") {
    HWND main = WaitForTop(pid, kMainClass, kMainTitle);
    if (!main) return Fail("main window not found");
    PostMessageW(main, WM_CLOSE, 0, 0);
    return PrintGeometry(WaitForTop(pid, L"frmMsgBox", nullptr));
  }
  if (cmd == L"wait" && argc == 4) return PrintGeometry(WaitForTop(pid, argv[3], nullptr));
  if (cmd == L"kill") return Kill(pid);
  if (cmd == L"import" && argc == 5) return Import(pid, argv[3], argv[4]);
  if (cmd == L"ok") return PressOk(pid);
  return Fail("unknown command");
}
