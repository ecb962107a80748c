// The about box: title with the version, the licence note and a donation button.
#pragma once
#include <windows.h>

namespace iv::links {

inline constexpr wchar_t kAboutClass[] = L"IconvaneAbout";
inline constexpr wchar_t kAboutCaption[] = L"About Iconvane";

// Control ids of the about box.
enum AboutIds : int { LblTitle = 100, lblMaker, Line1, FraLicense, lblName, cmdDonate, cmdOK };

// Shows the about box, creating it on first request; a second request brings the
// same window to the front. Returns its window.
HWND ShowAbout();

}  // namespace iv::links
