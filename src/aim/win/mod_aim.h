// Driving AIM's Preferences dialog and its "Choose Buddy Icon Image" file dialog
// from outside, by window messages. Handles of 0 mean "none" and make a step do nothing.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace iv::aim {

// What the helpers need from the program: AIM's version (it moves the category
// list's click point) and a wait that keeps the program's messages flowing.
struct Driver {
  double aimVersion = 0;
  std::wstring programFolder;
  std::function<void(long ms)> wait;
};

HWND FindAIMPreferences();
HWND FindChooseIconDialog();
void OpenAIMPreferences(HWND aimWindow);
// Posts the close; returns the dialog it asked to close (0 when none was open).
HWND CloseAIMPreferences();
void ShowBuddyIconsPage(const Driver& d, HWND prefs, bool moveAway);
void SelectBuddyIconsCategory(const Driver& d, HWND prefs);
void ClickCategoryList(const Driver& d, HWND list);
HWND FindBrowseButton(HWND prefs);
// Types the icon's path into the file dialog and presses "&Select"; waits up to
// about 5 s for the dialog to appear and tries to select 5 times. True when AIM
// took the file (the dialog went away after "&Select").
bool SubmitIconPath(const Driver& d, HWND& dialog, std::wstring& path);
void SetControlText(HWND control, const std::wstring& text);
// The selected item of the Preferences category list, -1 when none.
int CurrentCategory(HWND prefs);
// Selects an item of the category list again the way a click on it does.
void RestoreCategory(HWND prefs, int item);
void PressButton(HWND button);
void PressButtonPosted(HWND button);

// SendMessage that gives up on a hung receiver instead of freezing the program.
LRESULT SendToAim(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace iv::aim
