#include "msgbox/win/msgbox.h"

#include "base/win/pump.h"
#include "msgbox/win/frmMsgBox.h"

namespace iv::msgbox {

MsgResult ShowMsgBox(std::wstring_view Prompt, int Icon, int Buttons, std::wstring_view Title, bool ShowInput,
                     HWND Owner, HICON Picture, bool BoldOK, bool BoldCancel, std::wstring_view OKCaption,
                     std::wstring_view CancelCaption, std::wstring_view DefaultText, bool SelectText, int MaxLength) {
  frmMsgBox box({std::wstring(Prompt), Icon, Buttons, std::wstring(Title), ShowInput, Owner, Picture, BoldOK,
                 BoldCancel, std::wstring(OKCaption), std::wstring(CancelCaption), std::wstring(DefaultText),
                 SelectText, MaxLength});
  if (!box.Open()) return {};
  // Block on the queue until this box is gone. A box opened meanwhile by a handler runs
  // its own loop inside this one; this box's answer stays with this box.
  // WM_QUIT belongs to the program's own loop: the box closes and the quit goes on.
  if (PumpUntil([&] { return box.Finished(); }).end == PumpEnd::Quit) box.Close();
  return box.Result();
}

}  // namespace iv::msgbox
