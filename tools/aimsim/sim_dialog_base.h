// Helpers every dialog of the simulator shares.
#pragma once
#include <windows.h>

#include <string>

#include "sim.h"

namespace aimsim {

constexpr wchar_t kChooserTitle[] = L"Choose Buddy Icon Image";
constexpr wchar_t kConfirmTitle[] = L"Confirm action";
constexpr wchar_t kMessageTitle[] = L"AOL Instant Messenger";

inline HINSTANCE Inst() { return GetModuleHandleW(nullptr); }

// The object a dialog procedure works on, kept in DWLP_USER.
template <typename T>
T* Data(HWND dlg) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(dlg, DWLP_USER));
}

template <typename T>
T* Attach(HWND dlg, LPARAM lp) {
  SetWindowLongPtrW(dlg, DWLP_USER, lp);
  return reinterpret_cast<T*>(lp);
}

// Every top-level dialog reports its visibility changes and its closing. The title is
// passed in because some dialogs are shown before they get their title.
void TrackDialog(const Context& ctx, HWND dlg, const std::wstring& title, UINT msg, LPARAM lp);

void SetIcon(HWND dlg, int id, LPCWSTR icon);

// A modal message ("AOL Instant Messenger"): an error, or the follow-up of a confirmed
// action, which logs whether it was ever shown.
void ShowMessage(const Context& ctx, HWND owner, const std::wstring& text, LPCWSTR icon, bool followup);

}  // namespace aimsim
