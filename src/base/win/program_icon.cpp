#include "base/win/program_icon.h"

namespace iv {

HICON ProgramIcon(bool small) {
  // LoadImage picks the drawn size nearest the metric instead of scaling the 32-pixel one.
  const int cx = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
  const int cy = GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON);
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"APPICON", IMAGE_ICON, cx, cy, LR_SHARED));
}

void SetProgramIcon(HWND window) {
  if (HICON big = ProgramIcon(false)) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (HICON small = ProgramIcon(true)) SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

}  // namespace iv
