// Start-up with a command link ("icvan:AddIcon?key=URL" or "icvan:AddList?key=URL").
#pragma once
#include <string>

namespace iv::download {

// True when the command line is a command link: "icvan:" in any letter case, also
// when the link is quoted as the registered command passes it.
bool IsCommandLinkLine(const std::wstring& commandLine);

// Runs the download window for the link and returns the process exit code. When no
// running copy takes the result, this copy opens its own main window and runs it.
int RunCommandLink(const std::wstring& commandLine);

}  // namespace iv::download
