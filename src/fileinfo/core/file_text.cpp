#include "fileinfo/core/file_text.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <vector>

#include "base/core/text.h"

namespace iv::fileinfo {

namespace {

std::string Fixed(double value, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

bool IsSeparator(char c) { return c == '.' || c == ','; }

}  // namespace

std::string GroupThousands(long long value) {
  const bool negative = value < 0;
  std::string digits = std::to_string(negative ? -static_cast<unsigned long long>(value)
                                               : static_cast<unsigned long long>(value));
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return negative ? "-" + out : out;
}

std::string FormatSize(int32_t bytes) {
  if (bytes == -1) return "0.0KB (0 bytes)";
  if (bytes < 1024) return GroupThousands(bytes) + " bytes";
  const double n = bytes;
  const int32_t k = bytes / 1024;
  std::string head;
  if (k < 10) head = Fixed(n / 1024, 2) + "KB";
  else if (k < 1000) head = Fixed(n / 1024, 1) + "KB";
  else if (k < 10000) head = Fixed(n / 1048576, 2) + "MB";
  else if (k < 1000000) head = Fixed(n / 1048576, 1) + "MB";
  else head = Fixed(n / 1048576 / 1024, 2) + "GB";  // a 32-bit count stays below 10,000,000 KB
  return head + " (" + GroupThousands(bytes) + " bytes)";
}

VersionParts SplitVersion(std::string_view version) {
  VersionParts parts;
  if (version.empty()) return parts;
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t i = 0; i <= version.size(); ++i) {
    if (i == version.size() || IsSeparator(version[i])) {
      pieces.push_back(version.substr(start, i - start));
      start = i + 1;
    }
  }
  // A part that does not fit a 16-bit number leaves its property at 0.
  auto small = [](std::string_view text) -> int16_t {
    const double v = LeadingNumber(text);
    return (v >= -32768 && v <= 32767) ? static_cast<int16_t>(v) : 0;
  };
  if (pieces.size() > 1) {
    parts.major = small(pieces[0]);
    parts.minor = small(pieces[1]);
  }
  parts.rev = static_cast<float>(LeadingNumber(pieces.back()));
  return parts;
}

std::string NumberText(double value) {
  std::string text = Fixed(value, 6);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::string TargetOsText(uint32_t fileOs) {
  switch (fileOs) {
    case 0x10000: return "MS-DOS";
    case 0x10001: return "16bit Windows on DOS (Windows 3.0, 3.1x)";
    case 0x10004: return "32bit Windows on DOS (Win32s)";
    case 0x20000: return "16bit OS/2";
    case 0x20002: return "16bit Presentation Manager on 16 bit OS/2";
    case 0x30000: return "32bit OS/2";
    case 0x30003: return "32-bit Presentation Manager on 32 bit OS/2";
    case 0x40000: return "Windows NT";
    case 0x40004: return "Win32 API on Windows NT";
    default: return "Undefined or Unknown";
  }
}

std::string StripFileFromPath(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string StripFileExtention(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

std::string StringTablePrefix(const uint8_t b[4]) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X%02X", b[1], b[0], b[3], b[2]);
  return std::string("\\StringFileInfo\\") + hex + "\\";
}

uint16_t TranslationLanguage(const uint8_t b[4]) { return static_cast<uint16_t>(b[1] << 8 | b[0]); }

std::string TypeNameFromField(std::string_view field, std::string_view extension) {
  const size_t nul = field.find('\0');
  std::string name = nul == std::string_view::npos ? Trim(field) : std::string(field.substr(0, nul));
  if (Trim(name).empty()) {
    std::string ext(extension);
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    name = Trim(ext + " File");
  }
  return name;
}

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",
                                                     "MAY",     "JUNE",     "JULY",      "AUGUST",
                                                     "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};

struct Token {
  std::string text;
  bool timePart = false;  // touches a ":"
};

std::vector<Token> Tokenize(std::string_view in) {
  std::vector<Token> tokens;
  for (size_t i = 0; i < in.size();) {
    if (!std::isalnum(static_cast<unsigned char>(in[i]))) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < in.size() && std::isalnum(static_cast<unsigned char>(in[i]))) ++i;
    Token t;
    for (size_t j = start; j < i; ++j) t.text += static_cast<char>(std::toupper(static_cast<unsigned char>(in[j])));
    t.timePart = (start > 0 && in[start - 1] == ':') || (i < in.size() && in[i] == ':');
    tokens.push_back(std::move(t));
  }
  return tokens;
}

bool IsNumber(const std::string& s) {
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return !s.empty();
}

std::string Two(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

}  // namespace

std::string Strip_DateTime(std::string_view fullDateTime, bool stripOutTime, bool stripOutDate,
                           bool fourDigitYear) {
  int monthByName = 0;
  std::string ampm;
  std::vector<int> dateNums, timeNums;
  for (const Token& t : Tokenize(fullDateTime)) {
    if (IsNumber(t.text)) {
      const int v = t.text.size() > 6 ? 0 : std::stoi(t.text);
      (t.timePart ? timeNums : dateNums).push_back(v);
      continue;
    }
    if (t.text == "AM" || t.text == "PM") ampm = t.text;
    for (size_t m = 0; m < kMonths.size(); ++m)
      if (t.text == kMonths[m]) monthByName = static_cast<int>(m) + 1;
    // Day names and anything else carry nothing the short form needs.
  }

  std::string date;
  if (monthByName != 0) dateNums.insert(dateNums.begin(), monthByName);
  if (dateNums.size() >= 3) {
    int year = dateNums[2];
    if (fourDigitYear && year < 100) year += year < 30 ? 2000 : 1900;
    const std::string yearText = fourDigitYear ? std::to_string(year) : Two(year % 100);
    date = std::to_string(dateNums[0]) + "/" + std::to_string(dateNums[1]) + "/" + yearText;
  }
  std::string time;
  if (timeNums.size() >= 2) {
    time = std::to_string(timeNums[0]) + ":" + Two(timeNums[1]) + ":" + Two(timeNums.size() > 2 ? timeNums[2] : 0);
    if (!ampm.empty()) time += " " + ampm;
  }

  std::string out;
  if (!stripOutDate) out = date;
  if (!stripOutTime && !time.empty()) out += (out.empty() ? "" : " ") + time;
  return out;
}

}  // namespace iv::fileinfo
