#include "ui/win/controls.h"

#include "base/win/window.h"
#include "ui/win/image_view.h"
#include "widgets/aolbutton/win/aolbutton.h"

namespace iv::ui {

namespace {

// Holds one tab's controls. Their notifications go on to the main window, where the
// subsystems' features handle them.
class TabPanel : public Window {
 public:
  explicit TabPanel(HWND forwardTo) : forwardTo_(forwardTo) {}

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
      case WM_VKEYTOITEM:
        return SendMessageW(forwardTo_, msg, wp, lp);
    }
    return Window::WndProc(msg, wp, lp);
  }
  void OnFinalMessage() override { delete this; }

 private:
  HWND forwardTo_;
};


}  // namespace

HWND CreatePanel(HWND parent, HWND forwardTo, int id, const RECT& r) {
  return Window::CreateSelfOwned(std::make_unique<TabPanel>(forwardTo), L"IconvaneTabPanel", L"",
                                 WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

HWND CreatePushButton(HWND parent, int id, const wchar_t* caption, int x, int y, int w, int h) {
  const HWND button = aolbutton::Create(parent, id, caption, RECT{x, y, x + w, y + h});
  // The button's own default face may be missing; the UI font always exists.
  if (button) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), TRUE);
  return button;
}

HWND CreateImageView(HWND parent, int id, int x, int y, int w, int h) {
  return ui::CreateImageView(parent, id, RECT{x, y, x + w, y + h});
}

}  // namespace iv::ui
