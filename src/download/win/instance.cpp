#include "download/win/instance.h"

#include "download/core/handoff.h"
#include "ui/win/forms.h"

namespace iv::download {

namespace {

HWND FindOnce() {
  for (const wchar_t* title : {kMainWindowTitle, kOldMainWindowTitle}) {
    for (HWND h = FindWindowExW(nullptr, nullptr, kMainWindowClass, title); h;
         h = FindWindowExW(nullptr, h, kMainWindowClass, title))
      if (FindWindowExW(h, nullptr, kCommandBarClass, nullptr)) return h;
  }
  return nullptr;
}

}  // namespace

HWND FindMainWindow() {
  for (int tries = 0; tries < 100; ++tries) {
    if (HWND h = FindOnce()) return h;
    ui::DoEvents();
  }
  return nullptr;
}

void HandOff(HWND main, settings::Store& store, const std::string& category,
             const std::vector<std::string>& entries, bool add) {
  WriteQueue(store, category, entries, add);
  // The receiver defers its longer work, so a minute means it hangs; then we let go.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(main, add ? kMsgAddToRotation : kMsgNewCategory, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                      60000, &result);
}

}  // namespace iv::download
