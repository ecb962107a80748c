#include "ui/win/forms.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "base/core/text.h"
#include "base/win/files.h"
#include "base/win/handles.h"
#include "base/win/pump.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "ui/core/position.h"
#include "ui/win/form.h"

namespace iv::ui {

namespace {
std::vector<HWND>& Forms() {
  static std::vector<HWND> forms;
  return forms;
}
}  // namespace

void DoEvents() { (void)PumpPending(); }

void Wait(long ms) {
  if (ms <= 0) return;
  (void)PumpUntil([] { return false; }, static_cast<DWORD>(ms));
}

void RegisterForm(HWND hwnd) { Forms().push_back(hwnd); }

void UnregisterForm(HWND hwnd) {
  auto& forms = Forms();
  forms.erase(std::remove(forms.begin(), forms.end(), hwnd), forms.end());
  if (forms.empty()) PostQuitMessage(0);
}

bool IsFormLoaded(HWND hwnd) {
  const auto& forms = Forms();
  return hwnd && std::find(forms.begin(), forms.end(), hwnd) != forms.end();
}

void UnloadAllForms(bool) {
  // A snapshot: unloading changes the list.
  const std::vector<HWND> forms = Forms();
  // From a window's own shut-down steps the exit is decided: a window that cannot go
  // at once (a download still on the stack) goes by itself later, and the rest go on.
  const bool decided = Form::ShuttingDown();
  for (HWND hwnd : forms) {
    DoEvents();
    if (!IsFormLoaded(hwnd)) continue;
    auto* form = dynamic_cast<Form*>(Window::FromHandle(hwnd));
    if (!form) SendMessageW(hwnd, WM_CLOSE, 0, 0);
    // Otherwise a refusal (the exit question answered No) stops the whole unload
    // and leaves every window as it was.
    else if (!form->Unload(kFormCode) && !decided) return;
    Wait(50);
    DoEvents();
  }
}

void ShowForm(HWND hwnd) {
  if (!IsWindow(hwnd)) return;
  if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOW);
  if (IsIconic(hwnd) || IsZoomed(hwnd)) ShowWindow(hwnd, SW_RESTORE);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
}

void MakeTopmost(HWND hwnd) { SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

void SetNumberOnly(HWND edit, bool on) {
  LONG_PTR style = GetWindowLongPtrW(edit, GWL_STYLE);
  style = on ? (style | ES_NUMBER) : (style & ~static_cast<LONG_PTR>(ES_NUMBER));
  SetWindowLongPtrW(edit, GWL_STYLE, style);
  InvalidateRect(edit, nullptr, TRUE);
}

int TwipsPerPixelX() { return 1440 / ScreenDpi().x; }

int TwipsPerPixelY() { return 1440 / ScreenDpiY(); }

RECT FormPosition(settings::Store& store, const std::string& section, RECT r, bool useWidth, long defaultWidth,
                  bool useHeight, long defaultHeight) {
  const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  long width = (r.right - r.left) * tx, height = (r.bottom - r.top) * ty;
  const long screenW = GetSystemMetrics(SM_CXSCREEN) * tx, screenH = GetSystemMetrics(SM_CYSCREEN) * ty;
  if (useHeight) height = LeadingInt(store.Get(section, "Height", std::to_string(defaultHeight)));
  const long top = ClampedEdge(store.Get(section, "Top", CentredEdge(screenH, height)), screenH, height);
  if (useWidth) width = LeadingInt(store.Get(section, "Width", std::to_string(defaultWidth)));
  const long left = ClampedEdge(store.Get(section, "Left", CentredEdge(screenW, width)), screenW, width);
  return RECT{left / tx, top / ty, left / tx + width / tx, top / ty + height / ty};
}

void LoadFormPosition(HWND hwnd, settings::Store& store, const std::string& section, bool useWidth,
                      long defaultWidth, bool useHeight, long defaultHeight, bool useMaximised) {
  RECT now{};
  GetWindowRect(hwnd, &now);
  const RECT r = FormPosition(store, section, now, useWidth, defaultWidth, useHeight, defaultHeight);
  // A window made in its place is not moved again: a move of a top-level window costs
  // a round of messages and window-system calls.
  if (!EqualRect(&r, &now)) MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  if (useMaximised)
    ShowWindow(hwnd, LeadingInt(store.Get(section, "Max", "0")) == 2 ? SW_MAXIMIZE : SW_RESTORE);
}

void SaveFormPosition(HWND hwnd, settings::Store& store, const std::string& section, bool saveWidth,
                      bool saveHeight, bool saveMaximised) {
  // A minimised window's rectangle is not its real place: keep what was saved before.
  if (IsIconic(hwnd)) return;
  const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  RECT r{};
  GetWindowRect(hwnd, &r);
  store.Set(section, "Top", std::to_string(r.top * ty));
  store.Set(section, "Left", std::to_string(r.left * tx));
  if (saveWidth) store.Set(section, "Width", std::to_string((r.right - r.left) * tx));
  if (saveHeight) store.Set(section, "Height", std::to_string((r.bottom - r.top) * ty));
  if (saveMaximised) store.Set(section, "Max", IsZoomed(hwnd) ? "2" : "0");
}

const std::wstring& ProgramFolder() {
  static const std::wstring folder = [] {
    const std::wstring path = ExePath();
    return path.substr(0, path.find_last_of(L"\\/"));
  }();
  return folder;
}

}  // namespace iv::ui
