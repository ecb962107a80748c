#include "download/win/command_link.h"

#include <windows.h>

#include "app/win/frmMain.h"
#include "app/win/mod_main.h"
#include "base/win/utf.h"
#include "download/core/link.h"
#include "download/win/ask.h"
#include "download/win/frmDL.h"
#include "settings/win/registry_backend.h"

namespace iv::download {

bool IsCommandLinkLine(const std::wstring& commandLine) {
  return LinkFromCommandLine(Narrow(commandLine)).has_value();
}

int RunCommandLink(const std::wstring& commandLine) {
  const std::string link = LinkFromCommandLine(Narrow(commandLine)).value_or("");
  const std::string rest = StripScheme(link);
  const std::string command = GetCommand(rest);
  if (command != kAddIcon && command != kAddList) {
    Ask("Iconvane command not recognized.", 16, 0, "Picvane", nullptr);
    return 0;
  }

  frmDL dl(settings::RegistryStore(), app::ProgramFolder(), command, GetArgument(rest));
  if (!dl.Load()) return 1;
  MSG msg{};
  int code = 0;
  while (!dl.WantsMainWindow()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      code = static_cast<int>(msg.wParam);
      break;
    }
    if (got < 0) return 1;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (!dl.WantsMainWindow()) return code;
  // The main window exists before this close is handled, so the program keeps running.
  if (!dl.StaysOpen()) PostMessageW(dl.hwnd(), WM_CLOSE, 0, 0);
  return app::RunMainWindow(false);
}

}  // namespace iv::download
