// The caption ribbon of the download and update windows: a centred Arial caption on
// a band whose shade follows a state flag, so inverting the flag makes it blink.
// The caption is the window text, so screen readers and tests read it as usual.
#pragma once
#include <windows.h>

#include <string>

#include "base/win/handles.h"
#include "base/win/window.h"

namespace iv::download {

class Ribbon : public Window {
 public:
  bool Create(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h);
  void SetCaption(const std::wstring& text);
  void SetColor(COLORREF color);
  bool State() const { return state_; }
  void SetState(bool state);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint();
  UniqueFont font_;
  COLORREF color_ = RGB(0, 0, 0);
  bool state_ = true;
};

}  // namespace iv::download
