// The window base class's ownership rule and the list text helpers, on real windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/win/files.h"
#include "base/win/handles.h"
#include "base/win/pump.h"
#include "base/win/window.h"

namespace iv {
namespace {

int g_deleted = 0;

// Deletes itself with its last message, as the program's child windows do.
class SelfOwned : public Window {
 public:
  explicit SelfOwned(bool refuseCreate) : refuse_(refuseCreate) {}
  ~SelfOwned() override { ++g_deleted; }

 protected:
  bool OnCreate() override { return !refuse_; }
  void OnFinalMessage() override { delete this; }

 private:
  bool refuse_;
};

HWND MakeSelfOwned(bool refuse, const wchar_t* cls = L"IvSelfOwnedTest") {
  return Window::CreateSelfOwned(std::make_unique<SelfOwned>(refuse), cls, L"", WS_POPUP, 0, 0, 0, 10, 10, nullptr,
                                 nullptr);
}

TEST(SelfOwnedWindow, IsDeletedExactlyOnceWhicheverWayCreateGoes) {
  g_deleted = 0;
  // The window existed for a moment: its final message deletes the object.
  EXPECT_EQ(MakeSelfOwned(true), nullptr);
  EXPECT_EQ(g_deleted, 1);
  // No class, so no window ever existed: the helper deletes it.
  EXPECT_EQ(MakeSelfOwned(false, L""), nullptr);
  EXPECT_EQ(g_deleted, 2);
  // Created: the window owns it until it goes.
  const HWND hwnd = MakeSelfOwned(false);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(g_deleted, 2);
  DestroyWindow(hwnd);
  EXPECT_EQ(g_deleted, 3);
}

TEST(ListText, ReadsWholeItemsAndNothingForMissingOnes) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  const HWND top = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  const HWND list = CreateControl(top, L"LISTBOX", L"", 0, 0, 0, 100, 100, 1);
  const HWND view = CreateControl(top, WC_LISTVIEWW, L"", LVS_REPORT, 0, 100, 100, 100, 2);
  LVCOLUMNW col{};
  col.mask = LVCF_WIDTH;
  col.cx = 80;
  ListView_InsertColumn(view, 0, &col);
  // Longer than any fixed buffer the copies these replace used.
  const std::wstring longText(3000, L'x');
  for (const std::wstring& text : {std::wstring(L"first"), longText}) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(view);
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ListView_InsertItem(view, &item);
  }
  EXPECT_EQ(ListBoxText(list, 0), L"first");
  EXPECT_EQ(ListBoxText(list, 1), longText);
  EXPECT_EQ(ListBoxText(list, 2), L"");
  EXPECT_EQ(ListViewText(view, 0), L"first");
  EXPECT_EQ(ListViewText(view, 1), longText);
  EXPECT_EQ(ListViewText(view, 5), L"");
  DestroyWindow(top);
}

int g_ncPaints[2] = {};

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCPAINT) ++g_ncPaints[GetDlgCtrlID(hwnd)];
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A control without a frame is spared the frame paint, which costs a device context per
// control when a window shows; one with a frame, even one gained later, still draws it.
TEST(CreateControl, SkipsTheFramePaintOnlyWhereThereIsNoFrame) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = CountingProc;
  wc.lpszClassName = L"IvCountsFramePaints";
  RegisterClassW(&wc);
  const HWND top = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  const HWND bare = CreateControl(top, wc.lpszClassName, L"bare", 0, 0, 0, 100, 100, 0);
  const HWND framed = CreateControl(top, wc.lpszClassName, L"framed", WS_BORDER, 0, 100, 100, 100, 1);
  ShowWindow(top, SW_SHOWNOACTIVATE);
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(g_ncPaints[0], 0);
  EXPECT_GT(g_ncPaints[1], 0);
  // Everything else still reaches the control.
  EXPECT_EQ(GetText(framed), L"framed");

  SetWindowLongPtrW(bare, GWL_STYLE, GetWindowLongPtrW(bare, GWL_STYLE) | WS_BORDER);
  SetWindowPos(bare, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  RedrawWindow(bare, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_GT(g_ncPaints[0], 0);
  DestroyWindow(top);
}

TEST(FileOwner, AFailedOpenIsNotAHandle) {
  const UniqueFile missing(CreateFileW(L"C:\\no such folder\\no such file", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(missing);
}

// Messages name the program as its file is called, without folder or extension.
TEST(Files, ExeNameIsTheBareFileName) { EXPECT_EQ(ExeName(), L"base_wintests"); }

bool g_fired = false;
void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
  g_fired = true;
  KillTimer(nullptr, id);
}

TEST(Pump, DispatchesUntilDoneOrTheTimeIsUpAndAQuitEndsAWaitAndStaysForTheOuterLoop) {
  SetTimer(nullptr, 0, 10, Fire);
  EXPECT_EQ(PumpUntil([] { return g_fired; }, 60000).end, PumpEnd::Done);
  EXPECT_EQ(PumpUntil([] { return false; }, 1).end, PumpEnd::TimedOut);
  EXPECT_TRUE(PumpPending());
  PostQuitMessage(7);
  const Pumped pumped = PumpUntil([] { return false; }, 60000);
  EXPECT_EQ(pumped.end, PumpEnd::Quit);
  EXPECT_EQ(pumped.exitCode, 7);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
}  // namespace iv
