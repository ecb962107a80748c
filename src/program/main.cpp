// Start-up: a command link goes to the download window, a rotation command to the
// running copy; anything else starts the main window, hidden for "-min".
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "app/core/startup.h"
#include "app/win/frmMain.h"
#include "base/win/utf.h"
#include "download/win/command_link.h"
#include "download/win/instance.h"
#include "rotation/core/commands.h"

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

// "-next" and the others: handed to the running copy (found as links find it), or,
// with none running, to a new copy started in the tray once it has loaded.
int RunRotationCommand(const std::wstring& args) {
  const auto command = iv::rotation::ParseCommand(iv::Narrow(args));
  if (!command) return 1;
  const UINT message = RegisterWindowMessageW(iv::Widen(iv::rotation::kCommandMessageName).c_str());
  const auto code = static_cast<WPARAM>(*command);
  if (const HWND running = iv::download::FindMainWindow()) {
    // The running copy answers at once and does the work after; a hung one is left alone.
    DWORD_PTR answer = 0;
    const bool taken = SendMessageTimeoutW(running, message, code, 0, SMTO_ABORTIFHUNG, 30000, &answer) &&
                       answer == static_cast<DWORD_PTR>(iv::rotation::kCommandAccepted);
    return taken ? 0 : 1;
  }
  return iv::app::RunMainWindow(true, [message, code](HWND main) { PostMessageW(main, message, code, 0); });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  const std::wstring args = Arguments();
  int rc = 0;
  switch (iv::app::DecideStart(iv::Narrow(args))) {
    case iv::app::StartKind::CommandLink: {
      // For the shell; the main window joins COM itself, after its first paint.
      const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
      // The download window stays alive until the main window, if it takes over, ends.
      const iv::download::LinkOutcome link = iv::download::RunCommandLink(args);
      rc = link.runMainWindow ? iv::app::RunMainWindow(false) : link.exitCode;
      if (com) CoUninitialize();
      break;
    }
    case iv::app::StartKind::MainHidden:
      rc = iv::app::RunMainWindow(true);
      break;
    case iv::app::StartKind::MainShown:
      rc = iv::app::RunMainWindow(false);
      break;
    case iv::app::StartKind::RotationCommand:
      rc = RunRotationCommand(args);
      break;
  }
  return rc;
}
