// The box under Wine: laying out a 2,000-character message with GDI measurement
// (target < 5 ms), and the CPU time used while a box waits 5 s for an answer
// (target < 1% of one core).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "base/win/handles.h"
#include "msgbox/win/gdi_measurer.h"
#include "msgbox/win/msgbox.h"

namespace {
double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](FILETIME t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}
}  // namespace

void LayoutWithGdi() {
  using namespace iv::msgbox;
  std::string text;
  const char* words[] = {"~b~c#3E9CEAConfirm~b ", "~c#000000folder ", "deletion ", "~iof~i ", "icons~n",
                         "Are ", "you ", "~usure~u ", "that ", "you ", "want ", "this? "};
  for (size_t i = 0; text.size() < 2000; ++i) text += words[i % std::size(words)];
  text.resize(2000);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  const int rounds = 50;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    MessageFonts fonts(GetDeviceCaps(screen, LOGPIXELSY));  // fresh fonts and widths, as for every box
    GdiMeasurer measurer(dc, fonts, 15, 15);
    LayoutMessage(text, AreaGeometry{}, measurer);
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  std::printf("msgbox GDI layout: %zu characters, %.3f ms per layout (target < 5 ms)\n", text.size(), ms / rounds);
}

int main() {
  LayoutWithGdi();
  constexpr DWORD kWaitMs = 5000;
  double cpuStart = 0;
  DWORD wallStart = 0;
  std::thread user([&] {
    HWND box = nullptr;
    while (!(box = FindWindowW(L"frmMsgBox", L"wait bench"))) Sleep(10);
    cpuStart = CpuSeconds();
    wallStart = GetTickCount();
    Sleep(kWaitMs);  // the user thinking
    PostMessageW(FindWindowExW(box, nullptr, L"AOLButton", L"Yes"), BM_CLICK, 0, 0);
  });
  const auto result = iv::msgbox::ShowMsgBox(L"~bWaiting~b~nfor an answer", 32, 4, L"wait bench");
  const double cpu = CpuSeconds() - cpuStart;
  const double wall = (GetTickCount() - wallStart) / 1000.0;
  user.join();
  std::printf("msgbox wait: %.2f s waited, %.3f s CPU = %.2f%% of one core (target < 1%%), answer %d\n", wall, cpu,
              100.0 * cpu / wall, result.code);
  return 0;
}
