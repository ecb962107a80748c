// The "Confirm action" question for "aim:" links and what a confirmed link does.
#include <windows.h>

#include <string>

#include "base/win/utf.h"
#include "resource.h"
#include "sim.h"
#include "sim_dialog_base.h"

namespace aimsim {

namespace {

struct ConfirmParams {
  const Context* ctx;
  std::wstring text;
};

INT_PTR CALLBACK ConfirmProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* p = Attach<ConfirmParams>(dlg, lp);
    SetDlgItemTextW(dlg, IDC_QUESTION_TEXT, p->text.c_str());
    SetIcon(dlg, IDC_QUESTION_ICON, IDI_QUESTION);
    // Shown and activated before its title lets anyone find it: activating the dialog
    // between a button's down and up would cancel a click.
    ShowWindow(dlg, SW_SHOW);
    SetForegroundWindow(dlg);
    SetWindowTextW(dlg, kConfirmTitle);
    p->ctx->Log("confirm-shown");
    return TRUE;
  }
  auto* p = Data<ConfirmParams>(dlg);
  if (!p) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDYES || LOWORD(wp) == IDNO || LOWORD(wp) == IDCANCEL) {
        EndDialog(dlg, LOWORD(wp) == IDYES ? IDYES : IDNO);
        return TRUE;
      }
      break;
    case WM_CLOSE:
      EndDialog(dlg, IDNO);
      return TRUE;
    case WM_WINDOWPOSCHANGED:
    case WM_DESTROY:
      TrackDialog(*p->ctx, dlg, kConfirmTitle, msg, lp);
      break;
  }
  return FALSE;
}

// The messenger would fetch Src into picture.id; a write-protected picture.id keeps
// the picture put there before the link was opened.
void FetchSrc(const Context& ctx, const AimLink& link) {
  const std::wstring pic = ctx.PicturePath();
  if (IsReadOnly(pic))
    ctx.Log("icon-protected " + iv::Narrow(pic));
  else if (WriteWholeFile(pic, BlankGif()))
    ctx.Log("icon-fetched " + link.Param("Src"));
}

std::wstring TakePicture(const Context& ctx, const AimLink& link) {
  if (ctx.options.fetchSrc) FetchSrc(ctx, link);
  const std::wstring pic = ctx.PicturePath();
  std::string bytes;
  const std::string reason = ReadIcon(pic, bytes);
  if (!reason.empty()) {
    ctx.Log("icon-refused " + iv::Narrow(pic) + " " + reason);
    return L"Your Buddy Icon could not be set (" + iv::Widen(reason) + L").";
  }
  ctx.Log("icon-set " + iv::Narrow(pic) + " " + std::to_string(bytes.size()) + " " + Hex8(Crc32(bytes)));
  return L"Your Buddy Icon has been set.";
}

void CarryOut(Context& ctx, const std::string& text) {
  AimLink link;
  if (!ParseAimLink(text, link)) {
    ctx.Log("link-invalid " + text);
    return;
  }
  ctx.Log("link-received " + text);
  if (link.IsBuddyIcon()) ctx.Log("src-checked " + link.Param("Src") + " " + CheckSrc(link.Param("Src")));
  ConfirmParams cp{&ctx, iv::Widen(ConfirmText(link, ctx.options))};
  const INT_PTR answer =
      DialogBoxParamW(Inst(), MAKEINTRESOURCEW(IDD_CONFIRM), ctx.main, ConfirmProc, reinterpret_cast<LPARAM>(&cp));
  ctx.Log(answer == IDYES ? "confirm-answered yes" : "confirm-answered no");
  if (answer != IDYES) return;
  const std::wstring outcome = link.IsBuddyIcon() && !ctx.options.confirmOther
                                   ? TakePicture(ctx, link)
                                   : L"The screen name was added to your Buddy List.";
  ShowMessage(ctx, ctx.main, outcome, IDI_INFORMATION, true);
}

}  // namespace

void HandleQueuedLinks(Context& ctx) {
  // A link that arrives while a question is open waits its turn instead of nesting.
  if (ctx.handlingLinks) return;
  ctx.handlingLinks = true;
  while (!ctx.links.empty() && ctx.main) {
    const std::string link = ctx.links.front();
    ctx.links.pop_front();
    CarryOut(ctx, link);
  }
  ctx.handlingLinks = false;
}

}  // namespace aimsim
