#include "app/win/frmMain.h"

#include <windows.h>
#include <commctrl.h>

#include "app/win/features.h"
#include "app/win/welcome.h"
#include "base/win/program_icon.h"
#include "base/win/pump.h"
#include "base/win/utf.h"
#include "msgbox/win/msgbox.h"
#include "settings/win/registry_backend.h"
#include "ui/win/forms.h"
#include "ui/win/ids.h"

namespace iv::app {

namespace {

// Client size of the main window in pixels.
constexpr int kWidth = 640, kHeight = 500;

struct TimerSpec {
  int id;
  UINT interval;
  bool enabled;
};
// "Exit Iconvane?" asked over the owner; the message box's result code.
int AskExit(HWND owner) {
  return msgbox::ShowMsgBox(L"~bExit Iconvane?~b~nAre you sure you want to exit Iconvane?", msgbox::kIconQuestion,
                            msgbox::kButtonsYesNo,
                            L"Iconvane for AIM", false, owner)
      .code;
}

constexpr TimerSpec kTimers[] = {
    {ids::TmrRotate, 1000, true}, {ids::TmrAIM, 1000, true}, {ids::TmrMin, 500, true},
    {ids::TmrIcon, 2000, true},   {ids::TmrMsg, 50, true},   {ids::TmrAd, 100, false},
};

}  // namespace

frmMain::frmMain(settings::Store& store, bool hidden) : store_(store), hidden_(hidden) {}

frmMain::~frmMain() = default;

const std::wstring& frmMain::ProgramFolder() const { return ui::ProgramFolder(); }

HWND frmMain::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

bool frmMain::Load() {
  RECT r{0, 0, kWidth, kHeight};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&r, style, FALSE, 0);
  if (!Create(kMainClass, kMainCaption, style, 0, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
              r.bottom - r.top, nullptr, nullptr, CS_DBLCLKS, nullptr, ProgramIcon(false)))
    return false;
  SetProgramIcon(hwnd());
  RunLoadSequence();
  if (!hidden_) ui::ShowForm(hwnd());
  // Tells automation (and the tests) that the window is loaded and shown as it will be.
  SetPropW(hwnd(), kReadyProperty, reinterpret_cast<HANDLE>(1));
  return true;
}

bool frmMain::OnCreate() {
  CreateControls();
  features_ = MakeFeatures(*this);
  for (auto& feature : features_) feature->OnCreate();
  for (const TimerSpec& t : kTimers)
    if (t.enabled) SetTimer(hwnd(), t.id, t.interval, nullptr);
  return true;
}

void frmMain::AddControl(int id, HWND hwnd, const wchar_t* tip) {
  controls_[id] = hwnd;
  if (tip && tooltip_) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = this->hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
    ti.lpszText = const_cast<wchar_t*>(tip);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void frmMain::ShowTab(int index) {
  for (int i = 0; i < 3; ++i) ShowWindow(panels_[i], i == index ? SW_SHOW : SW_HIDE);
}

// Each step may fail alone: the next one still runs.
void frmMain::RunLoadSequence() {
  // The page carries the maker's content: put the program's own copy back if it changed.
  RestoreWelcomePage(ProgramFolder() + L"\\aim.htm");
  ui::ForEachLoadStep([this](ui::LoadStep step) { LoadStep(step); });
}

void frmMain::LoadStep(ui::LoadStep step) {
  using enum ui::LoadStep;
  switch (step) {
    case Begin:
      isLoading_ = true;
      break;
    case WelcomePage:
      ShowWelcomePage(Control(ids::Wb), ProgramFolder() + L"\\aim.htm");
      break;
    case Position:
      ui::LoadFormPosition(hwnd(), store_, "Main");
      break;
    case InstanceMutex:
      // Held for the life of the process; whether it existed before is never asked.
      mutex_.reset(CreateMutexW(nullptr, FALSE, L"PicvaneAIM"));
      break;
    case MinutesNumberOnly:
      ui::SetNumberOnly(Control(ids::txtMinutes), true);
      break;
    case HideIfHidden:
      if (hidden_) ShowWindow(hwnd(), SW_HIDE);
      break;
    default:
      break;
  }
  for (auto& feature : features_) feature->OnLoadStep(step);
  if (step == End) isLoading_ = false;
}

LRESULT frmMain::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  // The installer asks a running copy to make way for new files: no exit question.
  static const UINT exitForSetup = RegisterWindowMessageW(L"Iconvane.ExitForSetup");
  if (msg == exitForSetup) {
    Unload(ui::kAppWindows);
    return TRUE;
  }
  if (msg >= WM_USER && msg != WM_COMMAND) {
    LRESULT result = 0;
    for (auto& feature : features_)
      if (feature->OnMessage(msg, wp, lp, result)) return result;
  }
  return ui::Form::WndProc(msg, wp, lp);
}

bool frmMain::OnCommand(int id, int code, HWND ctl) {
  for (auto& feature : features_)
    if (feature->OnCommand(id, code, ctl)) return true;
  if (id == ids::cmdExit && code == BN_CLICKED) {
    cmdExit_Click();
    return true;
  }
  return false;
}

bool frmMain::OnNotify(NMHDR* nm, LRESULT& result) {
  if (nm->idFrom == static_cast<UINT_PTR>(ids::TabIcon) && nm->code == TCN_SELCHANGE) {
    ShowTab(TabCtrl_GetCurSel(nm->hwndFrom));
    return true;
  }
  for (auto& feature : features_)
    if (feature->OnNotify(nm, result)) return true;
  return false;
}

void frmMain::OnTimer(UINT_PTR id) {
  if (id == ids::TmrMin) TmrMin_Timer();
  for (auto& feature : features_) feature->OnTimer(static_cast<int>(id));
}

void frmMain::TmrMin_Timer() {
  if (IsIconic(hwnd()) && IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_HIDE);
}

void frmMain::cmdExit_Click() { ShowWindow(hwnd(), SW_HIDE); }

bool frmMain::QueryUnload(int mode) {
  if (mode == ui::kAppWindows) return false;
  return AskExit(hwnd()) == msgbox::kAnswerNo;
}

void frmMain::OnUnload() {
  for (auto& feature : features_) feature->OnUnload();
  for (const TimerSpec& t : kTimers) KillTimer(hwnd(), t.id);
  ui::SaveFormPosition(hwnd(), store_, "Main");
  ui::UnloadAllForms();
}

bool frmMain::ApplyBuddyIcon(const std::wstring& iconPath) {
  return hooks_.applyBuddyIcon ? hooks_.applyBuddyIcon(iconPath) : false;
}
void frmMain::RefreshCurrentIcon(bool force) {
  if (hooks_.refreshCurrentIcon) hooks_.refreshCurrentIcon(force);
}
void frmMain::ShowPreview(const std::wstring& iconPath) {
  if (hooks_.showPreview) hooks_.showPreview(iconPath);
}
void frmMain::AppendToRotation(const std::vector<std::string>& entries) {
  if (hooks_.appendToRotation) hooks_.appendToRotation(entries);
}
void frmMain::ShowCategory(const std::string& folderName) {
  if (hooks_.showCategory) hooks_.showCategory(folderName);
}
void frmMain::RefreshCategories() {
  if (hooks_.refreshCategories) hooks_.refreshCategories();
}
void frmMain::ShowAbout() {
  if (hooks_.showAbout) hooks_.showAbout();
}

int RunMainWindow(bool hidden, const std::function<void(HWND)>& loaded) {
  frmMain main(settings::RegistryStore(), hidden);
  if (!main.Load()) return 1;
  if (loaded) loaded(main.hwnd());
  return RunMessageLoop();
}

}  // namespace iv::app
