// UTF-8 (core) <-> UTF-16 (Win32) at the layer boundary.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace iv {
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Copies text into a fixed buffer, cut to fit and always terminated (the C runtime's
// wcsncpy_s is missing from Windows XP's msvcrt.dll).
template <size_t N>
void CopyTruncated(wchar_t (&dest)[N], std::wstring_view text) {
  static_assert(N > 0);
  const size_t n = text.size() < N ? text.size() : N - 1;
  text.copy(dest, n);
  dest[n] = L'\0';
}
}  // namespace iv
