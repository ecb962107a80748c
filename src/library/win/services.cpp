// The library feature's links to the message box and the shell in the running program.
#include "base/win/utf.h"
#include "library/win/library_feature.h"
#include "msgbox/win/msgbox.h"
#include "shell/win/shell_open.h"

namespace iv::library {

LibraryServices DefaultLibraryServices() {
  LibraryServices services;
  services.open = [](const std::wstring& target) { return shell::ShellOpen(target); };
  services.ask = [](HWND owner, const std::string& prompt) {
    return msgbox::ShowMsgBox(Widen(prompt), msgbox::kIconQuestion, msgbox::kButtonsYesNo, msgbox::kDefaultTitle, false, owner).code;
  };
  services.import = DefaultImportServices();
  return services;
}

}  // namespace iv::library
