#include "shell/win/shell_open.h"

#include <shellapi.h>

#include "base/win/files.h"
#include "base/win/utf.h"

namespace iv::shell {

bool ShellOpen(const std::wstring& target, int /*showCommand*/, const std::wstring& parameters,
               const std::wstring& folder, const std::wstring& verb, HWND owner, ShellError* error) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, verb.c_str(), target.c_str(), parameters.c_str(), folder.c_str(), SW_SHOWNORMAL));
  if (ShellSucceeded(result)) return true;
  if (error) {
    *error = ShellErrorFor(result, Narrow(ExeName()));
  }
  return false;
}

}  // namespace iv::shell
