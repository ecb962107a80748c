// A clock the tests set and move by hand.
#pragma once
#include "rotation/core/clock.h"

namespace iv::rotation::testing {

class FakeClock : public Clock {
 public:
  explicit FakeClock(DateTime start) : now_(start) {}
  DateTime Now() const override { return now_; }
  void Set(DateTime t) { now_ = t; }
  void Advance(long long seconds) { now_ = FromSecondNumber(SecondNumber(now_) + seconds); }

 private:
  DateTime now_;
};

}  // namespace iv::rotation::testing
