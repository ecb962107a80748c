// The promotion button: shows the items of its text one after another, each fitted
// to the button, in the colour of the fade, and reports the pointer coming onto it
// and leaving it. Its window text stays the whole feature text.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace iv::links {

struct FeatureCallbacks {
  std::function<void()> pointerEnter, pointerLeave;
};

// Takes over the drawing of a plain push button. False if it could not.
bool AttachFeatureButton(HWND button, FeatureCallbacks callbacks);
void DetachFeatureButton(HWND button);
void SetFeatureColor(HWND button, COLORREF color);
// One tick of the animation: moves on to the next item when the current one has had its time.
void ScrollFeatureText(HWND button);
// The item the button shows now.
std::wstring FeatureShownText(HWND button);
COLORREF FeatureColor(HWND button);

}  // namespace iv::links
