// The message dialog and the tracking every dialog shares.
#include <windows.h>

#include <string>

#include "base/win/utf.h"
#include "resource.h"
#include "sim.h"
#include "sim_dialog_base.h"

namespace aimsim {

void TrackDialog(const Context& ctx, HWND dlg, const std::wstring& title, UINT msg, LPARAM lp) {
  if (msg == WM_WINDOWPOSCHANGED) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
    if (!(pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) return;
    RECT r{};
    GetWindowRect(dlg, &r);
    ctx.Log("dialog-shown " + iv::Narrow(title) + " " + std::to_string(r.left) + " " + std::to_string(r.top) +
            ((pos->flags & SWP_SHOWWINDOW) ? " 1" : " 0"));
  } else if (msg == WM_DESTROY) {
    ctx.Log("dialog-closed " + iv::Narrow(title));
  }
}

void SetIcon(HWND dlg, int id, LPCWSTR icon) {
  SendDlgItemMessageW(dlg, id, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, icon)), 0);
}

namespace {

// --- message dialog (errors and the follow-up of a confirmed action)

struct MessageParams {
  const Context* ctx;
  std::wstring text;
  LPCWSTR icon;
  bool followup;
  bool closed = false;
  bool shownLogged = false;
};

// "Shown" means the dialog became visible while still open. A dialog closed before
// its WM_SHOWWINDOW reached us, or whose WM_SHOWWINDOW was kept from us, never counts.
void NoteShown(MessageParams& p) {
  if (!p.followup || p.closed || p.shownLogged) return;
  p.shownLogged = true;
  p.ctx->Log("followup-shown");
}

INT_PTR CALLBACK MessageProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* p = Attach<MessageParams>(dlg, lp);
    SetDlgItemTextW(dlg, IDC_MESSAGE_TEXT, p->text.c_str());
    SetIcon(dlg, IDC_MESSAGE_ICON, p->icon);
    if (p->followup) p->ctx->Log("followup-created");
    SetWindowTextW(dlg, kMessageTitle);
    return TRUE;
  }
  auto* p = Data<MessageParams>(dlg);
  if (!p) return FALSE;
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) NoteShown(*p);
      break;
    case WM_WINDOWPOSCHANGING:
      // A dialog closed before it was shown stays hidden.
      if (p->closed) reinterpret_cast<WINDOWPOS*>(lp)->flags &= ~SWP_SHOWWINDOW;
      break;
    case WM_WINDOWPOSCHANGED:
      if (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW) NoteShown(*p);
      TrackDialog(*p->ctx, dlg, kMessageTitle, msg, lp);
      break;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        p->closed = true;
        EndDialog(dlg, LOWORD(wp));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      p->closed = true;
      EndDialog(dlg, IDCANCEL);
      return TRUE;
    case WM_DESTROY:
      TrackDialog(*p->ctx, dlg, kMessageTitle, msg, lp);
      if (p->followup) p->ctx->Log("followup-closed");
      break;
  }
  return FALSE;
}

}  // namespace

void ShowMessage(const Context& ctx, HWND owner, const std::wstring& text, LPCWSTR icon, bool followup) {
  MessageParams p{&ctx, text, icon, followup};
  DialogBoxParamW(Inst(), MAKEINTRESOURCEW(IDD_MESSAGE), owner, MessageProc, reinterpret_cast<LPARAM>(&p));
}

}  // namespace aimsim
