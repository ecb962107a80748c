#include "rotation/core/schedule.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/core/text.h"

namespace iv::rotation {

namespace {

// Decimal text of a number, never in exponent form (it is read back as a leading number).
std::string NumberText(double v) {
  v += 0.0;  // no "-0"
  // Hundreds of digits overflow; the largest number keeps such a box never due.
  if (!std::isfinite(v)) v = v < 0 ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  char buf[400];
  if (v == std::floor(v)) {
    std::snprintf(buf, sizeof buf, "%.0f", v);
    return buf;
  }
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  return std::string(buf, res.ptr);
}

// The "Time" that starts an interval of the given mode at `now`.
std::string StartOfInterval(int mode, const DateTime& now) {
  switch (mode) {
    case kEveryHour:
    case kEveryMinutes: return FormatDateTime(now);
    case kEveryDay:
    case kEveryWeek: return FormatDate(now);
    default: return "NONE";
  }
}

}  // namespace

bool IsDue(int mode, std::string_view storedTime, const DateTime& now, std::string_view minutesBoxText) {
  if (mode == kEveryMinutes && Trim(minutesBoxText).empty()) return false;
  if (mode != kEveryHour && mode != kEveryDay && mode != kEveryWeek && mode != kEveryMinutes) return false;
  const auto start = ParseStoredTime(storedTime);
  if (!start) return true;
  switch (mode) {
    case kEveryHour: return MinutesBetween(*start, now) >= 60;
    case kEveryDay: {
      // Any other moment than today 0:00, so a clock set back is due as well.
      const DateTime midnight{now.year, now.month, now.day, 0, 0, 0};
      return *start != midnight;
    }
    case kEveryWeek: return DaysBetween(*start, now) >= 7;
    default: return static_cast<double>(MinutesBetween(*start, now)) >= LeadingNumber(minutesBoxText);
  }
}

std::string MinutesValueText(std::string_view boxText) { return NumberText(LeadingNumber(boxText)); }

void Schedule::SelectOption(int code, bool isLoading) {
  mode_ = code;
  if (isLoading) return;
  store_.Set(kOptionsSection, "Time", StartOfInterval(code, clock_.Now()));
  store_.Set(kOptionsSection, "Rotate", std::to_string(code));
}

void Schedule::MinutesChanged(std::string_view boxText) {
  store_.Set(kOptionsSection, "Minutes", MinutesValueText(boxText));
}

Schedule::Settings Schedule::ReadSettings() const {
  Settings s;
  s.minutesText = NumberText(LeadingNumber(store_.Get(kOptionsSection, "Minutes", "15")));
  const double r = LeadingNumber(store_.Get(kOptionsSection, "Rotate", "4"));
  if (r > 0 && r < 6 && r == std::floor(r)) s.mode = static_cast<int>(r);
  return s;
}

void Schedule::Tick(std::string_view minutesBoxText) {
  if (list_.empty()) return;
  // The apply waits while dispatching window events, so a tick can arrive inside it
  // (mode 5 with 0 minutes is due every second). Such a tick is dropped rather than
  // starting one apply inside another; "Time" was written before the apply began.
  if (applying_) return;
  if (mode_ != kEveryHour && mode_ != kEveryDay && mode_ != kEveryWeek && mode_ != kEveryMinutes) return;
  const DateTime now = clock_.Now();
  if (!IsDue(mode_, store_.Get(kOptionsSection, "Time", ""), now, minutesBoxText)) return;
  if (Paused()) return;
  store_.Set(kOptionsSection, "Time", StartOfInterval(mode_, now));
  RotateToNextIcon();
}

void Schedule::RotateToNextIcon() {
  const size_t n = list_.size();
  if (n == 0) return;
  // Rounded as a double and compared before converting: a huge stored index must not overflow.
  const double last = std::nearbyint(LeadingNumber(store_.Get(kOptionsSection, "Last Index", "0")));
  const size_t next = last >= 0 && last < static_cast<double>(n) - 1 ? static_cast<size_t>(last) + 1 : 0;
  store_.Set(kOptionsSection, "Last Index", std::to_string(next));
  if (!apply_) return;
  // A command can start an apply inside another one's waits; the outer one is still busy after it.
  struct Busy {
    bool& flag;
    bool was;
    explicit Busy(bool& f) : flag(f), was(f) { flag = true; }
    ~Busy() { flag = was; }
  } busy(applying_);
  apply_(IconPath(programFolder_, list_.at(next)));
}

void Schedule::NextNow() {
  if (list_.empty()) return;
  store_.Set(kOptionsSection, "Time", StartOfInterval(mode_, clock_.Now()));
  RotateToNextIcon();
}

bool Schedule::Paused() const { return LeadingNumber(store_.Get(kOptionsSection, "Paused", "0")) != 0; }

void Schedule::SetPaused(bool paused) { store_.Set(kOptionsSection, "Paused", paused ? "1" : "0"); }

}  // namespace iv::rotation
