// What the program knows about the AIM installation: its main window and thread,
// its version, its users and where it keeps their data. Nothing here writes to AIM.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "settings/core/store.h"

namespace iv::aim {

inline constexpr wchar_t kAimMainClass[] = L"_Oscar_StatusNotify";

HWND FindAIMWindow();
DWORD GetWindowThreadId(HWND hwnd);  // 0 for no window

std::string GetAIMScreenName(const settings::Store& store);
std::string GetAIMDataPath(const settings::Store& store);
std::wstring GetAIMAppPath();
// The executable of the process that owns AIM's main window; empty when AIM is
// not running, so the installed (AppPath) executable is used instead.
std::wstring GetAIMProcessPath();

// "ProductVersion" of AIM's executable; without keepFull its last part is cut off.
// nullopt when that leaves nothing (no dot) or the executable cannot be read.
std::optional<std::string> GetAIMVersion(bool keepFull);

// Screen names of AIM's Users key, as stored; index 0 is an empty placeholder.
void ListAIMUsers(std::vector<std::string>& users);

}  // namespace iv::aim
