// Small text helpers shared by every portable core. Text is UTF-8 in the core;
// the Win32 layer converts at its boundary.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace iv {

// The leading number of a stored text: leading blanks, an optional sign, digits and
// at most one decimal point; 0 when the text does not begin with a number.
double LeadingNumber(std::string_view text);

// LeadingNumber truncated towards zero and clamped to the 32-bit range.
long LeadingInt(std::string_view text);

std::string Trim(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Splits on sep; empty pieces are kept.
std::vector<std::string> Split(std::string_view text, std::string_view sep);

// Rounds to the nearest integer with halves to even.
long long RoundHalfEven(double value);

}  // namespace iv
