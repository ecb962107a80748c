// Start-up time against a minimal window, idle working set and idle CPU of the program.
//   bench_startup [idle seconds, default 60]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/support/driver.h"

using namespace iv::e2e;

namespace {

// Milliseconds from CreateProcess until a visible top-level window of the class answers.
double TimeToWindow(const std::wstring& exe, const std::wstring& cls, const std::wstring& dir) {
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  Process p(exe, L"", dir);
  HWND h = nullptr;
  WaitUntil([&] {
    const auto w = TopWindows(p.pid(), cls.c_str());
    h = w.empty() ? nullptr : w.front();
    return h && IsWindowVisible(h);
  }, 30000);
  if (h) Sync(h);
  QueryPerformanceCounter(&t1);
  p.Kill();
  return 1000.0 * (t1.QuadPart - t0.QuadPart) / f.QuadPart;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Seconds(const FILETIME& ft) {
  return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 1e7;
}

}  // namespace

int main(int argc, char** argv) {
  const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 60;
  ResetSettings();
  TempDir dir;
  CopyProgramFolder(dir.path());
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring benchDir(self);
  benchDir = benchDir.substr(0, benchDir.find_last_of(L'\\'));

  std::vector<double> program, minimal;
  for (int i = 0; i < 7; ++i) {
    minimal.push_back(TimeToWindow(benchDir + L"\\minimal_window.exe", L"MinimalWindow", benchDir));
    program.push_back(TimeToWindow(dir / L"iconvane.exe", L"ThunderRT6FormDC", dir.path()));
  }
  const double m = Median(minimal), p = Median(program);
  std::printf("startup: iconvane %.1f ms, minimal window %.1f ms, ratio %.2f (target <= 1.5)\n", p, m, p / m);

  // Wine maps its own DLLs into every process: the minimal window's working set is the floor.
  Process floor(benchDir + L"\\minimal_window.exe", L"", benchDir);
  WaitForTopWindow(floor.pid(), L"MinimalWindow", nullptr, 30000);
  Process idle(dir / L"iconvane.exe", L"", dir.path());
  HWND main = WaitForMainWindow(idle.pid());
  if (!main) {
    std::printf("idle: the program did not start\n");
    return 1;
  }
  FILETIME c, e, k0, u0, k1, u1;
  GetProcessTimes(idle.handle(), &c, &e, &k0, &u0);
  const ULONGLONG start = GetTickCount64();
  WaitForSingleObject(idle.handle(), idleSeconds * 1000);
  GetProcessTimes(idle.handle(), &c, &e, &k1, &u1);
  const double wall = (GetTickCount64() - start) / 1000.0;
  const double cpu = Seconds(k1) - Seconds(k0) + Seconds(u1) - Seconds(u0);
  PROCESS_MEMORY_COUNTERS pmc{sizeof(pmc)};
  GetProcessMemoryInfo(idle.handle(), &pmc, sizeof(pmc));
  PROCESS_MEMORY_COUNTERS floorPmc{sizeof(floorPmc)};
  GetProcessMemoryInfo(floor.handle(), &floorPmc, sizeof(floorPmc));
  std::printf("idle: working set %.1f MB (target < 15; a minimal window here: %.1f MB)\n",
              pmc.WorkingSetSize / 1048576.0, floorPmc.WorkingSetSize / 1048576.0);
  std::printf("idle: CPU %.3f%% of one core over %.0f s with the timers running (target < 0.5)\n",
              100.0 * cpu / wall, wall);
  ResetSettings();
  return 0;
}
