// Control factories shared by the windows of the program.
#pragma once
#include <windows.h>

#include <string>

namespace iv::ui {

// A custom push button: window text = caption, answers BM_CLICK, notifies BN_CLICKED.
HWND CreatePushButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h);

// An image view showing a GIF by path (empty when the file cannot be shown).
HWND CreateImageView(HWND parent, int id, int x, int y, int w, int h);

// A container for one tab's controls; it hands its children's notifications to the main window.
HWND CreatePanel(HWND parent, HWND forwardTo, int id, const RECT& r);

}  // namespace iv::ui
