// Time of one apply by each method against the simulator, beside the fixed waits
// the method cannot run without: what is left is the cost of driving AIM.
#include <cstdio>

#include "aim/core/aim_rules.h"
#include "sim_session.h"

namespace {

using iv::aim::testing::SimSession;

void Measure(const wchar_t* exe, const char* method, int fixedWaits) {
  SimSession sim(exe);
  if (!sim.running()) {
    std::printf("%s: simulator did not start\n", method);
    return;
  }
  iv::aim::Aim& aim = sim.Start();
  const std::wstring icon = sim.Icon(L"bench.gif", 'b');
  const ULONGLONG start = GetTickCount64();
  aim.ApplyBuddyIcon(icon, true);
  const ULONGLONG took = GetTickCount64() - start;
  const bool applied = sim.WaitLog("icon-set", 5000);
  std::printf("%-22s apply %5llu ms, fixed waits %5d ms, overhead %5lld ms, icon set: %s\n", method, took,
              fixedWaits, static_cast<long long>(took) - fixedWaits, applied ? "yes" : "NO");
}

}  // namespace

int main() {
  Measure(L"aimsim46.exe", "picture file (4.3)", iv::aim::kPictureWaitsManual);
  Measure(L"aimsim.exe", "preferences (5.9)", iv::aim::kPreferencesWaits);
  return 0;
}
