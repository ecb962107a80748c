// The download window of a command-link start: fetches one icon or an icon list
// into the Icon Library, shows the progress, asks about the rotation and hands the
// result to the running copy.
#pragma once
#include <string>

#include "download/core/engine.h"
#include "download/win/inet.h"
#include "download/win/ribbon.h"
#include "settings/core/store.h"
#include "ui/win/form.h"

namespace iv::download {

class frmDL : public ui::Form {
 public:
  frmDL(settings::Store& store, std::wstring programFolder, std::string command, std::string url);

  // Creates the window centred and topmost and starts the download timer.
  bool Load();

  // Set when no running copy was found: this copy must open its own main window.
  bool WantsMainWindow() const { return wantsMain_; }
  // Whether this window stays open beside that main window (icon lists do).
  bool StaysOpen() const { return staysOpen_; }

 protected:
  bool OnCreate() override;
  void OnTimer(UINT_PTR id) override;
  bool QueryUnload(int mode) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  class Site;
  void TmrDL_Timer();
  void TmrEffect_Timer();
  void TmrStatus_Timer();
  void StatusChanged();
  void ShowStatus();
  // Completion, question and hand-off; true when the window is to be unloaded.
  bool Finish(const DownloadResult& result);
  void CompletionDisplay();
  void ShowFailed();
  std::wstring Library() const { return programFolder_ + L"\\Icon Library"; }

  settings::Store& store_;
  std::wstring programFolder_;
  std::string DLCommand, DLURL;
  bool Cancelled = false;
  bool inTick_ = false;
  bool wantsMain_ = false, staysOpen_ = false;
  int effectCounter_ = 0;
  struct {
    std::string count;  // lblCount
    int progress = -1;  // PrgDL
    bool dirty = false, timer = false;
  } status_;
  Inet Inet_;
  Ribbon Updates;
  HWND PrgDL = nullptr, lblCount = nullptr, lblDL = nullptr;
};

}  // namespace iv::download
