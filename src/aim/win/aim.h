// The AIM integration of the main window: tracking AIM, applying buddy icons,
// the current-icon preview and answering AIM's confirmation question.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "aim/win/mod_aim.h"
#include "aim/win/watcher.h"
#include "settings/core/store.h"

namespace iv::aim {

// What the integration uses of the rest of the program; tests give their own.
struct Services {
  std::function<void(long ms)> wait;                          // dispatches messages meanwhile
  std::function<void(const std::wstring& url)> shellOpen;     // result is not looked at
  std::function<std::wstring()> buddyIconLink;                // "aim:BuddyIcon?Src=" + server + "/nothing.gif"
  std::function<void(const std::wstring& gif)> showCurrentIcon;  // WbCurrent
  std::function<void(const std::wstring& iconPath)> applied;     // after AIM took an icon
};

class Aim {
 public:
  Aim(settings::Store& store, std::wstring programFolder, HWND mainWindow, Services services);
  Aim(const Aim&) = delete;
  Aim& operator=(const Aim&) = delete;
  ~Aim();

  // Loads the hook DLL from the program folder; without it nothing is caught.
  bool LoadHook();
  void UnloadHook();

  // One TmrAIM tick: notices a new (or vanished) AIM main window.
  void TmrAIM_Timer();
  // One TmrMsg tick.
  void AnswerConfirmAction();
  // True while the watch still has work: an apply runs, AIM's question is open, or the
  // main window is still to be brought forward after it.
  bool ConfirmWatchNeeded() const;
  // The hook's report of a caught dialog (the registered message); true if it was ours.
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp);

  // Makes the icon file AIM's buddy icon. A call made while another apply waits
  // is run right after it (the latest one wins).
  void ApplyBuddyIcon(const std::wstring& iconPath, bool manual);
  void RefreshCurrentIcon(bool force);

  HWND AIMWindow() const { return aimWindow_; }
  double AIMVersion() const { return aimVersion_; }
  void SetAIMVersion(double v) { aimVersion_ = v; }
  const std::vector<std::string>& AIMUsers() const { return aimUsers_; }
  const std::string& CurrentIconUser() const { return currentIconUser_; }
  bool& RefocusAfterConfirm() { return refocusAfterConfirm_; }
  HWND HookedDialog() const { return hookedDialog_; }
  DialogHook& Hook() { return hook_; }
  std::wstring TmpGifPath() const { return programFolder_ + L"\\tmp.gif"; }

 private:
  std::wstring UserPictureId();
  // Each true when the icon reached AIM.
  bool ApplyOnce(const std::wstring& iconPath, bool manual);
  bool PictureFileMethod(const std::wstring& iconPath, const std::wstring& pictureId, bool manual);
  bool PreferencesMethod(const std::wstring& iconPath);
  void ShowInPreview(const std::wstring& source);

  settings::Store& store_;
  std::wstring programFolder_;
  HWND mainWindow_;
  Services services_;
  DialogHook hook_;

  HWND aimWindow_ = nullptr;
  double aimVersion_ = 0;
  std::vector<std::string> aimUsers_{std::string()};
  std::string currentIconUser_;
  bool refocusAfterConfirm_ = false;
  bool refocusWhenAnswered_ = false;
  HWND hookedDialog_ = nullptr;

  HWND closingPrefs_ = nullptr;  // the Preferences dialog the last apply closed
  bool applying_ = false;
  std::optional<std::pair<std::wstring, bool>> pending_;
};

}  // namespace iv::aim
