// The real program started in its own folder, next to a running simulator: what
// the tests of the whole program share.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "aim/hook/ivhook.h"
#include "library/wintests/gifs.h"
#include "sim_session.h"

namespace iv::aim::testing {

// The program's copy of the hook DLL shares its state with the test.
class ProgramHookState {
 public:
  explicit ProgramHookState(const std::wstring& folder) : dll_(LoadLibraryW((folder + L"\\ivhook.dll").c_str())) {
    if (!dll_) return;
    thread_ = reinterpret_cast<IvWatchedThreadFn>(GetProcAddress(dll_, kWatchedThreadName));
    armed_ = reinterpret_cast<IvIsArmedFn>(GetProcAddress(dll_, kIsArmedName));
  }
  ~ProgramHookState() {
    if (dll_) FreeLibrary(dll_);
  }
  ProgramHookState(const ProgramHookState&) = delete;
  ProgramHookState& operator=(const ProgramHookState&) = delete;
  DWORD WatchedThread(HWND main) const { return thread_ ? thread_(main) : 0; }
  bool Armed(HWND main) const { return armed_ && armed_(main); }

 private:
  HMODULE dll_;
  IvWatchedThreadFn thread_ = nullptr;
  IvIsArmedFn armed_ = nullptr;
};

struct LibraryIcon {
  std::wstring entry;  // as stored in the rotation: "<category>\<file>"
  std::wstring path;   // full path in the program folder
};

// A copy of the program folder with icons in its library; the rotation (and any
// other settings) are stored before the program starts.
class ProgramFolder {
 public:
  ProgramFolder() {
    e2e::CopyProgramFolder(folder_.path());
    CreateDirectoryW((folder_ / L"Icon Library").c_str(), nullptr);
    e2e::ResetSettings();
  }
  ~ProgramFolder() { e2e::ResetSettings(); }

  LibraryIcon AddIcon(const std::wstring& category, const std::wstring& file, unsigned char shade) {
    CreateDirectoryW((folder_ / (L"Icon Library\\" + category)).c_str(), nullptr);
    LibraryIcon icon{category + L"\\" + file, folder_ / (L"Icon Library\\" + category + L"\\" + file)};
    e2e::WriteAll(icon.path, library::testing::StillGif(shade));
    return icon;
  }
  void StoreRotation(const std::vector<LibraryIcon>& icons) const {
    e2e::SetSetting(L"Icons", L"Count", std::to_wstring(icons.size()));
    for (size_t i = 0; i < icons.size(); ++i) e2e::SetSetting(L"Icons", std::to_wstring(i + 1), icons[i].entry);
  }
  const e2e::TempDir& dir() const { return folder_; }
  std::wstring operator/(const std::wstring& name) const { return folder_ / name; }

 private:
  e2e::TempDir folder_;
};

// The program running from a ProgramFolder, with a view on its hook's state.
class RunningProgram {
 public:
  explicit RunningProgram(const ProgramFolder& folder)
      : program_(folder.dir(), L""), hook_(folder.dir().path()) {}
  ~RunningProgram() {
    if (program_.main()) program_.Close();
  }
  HWND main() const { return program_.main(); }
  HWND control(int id) const { return program_.control(id); }
  const ProgramHookState& hook() const { return hook_; }

  // TmrAIM has seen the AIM window (or its absence) once the hook watches its thread.
  bool WaitWatching(HWND aimWindow, DWORD ms = 10000) const {
    const DWORD thread = aimWindow ? GetWindowThreadProcessId(aimWindow, nullptr) : 0;
    return main() && e2e::WaitUntil([&] { return hook_.WatchedThread(main()) == thread; }, ms);
  }

 private:
  e2e::Program program_;
  ProgramHookState hook_;
};

}  // namespace iv::aim::testing
