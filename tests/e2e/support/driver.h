// Drives the real program from outside under Wine, the way a user or a screen
// reader would: start a copy, find its windows, press its controls, read the registry.
#pragma once
#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace iv::e2e {

// The main window as other programs find it.
inline constexpr wchar_t kMainClass[] = L"ThunderRT6FormDC";
inline constexpr wchar_t kMainCaption[] = L"Iconvane for AIM:   Dravolt Software";
// What the tests wait at most: generous, as the test machine is a loaded two-core box.
inline constexpr DWORD kDeadline = 20000;

// A Unix path as Wine's Z: drive sees it; a relative one only gets backslashes.
std::wstring WinPath(const std::string& unixPath);
// The built program folder (IV_BIN).
std::wstring BinDir();

// A fresh folder under %TEMP%, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// A whole file, empty when missing; and a file written anew.
std::string ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, const std::string& bytes);

// Copies the program folder's files (not sub-folders) into dir.
void CopyProgramFolder(const std::wstring& dir);

// A started process; ended at destruction if still running.
class Process {
 public:
  Process() = default;
  Process(const std::wstring& exe, const std::wstring& args, const std::wstring& workDir = L"");
  ~Process();
  Process(Process&& o) noexcept;
  Process& operator=(Process&& o) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD pid() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  // True when the process ended within ms.
  bool WaitExit(DWORD ms);
  DWORD ExitCode() const;
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// Polls cond until it holds or ms pass; true when it held.
bool WaitUntil(const std::function<bool()>& cond, DWORD ms);

// Top-level windows of a process with the given class (and title, when not null).
std::vector<HWND> TopWindows(DWORD pid, const wchar_t* cls, const wchar_t* title = nullptr);
HWND WaitForTopWindow(DWORD pid, const wchar_t* cls, const wchar_t* title, DWORD ms);
// The first shown one of them for which match holds (when given); null after ms.
HWND WaitForShownWindow(DWORD pid, const wchar_t* cls, const std::function<bool(HWND)>& match, DWORD ms);

// The program's main window in a process, once its load sequence has run.
HWND WaitForMainWindow(DWORD pid, DWORD ms = 20000);

// A descendant by control id, or by class and window text.
HWND FindDescendant(HWND root, int id);
HWND FindDescendantByText(HWND root, const wchar_t* cls, const std::wstring& text);
HWND FindDescendantContaining(HWND root, const std::wstring& part);

std::wstring WindowText(HWND hwnd);

// The rows of another process's list box, and the first column of its list view
// (whose item structure has to live in the owner's memory), and a row selected there.
std::vector<std::wstring> ListBoxRows(HWND lb);
std::vector<std::wstring> ListViewRows(HWND lv);
void SelectListViewRow(HWND lv, int row);

// Presses `button` in the process's first visible message box (of that title, when
// not null) that has it; true once the box has gone.
bool AnswerBox(DWORD pid, const wchar_t* button, const wchar_t* title = nullptr, DWORD ms = 20000);

// Presses a button the way an accessibility tool does (posted, so a modal dialog it
// opens does not block the test).
void Click(HWND button);

// Returns once the window's thread has handled every message sent before.
void Sync(HWND hwnd);

// A text value under root\key (the key's default value when name is null), or def.
std::wstring RegText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& def = L"");
// Creates the key as needed; value may hold NULs, and is stored with a terminator after it.
void SetRegText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value);
bool KeyExists(HKEY root, const std::wstring& key);

// The program's settings (HKCU\SOFTWARE\Dravolt Software\Iconvane for AIM\<section>).
void ResetSettings();
std::wstring GetSetting(const std::wstring& section, const std::wstring& name, const std::wstring& def = L"");
void SetSetting(const std::wstring& section, const std::wstring& name, const std::wstring& value);

// Ends the program through its close box, answering the exit question with Yes if it
// comes. True when the process ended.
bool CloseProgram(Process& process, HWND main, DWORD ms = 20000);

// A running copy of the program in its own temporary program folder.
class Program {
 public:
  explicit Program(const std::wstring& args = L"");
  Program(const TempDir& folder, const std::wstring& args);
  const std::wstring& folder() const { return folder_; }
  Process& process() { return process_; }
  HWND main() const { return main_; }
  HWND control(int id) const { return FindDescendant(main_, id); }
  bool Close() { return CloseProgram(process_, main_); }

 private:
  void Start(const std::wstring& args);
  std::unique_ptr<TempDir> own_;
  std::wstring folder_;
  Process process_;
  HWND main_ = nullptr;
};

}  // namespace iv::e2e
