#include "app/core/startup.h"

#include <gtest/gtest.h>

namespace iv::app {

TEST(Startup, CommandLinksInAnyCaseAndMinExactly) {
  EXPECT_EQ(DecideStart("icvan:AddIcon?i=x"), StartKind::CommandLink);
  EXPECT_EQ(DecideStart("ICVAN:AddIcon"), StartKind::CommandLink);
  EXPECT_EQ(DecideStart("\"icvan:AddList?l=http://h/a list.txt\""), StartKind::CommandLink);
  EXPECT_EQ(DecideStart("\"-min\""), StartKind::MainShown);
  EXPECT_EQ(DecideStart("-min"), StartKind::MainHidden);
  EXPECT_EQ(DecideStart("-MIN"), StartKind::MainShown);
  EXPECT_EQ(DecideStart("-min "), StartKind::MainShown);
  EXPECT_EQ(DecideStart(""), StartKind::MainShown);
  EXPECT_EQ(DecideStart("icvan"), StartKind::MainShown);
}

TEST(Startup, RotationCommandsGoToTheRunningCopy) {
  EXPECT_EQ(DecideStart("-next"), StartKind::RotationCommand);
  EXPECT_EQ(DecideStart("-PREVIOUS"), StartKind::RotationCommand);
  EXPECT_EQ(DecideStart("\"-Pause\""), StartKind::RotationCommand);
  EXPECT_EQ(DecideStart("-resume"), StartKind::RotationCommand);
  EXPECT_EQ(DecideStart("-next -min"), StartKind::MainShown);
}

TEST(Startup, SavedEdgesAreClampedToTheScreen) {
  // Screen 19200 twips wide, window 9000: the left edge may go from 0 to 10200.
  EXPECT_EQ(ClampedEdge("50000", 19200, 9000), 10200);
  EXPECT_EQ(ClampedEdge("-300", 19200, 9000), 0);
  EXPECT_EQ(ClampedEdge("4500", 19200, 9000), 4500);
  EXPECT_EQ(ClampedEdge("garbage", 19200, 9000), 0);
  EXPECT_EQ(ClampedEdge(CentredEdge(19200, 9000), 19200, 9000), 5100);
  // A window larger than the screen: the far-edge rule is tested first and wins.
  EXPECT_EQ(ClampedEdge("100", 1000, 3000), -2000);
}

}  // namespace iv::app
