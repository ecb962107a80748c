// The main window's command bar: a child window of class "ABSDynaBarCls" whose
// heads open drop-down menus of the tools; a chosen tool goes to the handler.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace iv::links {

inline constexpr wchar_t kCommandBarClass[] = L"ABSDynaBarCls";

HWND CreateCommandBar(HWND parent, int id, RECT r);

using ToolHandler = std::function<void(const std::string& toolName)>;
void SetToolHandler(HWND bar, ToolHandler handler);

// The command a tool's menu item sends to the bar (WM_COMMAND, from a menu).
UINT ToolCommandId(std::string_view toolName);

// Shows the band "ZCPopup" as a pop-up menu of 'owner' at the pointer and returns
// the name of the chosen tool, or an empty text when none was chosen.
std::string TrackBand(HWND owner);

}  // namespace iv::links
