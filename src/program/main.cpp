// Start-up: a command link goes to the download window; anything else starts the
// main window, hidden for "-min".
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "app/core/startup.h"
#include "app/win/frmMain.h"
#include "base/win/utf.h"
#include "download/win/command_link.h"

namespace {

// The command line after the program's own name, without the blanks before it.
std::wstring Arguments() {
  const wchar_t* p = GetCommandLineW();
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);  // for the shell
  const std::wstring args = Arguments();
  int rc = 0;
  switch (iv::app::DecideStart(iv::Narrow(args))) {
    case iv::app::StartKind::CommandLink: {
      // The download window stays alive until the main window, if it takes over, ends.
      const iv::download::LinkOutcome link = iv::download::RunCommandLink(args);
      rc = link.runMainWindow ? iv::app::RunMainWindow(false) : link.exitCode;
      break;
    }
    case iv::app::StartKind::MainHidden:
      rc = iv::app::RunMainWindow(true);
      break;
    case iv::app::StartKind::MainShown:
      rc = iv::app::RunMainWindow(false);
      break;
  }
  CoUninitialize();
  return rc;
}
