#include "msgbox/win/msgbox.h"

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
  while (!box.Finished()) {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT belongs to the program's own loop: close the box and pass it on.
      box.Close();
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return box.Result();
}

}  // namespace iv::msgbox
