#include "download/win/ask.h"

#include "base/win/utf.h"
#include "msgbox/win/msgbox.h"

namespace iv::download {

namespace {
MsgBoxFn& Current() {
  static MsgBoxFn fn;
  return fn;
}
}  // namespace

void SetMsgBox(MsgBoxFn fn) { Current() = std::move(fn); }

int Ask(const std::string& prompt, int icon, int buttons, const std::string& title, HWND owner) {
  if (Current()) return Current()(prompt, icon, buttons, title, owner);
  return msgbox::ShowMsgBox(Widen(prompt), icon, buttons, Widen(title), false, owner).code;
}

}  // namespace iv::download
