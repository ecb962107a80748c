// How a subsystem plugs into the main window. Each subsystem's Win32 layer provides
// a Feature that owns its state and handles its own controls; frmMain owns the
// features, forwards events to them and offers the cross-subsystem operations below.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/core/store.h"

namespace iv::ui {

// The cross-subsystem operations: the feature that owns one fills it in when it is
// created (for example hooks.applyBuddyIcon = ...); the main window forwards to it.
struct HostHooks {
  std::function<bool(const std::wstring&)> applyBuddyIcon;
  std::function<void(bool)> refreshCurrentIcon;
  std::function<void(const std::wstring&)> showPreview;
  std::function<void(const std::vector<std::string>&)> appendToRotation;
  std::function<void(const std::string&)> showCategory;
  std::function<void()> refreshCategories;
  std::function<void()> showAbout;
  // The rotation's commands (tray menu); filled by the rotation.
  std::function<void()> nextIcon;
  std::function<void()> previousIcon;
  std::function<void(bool)> pauseRotation;
  std::function<bool()> rotationPaused;
  // Told by the AIM feature after AIM took an icon; filled by the rotation (its history).
  std::function<void(const std::wstring&)> iconApplied;
};

// What a feature may ask of the main window and of the other features.
class Host {
 public:
  virtual ~Host() = default;

  virtual HWND MainWindow() const = 0;
  virtual HWND Control(int id) const = 0;  // ids from ui/win/ids.h
  virtual settings::Store& Store() = 0;
  virtual const std::wstring& ProgramFolder() const = 0;  // no trailing backslash
  virtual bool IsLoading() const = 0;

  // Cross-subsystem operations (each forwards to the feature that owns it).
  virtual bool ApplyBuddyIcon(const std::wstring& iconPath) = 0;            // aim
  virtual void RefreshCurrentIcon(bool force) = 0;                          // aim
  virtual void ShowPreview(const std::wstring& iconPath) = 0;               // library (WbPreview)
  virtual void AppendToRotation(const std::vector<std::string>& entries) = 0;  // rotation; stores the list
  virtual void ShowCategory(const std::string& folderName) = 0;             // library (lvFolders)
  virtual void RefreshCategories() = 0;                                     // library (Categories.dat)
  virtual void ShowAbout() = 0;                                             // links (the about box)
  virtual bool& LibrarySelected() = 0;
  virtual HostHooks& Hooks() = 0;
};

// The main window's load sequence, in order; each feature does its share at its steps.
// The numbers are the order only: steps nobody acts on are left out.
enum class LoadStep : int {
  Begin = 1,              // the window counts as loading from here
  WelcomePage = 2,
  Letters = 3,            // the library's letter box
  TrayIcon = 4,
  Categories = 5,         // Categories.dat read
  Position = 6,           // the saved window position
  FirstLetter = 7,
  RegisterProtocol = 8,   // the "icvan:" link handler
  InstanceMutex = 9,
  ImageIcons = 10,
  LibraryFolder = 11,     // created when missing
  ScanLibrary = 12,
  Preview = 13,
  RotationList = 14,
  CurrentIcon = 15,
  Schedule = 16,
  MinutesNumberOnly = 18,
  AdColors = 19,
  FeatureCaption = 20,
  HideIfHidden = 21,      // "-min": the window goes to the tray
  End = 22,               // loading ends after this step
};

// Calls fn with every step from Begin to End, in order.
template <typename Fn>
void ForEachLoadStep(Fn&& fn) {
  for (int step = static_cast<int>(LoadStep::Begin); step <= static_cast<int>(LoadStep::End); ++step)
    fn(static_cast<LoadStep>(step));
}

class Feature {
 public:
  virtual ~Feature() = default;
  // Creates the feature's own child windows if any; the main window's controls already exist.
  virtual void OnCreate() {}
  // One step of the load sequence.
  virtual void OnLoadStep(LoadStep /*step*/) {}
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*ctl*/) { return false; }
  virtual bool OnNotify(NMHDR* /*nm*/, LRESULT& /*result*/) { return false; }
  virtual void OnTimer(int /*timerId*/) {}
  // The main window came on screen (shown and not minimised) or left it; work that
  // only shows on the window (animations) runs only while it is on screen.
  virtual void OnVisible(bool /*visible*/) {}
  // Window messages other than the above (registered or WM_APP ones); true when handled.
  virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) { return false; }
  virtual void OnUnload() {}
};

}  // namespace iv::ui
