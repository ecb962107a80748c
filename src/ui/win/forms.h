// Window and timing helpers shared by every window of the program.
#pragma once
#include <windows.h>

#include <string>

#include "settings/core/store.h"

namespace iv::ui {

// Dispatches pending messages (base/win/pump.h).
void DoEvents();

// Keeps dispatching messages until ms milliseconds have passed or the program is
// quitting, sleeping while there are none. Returns at once for 0 or less.
void Wait(long ms);

// The program's loaded windows, in load order. Our top-level windows register
// themselves when created and unregister when destroyed.
void RegisterForm(HWND hwnd);
void UnregisterForm(HWND hwnd);
bool IsFormLoaded(HWND hwnd);

// Unload modes passed to a form's QueryUnload.
enum UnloadMode : int { kFormControlMenu = 0, kFormCode = 1, kAppWindows = 2 };

// Unloads every loaded window in order; the program's normal exit path. A window
// that refuses (the exit question answered No) stops it; the main window comes
// first, so a No leaves every window loaded.
void UnloadAllForms(bool ignored = false);

void ShowForm(HWND hwnd);
void MakeTopmost(HWND hwnd);
void SetNumberOnly(HWND edit, bool on);

// Position of a window in the settings store, in twips. FormPosition is where a window
// now at `current` (screen pixels) goes; LoadFormPosition moves it there.
RECT FormPosition(settings::Store& store, const std::string& section, RECT current, bool useWidth = false,
                  long defaultWidth = 0, bool useHeight = false, long defaultHeight = 0);
void LoadFormPosition(HWND hwnd, settings::Store& store, const std::string& section, bool useWidth = false,
                      long defaultWidth = 0, bool useHeight = false, long defaultHeight = 0,
                      bool useMaximised = false);
void SaveFormPosition(HWND hwnd, settings::Store& store, const std::string& section, bool saveWidth = false,
                      bool saveHeight = false, bool saveMaximised = false);

// Twips per pixel on this screen (15 at 96 dpi).
int TwipsPerPixelX();
int TwipsPerPixelY();

// Folder of the executable without a trailing backslash.
const std::wstring& ProgramFolder();

}  // namespace iv::ui
