#include "fileinfo/win/notice.h"

#include "msgbox/win/msgbox.h"

namespace iv::fileinfo {

clsFiles::Notice DefaultNotice() {
  return [](const std::wstring& prompt) { (void)msgbox::ShowMsgBox(prompt, msgbox::kIconExclamation, msgbox::kButtonsOK, L"Iconvane for AIM"); };
}

}  // namespace iv::fileinfo
