#include "app/win/frmMain.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <iterator>

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

// "Exit Iconvane?" asked over the owner; the message box's result code.
int AskExit(HWND owner) {
  return msgbox::ShowMsgBox(L"~bExit Iconvane?~b~nAre you sure you want to exit Iconvane?", msgbox::kIconQuestion,
                            msgbox::kButtonsYesNo,
                            L"Iconvane for AIM", false, owner)
      .code;
}

// Timers that run for the window's whole life. The others run only while they matter:
// TmrMin while minimised, TmrMsg while an apply is under way (aim), TmrAd while the
// window is on screen (links).
struct TimerSpec {
  int id;
  UINT interval;
};
// TmrIcon runs while the window is on screen (the AIM feature starts it).
constexpr TimerSpec kTimers[] = {{ids::TmrRotate, 1000}, {ids::TmrAIM, 1000}};
constexpr UINT kMinInterval = 500;
constexpr int kAllTimers[] = {ids::TmrRotate, ids::TmrAIM, ids::TmrMin, ids::TmrIcon, ids::TmrMsg, ids::TmrAd};

// Posted once the window is on screen: the rest of the load runs after the first paint.
constexpr UINT kMsgFinishLoad = WM_APP + 0x31;

// The load steps the first paint needs; the others run after it.
constexpr ui::LoadStep kBeforePaint[] = {ui::LoadStep::Begin, ui::LoadStep::WelcomePage, ui::LoadStep::Position};
bool BeforePaint(ui::LoadStep step) { return std::ranges::find(kBeforePaint, step) != std::end(kBeforePaint); }

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
  // Made where the load puts it, so that the load finds it there.
  const RECT place = ui::FormPosition(store_, "Main", RECT{0, 0, r.right - r.left, r.bottom - r.top});
  if (!Create(kMainClass, kMainCaption, style, 0, place.left, place.top, place.right - place.left,
              place.bottom - place.top, nullptr, nullptr, CS_DBLCLKS, nullptr, nullptr, ProgramIcon(true)))
    return false;
  // What the first paint shows: the welcome page at the saved position. The page carries
  // the maker's content: the program's own copy is put back if it changed.
  RestoreWelcomePage(ProgramFolder() + L"\\aim.htm");
  for (ui::LoadStep step : kBeforePaint) LoadStep(step);
  if (hidden_) {
    FinishLoad();
    return true;
  }
  ui::ShowForm(hwnd());
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  // Input queued meanwhile comes after the steps; messages that need the features finish
  // them first.
  PostMessageW(hwnd(), kMsgFinishLoad, 0, 0);
  return true;
}

bool frmMain::OnCreate() {
  CreateControls();
  return true;
}

bool frmMain::FinishLoadStep() {
  // Done, still being created, or already going: an exit asked for before the posted
  // finish must not be followed by a tray icon and timers.
  if (loaded_ || !panels_[0] || unloading_) return false;
  // Moved on first, so that a step is never run twice.
  const int step = finishStep_++;
  static constexpr void (frmMain::*kTabGroups[])() = {&frmMain::CreateSettingsSchedule, &frmMain::CreateSettingsCategories,
                                                      &frmMain::CreateManagerLibrary, &frmMain::CreateManagerRotation};
  constexpr int kGroups = static_cast<int>(std::size(kTabGroups));
  if (step == 0) {
    // For the shell. Joining loads COM's libraries, which the first paint does not need.
    joinedCom_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    // The caption shows the class's small icon; the large one (task switcher) costs a load
    // of its own, so it comes now, with the small one, which a window's large icon would
    // otherwise replace in the caption.
    SetProgramIcon(hwnd());
    CreateHiddenPanels();
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const auto& [control, tip] : earlyTips_) AddTip(control, tip);
    earlyTips_.clear();
  }
  if (step < kGroups) {
    (this->*kTabGroups[step])();
    return true;
  }
  if (step == kGroups) {
    features_ = MakeFeatures(*this);
    for (auto& feature : features_) feature->OnCreate();
    for (const TimerSpec& t : kTimers) SetTimer(hwnd(), t.id, t.interval, nullptr);
    return true;
  }
  // Then the rest of the load sequence, a step a message; each step may fail alone, the
  // next one still runs.
  ui::LoadStep load;
  do {
    load = static_cast<ui::LoadStep>(nextLoadStep_++);
  } while (BeforePaint(load));
  LoadStep(load);
  if (load != ui::LoadStep::End) return true;
  loaded_ = true;
  UpdateVisibility();
  // Tells automation (and the tests) that the window is loaded and shown as it will be.
  SetPropW(hwnd(), kReadyProperty, reinterpret_cast<HANDLE>(1));
  return false;
}

void frmMain::FinishLoad() {
  while (FinishLoadStep()) {
  }
}

void frmMain::AddControl(int id, HWND hwnd, const wchar_t* tip) {
  controls_[id] = hwnd;
  if (tip) AddTip(hwnd, tip);
}

// The tooltip window is itself a top-level window: it comes after the first paint, and
// the tips of the controls made before it are added then.
void frmMain::AddTip(HWND hwnd, const wchar_t* tip) {
  if (!tooltip_) {
    earlyTips_.emplace_back(hwnd, tip);
    return;
  }
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = this->hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
  ti.lpszText = const_cast<wchar_t*>(tip);
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

// The edge of the tabs' page around the panels, drawn as the tab control draws it. The
// theme is asked for one side at a time: Wine's theme drawing costs as much as the
// bounds of what it may touch, and the four sides' bounds are a sliver each.
void frmMain::PaintPane(HDC dc) {
  const HTHEME theme = IsAppThemed() ? OpenThemeData(Control(ids::TabIcon), L"TAB") : nullptr;
  if (!theme) {
    RECT edge = pane_;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_SOFT | BF_RECT);
    return;
  }
  const RECT sides[] = {{pane_.left, pane_.top, pane_.right, page_.top},
                        {pane_.left, page_.bottom, pane_.right, pane_.bottom},
                        {pane_.left, page_.top, page_.left, page_.bottom},
                        {page_.right, page_.top, pane_.right, page_.bottom}};
  for (const RECT& side : sides) DrawThemeBackground(theme, dc, TABP_PANE, 0, &pane_, &side);
  CloseThemeData(theme);
}

void frmMain::ShowTab(int index) {
  for (int i = 0; i < 3; ++i) ShowWindow(panels_[i], i == index ? SW_SHOW : SW_HIDE);
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
  if (msg == kMsgFinishLoad) {
    if (FinishLoadStep()) PostMessageW(hwnd(), kMsgFinishLoad, 0, 0);
    return 0;
  }
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    if (const HDC dc = BeginPaint(hwnd(), &ps)) {
      PaintPane(dc);
      EndPaint(hwnd(), &ps);
    }
    return 0;
  }
  if (msg == WM_THEMECHANGED) InvalidateRect(hwnd(), &pane_, TRUE);
  if (msg == WM_WINDOWPOSCHANGED) {
    const LRESULT result = ui::Form::WndProc(msg, wp, lp);
    UpdateVisibility();
    return result;
  }
  // The installer asks a running copy to make way for new files: no exit question.
  static const UINT exitForSetup = RegisterWindowMessageW(L"Iconvane.ExitForSetup");
  if (msg == exitForSetup) {
    Unload(ui::kAppWindows);
    return TRUE;
  }
  if (msg >= WM_USER && msg != WM_COMMAND) {
    // A message from another copy may come before the posted finish.
    FinishLoad();
    LRESULT result = 0;
    for (auto& feature : features_)
      if (feature->OnMessage(msg, wp, lp, result)) return result;
  }
  return ui::Form::WndProc(msg, wp, lp);
}

void frmMain::UpdateVisibility() {
  const bool shown = IsWindowVisible(hwnd()), iconic = IsIconic(hwnd());
  if (shown && iconic && !minPending_) minPending_ = SetTimer(hwnd(), ids::TmrMin, kMinInterval, nullptr) != 0;
  const bool visible = shown && !iconic;
  if (!loaded_ || visible == visible_) return;
  visible_ = visible;
  for (auto& feature : features_) feature->OnVisible(visible);
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

// Started when the window is minimised; one tick hides it, or finds it restored.
void frmMain::TmrMin_Timer() {
  KillTimer(hwnd(), ids::TmrMin);
  minPending_ = false;
  if (IsIconic(hwnd()) && IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_HIDE);
}

void frmMain::cmdExit_Click() { ShowWindow(hwnd(), SW_HIDE); }

bool frmMain::QueryUnload(int mode) {
  if (mode == ui::kAppWindows) return false;
  return AskExit(hwnd()) == msgbox::kAnswerNo;
}

void frmMain::OnUnload() {
  unloading_ = true;
  for (auto& feature : features_) feature->OnUnload();
  for (int id : kAllTimers) KillTimer(hwnd(), id);
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
  bool joinedCom = false;
  int rc = 1;
  {
    frmMain main(settings::RegistryStore(), hidden);
    if (main.Load()) {
      if (loaded) loaded(main.hwnd());
      rc = RunMessageLoop();
    }
    joinedCom = main.JoinedCom();
  }
  if (joinedCom) CoUninitialize();
  return rc;
}

}  // namespace iv::app
