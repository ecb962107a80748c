// Shared state of the running simulator and the Win32 pieces around it.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "sim_core.h"

namespace aimsim {

// WM_COPYDATA tag of a forwarded "aim:" link (UTF-8 text).
constexpr ULONG_PTR kLinkCopyData = 0x41494D31;
// The main window's command that opens Preferences.
constexpr int kCmdPreferences = 20002;
constexpr wchar_t kMainClass[] = L"_Oscar_StatusNotify";
// The visible window; a class of its own, so no lookup of the messenger's windows finds it.
constexpr wchar_t kBuddyListClass[] = L"AimSimBuddyList";

struct Context {
  Options options;
  Profile profile{16, ""};
  std::string version;  // ProductVersion of this executable
  std::wstring exePath;
  std::wstring dataDir;
  std::wstring logPath;
  std::wstring userFolder;  // dataDir + "\" + normalised screen name

  HWND main = nullptr;
  HWND prefs = nullptr;
  HWND page = nullptr;
  int pageIndex = -1;
  HWND chooser = nullptr;
  bool closePrefsAfterChooser = false;
  int selectsIgnored = 0;  // of options.ignoreSelects, over the whole run
  POINT prefsPos{};

  std::deque<std::string> links;
  bool handlingLinks = false;

  // Sees every log line after it is written (the visible window).
  std::function<void(const std::string&)> onLog;

  std::wstring PicturePath() const { return userFolder + L"\\picture.id"; }
  // One line of the event log, flushed at once.
  void Log(const std::string& line) const;
};

// --- files (sim_env.cpp)
// Reads an icon file; returns "" or the reason it was refused: missing, too-large, not-gif.
std::string ReadIcon(const std::wstring& path, std::string& bytes);
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);
std::wstring FolderOf(const std::wstring& path);
bool IsReadOnly(const std::wstring& path);

// --- registry (sim_env.cpp)
// AppPath, Login, Misc and Users as the program reads them.
bool WriteAimRegistry(const Context& ctx);
// The "aim" URL scheme, pointing at this executable.
bool RegisterAimScheme(const std::wstring& exePath);

// --- the visible window (sim_window.cpp): screen name, buddy icon, last log lines
class BuddyList {
 public:
  explicit BuddyList(Context& ctx);
  BuddyList(const BuddyList&) = delete;
  BuddyList& operator=(const BuddyList&) = delete;
  ~BuddyList();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// --- windows (sim_prefs.cpp, sim_links.cpp)
void OpenPreferences(Context& ctx);
// Asks "Confirm action" for each queued link and carries out what is confirmed.
void HandleQueuedLinks(Context& ctx);

}  // namespace aimsim
