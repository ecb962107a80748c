// Wall-clock time for the schedule, behind an interface so tests can move it.
// Moments are local calendar times; arithmetic is on whole days and minutes.
#pragma once
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace iv::rotation {

struct DateTime {
  int year = 1970, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
  auto operator<=>(const DateTime&) const = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;
};

// Day number of a calendar date (0 on 1970-01-01, negative before).
long long DayNumber(int year, int month, int day);
// Whole seconds since 1970-01-01 0:00 of the same calendar.
long long SecondNumber(const DateTime& t);
DateTime FromSecondNumber(long long seconds);

// Minutes from a to b counted on whole minutes: seconds are dropped first.
long long MinutesBetween(const DateTime& a, const DateTime& b);
// Calendar days from a's date to b's date, whatever the times of day.
long long DaysBetween(const DateTime& a, const DateTime& b);

// Stored text forms: "2026-12-06 14:03:00" and "2026-12-06".
std::string FormatDateTime(const DateTime& t);
std::string FormatDate(const DateTime& t);
// Either stored form (a date alone reads as 0:00:00); nullopt for anything else,
// including empty text and "NONE".
std::optional<DateTime> ParseStoredTime(std::string_view text);

}  // namespace iv::rotation
