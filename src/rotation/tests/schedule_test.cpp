#include "rotation/core/schedule.h"

#include <gtest/gtest.h>

#include "rotation/tests/fake_clock.h"

namespace iv::rotation {
namespace {

// Counts reads too, to prove when the store is left alone.
class CountingBackend : public settings::MemoryBackend {
 public:
  std::optional<settings::RawValue> Read(settings::Hive h, const std::string& p, const std::string& n) override {
    ++reads;
    return MemoryBackend::Read(h, p, n);
  }
  int reads = 0;
};

TEST(StoredTime, OnlyTheTwoWrittenFormsAreDates) {
  const DateTime t{2026, 12, 6, 14, 3, 0};
  EXPECT_EQ(FormatDateTime(t), "2026-12-06 14:03:00");
  EXPECT_EQ(ParseStoredTime("2026-12-06 14:03:00"), t);
  EXPECT_EQ(ParseStoredTime("2024-02-29"), (DateTime{2024, 2, 29, 0, 0, 0}));
  EXPECT_EQ(ParseStoredTime("0001-01-31"), (DateTime{1, 1, 31, 0, 0, 0}));
  for (const char* text : {"", "NONE", "12/6/2026", "2026-12-06T14:03:00", "2026-12-06 14:03", " 2026-12-06",
                           "2026-02-29", "2100-02-29", "2026-04-31", "2026-06-31", "2026-00-10", "2026-01-32",
                           "2026-13-01", "2026-12-06 24:00:00", "2026-1a-06", "2026/12/06", "2026-12/06", "0000-01-01",
                           "2026-12-06 14:60:00", "2026-12-06 14:03:00 "})
    EXPECT_FALSE(ParseStoredTime(text).has_value()) << text;
}

TEST(StoredTime, WholeDaysBeforeTheEpochFallOnTheirOwnDate) {
  // Exact multiples below zero must not round down a further day.
  EXPECT_EQ(FormatDateTime(FromSecondNumber(-86400)), "1969-12-31 00:00:00");
  EXPECT_EQ(FormatDateTime(FromSecondNumber(-1)), "1969-12-31 23:59:59");
  EXPECT_EQ(DayNumber(1600, 3, 1), DayNumber(1600, 2, 29) + 1);
  for (const char* day : {"2000-02-29 00:00:00", "2024-02-29 23:59:59", "2027-01-31 12:00:00"})
    EXPECT_EQ(FormatDateTime(FromSecondNumber(SecondNumber(*ParseStoredTime(day)))), day);
}

TEST(StoredTime, MinutesAreWholeAndDaysAreCalendarDays) {
  EXPECT_EQ(MinutesBetween({2026, 12, 6, 10, 0, 59}, {2026, 12, 6, 10, 1, 0}), 1);
  EXPECT_EQ(MinutesBetween({2026, 12, 31, 23, 59, 30}, {2027, 1, 1, 0, 0, 10}), 1);
  EXPECT_EQ(DaysBetween({2026, 12, 6, 23, 59, 59}, {2026, 12, 7, 0, 0, 0}), 1);
  EXPECT_EQ(DaysBetween({2024, 2, 28, 12, 0, 0}, {2024, 3, 1, 0, 0, 0}), 2);
  for (long long s = -86400LL * 800; s < 86400LL * 50000; s += 86400 * 13 + 3607)
    ASSERT_EQ(SecondNumber(FromSecondNumber(s)), s);
}

class ScheduleTest : public ::testing::Test {
 protected:
  ScheduleTest() { list_.Append({"Cat\\a.gif", " Cat\\b.gif ", "Cat\\c.gif"}); }
  std::string Get(const char* name) { return store_.Get("Options", name, "missing"); }
  // One tick a second for the given number of seconds.
  void RunFor(long long seconds, const char* box = "15") {
    for (long long i = 0; i < seconds; ++i) {
      clock_.Advance(1);
      schedule_.Tick(box);
    }
  }

  CountingBackend backend_;
  settings::Store store_{backend_};
  testing::FakeClock clock_{{2026, 12, 7, 14, 3, 20}};  // a Monday
  RotationEntries list_;
  std::vector<std::string> applied_;
  Schedule schedule_{store_, clock_, list_, "C:\\Prog", [this](const std::string& p) { applied_.push_back(p); }};
};

TEST_F(ScheduleTest, HourlyStepsThroughTheListOnWholeMinutes) {
  schedule_.SelectOption(kEveryHour, false);
  EXPECT_EQ(Get("Time"), "2026-12-07 14:03:20");
  EXPECT_EQ(Get("Rotate"), "1");
  RunFor(59 * 60 + 39);  // 15:02:59
  EXPECT_TRUE(applied_.empty());
  RunFor(1);  // 15:03:00 counts as 60 minutes
  EXPECT_EQ(applied_, std::vector<std::string>{"C:\\Prog\\Icon Library\\Cat\\b.gif"});
  EXPECT_EQ(Get("Time"), "2026-12-07 15:03:00");
  RunFor(7200);
  ASSERT_EQ(applied_.size(), 3u);
  EXPECT_EQ(applied_[1], "C:\\Prog\\Icon Library\\Cat\\c.gif");
  EXPECT_EQ(applied_[2], "C:\\Prog\\Icon Library\\Cat\\a.gif");
  EXPECT_EQ(Get("Last Index"), "0");
}

TEST_F(ScheduleTest, LongPauseAdvancesOnce) {
  store_.Set("Options", "Time", "2026-12-07 11:00:00");
  schedule_.SelectOption(kEveryHour, true);
  RunFor(3578);  // 15:02:59
  EXPECT_EQ(applied_.size(), 1u);
}

TEST_F(ScheduleTest, DailyAtMidnightWeeklyOnTheSameWeekday) {
  schedule_.SelectOption(kEveryDay, false);
  EXPECT_EQ(Get("Time"), "2026-12-07");
  clock_.Set({2026, 12, 7, 23, 59, 59});
  schedule_.Tick("");
  EXPECT_TRUE(applied_.empty());
  RunFor(86400);  // due at 0:00, then not again that day
  EXPECT_EQ(applied_.size(), 1u);

  schedule_.SelectOption(kEveryWeek, false);  // Tuesday the 8th
  clock_.Set({2026, 12, 14, 23, 59, 59});
  schedule_.Tick("");
  EXPECT_EQ(applied_.size(), 1u);
  RunFor(1);
  EXPECT_EQ(applied_.size(), 2u);
  EXPECT_EQ(Get("Time"), "2026-12-15");
}

TEST_F(ScheduleTest, ClockSetBackADayOnlyMakesDailyDue) {
  for (int mode : {kEveryHour, kEveryWeek, kEveryMinutes, kEveryDay}) {
    schedule_.SelectOption(mode, false);
    clock_.Advance(-86400);
    schedule_.Tick("5");
    clock_.Advance(86400);
    EXPECT_EQ(applied_.size(), mode == kEveryDay ? 1u : 0u) << mode;
  }
}

TEST_F(ScheduleTest, EveryNMinutesReadsTheBoxOnEachTick) {
  schedule_.SelectOption(kEveryMinutes, false);
  store_.Set("Options", "Minutes", "1");
  RunFor(4 * 60 + 39, "5");  // 14:07:59
  EXPECT_TRUE(applied_.empty());
  RunFor(1, "5");
  EXPECT_EQ(applied_.size(), 1u);
  RunFor(600, " ");  // an empty box never falls due
  EXPECT_EQ(applied_.size(), 1u);
  RunFor(3, "0");
  EXPECT_EQ(applied_.size(), 4u);
}

TEST_F(ScheduleTest, UnreadableTimeIsDueAtOnce) {
  for (const char* time : {"", "NONE", "12/7/2026 2:03:20 PM"})
    for (int mode : {kEveryHour, kEveryDay, kEveryWeek, kEveryMinutes})
      EXPECT_TRUE(IsDue(mode, time, clock_.Now(), "15")) << mode << time;
  EXPECT_FALSE(IsDue(kEveryMinutes, "NONE", clock_.Now(), ""));
  EXPECT_FALSE(IsDue(kEveryDay, "2026-12-07 00:00:00", clock_.Now(), ""));
  EXPECT_TRUE(IsDue(kEveryDay, "2026-12-07 00:00:01", clock_.Now(), ""));
}

TEST_F(ScheduleTest, OnlyUserSelectionsAndDueTicksWrite) {
  schedule_.SelectOption(kEveryDay, true);
  EXPECT_EQ(schedule_.RotateMode(), kEveryDay);
  EXPECT_EQ(backend_.writes(), 0);
  for (int mode : {int{kDisabled}, int{kNoMode}, 9}) {
    schedule_.SelectOption(mode, true);
    RunFor(2, "0");
  }
  EXPECT_EQ(backend_.writes(), 0);
  schedule_.SelectOption(kDisabled, false);
  EXPECT_EQ(Get("Time"), "NONE");
  EXPECT_EQ(Get("Rotate"), "4");
}

TEST_F(ScheduleTest, EmptyListNeverTouchesTheStore) {
  list_.Clear();
  schedule_.SelectOption(kEveryMinutes, true);
  RunFor(5, "0");
  EXPECT_EQ(backend_.reads + backend_.writes(), 0);
}

TEST_F(ScheduleTest, TickDuringApplyIsDropped) {
  Schedule* self = nullptr;
  Schedule reentrant(store_, clock_, list_, "", [&](const std::string& p) {
    applied_.push_back(p);
    clock_.Advance(1);
    self->Tick("0");  // the apply's waits dispatch timer ticks
  });
  self = &reentrant;
  reentrant.SelectOption(kEveryMinutes, false);
  reentrant.Tick("0");
  reentrant.Tick("0");
  EXPECT_EQ(applied_.size(), 2u);
  EXPECT_EQ(Get("Last Index"), "2");
}

TEST_F(ScheduleTest, LastIndexStepsAndWraps) {
  const std::tuple<const char*, size_t, const char*> cases[] = {
      {nullptr, 3, "1"}, {"1", 3, "2"},    {"2", 3, "0"},   {"7", 3, "0"},   {"-1", 3, "0"}, {"-0.4", 3, "1"},
      {"1.5", 3, "0"},   {"abc", 3, "1"}, {"99999999999999999999999", 3, "0"}, {"0", 1, "0"}};
  for (const auto& [stored, rows, next] : cases) {
    list_.Clear();
    for (size_t i = 0; i < rows; ++i) list_.Add("Cat", std::to_string(i) + ".gif");
    store_.DeleteSection("Options");
    if (stored) store_.Set("Options", "Last Index", stored);
    applied_.clear();
    schedule_.RotateToNextIcon();
    EXPECT_EQ(Get("Last Index"), next) << (stored ? stored : "missing");
    EXPECT_EQ(applied_.at(0), std::string("C:\\Prog\\Icon Library\\Cat\\") + next + ".gif");
  }
}

TEST_F(ScheduleTest, StoredSettingsAsTheWindowShowsThem) {
  EXPECT_EQ(schedule_.ReadSettings().minutesText, "15");
  EXPECT_EQ(schedule_.ReadSettings().mode, kDisabled);
  for (const auto& [text, mode] : {std::pair{"5", 5}, {"9", 0}, {"abc", 0}, {"0", 0}, {"2.5", 0}, {" 3", 3}}) {
    store_.Set("Options", "Rotate", text);
    EXPECT_EQ(schedule_.ReadSettings().mode, mode) << text;
  }
  const char* const huge = "100000000000000000000";  // no exponent form, which would read back as 1
  for (const auto& [box, stored] : {std::pair{"", "0"}, {"0042", "42"}, {huge, huge}}) {
    schedule_.MinutesChanged(box);
    EXPECT_EQ(Get("Minutes"), stored) << box;
    EXPECT_EQ(schedule_.ReadSettings().minutesText, stored);
  }
}

}  // namespace
}  // namespace iv::rotation
