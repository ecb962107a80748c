// Reading whole files; where the program itself lies.
#pragma once
#include <string>

namespace iv {

// The whole content of a file as bytes; empty when it is missing or unreadable.
std::string ReadWholeFile(const std::wstring& path);

// Full path of the executable, however long.
std::wstring ExePath();

// The executable's file name without its folder and extension ("iconvane").
std::wstring ExeName();

}  // namespace iv
