// The questions and notices of the download windows go through the program's
// message box; tests put their own answerer in its place.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace iv::download {

// Prompt (markup), icon (16, 32, 48, 64), buttons (0 OK, 1 OK/Cancel, 4 Yes/No),
// title, owner (may be nullptr). Returns 1 OK, 2 Cancel, 6 Yes, 7 No, -1 closed.
using MsgBoxFn = std::function<int(const std::string& prompt, int icon, int buttons, const std::string& title,
                                   HWND owner)>;

// An empty fn restores the program's message box.
void SetMsgBox(MsgBoxFn fn);
int Ask(const std::string& prompt, int icon, int buttons, const std::string& title, HWND owner);

}  // namespace iv::download
