// Reading whole files.
#pragma once
#include <string>

namespace iv {

// The whole content of a file as bytes; empty when it is missing or unreadable.
std::string ReadWholeFile(const std::wstring& path);

}  // namespace iv
