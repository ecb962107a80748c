#include "ui/core/position.h"

#include <gtest/gtest.h>

namespace iv::ui {

TEST(Position, SavedEdgesAreClampedToTheScreen) {
  // Screen 19200 twips wide, window 9000: the left edge may go from 0 to 10200.
  EXPECT_EQ(ClampedEdge("50000", 19200, 9000), 10200);
  EXPECT_EQ(ClampedEdge("-300", 19200, 9000), 0);
  EXPECT_EQ(ClampedEdge("4500", 19200, 9000), 4500);
  EXPECT_EQ(ClampedEdge("garbage", 19200, 9000), 0);
  EXPECT_EQ(ClampedEdge(CentredEdge(19200, 9000), 19200, 9000), 5100);
  EXPECT_EQ(CentredEdge(19200, 9000) + " " + CentredEdge(19201, 9000), "5100 5100.5");  // stored as text
  // A window larger than the screen: the far-edge rule is tested first and wins.
  EXPECT_EQ(ClampedEdge("100", 1000, 3000), -2000);
}

}  // namespace iv::ui
