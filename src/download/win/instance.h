// Finding the running copy's main window and handing a download over to it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "settings/core/store.h"

namespace iv::download {

inline constexpr wchar_t kMainWindowClass[] = L"ThunderRT6FormDC";
inline constexpr wchar_t kMainWindowTitle[] = L"Iconvane for AIM:   Dravolt Software";
inline constexpr wchar_t kOldMainWindowTitle[] = L"Picvane - Dravolt Software";
inline constexpr wchar_t kCommandBarClass[] = L"ABSDynaBarCls";

// The running copy's main window (our class and either title, with the command bar
// as a child), or nullptr after 100 tries; pending messages are dispatched between tries.
HWND FindMainWindow();

// Writes the queue and sends 2144 (added) or 2145 to 'main'; returns once it is
// handled, or gives up on a copy that does not answer.
void HandOff(HWND main, settings::Store& store, const std::string& category,
             const std::vector<std::string>& entries, bool add);

}  // namespace iv::download
