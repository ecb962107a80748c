#include "download/win/frmDL.h"

#include <commctrl.h>

#include "base/win/program_icon.h"
#include "base/win/utf.h"
#include "download/core/handoff.h"
#include "download/core/link.h"
#include "download/win/ask.h"
#include "download/win/download_feature.h"
#include "download/win/files.h"
#include "download/win/library_site.h"
#include "download/win/instance.h"
#include "msgbox/core/answer.h"
#include "ui/win/forms.h"

namespace iv::download {

namespace {

enum : int { kTmrDL = 1, kTmrEffect = 2, kTmrStatus = 3 };
// Status changes closer together than this are shown together: faster is not seen.
constexpr UINT kStatusMs = 50;
enum : int { kIdUpdates = 10, kIdLblDL, kIdLblCount, kIdPrgDL };
constexpr int kClientW = 360, kClientH = 112;
constexpr COLORREF kBlue = RGB(0, 0, 255);

constexpr char kAskIcon[] =
    "~B~C#0000FFAdd Icon to Rotation?~B~C#000000~N ~NWould you like to add the downloaded icon to your current icon "
    "rotation?";
constexpr char kAskList[] =
    "~B~C#0000FFAdd List to Rotation?~B~C#000000~N ~NWould you like to add these icons to your current icon "
    "rotation?";

}  // namespace

// The engine's view of this window: fetching through Inet, files in the library.
class frmDL::Site : public LibrarySite {
 public:
  explicit Site(frmDL& w) : LibrarySite(w.Inet_, w.Library()), w_(w) {}
  bool Cancelled() const override { return w_.Cancelled; }
  void SetCount(const std::string& text) override {
    w_.status_.count = text;
    w_.StatusChanged();
  }
  void SetProgressRange(int min, int max) override { SendMessageW(w_.PrgDL, PBM_SETRANGE32, min, max); }
  void SetProgress(int value) override {
    w_.status_.progress = value;
    w_.StatusChanged();
  }

 private:
  frmDL& w_;
};

frmDL::frmDL(settings::Store& store, std::wstring programFolder, std::string command, std::string url)
    : store_(store), programFolder_(std::move(programFolder)), DLCommand(std::move(command)), DLURL(std::move(url)) {}

bool frmDL::Load() {
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT rc{0, 0, kClientW, kClientH};
  AdjustWindowRectEx(&rc, style, FALSE, WS_EX_TOPMOST);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  if (!Create(L"frmDL", L"Downloading Icons...", style, WS_EX_TOPMOST, x, y, w, h, nullptr, nullptr)) return false;
  SetProgramIcon(hwnd());
  ui::MakeTopmost(hwnd());
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  UpdateWindow(hwnd());
  SetTimer(hwnd(), kTmrDL, 50, nullptr);
  return true;
}

bool frmDL::OnCreate() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  Updates.Create(hwnd(), kIdUpdates, L"... Downloading Icons ....", 8, 8, kClientW - 16, 32);
  lblDL = CreateControl(hwnd(), L"STATIC", L"Downloading:", SS_LEFT, 8, 50, 80, 18, kIdLblDL);
  lblCount = CreateControl(hwnd(), L"STATIC", L"The List of Icons...", SS_LEFT | SS_NOPREFIX, 92, 50,
                           kClientW - 100, 18, kIdLblCount);
  PrgDL = CreateControl(hwnd(), PROGRESS_CLASSW, L"", PBS_SMOOTH, 8, 78, kClientW - 16, 20, kIdPrgDL);
  SendMessageW(PrgDL, PBM_SETPOS, 0, 0);
  SetTimer(hwnd(), kTmrEffect, 500, nullptr);
  return true;
}

LRESULT frmDL::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN && wp == VK_ESCAPE) {
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    return 0;
  }
  return Form::WndProc(msg, wp, lp);
}

void frmDL::OnTimer(UINT_PTR id) {
  if (id == kTmrDL) TmrDL_Timer();
  else if (id == kTmrEffect) TmrEffect_Timer();
  else if (id == kTmrStatus) TmrStatus_Timer();
}

// The first change shows at once; later ones wait for the status timer, which stops
// once a tick finds nothing new.
void frmDL::StatusChanged() {
  status_.dirty = true;
  if (status_.timer) return;
  ShowStatus();
  status_.timer = SetTimer(hwnd(), kTmrStatus, kStatusMs, nullptr) != 0;
}

void frmDL::TmrStatus_Timer() {
  if (status_.dirty) return ShowStatus();
  KillTimer(hwnd(), kTmrStatus);
  status_.timer = false;
}

void frmDL::ShowStatus() {
  if (!status_.dirty) return;
  status_.dirty = false;
  SetWindowTextW(lblCount, Widen(status_.count).c_str());
  if (status_.progress >= 0) SendMessageW(PrgDL, PBM_SETPOS, status_.progress, 0);
}

bool frmDL::QueryUnload(int) {
  Cancelled = true;
  Inet_.Cancel();
  if (!inTick_) return false;
  // The download tick is still on the stack: it sees Cancelled and unloads us.
  ShowWindow(hwnd(), SW_HIDE);
  return true;
}

void frmDL::TmrDL_Timer() {
  KillTimer(hwnd(), kTmrDL);
  inTick_ = true;
  Site site(*this);
  const DownloadResult result = RunDownload(DLCommand, DLURL, site);
  KillTimer(hwnd(), kTmrStatus);
  status_.timer = false;
  ShowStatus();
  const bool unload = Finish(result);
  inTick_ = false;
  if (unload || Cancelled) Unload(ui::kFormCode);
}

bool frmDL::Finish(const DownloadResult& result) {
  if (Cancelled || result.kind == DownloadResult::Kind::Cancelled) return true;
  if (result.kind == DownloadResult::Kind::Failed) {
    ShowFailed();
    return false;
  }
  CompletionDisplay();
  if (Cancelled) return true;  // closed during the pause
  const bool list = DLCommand == kAddList;
  const bool add = Ask(list ? kAskList : kAskIcon, msgbox::kIconQuestion, msgbox::kButtonsYesNo, "Iconvane", hwnd()) ==
                   msgbox::kAnswerYes;
  if (Cancelled) return true;

  const HWND main = FindMainWindow();
  if (!main) {
    // This copy becomes the main copy and adds the queue itself once its window is up.
    if (add) {
      WriteQueue(store_, result.category, result.entries, true);
      AdoptQueueOnLoad({result.category, result.entries});
    }
    wantsMain_ = true;
    staysOpen_ = list;
    PostMessageW(nullptr, WM_NULL, 0, 0);  // wake the start-up loop
    return false;
  }
  HandOff(main, store_, result.category, result.entries, add);
  return true;
}

void frmDL::CompletionDisplay() {
  KillTimer(hwnd(), kTmrEffect);
  Updates.SetState(true);
  Updates.SetColor(kBlue);
  Updates.SetCaption(L"Download Complete!");
  SetWindowTextW(hwnd(), L"Download Complete");
  SetWindowTextW(lblCount, L"Download Completed.");
  ui::Wait(400);
}

void frmDL::ShowFailed() {
  KillTimer(hwnd(), kTmrEffect);
  Updates.SetState(true);
  Updates.SetCaption(Widen(kTextFailed));
}

void frmDL::TmrEffect_Timer() {
  static constexpr const wchar_t* kFrames[] = {
      L"Downloading Icons",         L". Downloading Icons .",    L".. Downloading Icons ..",
      L"... Downloading Icons ...", L".... Downloading Icons ....", L"... Downloading Icons ...",
      L".. Downloading Icons ..",   L". Downloading Icons ."};
  ++effectCounter_;
  Updates.SetState(!Updates.State());
  if (effectCounter_ > 8) effectCounter_ = 0;  // a pause tick closes the cycle of nine
  else Updates.SetCaption(kFrames[effectCounter_ - 1]);
}

}  // namespace iv::download
