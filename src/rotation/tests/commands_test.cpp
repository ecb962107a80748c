// Commands to the running copy: the command line, the history "-previous" walks
// back through, and the pause and "-next" of the schedule.
#include <gtest/gtest.h>

#include <set>

#include "rotation/core/commands.h"
#include "rotation/core/history.h"
#include "rotation/core/schedule.h"
#include "rotation/tests/fake_clock.h"

namespace iv::rotation {
namespace {

TEST(Commands, TheFourWordsInAnyCaseAndNothingElse) {
  EXPECT_EQ(ParseCommand("-next"), Command::Next);
  EXPECT_EQ(ParseCommand("-NEXT"), Command::Next);
  EXPECT_EQ(ParseCommand(" -Previous "), Command::Previous);
  EXPECT_EQ(ParseCommand("\"-pause\""), Command::Pause);
  EXPECT_EQ(ParseCommand("-rEsUmE"), Command::Resume);
  for (const char* other : {"", "-min", "next", "/next", "-next now", "-nex", "--next", "\"-next", "icvan:-next"})
    EXPECT_FALSE(ParseCommand(other).has_value()) << other;
  EXPECT_EQ(CommandFromCode(1), Command::Next);
  EXPECT_EQ(CommandFromCode(4), Command::Resume);
  EXPECT_FALSE(CommandFromCode(0).has_value());
  EXPECT_FALSE(CommandFromCode(5).has_value());
  EXPECT_FALSE(CommandFromCode(-1).has_value());
}

class HistoryTest : public ::testing::Test {
 protected:
  settings::MemoryBackend backend_;
  settings::Store store_{backend_};
  std::set<std::string> gone_;
  IconHistory history_{store_, [this](const std::string& p) { return !gone_.count(p); }};
};

TEST_F(HistoryTest, KeepsTheLastTwentyNewestFirst) {
  for (int i = 1; i <= 25; ++i) history_.Applied("icon" + std::to_string(i));
  const std::vector<std::string> icons = history_.Icons();
  ASSERT_EQ(icons.size(), kHistoryLength);
  EXPECT_EQ(icons.front(), "icon25");
  EXPECT_EQ(icons.back(), "icon6");
  EXPECT_EQ(store_.Get("History", "Count", ""), "20");
  EXPECT_EQ(store_.Get("History", "21", "none"), "none");
  // The same icon again in a row is one step, not two.
  history_.Applied("icon25");
  EXPECT_EQ(history_.Icons()[1], "icon24");
  history_.Applied("icon24");  // the one before it, applied anew, is a new step
  EXPECT_EQ(history_.Icons()[1], "icon25");
}

TEST_F(HistoryTest, GoingBackWalksFurtherEachTime) {
  for (const char* icon : {"a", "b", "c"}) history_.Applied(icon);
  ASSERT_EQ(history_.BeginBack(), "b");
  history_.Applied("b");
  EXPECT_EQ(history_.Icons(), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(store_.Get("History", "3", "none"), "none");  // the shorter history is written whole
  ASSERT_EQ(history_.BeginBack(), "a");
  history_.Applied("a");
  EXPECT_EQ(history_.Icons(), std::vector<std::string>{"a"});
  EXPECT_FALSE(history_.BeginBack().has_value());
}

TEST_F(HistoryTest, OnlyASuccessfulApplyWrites) {
  for (const char* icon : {"a", "b"}) history_.Applied(icon);
  ASSERT_EQ(history_.BeginBack(), "a");
  // The apply failed: nothing reported, nothing changed.
  EXPECT_EQ(history_.Icons(), (std::vector<std::string>{"b", "a"}));
  // Another icon applied meanwhile is new, not a step back.
  history_.Applied("c");
  history_.Applied("a");
  EXPECT_EQ(history_.Icons(), (std::vector<std::string>{"a", "c", "b", "a"}));
}

TEST_F(HistoryTest, GoneIconsAreSkippedAndDropped) {
  for (const char* icon : {"a", "b", "c", "d"}) history_.Applied(icon);
  gone_ = {"c", "b", "d"};
  EXPECT_EQ(history_.BeginBack(), "a");
  EXPECT_EQ(history_.Icons(), (std::vector<std::string>{"d", "a"}));
  gone_.insert("a");
  EXPECT_FALSE(history_.BeginBack().has_value());
  EXPECT_EQ(history_.Icons(), std::vector<std::string>{"d"});
}

TEST_F(HistoryTest, StoredValuesAreReadAsTheyStand) {
  store_.Set("History", "Count", "99999999999");
  store_.Set("History", "1", "x");
  store_.Set("History", "3", "z");
  EXPECT_EQ(history_.Icons(), (std::vector<std::string>{"x", "z"}));
  store_.Set("History", "Count", "-3");
  EXPECT_TRUE(history_.Icons().empty());
}

class PauseTest : public ::testing::Test {
 protected:
  PauseTest() { list_.Append({"Cat\\a.gif", "Cat\\b.gif"}); }
  std::string Get(const char* name) { return store_.Get("Options", name, "missing"); }

  settings::MemoryBackend backend_;
  settings::Store store_{backend_};
  testing::FakeClock clock_{{2026, 12, 7, 14, 3, 20}};
  RotationEntries list_;
  std::vector<std::string> applied_;
  Schedule schedule_{store_, clock_, list_, "P", [this](const std::string& p) { applied_.push_back(p); }};
};

TEST_F(PauseTest, PausedTicksApplyNothingAndResumeCatchesUp) {
  schedule_.SelectOption(kEveryMinutes, false);
  schedule_.SetPaused(true);
  for (int i = 0; i < 5; ++i) schedule_.Tick("0");
  EXPECT_TRUE(applied_.empty());
  EXPECT_EQ(Get("Rotate"), "5");
  EXPECT_EQ(Get("Time"), "2026-12-07 14:03:20");
  // Another copy (or the user by hand) resumes: the next tick sees it.
  store_.Set("Options", "Paused", "0");
  EXPECT_FALSE(schedule_.Paused());
  schedule_.Tick("0");
  EXPECT_EQ(applied_.size(), 1u);
}

TEST_F(PauseTest, NextAppliesNowAsADueTickWould) {
  schedule_.SelectOption(kEveryHour, false);
  schedule_.SetPaused(true);
  clock_.Advance(600);
  schedule_.NextNow();
  EXPECT_EQ(applied_, std::vector<std::string>{"P\\Icon Library\\Cat\\b.gif"});
  EXPECT_EQ(Get("Last Index"), "1");
  EXPECT_EQ(Get("Time"), "2026-12-07 14:13:20");
  schedule_.NextNow();
  EXPECT_EQ(applied_.back(), "P\\Icon Library\\Cat\\a.gif");
  EXPECT_EQ(Get("Paused"), "1");

  list_.Clear();
  schedule_.NextNow();
  EXPECT_EQ(applied_.size(), 2u);
}

// "-next" inside a tick's apply: the tick's apply is still busy when it returns.
TEST_F(PauseTest, NextInsideAnApplyKeepsTheTickOut) {
  Schedule* self = nullptr;
  int depth = 0;
  Schedule nested(store_, clock_, list_, "", [&](const std::string& p) {
    applied_.push_back(p);
    if (depth++ == 0) self->NextNow();
    clock_.Advance(60);
    self->Tick("0");
  });
  self = &nested;
  nested.SelectOption(kEveryMinutes, false);
  nested.Tick("0");
  EXPECT_EQ(applied_.size(), 2u);
}

}  // namespace
}  // namespace iv::rotation
