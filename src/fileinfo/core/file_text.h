// Text rules of the file-information object: size formatting, version parts,
// name splitting and the version resource's tables. Portable, tested natively.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace iv::fileinfo {

// "1023 bytes", "1.50KB (1,536 bytes)", "1.00MB (1,048,576 bytes)" ...
std::string FormatSize(int32_t bytes);

// 1234567 -> "1,234,567".
std::string GroupThousands(long long value);

struct VersionParts {
  int16_t major = 0;
  int16_t minor = 0;
  float rev = 0;
};
// Parts of a "FileVersion" text cut at "." or ",".
VersionParts SplitVersion(std::string_view version);

// A number as the properties show it: "5", "3702", "1.5".
std::string NumberText(double value);

// Target system of the fixed version information's operating-system field.
std::string TargetOsText(uint32_t fileOs);

// Text after the last backslash; the whole text without one.
std::string StripFileFromPath(std::string_view path);
// Text after the last dot; empty without one.
std::string StripFileExtention(std::string_view name);

// "\StringFileInfo\HHHHHHHH\" from the first four bytes of the translation table.
std::string StringTablePrefix(const uint8_t bytes[4]);
// The language number named by the same bytes.
uint16_t TranslationLanguage(const uint8_t bytes[4]);

// The shell's 80-character type field, or "<EXT> File" when it names nothing.
std::string TypeNameFromField(std::string_view field, std::string_view extension);

// Shortens a date-and-time text of the form the date properties produce
// ("Sunday, December 6, 2026 3:48:49 PM", "12/6/2026 15:48:49"): the date as
// M/D/YY (or M/D/YYYY), the time as H:MM:SS with AM/PM when the text had it.
std::string Strip_DateTime(std::string_view fullDateTime, bool stripOutTime = false, bool stripOutDate = false,
                           bool fourDigitYear = false);

}  // namespace iv::fileinfo
