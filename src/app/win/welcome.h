// The "Welcome!" tab's page: a view of the small HTML subset the page uses.
#pragma once
#include <windows.h>

#include <string>

namespace iv::app {

HWND CreateWelcomeView(HWND parent, int id, int x, int y, int w, int h);
void ShowWelcomePage(HWND view, const std::wstring& path);

// Writes the program's own copy of the page when the file is missing or altered.
// True when the file on disk is the program's page afterwards.
bool RestoreWelcomePage(const std::wstring& path);

}  // namespace iv::app
