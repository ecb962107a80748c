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

class Feature {
 public:
  virtual ~Feature() = default;
  // Creates the feature's own child windows if any; the main window's controls already exist.
  virtual void OnCreate() {}
  // One step of the load sequence; 'step' is the number of the load step being run.
  virtual void OnLoadStep(int /*step*/) {}
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
