#include "download/win/command_link.h"

#include <windows.h>

#include "base/win/pump.h"
#include "base/win/utf.h"
#include "download/core/link.h"
#include "download/win/ask.h"
#include "download/win/frmDL.h"
#include "msgbox/core/answer.h"
#include "settings/win/registry_backend.h"
#include "ui/win/forms.h"

namespace iv::download {

LinkOutcome RunCommandLink(const std::wstring& commandLine) {
  const std::string link = LinkFromCommandLine(Narrow(commandLine)).value_or("");
  const std::string rest = StripScheme(link);
  const std::string command = GetCommand(rest);
  if (command != kAddIcon && command != kAddList) {
    Ask("Iconvane command not recognized.", msgbox::kIconCritical, msgbox::kButtonsOK, "Picvane", nullptr);
    return {};
  }

  auto dl = std::make_unique<frmDL>(settings::RegistryStore(), ui::ProgramFolder(), command, GetArgument(rest));
  if (!dl->Load()) return {.exitCode = 1};
  if (const Pumped pumped = PumpUntil([&] { return dl->WantsMainWindow(); }); pumped.end == PumpEnd::Quit)
    return {.exitCode = pumped.exitCode};
  // The main window exists before this close is handled, so the program keeps running.
  if (!dl->StaysOpen()) PostMessageW(dl->hwnd(), WM_CLOSE, 0, 0);
  return {0, true, std::move(dl)};
}

}  // namespace iv::download
