// Hands a URL, folder or file to the desktop shell with the verb "open".
#pragma once
#include <windows.h>

#include <string>

#include "shell/core/shell_error.h"

namespace iv::shell {

// True when the shell took the request. Failures are only returned, never shown;
// 'error' receives the number, source and message when given. The show command is
// not used: the shell is always asked to show the target normally.
bool ShellOpen(const std::wstring& target, int showCommand = 10, const std::wstring& parameters = L"",
               const std::wstring& folder = L"", const std::wstring& verb = L"open", HWND owner = nullptr,
               ShellError* error = nullptr);

}  // namespace iv::shell
