#include "rotation/core/clock.h"

#include <cstdio>

namespace iv::rotation {

namespace {

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Reads exactly `width` digits at text[at]; -1 when they are not all digits.
int Digits(std::string_view text, size_t at, size_t width) {
  if (at + width > text.size()) return -1;
  int v = 0;
  for (size_t i = at; i < at + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    v = v * 10 + (text[i] - '0');
  }
  return v;
}

}  // namespace

long long DayNumber(int year, int month, int day) {
  // Days from civil (proleptic Gregorian), eras of 400 years.
  const long long y = static_cast<long long>(year) - (month <= 2);
  const long long era = FloorDiv(y, 400);
  const long long yoe = y - era * 400;
  const long long mp = (month + 9) % 12;
  const long long doy = (153 * mp + 2) / 5 + day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

long long SecondNumber(const DateTime& t) {
  return DayNumber(t.year, t.month, t.day) * 86400 + t.hour * 3600LL + t.minute * 60LL + t.second;
}

DateTime FromSecondNumber(long long seconds) {
  const long long days = FloorDiv(seconds, 86400);
  const long long rest = seconds - days * 86400;
  const long long z = days + 719468;
  const long long era = FloorDiv(z, 146097);
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  DateTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

long long MinutesBetween(const DateTime& a, const DateTime& b) {
  return FloorDiv(SecondNumber(b), 60) - FloorDiv(SecondNumber(a), 60);
}

long long DaysBetween(const DateTime& a, const DateTime& b) {
  return DayNumber(b.year, b.month, b.day) - DayNumber(a.year, a.month, a.day);
}

std::string FormatDate(const DateTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year % 10000, t.month % 100, t.day % 100);
  return buf;
}

std::string FormatDateTime(const DateTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
  return FormatDate(t) + buf;
}

std::optional<DateTime> ParseStoredTime(std::string_view text) {
  if (text.size() != 10 && text.size() != 19) return std::nullopt;
  DateTime t;
  t.year = Digits(text, 0, 4);
  t.month = Digits(text, 5, 2);
  t.day = Digits(text, 8, 2);
  if (t.year < 1 || text[4] != '-' || text[7] != '-') return std::nullopt;
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month)) return std::nullopt;
  if (text.size() == 10) return t;
  t.hour = Digits(text, 11, 2);
  t.minute = Digits(text, 14, 2);
  t.second = Digits(text, 17, 2);
  if (text[10] != ' ' || text[13] != ':' || text[16] != ':') return std::nullopt;
  if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
    return std::nullopt;
  return t;
}

}  // namespace iv::rotation
