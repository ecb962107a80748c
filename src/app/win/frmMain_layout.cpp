// The main window's controls: names, captions and tooltips of every control.
#include <windows.h>
#include <commctrl.h>

#include "app/win/frmMain.h"
#include "app/win/welcome.h"
#include "base/win/window.h"
#include "links/win/command_bar.h"
#include "ui/win/controls.h"
#include "ui/win/ids.h"
#include "widgets/aolbutton/win/aolbutton.h"

namespace iv::app {

namespace {
constexpr DWORD kGroup = BS_GROUPBOX;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr int kPanelIds[3] = {ids::SSActiveTabPanel2, ids::SSActiveTabPanel1, ids::SSActiveTabPanel3};
}  // namespace

void frmMain::AddLabel(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, DWORD extra) {
  AddControl(id, CreateControl(parent, L"STATIC", text, kLabel | extra, x, y, w, h, id));
}

void frmMain::AddFrame(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h) {
  AddControl(id, CreateControl(parent, L"BUTTON", text, kGroup, x, y, w, h, id));
}

void frmMain::AddButton(HWND parent, int id, const wchar_t* text, int x, int y, int w, int h, const wchar_t* tip) {
  AddControl(id, ui::CreatePushButton(parent, id, text, x, y, w, h), tip);
}

void frmMain::CreateControls() {
  const HWND main = hwnd();

  AddControl(ids::ABIcons, links::CreateCommandBar(main, ids::ABIcons, RECT{0, 0, 640, 28}));

  const HWND tab = CreateControl(main, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, 6, 32, 628, 420,
                                 ids::TabIcon);
  AddControl(ids::TabIcon, tab);
  const wchar_t* captions[] = {L"Welcome!", L"Icon Settings", L"Icon Manager"};
  for (int i = 0; i < 3; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(captions[i]);
    TabCtrl_InsertItem(tab, i, &item);
  }
  RECT page{0, 0, 628, 420}, item{};
  TabCtrl_AdjustRect(tab, FALSE, &page);
  TabCtrl_GetItemRect(tab, 0, &item);
  // The control keeps only its strip and a sliver of page hidden under the panels: a
  // themed page as big as the whole control costs as much to draw as the rest of the
  // window, though the panels cover all of it but the edge. The window draws the edge.
  SetWindowPos(tab, nullptr, 0, 0, 628, page.top + 4, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowRgn(tab, CreateRectRgn(0, 0, 628, page.top), FALSE);
  pane_ = RECT{6, 32 + item.bottom, 6 + 628, 32 + 420};
  OffsetRect(&page, 6, 32);
  page_ = page;
  // The hidden tabs' panels come after the first paint (CreateHiddenPanels).
  panels_[0] = ui::CreatePanel(main, main, kPanelIds[0], page);
  AddControl(kPanelIds[0], panels_[0]);
  SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  // "Welcome!"
  HWND p = panels_[0];
  AddFrame(p, ids::FraLink, L"", 4, 2, 604, 60);
  AddLabel(p, ids::lblBroughtToYouBy, L"Iconvane brought to you by Dravolt Software.", 14, 16, 300, 18);
  AddLabel(p, ids::lblWeb, L"Visit us online at:", 14, 36, 110, 18);
  AddLabel(p, ids::lblURL, L"http://www.dravolt.example", 124, 36, 200, 18, SS_NOTIFY);
  AddControl(ids::lblURL, Control(ids::lblURL), L"Click here to visit Dravolt Software online!");
  AddControl(ids::Wb, CreateWelcomeView(p, ids::Wb, 4, 68, 604, 318));

  // Outside the tabs
  AddControl(ids::cmdAd, CreateControl(main, L"BUTTON", L"Get Zephyrchat!", BS_PUSHBUTTON | WS_TABSTOP, 6, 462, 150, 30,
                                ids::cmdAd),
      L"Click here to visit the Zephyrchat web site!");
  AddControl(ids::cmdwFeatures, CreateControl(main, L"BUTTON", L"", BS_PUSHBUTTON, 162, 462, 270, 30, ids::cmdwFeatures));
  AddButton(main, ids::cmdHelp, L"Help", 438, 462, 90, 30, L"Get help with Iconvane");
  AddButton(main, ids::cmdExit, L"Close Window", 534, 462, 100, 30, L"Iconvane will stay open in your system tray");

  ShowTab(0);
}

// Each after the one before it, so that Tab moves through the tabs' panels in order.
void frmMain::CreateHiddenPanels() {
  for (int i = 1; i < 3; ++i) {
    panels_[i] = ui::CreatePanel(hwnd(), hwnd(), kPanelIds[i], page_);
    SetWindowPos(panels_[i], panels_[i - 1], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    AddControl(kPanelIds[i], panels_[i]);
  }
}

// The hidden tabs' controls, a group at a time: each group is made in a step of its own.
void frmMain::CreateSettingsSchedule() {
  const HWND p = panels_[1];
  // "Icon Settings"
  AddFrame(p, ids::FraFinal, L"", 4, 2, 604, 384);
  AddFrame(p, ids::FraTime, L"Rotate Icons", 12, 14, 200, 150);
  AddControl(ids::OptHR, CreateControl(p, L"BUTTON", L"Every Hour", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 22, 32, 180,
                                20, ids::OptHR));
  AddControl(ids::OptDAY, CreateControl(p, L"BUTTON", L"Every Day", BS_AUTORADIOBUTTON, 22, 54, 180, 20, ids::OptDAY));
  AddControl(ids::OptWEEK, CreateControl(p, L"BUTTON", L"Every 7 Days", BS_AUTORADIOBUTTON, 22, 76, 180, 20, ids::OptWEEK));
  AddControl(ids::OptCUSTOM, CreateControl(p, L"BUTTON", L"Every             Minutes", BS_AUTORADIOBUTTON, 22, 98, 180,
                                    20, ids::OptCUSTOM));
  AddControl(ids::OptDISABLE, CreateControl(p, L"BUTTON", L"Disable Rotation", BS_AUTORADIOBUTTON, 22, 120, 180, 20,
                                     ids::OptDISABLE));
  // The minutes box sits in the gap between "Every" and "Minutes".
  AddControl(ids::txtMinutes, CreateControl(p, L"EDIT", L"15", ES_AUTOHSCROLL | WS_TABSTOP, 76, 98, 40, 20,
                                     ids::txtMinutes, WS_EX_CLIENTEDGE));
}

void frmMain::CreateSettingsCategories() {
  const HWND p = panels_[1];
  AddFrame(p, ids::FraCurrentIcon, L"Your Current Icon", 12, 170, 200, 150);
  AddControl(ids::WbCurrent, ui::CreateImageView(p, ids::WbCurrent, 64, 200, 96, 96));
  AddButton(p, ids::cmdAIMZC, L"AIM with Zephyrchat!", 12, 330, 200, 28, nullptr);
  AddFrame(p, ids::FraCats, L"", 222, 14, 378, 314);
  AddLabel(p, ids::lblFirst, L"First, select a letter to browse or select \"All\" to view all categories.", 232, 28,
        358, 32);
  AddControl(ids::cmbLet, CreateControl(p, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 232, 62, 100,
                                 300, ids::cmbLet));
  AddLabel(p, ids::Label4, L"Next, select the category.  To view the icons, click the \"View\" button.", 232, 92, 358,
        32);
  AddControl(ids::LstCats, CreateControl(p, L"LISTBOX", L"", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT,
                                  232, 126, 358, 150, ids::LstCats, WS_EX_CLIENTEDGE));
  AddButton(p, ids::cmdUpdate, L"Update Icon Categories", 232, 284, 176, 28,
         L"Click here to get the latest icon categories from the Iconvane server!");
  AddButton(p, ids::cmdView, L"View Selected Category", 414, 284, 176, 28, L"View Selected Icon Category");
  AddLabel(p, ids::Label1,
        L"Finally, on the website that loads, click \"Add these Icons to Iconvane\" to add it to your rotation!",
        222, 334, 378, 36);
}

void frmMain::CreateManagerLibrary() {
  const HWND p = panels_[2];
  AddFrame(p, ids::FraLibrary, L"", 4, 2, 604, 384);
  AddFrame(p, ids::FraDownloaded, L"Your Saved Icon Libraries", 12, 14, 330, 330);
  const DWORD lv = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER | WS_TABSTOP;
  AddControl(ids::lvFolders, CreateControl(p, WC_LISTVIEWW, L"", lv, 20, 32, 150, 270, ids::lvFolders, WS_EX_CLIENTEDGE));
  AddControl(ids::lvFiles, CreateControl(p, WC_LISTVIEWW, L"", lv, 178, 32, 156, 270, ids::lvFiles, WS_EX_CLIENTEDGE));
  for (int id : {ids::lvFolders, ids::lvFiles}) {
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH;
    col.cx = 130;
    ListView_InsertColumn(Control(id), 0, &col);
    ListView_SetExtendedListViewStyle(Control(id), LVS_EX_FULLROWSELECT);
  }
  AddButton(p, ids::cmdDelFolder, L"Delete Folder", 20, 308, 82, 28, L"Delete the selected Icon folder");
  AddButton(p, ids::cmdDelIcon, L"Delete Icon", 104, 308, 72, 28, L"Delete selected buddy icon");
  AddButton(p, ids::cmdAddRotation, L"Add to Rotation", 178, 308, 96, 28, L"Add selected icon to your current rotation");
  AddButton(p, ids::cmdBrowse, L"Browse...", 276, 308, 58, 28, L"Open Explorer to your icon library");
  AddButton(p, ids::cmdImport, L"Import Pictures...", 20, 350, 314, 28, L"Make buddy icons from your own pictures");
}

void frmMain::CreateManagerRotation() {
  const HWND p = panels_[2];
  AddFrame(p, ids::FraRotation, L"Your Current Icon Rotation", 350, 14, 250, 200);
  AddControl(ids::lstRotation, CreateControl(p, L"LISTBOX", L"", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT,
                                      358, 32, 200, 140, ids::lstRotation, WS_EX_CLIENTEDGE));
  AddButton(p, ids::cmdUp, L"", 564, 32, 28, 28, L"Move Item Up");
  AddButton(p, ids::cmdDown, L"", 564, 64, 28, 28, L"Move Item Down");
  // Drawn arrows; the window text stays the caption.
  if (auto* up = aolbutton::Get(Control(ids::cmdUp))) up->SetGlyph(aolbutton::Glyph::ArrowUp);
  if (auto* down = aolbutton::Get(Control(ids::cmdDown))) down->SetGlyph(aolbutton::Glyph::ArrowDown);
  AddButton(p, ids::cmdRemove, L"Remove Selected", 358, 178, 110, 28, L"Remove Selected Icon from Rotation");
  AddButton(p, ids::cmdRotClear, L"Clear All", 474, 178, 84, 28, L"Clear all Icons from rotation");
  AddFrame(p, ids::FraPreview, L"Preview of Icon", 350, 220, 250, 124);
  AddControl(ids::WbPreview, ui::CreateImageView(p, ids::WbPreview, 366, 240, 80, 80));
  AddButton(p, ids::cmdUse, L"Use this Icon!", 460, 262, 130, 32, L"Use this icon as your Buddy icon");
}

}  // namespace iv::app
