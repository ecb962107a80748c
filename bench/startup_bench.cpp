// Start-up time, idle CPU and idle memory of the program, each beside a minimal
// window measured in the same run.
//   bench_startup [idle seconds per phase, default 30; 0 measures start-up only]
// CPU and memory come from Linux's /proc entry of the Wine process (through Wine's Z:
// drive): GetProcessTimes inside Wine reports nothing for a process using a core.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/support/driver.h"

using namespace iv::e2e;

namespace {

std::string ReadProcFile(int unixPid, const char* name) {
  std::ifstream in("Z:\\proc\\" + std::to_string(unixPid) + "\\" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The Linux process whose command line starts with the Windows path of exe; Wine
// shows a program's Windows command line there.
int UnixPid(const std::wstring& exe) {
  const std::string want(exe.begin(), exe.end());  // the bench's paths are ASCII
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA("Z:\\proc\\*", &fd);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int found = 0;
  do {
    const int pid = std::atoi(fd.cFileName);
    if (pid <= 0) continue;
    const std::string cmd = ReadProcFile(pid, "cmdline");
    const std::string arg0 = cmd.substr(0, cmd.find('\0'));
    if (_stricmp(arg0.c_str(), want.c_str()) == 0 || _stricmp(arg0.c_str(), ("\"" + want + "\"").c_str()) == 0)
      found = pid;
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  return found;
}

// utime + stime in clock ticks (100 per second).
long long CpuTicks(int unixPid) {
  const std::string stat = ReadProcFile(unixPid, "stat");
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream rest(stat.substr(close + 2));
  std::string field;
  long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::atoll(field.c_str());
    if (i == 15) stime = std::atoll(field.c_str());
  }
  return utime + stime;
}

double RssMb(int unixPid) {
  const std::string status = ReadProcFile(unixPid, "status");
  const size_t at = status.find("VmRSS:");
  return at == std::string::npos ? -1 : std::atof(status.c_str() + at + 6) / 1024.0;
}

// Percent of one core the process used over `seconds`.
double IdleCpu(int unixPid, int seconds) {
  const long long t0 = CpuTicks(unixPid);
  const ULONGLONG start = GetTickCount64();
  Sleep(seconds * 1000);
  const long long t1 = CpuTicks(unixPid);
  const double wall = (GetTickCount64() - start) / 1000.0;
  return 100.0 * (t1 - t0) / 100.0 / wall;
}

// Milliseconds from CreateProcess until a visible top-level window of the class has
// handled a message.
double TimeToWindow(const std::wstring& exe, const std::wstring& cls, const std::wstring& dir) {
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  Process p(exe, L"", dir);
  HWND h = nullptr;
  // Looked for every 2 ms, not at the tests' 20: the coarser step would round both
  // figures up by as much as the difference being measured.
  for (const ULONGLONG deadline = GetTickCount64() + 30000; GetTickCount64() < deadline; Sleep(2)) {
    const auto w = TopWindows(p.pid(), cls.c_str());
    h = w.empty() ? nullptr : w.front();
    if (h && IsWindowVisible(h)) break;
    h = nullptr;
  }
  if (h) Sync(h);
  QueryPerformanceCounter(&t1);
  // Let it settle before it goes, and let Wine (and the tray) finish with it before the
  // next launch: a launch right after a killed copy meets a stall.
  Sleep(500);
  p.Kill();
  Sleep(3000);
  return 1000.0 * (t1.QuadPart - t0.QuadPart) / f.QuadPart;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 30;
  ResetSettings();
  TempDir dir;
  CopyProgramFolder(dir.path());
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring benchDir(self);
  benchDir = benchDir.substr(0, benchDir.find_last_of(L'\\'));
  // All start from the same folder, the same way.
  for (const wchar_t* floor : {L"minimal_window.exe", L"minimal_window_cc6.exe"})
    CopyFileW((benchDir + L"\\" + floor).c_str(), (dir / floor).c_str(), FALSE);
  const std::wstring minimalExe = dir / L"minimal_window.exe", programExe = dir / L"iconvane.exe";

  // The order turns each round, so that none always follows another's exit.
  struct Launch {
    std::wstring exe, windowClass;
    std::vector<double> ms;
  };
  Launch runs[] = {{minimalExe, L"MinimalWindow", {}},
                   {dir / L"minimal_window_cc6.exe", L"MinimalWindow", {}},
                   {programExe, L"ThunderRT6FormDC", {}}};
  for (int i = 0; i < 15; ++i)
    for (int k = 0; k < 3; ++k) {
      Launch& run = runs[(i + k) % 3];
      run.ms.push_back(TimeToWindow(run.exe, run.windowClass, dir.path()));
    }
  const double m = Median(runs[0].ms), c = Median(runs[1].ms), p = Median(runs[2].ms);
  std::printf("startup: iconvane %.1f ms, minimal window %.1f ms, ratio %.2f (target <= 1.5)\n", p, m, p / m);
  std::printf("  minimal window with common controls 6: %.1f ms, %.2f x the minimal window; iconvane %.2f x it\n", c,
              c / m, p / c);
  const char* names[] = {"minimal window", "with common controls 6", "iconvane"};
  for (int k = 0; k < 3; ++k) {
    std::printf("  samples, %s:", names[k]);
    for (double v : runs[k].ms) std::printf(" %.0f", v);
    std::printf("\n");
  }
  std::fflush(stdout);
  if (idleSeconds <= 0) return 0;

  Process floor(minimalExe, L"", dir.path());
  WaitForTopWindow(floor.pid(), L"MinimalWindow", nullptr, 30000);
  const int floorPid = UnixPid(minimalExe);
  {
    // Hidden in the tray.
    Process idle(programExe, L"-min", dir.path());
    HWND main = WaitForMainWindow(idle.pid());
    const int pid = UnixPid(programExe);
    if (!main || !pid || !floorPid) {
      std::printf("idle: the program or its /proc entry was not found\n");
      return 1;
    }
    Sleep(3000);  // past start-up
    const double floorCpu = IdleCpu(floorPid, idleSeconds);
    const double cpu = IdleCpu(pid, idleSeconds);
    std::printf("idle CPU, hidden in the tray: %.2f%% of a core (minimal window %.2f%%; target <= 0.2%%)\n", cpu,
                floorCpu);
    const double rss = RssMb(pid), floorRss = RssMb(floorPid);
    std::printf("idle memory, hidden: VmRSS %.1f MB, minimal window %.1f MB, %.1f MB above (target <= 5)\n", rss,
                floorRss, rss - floorRss);
    std::fflush(stdout);

    ShowWindow(main, SW_SHOW);  // from another process: Wine passes it on as the tray would
    PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000);
    Sleep(3000);
    std::printf("idle CPU, window shown: %.2f%% of a core (target <= 1%%)\n", IdleCpu(pid, idleSeconds));
    const double shownRss = RssMb(pid);
    std::printf("idle memory, shown: VmRSS %.1f MB, %.1f MB above the minimal window (target <= 5)\n", shownRss,
                shownRss - floorRss);
    std::fflush(stdout);

    // The exit question waits in a message box.
    PostMessageW(main, WM_CLOSE, 0, 0);
    const HWND box = WaitForTopWindow(idle.pid(), nullptr, L"Iconvane for AIM", 10000);
    Sleep(3000);
    std::printf("idle CPU, message box waiting: %.2f%% of a core (box %s; target <= 1%%)\n",
                IdleCpu(pid, idleSeconds), box ? "found" : "NOT found");
    idle.Kill();
  }
  ResetSettings();
  return 0;
}
