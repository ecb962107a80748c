// The questions and notices of the download windows go through the program's
// message box.
#pragma once
#include <windows.h>

#include <string>

namespace iv::download {

// Prompt (markup), icon (16, 32, 48, 64), buttons (0 OK, 1 OK/Cancel, 4 Yes/No),
// title, owner (may be nullptr). Returns 1 OK, 2 Cancel, 6 Yes, 7 No, -1 closed.
int Ask(const std::string& prompt, int icon, int buttons, const std::string& title, HWND owner);

}  // namespace iv::download
