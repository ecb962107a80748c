#include <gtest/gtest.h>

#include "widgets/aolbutton/win/aolbutton.h"

namespace iv::aolbutton {
namespace {

// A plain parent that records the WM_COMMAND notifications it gets.
struct Parent {
  static inline std::vector<std::pair<int, int>> commands;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COMMAND) commands.emplace_back(LOWORD(wp), HIWORD(wp));
    return DefWindowProcW(h, m, wp, lp);
  }
  Parent() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AolButtonTestParent";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
    commands.clear();
  }
  ~Parent() { DestroyWindow(hwnd); }
  HWND hwnd;
};

COLORREF PixelOf(HWND b, int x, int y) {
  COLORREF c = CLR_INVALID;
  EXPECT_TRUE(ReadPixel(b, x, y, c));
  return c;
}

const COLORREF kFace = RGB(0x01, 0x6D, 0xAA);

class AolButtonWin : public ::testing::Test {
 protected:
  Parent parent;
  HWND button = Create(parent.hwnd, 42, L"Use this Icon!", RECT{10, 10, 110, 40});
};

TEST_F(AolButtonWin, IsAChildWhoseTextIsItsCaption) {
  ASSERT_NE(button, nullptr);
  wchar_t cls[32] = {}, text[64] = {};
  GetClassNameW(button, cls, 32);
  GetWindowTextW(button, text, 64);
  EXPECT_STREQ(cls, L"AOLButton");
  EXPECT_STREQ(text, L"Use this Icon!");
  EXPECT_EQ(GetDlgCtrlID(button), 42);
  ASSERT_NE(Get(button), nullptr);
  EXPECT_EQ(Get(button)->Caption(), "Use this Icon!");
  SetWindowTextW(button, L"Close");
  EXPECT_EQ(Get(button)->Caption(), "Close");
  EXPECT_EQ(Get(parent.hwnd), nullptr);
}

// The portable button's tests prove the logic and the picture; these prove that window
// messages reach it and that what it draws reaches the window.
TEST_F(AolButtonWin, BmClickSendsBnClickedOnlyWhileEnabled) {
  SendMessageW(button, BM_CLICK, 0, 0);
  ASSERT_EQ(Parent::commands.size(), 1u);
  EXPECT_EQ(Parent::commands[0], std::make_pair(42, int{BN_CLICKED}));
  EnableWindow(button, FALSE);
  EXPECT_FALSE(Get(button)->Enabled());
  EXPECT_EQ(PixelOf(button, 2, 2), RGB(255, 255, 255));  // the checkerboard
  EXPECT_EQ(PixelOf(button, 1, 2), kFace);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(Parent::commands.size(), 1u);
  EnableWindow(button, TRUE);
  EXPECT_EQ(PixelOf(button, 2, 2), kFace);
}

// A press takes the mouse, so its release ends the press wherever it is; only a press
// and a release both on the button click.
TEST_F(AolButtonWin, MousePressDrawsAndCapturesAndOnlyAReleaseOnItClicks) {
  EXPECT_EQ(PixelOf(button, 10, 10), kFace);
  EXPECT_EQ(PixelOf(button, 0, 10), RGB(0x91, 0xB6, 0xFF));  // light border
  EXPECT_EQ(PixelOf(button, 97, 20), RGB(128, 128, 128));    // shadow, W = 97 px
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));     // pressed elsewhere
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCapture(), button);
  EXPECT_EQ(PixelOf(button, 10, 10), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  SendMessageW(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 5));
  EXPECT_EQ(PixelOf(button, 10, 10), kFace);
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
  EXPECT_TRUE(Parent::commands.empty());
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Parent::commands.size(), 1u);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(AolButtonWin, SpaceBarClicksOnReleaseAndEnterAtOnce) {
  SendMessageW(button, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(PixelOf(button, 10, 10), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_TRUE(Parent::commands.empty());
  SendMessageW(button, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(PixelOf(button, 10, 10), kFace);
  ASSERT_EQ(Parent::commands.size(), 1u);
  SendMessageW(button, WM_CHAR, VK_RETURN, 0);
  EXPECT_EQ(Parent::commands.size(), 2u);
}

// Drawing asks for one paint at a time: after each paint the next change must ask again,
// hidden or shown, or the screen keeps an old picture.
TEST_F(AolButtonWin, EveryChangeAfterAPaintAsksForAnother) {
  const auto waitsForPaint = [&] { return GetUpdateRect(button, nullptr, FALSE) != FALSE; };
  UpdateWindow(button);
  ASSERT_FALSE(waitsForPaint());
  Get(button)->SetBackColor(0x0000FF);
  Get(button)->SetForeColor(0x00FF00);
  EXPECT_TRUE(waitsForPaint());
  UpdateWindow(button);
  EXPECT_FALSE(waitsForPaint());
  Get(button)->SetCaption("Again");
  EXPECT_TRUE(waitsForPaint());

  ShowWindow(button, SW_HIDE);
  Get(button)->SetBackColor(0xFF0000);
  ShowWindow(button, SW_SHOW);
  UpdateWindow(button);
  EXPECT_EQ(PixelOf(button, 10, 10), RGB(0, 0, 0xFF));
  Get(button)->SetBackColor(0x00FF00);
  EXPECT_TRUE(waitsForPaint());
}

TEST_F(AolButtonWin, HandlerThatDestroysTheButtonIsSafe) {
  SetEventHandler(button, [&](Event e, EventArgs&) {
    if (e == Event::Click) DestroyWindow(button);
  });
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(button));
}

}  // namespace
}  // namespace iv::aolbutton
