// The promotion button: draws its text as a line that scrolls along in the colour
// of the fade, and reports the pointer coming onto it and leaving it.
#pragma once
#include <windows.h>

#include <functional>

namespace iv::links {

struct FeatureCallbacks {
  std::function<void()> pointerEnter, pointerLeave;
};

// Takes over the drawing of a plain push button. False if it could not.
bool AttachFeatureButton(HWND button, FeatureCallbacks callbacks);
void DetachFeatureButton(HWND button);
void SetFeatureColor(HWND button, COLORREF color);
// Moves the text on by a few pixels (one tick of the animation).
void ScrollFeatureText(HWND button);
COLORREF FeatureColor(HWND button);

}  // namespace iv::links
