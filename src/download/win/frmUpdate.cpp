#include "download/win/frmUpdate.h"

#include "base/win/program_icon.h"
#include "base/win/utf.h"
#include "download/core/engine.h"
#include "download/core/names.h"
#include "download/core/server.h"
#include "download/win/files.h"
#include "ui/win/forms.h"
#include "widgets/aolbutton/win/aolbutton.h"

namespace iv::download {

namespace {
enum : int { kTmrVersion = 1, kTmrFlash = 2 };
enum : int { kIdUpdates = 10, kIdCmdUpdate = IDCANCEL };
constexpr int kClientW = 320, kClientH = 90;
}  // namespace

frmUpdate::frmUpdate(const settings::Store& store, std::wstring programFolder,
                     std::function<void()> refreshCategories)
    : store_(store), programFolder_(std::move(programFolder)), refreshCategories_(std::move(refreshCategories)) {}

bool frmUpdate::Load() {
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT rc{0, 0, kClientW, kClientH};
  AdjustWindowRectEx(&rc, style, FALSE, WS_EX_TOPMOST);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  if (!Create(L"frmUpdate", L"Updating Categories...", style, WS_EX_TOPMOST, x, y, w, h, nullptr, nullptr))
    return false;
  SetProgramIcon(hwnd());
  ui::MakeTopmost(hwnd());
  ui::ShowForm(hwnd());
  SetFocus(cmdUpdate);
  return true;
}

bool frmUpdate::OnCreate() {
  Updates.Create(hwnd(), kIdUpdates, L"...Updating Icon Categories...", 8, 8, kClientW - 16, 32);
  const int left = (kClientW - 100) / 2;
  cmdUpdate = aolbutton::Create(hwnd(), kIdCmdUpdate, L"Cancel", RECT{left, 52, left + 100, 80});
  SetTimer(hwnd(), kTmrVersion, 100, nullptr);
  SetTimer(hwnd(), kTmrFlash, 500, nullptr);
  return true;
}

bool frmUpdate::OnCommand(int id, int code, HWND) {
  if (id == kIdCmdUpdate && code == BN_CLICKED) {
    cmdUpdate_Click();
    return true;
  }
  return false;
}

void frmUpdate::OnTimer(UINT_PTR id) {
  if (id == kTmrVersion) TmrVersion_Timer();
  else if (id == kTmrFlash) Updates.SetState(true);
}

bool frmUpdate::QueryUnload(int) {
  Inet_.Cancel();
  if (!inTick_) return false;
  // The fetch is still on the stack; it returns at once and unloads the window.
  closing_ = true;
  ShowWindow(hwnd(), SW_HIDE);
  return true;
}

void frmUpdate::cmdUpdate_Click() { Unload(ui::kFormCode); }

void frmUpdate::TmrVersion_Timer() {
  // Off first: the fetch dispatches messages and must not see this timer again.
  KillTimer(hwnd(), kTmrVersion);
  inTick_ = true;
  const Fetched reply = Inet_.OpenURL(ServerUrl(store_, kCategoryListPath));
  inTick_ = false;
  if (closing_ || reply.status == Fetched::Status::Cancelled) {
    Unload(ui::kFormCode);
    return;
  }
  if (reply.status != Fetched::Status::Ok || IsServerFailure(reply.body)) {
    Updates.SetCaption(Widen(kTextFailed));
    return;
  }
  // A file that could not be written is no success; the old one stays whole.
  if (!WriteTextFile(reply.body, programFolder_ + L"\\Categories.dat", true)) {
    Updates.SetCaption(Widen(kTextFailed));
    return;
  }
  Updates.SetColor(RGB(0, 0, 255));
  Updates.SetCaption(L"Successfully Updated Categories!");
  SetWindowTextW(hwnd(), L"Success!");
  SetWindowTextW(cmdUpdate, L"Close");
  if (refreshCategories_) refreshCategories_();
}

}  // namespace iv::download
