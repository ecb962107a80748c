// Preferences with its category pages and the "Choose Buddy Icon Image" dialog.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "base/win/utf.h"
#include "base/win/window.h"
#include "resource.h"
#include "sim.h"
#include "sim_dialog_base.h"

namespace aimsim {

namespace {

constexpr UINT kMsgShowRefusal = WM_APP + 1;

// --- "Choose Buddy Icon Image"

struct ChooserState {
  Context* ctx;
  bool refusing = false;
  std::wstring refusal;
};

void EndChooser(HWND dlg) {
  // The owner is enabled first so that activation returns to it, not to another program.
  EnableWindow(GetWindow(dlg, GW_OWNER), TRUE);
  DestroyWindow(dlg);
}

std::wstring RefusalText(const std::string& reason, const std::wstring& path) {
  if (reason == "not-gif") return L"\"" + path + L"\" is not a GIF image and cannot be your Buddy Icon.";
  if (reason == "too-large") return L"\"" + path + L"\" is too large to be your Buddy Icon.";
  if (reason == "write-failed") return L"Your Buddy Icon could not be saved.";
  return L"\"" + path + L"\" could not be found.";
}

void SelectIcon(HWND dlg, ChooserState& st) {
  if (st.refusing) return;  // one error box at a time; the owner is disabled meanwhile
  Context& ctx = *st.ctx;
  // A busy messenger: the press is lost and the chooser stays as it was.
  if (ctx.selectsIgnored < ctx.options.ignoreSelects) {
    ctx.Log("select-ignored " + std::to_string(++ctx.selectsIgnored));
    return;
  }
  const std::wstring path = iv::GetText(GetDlgItem(dlg, IDC_FILE_NAME));
  std::string bytes;
  std::string reason = ReadIcon(path, bytes);
  if (reason.empty() && !WriteWholeFile(ctx.PicturePath(), bytes)) reason = "write-failed";
  if (!reason.empty()) {
    ctx.Log("icon-refused " + iv::Narrow(path) + " " + reason);
    st.refusing = true;
    st.refusal = RefusalText(reason, path);
    // The press may come from another program's sent message; showing the box later
    // lets that send return instead of waiting for the user.
    PostMessageW(dlg, kMsgShowRefusal, 0, 0);
    return;
  }
  ctx.Log("icon-chosen " + iv::Narrow(path));
  ctx.Log("icon-set " + iv::Narrow(ctx.PicturePath()) + " " + std::to_string(bytes.size()) + " " + Hex8(Crc32(bytes)));
  // Destroyed rather than ended, so the dialog is gone by the time the press returns.
  EndChooser(dlg);
}

INT_PTR CALLBACK ChooserProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    Attach<ChooserState>(dlg, lp);
    // Over its owner, wherever the owner is (also off screen).
    RECT owner{};
    GetWindowRect(GetWindow(dlg, GW_OWNER), &owner);
    SetWindowPos(dlg, nullptr, owner.left + 40, owner.top + 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // Shown before its title lets anyone find it, so a later hide is not undone by us.
    ShowWindow(dlg, SW_SHOW);
    SetWindowTextW(dlg, kChooserTitle);
    return TRUE;
  }
  auto* st = Data<ChooserState>(dlg);
  if (!st) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) SelectIcon(dlg, *st);
      if (LOWORD(wp) == IDCANCEL) {
        st->ctx->Log("chooser-cancelled");
        EndChooser(dlg);
      }
      return TRUE;
    case WM_CLOSE:
      st->ctx->Log("chooser-cancelled");
      EndChooser(dlg);
      return TRUE;
    case kMsgShowRefusal:
      ShowMessage(*st->ctx, dlg, st->refusal, IDI_WARNING, false);
      st->refusing = false;
      return TRUE;
    case WM_WINDOWPOSCHANGED:
      TrackDialog(*st->ctx, dlg, kChooserTitle, msg, lp);
      break;
    case WM_DESTROY:
      TrackDialog(*st->ctx, dlg, kChooserTitle, msg, lp);
      st->ctx->chooser = nullptr;
      break;
  }
  return FALSE;
}

// Modal to Preferences, with a loop of its own so that accepting a file can destroy
// the dialog at once (a dialog ended with EndDialog lingers until its loop runs again).
void RunChooser(Context& ctx) {
  const HWND owner = ctx.prefs;
  ChooserState st{&ctx, false, {}};
  EnableWindow(owner, FALSE);
  const HWND dlg =
      CreateDialogParamW(Inst(), MAKEINTRESOURCEW(IDD_CHOOSE), owner, ChooserProc, reinterpret_cast<LPARAM>(&st));
  if (!dlg) {
    EnableWindow(owner, TRUE);
    return;
  }
  ctx.chooser = dlg;
  ctx.Log("chooser-opened");
  MSG msg;
  while (IsWindow(dlg)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must see it too
      EndChooser(dlg);
      break;
    }
    if (!IsDialogMessageW(dlg, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (IsWindow(owner)) EnableWindow(owner, TRUE);
  if (ctx.closePrefsAfterChooser && IsWindow(owner)) {
    ctx.closePrefsAfterChooser = false;
    PostMessageW(owner, WM_CLOSE, 0, 0);
  }
}

// --- Preferences and its pages

void ShowIconInfo(const Context& ctx, HWND page) {
  std::string bytes;
  const std::string reason = ReadIcon(ctx.PicturePath(), bytes);
  const std::string text = reason.empty()
                               ? "picture.id, " + std::to_string(bytes.size()) + " bytes, CRC " + Hex8(Crc32(bytes))
                               : "No buddy icon (" + reason + ")";
  SetDlgItemTextW(page, IDC_ICON_INFO, iv::Widen(text).c_str());
}

INT_PTR CALLBACK PageProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* ctx = Attach<Context>(dlg, lp);
    if (GetDlgItem(dlg, IDC_ICON_INFO)) ShowIconInfo(*ctx, dlg);
    return FALSE;  // focus stays with the category list
  }
  auto* ctx = Data<Context>(dlg);
  if (ctx && msg == WM_COMMAND && LOWORD(wp) == IDC_BROWSE && HIWORD(wp) == BN_CLICKED) {
    ctx->Log("browse-clicked");
    RunChooser(*ctx);
    if (IsWindow(dlg)) ShowIconInfo(*ctx, dlg);
    return TRUE;
  }
  return FALSE;
}

// Pages are created when their category is chosen, so the "Buddy Icons" page and its
// button exist only after the category list was really switched to it.
void ShowPage(Context& ctx, int index) {
  const auto& names = PreferenceCategories();
  if (index < 0 || index >= static_cast<int>(names.size())) return;
  if (ctx.page && index == ctx.pageIndex) return;
  if (ctx.page) DestroyWindow(ctx.page);
  ctx.page = nullptr;
  ctx.pageIndex = -1;
  const bool icons = index == kBuddyIconsItem;
  const HWND page = CreateDialogParamW(Inst(), MAKEINTRESOURCEW(icons ? IDD_PAGE_ICONS : IDD_PAGE_OTHER), ctx.prefs,
                                       PageProc, reinterpret_cast<LPARAM>(&ctx));
  if (!page) return;
  const std::wstring name = iv::Widen(names[index]);
  SetWindowTextW(page, name.c_str());
  if (!icons) SetDlgItemTextW(page, IDC_PAGE_TEXT, (L"Settings for " + name + L".").c_str());
  RECT list{};
  GetWindowRect(GetDlgItem(ctx.prefs, IDC_CATEGORIES), &list);
  MapWindowPoints(nullptr, ctx.prefs, reinterpret_cast<POINT*>(&list), 2);
  RECT client{};
  GetClientRect(ctx.prefs, &client);
  SetWindowPos(page, nullptr, list.right + 12, list.top, client.right - list.right - 20, list.bottom - list.top,
               SWP_NOZORDER | SWP_SHOWWINDOW);
  ctx.page = page;
  ctx.pageIndex = index;
  ctx.Log("page-shown " + names[index]);
}

// The list box handles the click itself (selection, focus); the page follows the item
// under the click point, as it would for a real mouse click.
LRESULT CALLBACK CategoryListProc(HWND list, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(list, CategoryListProc, id);
  const LRESULT result = DefSubclassProc(list, msg, wp, lp);
  if (msg == WM_LBUTTONUP) {
    Context& ctx = *reinterpret_cast<Context*>(ref);
    const auto hit = static_cast<DWORD>(SendMessageW(list, LB_ITEMFROMPOINT, 0, lp));
    const int item = HIWORD(hit) ? -1 : LOWORD(hit);
    ShowPage(ctx, item);  // before the log line, so a reader of the line finds the page
    ctx.Log("list-click " + std::to_string(GET_X_LPARAM(lp)) + " " + std::to_string(GET_Y_LPARAM(lp)) + " " +
            std::to_string(wp) + " " + std::to_string(item));
  }
  return result;
}

void InitPreferences(Context& ctx, HWND dlg) {
  ctx.prefs = dlg;
  SetWindowTextW(dlg, iv::Widen(ctx.profile.prefsTitle).c_str());
  const HWND list = GetDlgItem(dlg, IDC_CATEGORIES);
  const auto& names = PreferenceCategories();
  for (const std::string& name : names)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(iv::Widen(name).c_str()));
  SendMessageW(list, LB_SETITEMHEIGHT, 0, ctx.profile.itemHeight);
  // Pixel-exact, so a click point names the same item on every display.
  const int border = 2 * GetSystemMetrics(SM_CYBORDER);
  SetWindowPos(list, nullptr, 10, 10, 150, ctx.profile.itemHeight * static_cast<int>(names.size()) + border,
               SWP_NOZORDER);
  SetWindowSubclass(list, CategoryListProc, 1, reinterpret_cast<DWORD_PTR>(&ctx));
  ctx.prefsPos = {120, 80};
  SetWindowPos(dlg, nullptr, ctx.prefsPos.x, ctx.prefsPos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  ShowPage(ctx, 0);
  ctx.Log("prefs-opened");
}

void ClosePreferences(Context& ctx, HWND dlg) {
  if (ctx.chooser) {
    // Closed from inside the chooser's loop: end the chooser, close once it has returned.
    ctx.closePrefsAfterChooser = true;
    ctx.Log("chooser-cancelled");
    EndChooser(ctx.chooser);
    return;
  }
  DestroyWindow(dlg);
}

INT_PTR CALLBACK PrefsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    InitPreferences(*Attach<Context>(dlg, lp), dlg);
    return TRUE;
  }
  auto* ctx = Data<Context>(dlg);
  if (!ctx) return FALSE;
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_CATEGORIES && HIWORD(wp) == LBN_SELCHANGE) {
        ShowPage(*ctx, static_cast<int>(SendMessageW(reinterpret_cast<HWND>(lp), LB_GETCURSEL, 0, 0)));
      } else if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        ClosePreferences(*ctx, dlg);
      }
      return TRUE;
    case WM_CLOSE:
      ClosePreferences(*ctx, dlg);
      return TRUE;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (!(pos->flags & SWP_NOMOVE) && (pos->x != ctx->prefsPos.x || pos->y != ctx->prefsPos.y)) {
        ctx->prefsPos = {pos->x, pos->y};
        ctx->Log("prefs-moved " + std::to_string(pos->x) + " " + std::to_string(pos->y));
      }
      TrackDialog(*ctx, dlg, iv::Widen(ctx->profile.prefsTitle), msg, lp);
      break;
    }
    case WM_DESTROY:
      TrackDialog(*ctx, dlg, iv::Widen(ctx->profile.prefsTitle), msg, lp);
      ctx->prefs = nullptr;
      ctx->page = nullptr;
      ctx->pageIndex = -1;
      ctx->Log("prefs-closed");
      break;
  }
  return FALSE;
}

}  // namespace

void OpenPreferences(Context& ctx) {
  if (ctx.prefs) {
    ctx.Log("prefs-already-open");
    SetForegroundWindow(ctx.chooser ? ctx.chooser : ctx.prefs);
    return;
  }
  const HWND dlg =
      CreateDialogParamW(Inst(), MAKEINTRESOURCEW(IDD_PREFS), ctx.main, PrefsProc, reinterpret_cast<LPARAM>(&ctx));
  if (dlg) ShowWindow(dlg, SW_SHOW);
}

}  // namespace aimsim
