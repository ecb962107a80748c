#include "links/win/frmAbout.h"

#include <commctrl.h>

#include "base/win/handles.h"
#include "base/win/program_icon.h"
#include "base/win/utf.h"
#include "links/core/links.h"
#include "shell/win/shell_open.h"
#include "ui/win/form.h"
#include "widgets/aolbutton/win/aolbutton.h"

namespace iv::links {
namespace {

constexpr int kWidth = 360, kHeight = 250;

class frmAbout : public ui::Form {
 public:
  static frmAbout* current;

  ~frmAbout() override {
    if (current == this) current = nullptr;
  }

 protected:
  bool OnCreate() override {
    const HWND h = hwnd();
    const HWND title = CreateControl(h, L"STATIC", L"Iconvane:  V 1.x.x", 0, 16, 12, 328, 26, LblTitle);
    LOGFONTW lf{};
    GetObjectW(UiFont(), sizeof lf, &lf);
    lf.lfHeight = lf.lfHeight * 3 / 2;
    lf.lfWeight = FW_BOLD;
    titleFont_.reset(CreateFontIndirectW(&lf));
    SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
    CreateControl(h, L"STATIC", L"Copyright \u00A9 Dravolt Software. All rights reserved.", 0, 16, 42, 328, 18,
                  lblMaker);
    CreateControl(h, L"STATIC", L"", SS_ETCHEDHORZ, 16, 66, 328, 2, Line1);
    CreateControl(h, L"BUTTON", L"License Information", BS_GROUPBOX, 16, 76, 328, 120, FraLicense);
    CreateControl(h, L"STATIC", Widen(LicenseText()).c_str(), 0, 28, 96, 304, 48, lblName);
    const HWND donate = aolbutton::Create(h, cmdDonate, L"Donate and Contribute", RECT{28, 152, 196, 184});
    const HWND ok = aolbutton::Create(h, cmdOK, L"OK", RECT{264, 206, 344, 238});
    for (HWND b : {donate, ok}) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
    AddTooltip(donate, L"Make a small donation to the creators of Iconvane");

    // The title always shows the version this program is.
    SetWindowTextW(title, Widen(AboutTitle()).c_str());
    return true;
  }

  bool OnCommand(int id, int code, HWND /*ctl*/) override {
    if (id == IDOK || id == IDCANCEL || (id == cmdOK && code == BN_CLICKED)) {
      Unload(ui::kFormCode);
      return true;
    }
    if (id == cmdDonate && code == BN_CLICKED) {
      shell::ShellOpen(Widen(DonationUrl()));  // failures are not shown
      Unload(ui::kFormCode);
      return true;
    }
    return false;
  }

  void OnFinalMessage() override { delete this; }

 private:
  void AddTooltip(HWND tool, const wchar_t* text) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    ti.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }

  UniqueFont titleFont_;
  HWND tooltip_ = nullptr;
};

frmAbout* frmAbout::current = nullptr;

}  // namespace

HWND ShowAbout() {
  if (frmAbout::current && IsWindow(frmAbout::current->hwnd())) {
    ui::ShowForm(frmAbout::current->hwnd());
    return frmAbout::current->hwnd();
  }
  auto* about = new frmAbout;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  // Created topmost as well: Wine does not always keep a later topmost change.
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_TOPMOST;
  RECT r{0, 0, kWidth, kHeight};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  frmAbout::current = about;
  if (!about->Create(kAboutClass, kAboutCaption, style, exStyle, x, y, w, h, nullptr, nullptr)) {
    // Without a window no final message comes: the object is still ours.
    if (frmAbout::current == about) delete about;
    return nullptr;
  }
  SetProgramIcon(about->hwnd());
  ui::ShowForm(about->hwnd());
  ui::MakeTopmost(about->hwnd());
  SetFocus(GetDlgItem(about->hwnd(), cmdOK));
  return about->hwnd();
}

}  // namespace iv::links
