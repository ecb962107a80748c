// The custom push button as a Win32 child window. Its window text is its caption;
// it answers BM_CLICK and sends WM_COMMAND BN_CLICKED with its id to its parent.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "widgets/aolbutton/core/button.h"

namespace iv::aolbutton {

inline constexpr wchar_t kClassName[] = L"AOLButton";

// Creates the button at r (pixels, parent's client coordinates) with the scheme
// colours and the caption. Returns nullptr on failure.
HWND Create(HWND parent, int id, const std::wstring& caption, RECT r);

// The property model of a button made by Create, or nullptr for any other window.
Button* Get(HWND hwnd);

// Observes the nine events of the button, after the parent's WM_COMMAND for clicks.
void SetEventHandler(HWND hwnd, std::function<void(Event, EventArgs&)> handler);

// The colour drawn at a pixel of the button's kept picture.
bool ReadPixel(HWND hwnd, int x, int y, COLORREF& color);

// A colour of the button's model as the screen shows it (system colours resolved).
COLORREF ToColorRef(Color c);

}  // namespace iv::aolbutton
