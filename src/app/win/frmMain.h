// The main window: three tabs of library, rotation and schedule views, the command
// bar and the bottom buttons. Subsystems handle their own controls as Features.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "base/win/handles.h"
#include "ui/win/feature.h"
#include "ui/win/form.h"

namespace iv::app {

inline constexpr wchar_t kMainClass[] = L"ThunderRT6FormDC";
inline constexpr wchar_t kMainCaption[] = L"Iconvane for AIM:   Dravolt Software";
inline constexpr wchar_t kCommandBarClass[] = L"ABSDynaBarCls";
// Window property set on the main window once its load sequence has run.
inline constexpr wchar_t kReadyProperty[] = L"IconvaneLoaded";

class frmMain : public ui::Form, public ui::Host {
 public:
  frmMain(settings::Store& store, bool hidden);
  ~frmMain() override;

  bool Load();  // creates the window and runs the load sequence
  // The load joined this thread to a COM apartment, which the caller leaves once the
  // window is gone.
  bool JoinedCom() const { return joinedCom_; }

  // Host
  HWND MainWindow() const override { return hwnd(); }
  HWND Control(int id) const override;
  settings::Store& Store() override { return store_; }
  const std::wstring& ProgramFolder() const override;
  bool IsLoading() const override { return isLoading_; }
  bool ApplyBuddyIcon(const std::wstring& iconPath) override;
  void RefreshCurrentIcon(bool force) override;
  void ShowPreview(const std::wstring& iconPath) override;
  void AppendToRotation(const std::vector<std::string>& entries) override;
  void ShowCategory(const std::string& folderName) override;
  void RefreshCategories() override;
  void ShowAbout() override;
  bool& LibrarySelected() override { return librarySelected_; }
  ui::HostHooks& Hooks() override { return hooks_; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnCreate() override;
  bool OnCommand(int id, int code, HWND ctl) override;
  bool OnNotify(NMHDR* nm, LRESULT& result) override;
  void OnTimer(UINT_PTR id) override;
  bool QueryUnload(int mode) override;
  void OnUnload() override;
  void OnDestroy() override { RemovePropW(hwnd(), kReadyProperty); }

 private:
  // The controls the first paint shows (the bar, the tabs, "Welcome!", the bottom row).
  void CreateControls();
  // The two hidden tabs' controls in four groups, made once the window is on screen.
  void CreateHiddenPanels();
  void CreateSettingsSchedule();
  void CreateSettingsCategories();
  void CreateManagerLibrary();
  void CreateManagerRotation();
  // Everything after the first paint: the hidden tabs, the features, the load sequence.
  // Run a short step at a time from posted messages, so that messages sent to the window
  // meanwhile are answered soon; FinishLoad runs whatever is left at once.
  bool FinishLoadStep();  // true while steps remain
  void FinishLoad();
  void UpdateVisibility();
  void AddControl(int id, HWND hwnd, const wchar_t* tooltip = nullptr);
  void AddLabel(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, DWORD extra = 0);
  void AddFrame(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h);
  void AddButton(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, const wchar_t* tip);
  void AddTip(HWND hwnd, const wchar_t* tip);
  void ShowTab(int index);
  void PaintPane(HDC dc);
  void LoadStep(ui::LoadStep step);
  void cmdExit_Click();
  void TmrMin_Timer();

  settings::Store& store_;
  bool hidden_;
  bool isLoading_ = false;
  bool loaded_ = false;      // the load sequence has run
  int finishStep_ = 0;       // the next step of FinishLoadStep
  int nextLoadStep_ = static_cast<int>(ui::LoadStep::Begin);  // the next load step it runs
  bool visible_ = false;     // shown and not minimised, as the features were last told
  bool minPending_ = false;  // TmrMin is running
  bool unloading_ = false;   // OnUnload has begun
  bool librarySelected_ = false;
  bool joinedCom_ = false;
  std::map<int, HWND> controls_;
  HWND panels_[3] = {};  // the tabs' containers, in the tabs' order
  RECT pane_{}, page_{};  // the tabs' page with its edge, and without
  HWND tooltip_ = nullptr;
  std::vector<std::pair<HWND, const wchar_t*>> earlyTips_;  // made before tooltip_
  UniqueHandle mutex_;
  // Before the features: their destructors clear the hooks they filled in.
  ui::HostHooks hooks_;
  std::vector<std::unique_ptr<ui::Feature>> features_;
};

// Creates the main window (shown, or hidden for "-min") and runs the message loop
// until the program ends; 'loaded' is called with the window once it has loaded.
// Returns the process exit code.
int RunMainWindow(bool hidden, const std::function<void(HWND)>& loaded = nullptr);

}  // namespace iv::app
