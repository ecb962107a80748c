// UTF-8 (core) <-> UTF-16 (Win32) at the layer boundary.
#pragma once
#include <string>
#include <string_view>

namespace iv {
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
}  // namespace iv
