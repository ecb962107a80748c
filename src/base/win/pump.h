// The program's one message pump. The main loop and every wait inside a handler go
// through it. A WM_QUIT met by a nested wait is posted again, so that it reaches the
// outermost loop, and the wait returns at once.
#pragma once
#include <windows.h>

#include <functional>

namespace iv {

enum class PumpEnd { Done, TimedOut, Quit };

struct Pumped {
  PumpEnd end = PumpEnd::Done;
  int exitCode = 0;  // WM_QUIT's, for PumpEnd::Quit
};

// Dispatches what is queued now and returns. False when WM_QUIT came.
[[nodiscard]] bool PumpPending();

// Dispatches messages until done() holds, WM_QUIT arrives or timeoutMs pass, sleeping
// on the queue (and on `wake`, when given, so that its signal rechecks done at once).
[[nodiscard]] Pumped PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = INFINITE,
                               HANDLE wake = nullptr);

// The outermost loop: dispatches, with dialog keys (Tab, Enter, Escape) in every
// top-level window, until WM_QUIT. Returns its exit code.
int RunMessageLoop();

}  // namespace iv
