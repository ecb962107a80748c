// The box driven the way a user would: a second thread finds it by its title and its
// buttons by their captions, then clicks, presses keys or closes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "base/win/window.h"
#include "e2e/support/driver.h"
#include "msgbox/win/msgbox.h"

namespace iv::msgbox {
namespace {

constexpr wchar_t kBoxClass[] = L"frmMsgBox";
// Every button of the program is the custom button, the box's too.
constexpr wchar_t kButtonClass[] = L"AOLButton";

// Generous by default, as the test machine is a loaded two-core box.
bool WaitFor(const std::function<bool()>& condition, DWORD ms = 20000) { return e2e::WaitUntil(condition, ms); }

HWND WaitForBox(const wchar_t* title) {
  HWND box = nullptr;
  WaitFor([&] {
    box = FindWindowW(kBoxClass, title);
    return box && IsWindowVisible(box);
  });
  return box;
}

HWND Child(HWND box, const wchar_t* cls, const wchar_t* text) {
  for (HWND h = FindWindowExW(box, nullptr, cls, text); h; h = FindWindowExW(box, h, cls, text)) {
    if (IsWindowVisible(h)) return h;
  }
  return nullptr;
}

HWND Focus(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

void PressEnter(HWND target) { PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0x001C0001); }
void PressKey(HWND target, WPARAM key) {
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}
bool IsDefault(HWND button) { return (GetWindowLongPtrW(button, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0; }

// Runs show() on this thread while act() drives the box from another; act reports
// problems as text because it cannot stop this thread's wait.
MsgResult Drive(const wchar_t* title, const std::function<MsgResult()>& show,
                const std::function<std::string(HWND box, DWORD uiThread)>& act) {
  std::string problem;
  const DWORD uiThread = GetCurrentThreadId();
  std::thread driver([&] {
    const HWND box = WaitForBox(title);
    problem = box ? act(box, uiThread) : "box did not appear";
    // Never leave this thread waiting for ever.
    if (!WaitFor([&] { return !IsWindow(box); })) {
      problem += " box still open";
      PostMessageW(box, WM_CLOSE, 0, 0);
    }
  });
  MsgResult result = show();
  driver.join();
  EXPECT_EQ(problem, "") << "driving box " << std::string(title, title + wcslen(title));
  return result;
}

std::string Click(HWND box, const wchar_t* caption) {
  const HWND button = Child(box, kButtonClass, caption);
  if (!button) return "no button";
  PostMessageW(button, BM_CLICK, 0, 0);
  return "";
}

// Every button set answers by a click on each button, and Enter answers the focused
// right button.
TEST(MsgBox, EveryButtonSetAnswersByClickAndEnter) {
  struct Case {
    int buttons;
    const wchar_t* caption;
    int code;
    bool enter;
  } cases[] = {{0, L"OK", 1, false}, {1, L"OK", 1, false}, {1, L"Cancel", 2, false}, {4, L"Yes", 6, false},
               {4, L"No", 7, false},  {2, L"Cancel", 0, false}, {0, L"OK", 1, true}, {1, L"Cancel", 2, true},
               {4, L"No", 7, true}};
  for (const Case& c : cases) {
    const MsgResult r = Drive(
        L"answer test", [&] { return ShowMsgBox(L"Pick one", c.enter ? 32 : 0, c.buttons, L"answer test"); },
        [&](HWND box, DWORD ui) {
          if (!c.enter) return Click(box, c.caption);
          HWND focus = nullptr;
          if (!WaitFor([&] { return (focus = Focus(ui)) == Child(box, kButtonClass, c.caption); }))
            return std::string("focus not on the right button");
          PressEnter(focus);
          return std::string();
        });
    EXPECT_EQ(r.code, c.code) << c.buttons << " " << c.code << " " << c.enter;
    EXPECT_FALSE(r.hasText);
  }
}

TEST(MsgBox, CustomButtonsKeepEscapeTabSpaceAndTheDefaultMark) {
  // Escape on the focused button cancels an OK/Cancel box.
  MsgResult r = Drive(L"escape test", [] { return ShowMsgBox(L"Go?", 0, 1, L"escape test"); },
                      [](HWND box, DWORD ui) {
                        const HWND cancel = Child(box, kButtonClass, L"Cancel");
                        if (!cancel || !WaitFor([&] { return Focus(ui) == cancel; })) return std::string("no focus");
                        PostMessageW(cancel, WM_KEYDOWN, VK_ESCAPE, 1);
                        return std::string();
                      });
  EXPECT_EQ(r.code, 2);

  // Tab moves from "No" to "Yes", which then carries the default mark; space presses it.
  r = Drive(L"tab test", [] { return ShowMsgBox(L"Sure?", 32, 4, L"tab test"); }, [](HWND box, DWORD ui) {
    const HWND yes = Child(box, kButtonClass, L"Yes"), no = Child(box, kButtonClass, L"No");
    if (!yes || !no || !WaitFor([&] { return Focus(ui) == no; })) return std::string("no focus on No");
    // The mark follows the focus as the box handles it, a moment after the focus moves.
    std::string problem = WaitFor([&] { return IsDefault(no) && !IsDefault(yes); }) ? "" : "No is not the default;";
    PressKey(no, VK_TAB);
    if (!WaitFor([&] { return Focus(ui) == yes; })) return problem + "Tab did not reach Yes";
    if (!WaitFor([&] { return IsDefault(yes) && !IsDefault(no); })) problem += "Yes is not the default;";
    PressKey(yes, VK_SPACE);
    return problem;
  });
  EXPECT_EQ(r.code, 6);

  // Escape gives no answer in a Yes/No box: the click queued after it still counts.
  r = Drive(L"no escape", [] { return ShowMsgBox(L"Sure?", 32, 4, L"no escape"); }, [](HWND box, DWORD ui) {
    const HWND no = Child(box, kButtonClass, L"No"), yes = Child(box, kButtonClass, L"Yes");
    if (!no || !yes || !WaitFor([&] { return Focus(ui) == no; })) return std::string("no focus on No");
    PostMessageW(no, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(yes, BM_CLICK, 0, 0);
    return std::string();
  });
  EXPECT_EQ(r.code, 6);

  // With the input box focused, Enter would press the left button: it is the default.
  r = Drive(L"input default", [] { return ShowMsgBox(L"Name?", 0, 1, L"input default", true); },
            [](HWND box, DWORD ui) {
              const HWND edit = Child(box, L"Edit", nullptr), ok = Child(box, kButtonClass, L"OK");
              if (!edit || !ok || !WaitFor([&] { return Focus(ui) == edit; })) return std::string("no focus");
              std::string problem = WaitFor([&] { return IsDefault(ok); }) ? "" : "OK is not the default;";
              PostMessageW(edit, WM_CHAR, L'x', 1);
              PressEnter(edit);
              return problem;
            });
  EXPECT_EQ(r.text, L"x");
}

TEST(MsgBox, InputBoxStartsWithItsTextSelectedAndAnswersWithEnter) {
  const MsgResult r = Drive(
      L"input test",
      [] { return ShowMsgBox(L"Name?", 0, 1, L"input test", true, nullptr, nullptr, false, false, {}, {}, L"abc", true, 5); },
      [](HWND box, DWORD ui) {
        const HWND edit = Child(box, L"Edit", nullptr);
        if (!edit) return std::string("no input box");
        std::string problem;
        if (GetText(edit) != L"abc") problem += "default text;";
        DWORD start = 1, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (start != 0 || end != 3) problem += "selection;";
        if (!WaitFor([&] { return Focus(ui) == edit; })) problem += "focus;";
        for (wchar_t ch : std::wstring(L"hello world")) PostMessageW(edit, WM_CHAR, ch, 1);
        PressEnter(edit);
        return problem;
      });
  EXPECT_TRUE(r.hasText);
  EXPECT_EQ(r.text, L"hello");  // cut at MaxLength
  EXPECT_EQ(r.code, 1);
}

TEST(MsgBox, InputBoxRightButtonCancelsExceptInAnOkOnlyBox) {
  const auto show = [](int buttons, bool select) {
    return [=] {
      return ShowMsgBox(L"Text?", 0, buttons, L"input right", true, nullptr, nullptr, false, false, {}, {}, L"keep",
                        select);
    };
  };
  const MsgResult cancelled =
      Drive(L"input right", show(1, true), [](HWND box, DWORD) { return Click(box, L"Cancel"); });
  EXPECT_TRUE(cancelled.hasText);
  EXPECT_EQ(cancelled.text, L"");
  EXPECT_EQ(cancelled.code, 2);

  const MsgResult kept = Drive(L"input right", show(0, false), [](HWND box, DWORD) {
    DWORD start = 1, end = 1;
    SendMessageW(Child(box, L"Edit", nullptr), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return (start == 0 && end == 0 ? std::string() : "text selected;") + Click(box, L"OK");
  });
  EXPECT_EQ(kept.text, L"keep");
}

// The inner box is opened by a timer while the outer call is still waiting.
MsgResult g_inner;
HWND g_innerOwner = nullptr;
void CALLBACK OpenInner(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_inner = ShowMsgBox(L"Inner", 0, 1, L"inner box", false, g_innerOwner);
}

TEST(MsgBox, TwoOpenBoxesKeepTheirOwnAnswers) {
  for (bool outerFirst : {true, false}) {
    g_inner = {};
    g_innerOwner = nullptr;
    SetTimer(nullptr, 0, 10, OpenInner);
    const MsgResult outer = Drive(
        L"outer box", [] { return ShowMsgBox(L"Outer", 32, 4, L"outer box"); },
        [&](HWND outerBox, DWORD) {
          const HWND innerBox = WaitForBox(L"inner box");
          if (!innerBox) return std::string("no inner box");
          std::string problem;
          if (outerFirst) {
            problem += Click(outerBox, L"Yes");
            // The outer box goes at once, although the inner call is still waiting.
            if (!WaitFor([&] { return !IsWindow(outerBox); })) problem += "outer stayed;";
            problem += Click(innerBox, L"Cancel");
          } else {
            problem += Click(innerBox, L"OK");
            if (!WaitFor([&] { return !IsWindow(innerBox); })) problem += "inner stayed;";
            problem += Click(outerBox, L"No");
          }
          return problem;
        });
    EXPECT_EQ(outer.code, outerFirst ? 6 : 7);
    EXPECT_EQ(g_inner.code, outerFirst ? 2 : 1);
  }
}

class OwnerWindow {
 public:
  OwnerWindow() {
    hwnd_ = CreateWindowExW(0, L"STATIC", L"msgbox owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~OwnerWindow() { DestroyWindow(hwnd_); }
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST(MsgBox, OwnerIsDisabledUntilItsLastBoxCloses) {
  OwnerWindow owner;
  ASSERT_TRUE(owner.get());
  g_innerOwner = owner.get();
  SetTimer(nullptr, 0, 10, OpenInner);
  const MsgResult outer = Drive(
      L"owned box", [&] { return ShowMsgBox(L"Owned", 0, 4, L"owned box", false, owner.get()); },
      [&](HWND outerBox, DWORD) {
        std::string problem;
        if (IsWindowEnabled(owner.get())) problem += "owner enabled;";
        if (GetWindow(outerBox, GW_OWNER) != owner.get()) problem += "not owned;";
        if (!(GetWindowLongPtrW(outerBox, GWL_EXSTYLE) & WS_EX_TOPMOST)) problem += "not topmost;";
        const HWND innerBox = WaitForBox(L"inner box");
        problem += Click(innerBox, L"OK");
        if (!WaitFor([&] { return !IsWindow(innerBox); })) problem += "inner stayed;";
        if (IsWindowEnabled(owner.get())) problem += "owner enabled while a box is open;";
        problem += Click(outerBox, L"Yes");
        if (!WaitFor([&] { return IsWindowEnabled(owner.get()) != FALSE; })) problem += "owner left disabled;";
        return problem;
      });
  g_innerOwner = nullptr;
  EXPECT_EQ(outer.code, 6);
  EXPECT_EQ(g_inner.code, 1);
  EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

TEST(MsgBox, WindowFitsTheTextAndShowsItWithoutMarkup) {
  const wchar_t prompt[] = L"~bExit Iconvane?~b~nAre you sure you want to exit Iconvane?";
  Drive(
      L"Iconvane for AIM", [&] { return ShowMsgBox(prompt, 32, 4); },
      [](HWND box, DWORD) {
        std::string problem;
        const HWND area = Child(box, L"Static", nullptr);
        if (!area || GetText(area) != L"Exit Iconvane?\r\nAre you sure you want to exit Iconvane?") problem += "text;";
        HDC dc = GetDC(nullptr);
        const double tpp = 1440.0 / GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(nullptr, dc);
        RECT client{}, areaRect{}, button{};
        GetClientRect(box, &client);
        GetWindowRect(area, &areaRect);
        GetWindowRect(Child(box, kButtonClass, L"No"), &button);
        // Two lines: the area grows from 540 to 780 twips; buttons 30 twips below it.
        if (areaRect.bottom - areaRect.top != static_cast<LONG>(780 / tpp)) problem += "area height;";
        if (button.top - areaRect.bottom != static_cast<LONG>(30 / tpp)) problem += "button gap;";
        if (client.bottom != static_cast<LONG>((60 + 780 + 30 + 345 + 60) / tpp)) problem += "client height;";
        return problem + Click(box, L"No");
      });
}

}  // namespace
}  // namespace iv::msgbox
