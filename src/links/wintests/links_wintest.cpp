#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "links/win/command_bar.h"
#include "base/win/pump.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "links/core/links.h"
#include "links/win/feature_button.h"
#include "links/win/frmAbout.h"
#include "links/win/links_feature.h"
#include "ui/win/feature.h"
#include "ui/win/forms.h"
#include "ui/win/ids.h"
#include "widgets/aolbutton/win/aolbutton.h"
#include "ui/wintests/test_host.h"

namespace iv::links {
namespace {

using ui::testing::DrainQuit;

struct MenuCloser {
  static inline bool seen = false;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    if (!FindWindowW(L"#32768", nullptr)) return;
    KillTimer(nullptr, id);
    seen = true;
    EndMenu();
  }
};

struct MenuPicker {
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu) return;
    KillTimer(nullptr, id);
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  }
};

TEST(About, TopmostWithTheVersionAndItsButtons) {
  const HWND about = ShowAbout();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(GetText(about), L"About Iconvane");
  EXPECT_TRUE(GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(IsWindowVisible(about));
  EXPECT_EQ(GetText(GetDlgItem(about, LblTitle)), L"Iconvane: V 1.2.0");
  EXPECT_EQ(GetText(GetDlgItem(about, FraLicense)), L"License Information");
  const HWND donate = GetDlgItem(about, cmdDonate), ok = GetDlgItem(about, cmdOK);
  EXPECT_EQ(GetText(donate), L"Donate and Contribute");
  EXPECT_EQ(GetText(ok), L"OK");
  EXPECT_NE(aolbutton::Get(ok), nullptr);
  EXPECT_TRUE(ui::IsFormLoaded(about));
  // A second request brings the same window.
  EXPECT_EQ(ShowAbout(), about);
  SendMessageW(ok, BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(about));
  DrainQuit();
  const HWND again = ShowAbout();
  EXPECT_NE(again, nullptr);
  SendMessageW(again, WM_COMMAND, IDCANCEL, 0);  // Escape through the dialog manager
  EXPECT_FALSE(IsWindow(again));
  DrainQuit();
}

TEST(CommandBar, ToolsReachTheHandlerByNameFromHeadsAndTheBandMenu) {
  const ui::testing::TestHost parent;
  const HWND bar = CreateCommandBar(parent.MainWindow(), 500, RECT{0, 0, 640, 28});
  ASSERT_NE(bar, nullptr);
  wchar_t cls[64] = {};
  GetClassNameW(bar, cls, 64);
  EXPECT_STREQ(cls, L"ABSDynaBarCls");
  std::vector<std::wstring> heads;
  for (HWND c = GetWindow(bar, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) heads.push_back(GetText(c));
  EXPECT_EQ(heads, (std::vector<std::wstring>{L"Iconvane Help", L"Hot AIM Links", L"Zephyrchat"}));

  std::vector<std::string> chosen;
  SetToolHandler(bar, [&](const std::string& t) { chosen.push_back(t); });
  SendMessageW(bar, WM_COMMAND, ToolCommandId("ID_ABOUT"), 0);
  SendMessageW(bar, WM_COMMAND, ToolCommandId("ID_ZCDL"), 0);
  SendMessageW(bar, WM_COMMAND, 4242, 0);  // no such tool
  EXPECT_EQ(chosen, (std::vector<std::string>{"ID_ABOUT", "ID_ZCDL"}));

  // A head reports its own tool, then drops its menu down.
  MenuCloser::seen = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, MenuCloser::Tick);
  SendMessageW(GetWindow(bar, GW_CHILD), BM_CLICK, 0, 0);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(MenuCloser::seen);
  EXPECT_EQ(chosen.back(), "ID_HELP");

  // The band's own menu gives the chosen tool.
  const UINT_PTR picker = SetTimer(nullptr, 0, 30, MenuPicker::Tick);
  EXPECT_EQ(TrackBand(parent.MainWindow()), "ID_ZCHome");
  KillTimer(nullptr, picker);
}

TEST(FeatureButton, ReportsThePointerKeepsItsColourAndShowsTheFeaturesOneAtATime) {
  ui::testing::TestHost host;
  const HWND button = host.Add(ids::cmdwFeatures, L"BUTTON", BS_PUSHBUTTON, 10, 10, 270, 30);
  SetWindowTextW(button, L"Features");
  int enters = 0, leaves = 0;
  ASSERT_TRUE(AttachFeatureButton(button, {[&] { ++enters; }, [&] { ++leaves; }}));
  EXPECT_FALSE(AttachFeatureButton(button, {}));
  SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
  EXPECT_EQ(enters, 1);
  SendMessageW(button, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(leaves, 1);
  SetFeatureColor(button, RGB(0, 0, 255));
  EXPECT_EQ(FeatureColor(button), RGB(0, 0, 255));
  UpdateWindow(button);
  DetachFeatureButton(button);
  EXPECT_EQ(FeatureColor(button), CLR_INVALID);

  // Attached again, it shows the features one at a time and keeps the whole text.
  ASSERT_TRUE(AttachFeatureButton(button, {}));
  const std::wstring whole = Widen(kFeatureText);
  SetWindowTextW(button, whole.c_str());
  const auto items = FeatureItems(kFeatureText);
  EXPECT_EQ(FeatureShownText(button), Widen(items[0]));
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(FeatureShownText(button), Widen(items[i])) << i;
    UpdateWindow(button);  // each item is drawn (and fitted) once
    for (int t = 0; t < FeatureItemTicks(items[i]); ++t) ScrollFeatureText(button);
  }
  EXPECT_EQ(FeatureShownText(button), Widen(items[0]));
  EXPECT_EQ(GetText(button), whole);  // the window text stays whole
  SetWindowTextW(button, L"Short");
  EXPECT_EQ(FeatureShownText(button), L"Short");
}

// Whether the fade moves the button's colour within ms.
bool Fades(HWND button, DWORD ms) {
  const COLORREF before = FeatureColor(button);
  return PumpUntil([&] { return FeatureColor(button) != before; }, ms).end == PumpEnd::Done;
}

// The colour fade costs a wake-up every 100 ms: it runs only while it can be seen,
// and goes on from where it rested.
TEST(FeatureFade, RunsOnlyOnScreenAndOffThePointer) {
  ui::testing::TestHost host;
  const HWND button = host.Add(ids::cmdwFeatures, L"BUTTON", BS_PUSHBUTTON, 10, 10, 270, 30);
  host.SetFeature(MakeLinksFeature(host));
  ui::Feature& feature = host.feature();
  feature.OnCreate();
  feature.OnLoadStep(ui::LoadStep::AdColors);  // built while the window is still hidden
  EXPECT_FALSE(Fades(button, 500));
  feature.OnVisible(true);
  EXPECT_TRUE(Fades(button, 5000));
  feature.OnVisible(false);
  EXPECT_FALSE(Fades(button, 500));
  feature.OnVisible(true);
  EXPECT_TRUE(Fades(button, 5000));
  SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));  // the pointer rests the fade in blue
  EXPECT_EQ(FeatureColor(button), RGB(0, 0, 255));
  EXPECT_FALSE(Fades(button, 500));
  SendMessageW(button, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(Fades(button, 5000));
  feature.OnUnload();
}

}  // namespace
}  // namespace iv::links
