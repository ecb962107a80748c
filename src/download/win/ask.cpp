#include "download/win/ask.h"

#include "base/win/utf.h"
#include "msgbox/win/msgbox.h"

namespace iv::download {

int Ask(const std::string& prompt, int icon, int buttons, const std::string& title, HWND owner) {
  return msgbox::ShowMsgBox(Widen(prompt), icon, buttons, Widen(title), false, owner).code;
}

}  // namespace iv::download
