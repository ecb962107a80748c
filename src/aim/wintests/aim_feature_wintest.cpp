#include <gtest/gtest.h>

#include "aim/win/aim_feature.h"
#include "ui/win/ids.h"
#include "ui/wintests/test_host.h"

namespace iv::aim::testing {
namespace {

// Each refresh of the current-icon preview reads AIM's users from the registry: it
// runs while the window is on screen, where the preview can be seen.
TEST(AimFeature, RefreshesTheCurrentIconOnlyOnScreen) {
  ui::testing::TestHost host;
  host.SetFeature(MakeAimFeature(host));
  ui::Feature& feature = host.feature();
  feature.OnCreate();
  // KillTimer tells whether the timer ran (and stops it).
  const auto refreshing = [&] { return KillTimer(host.MainWindow(), ids::TmrIcon) != FALSE; };
  host.Load();
  EXPECT_FALSE(refreshing());
  feature.OnVisible(true);
  EXPECT_TRUE(refreshing());
  feature.OnVisible(true);
  feature.OnVisible(false);
  EXPECT_FALSE(refreshing());
  feature.OnUnload();
}

}  // namespace
}  // namespace iv::aim::testing
