// The program's own icon (resource "APPICON" of the executable, drawn at 16, 32
// and 48 pixels) for title bars, the task switcher and the notification area.
#pragma once
#include <windows.h>

namespace iv {

// The icon at the system's small or large icon size, shared (never destroyed);
// nullptr when the executable carries no icon, as test programs do.
HICON ProgramIcon(bool small);

// Gives a top-level window the program's icon; does nothing without one.
void SetProgramIcon(HWND window);

}  // namespace iv
