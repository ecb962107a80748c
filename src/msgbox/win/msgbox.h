// ShowMsgBox: every question and notice of the program. It opens a topmost box with
// the marked-up Prompt, waits (blocking on the message queue, so timers and other
// windows keep running) until the user answers, and returns that box's own answer.
// Boxes may be opened while another call is still waiting; each call gets its own.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "msgbox/core/answer.h"

namespace iv::msgbox {

// The user's answer.
// Without an input box: code is 1 OK, 2 Cancel, 6 Yes, 7 No, -1 when the box was
// closed without a button, and 0 (no answer) for button sets other than 0, 1 and 4;
// hasText is false and text empty.
// With an input box (ShowInput): hasText is true; text is the typed text when the
// answer was the left button, Enter in the input box, or the "OK" of an OK-only box,
// and empty when cancelled or closed; code is 1 for those answers, 2 cancelled and
// -1 closed.
struct MsgResult {
  int code = 0;
  std::wstring text;
  bool hasText = false;
};

inline constexpr std::wstring_view kDefaultTitle = L"Iconvane for AIM";

// Icon: 16 critical, 32 question, 48 exclamation, 64 information, 0 none.
// Buttons: 0 OK only, 1 OK and Cancel, 4 Yes and No.
// Owner is disabled while the box is open. Picture (not owned) replaces the icon
// image. OKCaption and CancelCaption, when not empty, replace the left and right
// captions. MaxLength 0 means no limit.
MsgResult ShowMsgBox(std::wstring_view Prompt, int Icon = 0, int Buttons = 0, std::wstring_view Title = kDefaultTitle,
                     bool ShowInput = false, HWND Owner = nullptr, HICON Picture = nullptr, bool BoldOK = false,
                     bool BoldCancel = false, std::wstring_view OKCaption = {}, std::wstring_view CancelCaption = {},
                     std::wstring_view DefaultText = {}, bool SelectText = true, int MaxLength = 0);

}  // namespace iv::msgbox
