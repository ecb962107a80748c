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

}  // namespace iv::app
