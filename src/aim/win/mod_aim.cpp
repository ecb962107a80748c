#include "aim/win/mod_aim.h"

#include "aim/core/aim_rules.h"
#include "aim/win/file_ops.h"
#include "base/win/utf.h"

namespace iv::aim {

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr UINT kSendTimeoutMs = 5000;
constexpr WPARAM kOpenPreferencesCommand = 20002;
constexpr WPARAM kBuddyIconsItem = 8;
constexpr WPARAM kMouseFlags = 13;  // the value AIM has always been sent, not MK_LBUTTON alone

HWND FindChild(HWND parent, const wchar_t* cls, const wchar_t* text) {
  return parent ? FindWindowExW(parent, nullptr, cls, text) : nullptr;
}

std::wstring Completed(const Driver& d, const std::wstring& path) {
  return Widen(CompleteIconPath(Narrow(path), Narrow(d.programFolder)));
}

}  // namespace

LRESULT SendToAim(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (!hwnd) return 0;
  SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

HWND FindAIMPreferences() {
  if (HWND h = FindWindowW(kDialogClass, L"AOL Instant Messenger Preferences")) return h;
  return FindWindowW(kDialogClass, L"AOL Instant Messenger (SM) Preferences");
}

HWND FindChooseIconDialog() { return FindWindowW(kDialogClass, L"Choose Buddy Icon Image"); }

void OpenAIMPreferences(HWND aimWindow) { SendToAim(aimWindow, WM_COMMAND, kOpenPreferencesCommand, 0); }

HWND CloseAIMPreferences() {
  const HWND prefs = FindAIMPreferences();
  if (prefs) PostMessageW(prefs, WM_CLOSE, 0, 0);
  return prefs;
}

void ShowBuddyIconsPage(const Driver& d, HWND prefs, bool moveAway) {
  d.wait(50);
  RECT r;
  if (moveAway && prefs && GetWindowRect(prefs, &r))
    MoveWindow(prefs, -2000, -2000, r.right - r.left, r.bottom - r.top, TRUE);
  SelectBuddyIconsCategory(d, prefs);
  d.wait(800);
  SelectBuddyIconsCategory(d, prefs);
  // On a busy machine the page may come later than the fixed waits allow: give it up
  // to two more seconds rather than press a button that is not there.
  HWND browse = FindBrowseButton(prefs);
  for (int tries = 0; !browse && prefs && tries < 10; ++tries) {
    d.wait(200);
    browse = FindBrowseButton(prefs);
  }
  PressButtonPosted(browse);
}

void SelectBuddyIconsCategory(const Driver& d, HWND prefs) {
  const HWND list = FindChild(prefs, L"Listbox", nullptr);
  if (!list) return;
  SendToAim(list, LB_SETCURSEL, kBuddyIconsItem, 0);
  ClickCategoryList(d, list);
}

void ClickCategoryList(const Driver& d, HWND list) {
  if (!list) return;
  const ClickPoint at = CategoryClickPoint(d.aimVersion);
  const LPARAM point = static_cast<LPARAM>(static_cast<uint32_t>(MakeLong(at.x, at.y)));
  PostMessageW(list, WM_LBUTTONDOWN, kMouseFlags, point);
  PostMessageW(list, WM_LBUTTONUP, kMouseFlags, point);
}

int CurrentCategory(HWND prefs) {
  const HWND list = FindChild(prefs, L"Listbox", nullptr);
  return list ? static_cast<int>(SendToAim(list, LB_GETCURSEL, 0, 0)) : -1;
}

void RestoreCategory(HWND prefs, int item) {
  const HWND list = FindChild(prefs, L"Listbox", nullptr);
  if (!list || item < 0) return;
  SendToAim(list, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
  // The page follows a click, not the selection alone: click the item's middle.
  const int top = static_cast<int>(SendToAim(list, LB_GETTOPINDEX, 0, 0));
  const int height = static_cast<int>(SendToAim(list, LB_GETITEMHEIGHT, 0, 0));
  if (height <= 0 || item < top) return;
  const LPARAM point = static_cast<LPARAM>(static_cast<uint32_t>(MakeLong(8, (item - top) * height + height / 2)));
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(list, WM_LBUTTONUP, 0, point);
}

HWND FindBrowseButton(HWND prefs) {
  return FindChild(FindChild(prefs, kDialogClass, L"Buddy Icons"), L"Button", L"B&rowse PC...");
}

void SetControlText(HWND control, const std::wstring& text) {
  if (control) SendToAim(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressButton(HWND button) {
  if (!button) return;
  SendToAim(button, WM_KEYDOWN, VK_SPACE, 0);
  SendToAim(button, WM_KEYUP, VK_SPACE, 0);
}

void PressButtonPosted(HWND button) {
  if (!button) return;
  // Both posted: the key-up opens AIM's modal file dialog, which a sent message would
  // wait for; and a sent key-down would overtake the category clicks still queued,
  // whose focus change then cancels the press.
  PostMessageW(button, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(button, WM_KEYUP, VK_SPACE, 0);
}

bool SubmitIconPath(const Driver& d, HWND& dialog, std::wstring& path) {
  path = Completed(d, path);
  if (!FileExists(path)) return false;
  for (int tries = 0; !dialog && tries < 50; ++tries) {
    dialog = FindChooseIconDialog();
    if (!dialog) d.wait(100);
  }
  dialog = FindChooseIconDialog();
  if (dialog) ShowWindow(dialog, SW_HIDE);
  dialog = FindChooseIconDialog();
  if (!dialog) return false;
  const HWND nameBox = FindChild(dialog, L"Edit", nullptr);
  path = Completed(d, path);
  SetControlText(nameBox, path);
  d.wait(800);
  for (int attempt = 0; attempt < 5; ++attempt) {
    const HWND select = FindChild(dialog, L"Button", L"&Select");
    path = Completed(d, path);
    if (!FileExists(path)) return false;
    SetControlText(nameBox, path);
    PressButton(select);
    if (!FindChooseIconDialog()) return true;  // AIM took the file
    d.wait(50);
  }
  return false;
}

}  // namespace iv::aim
