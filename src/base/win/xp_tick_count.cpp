// Linked into the 32-bit program and hook DLL only. The threads library of the
// MinGW runtime, linked in statically, calls GetTickCount64, which Windows XP lacks:
// an import of it would stop the program from starting there. Defining the import
// slot here keeps the call out of the import table; the call is looked up at run
// time and, on XP, made from GetTickCount.
#include <windows.h>

#include <atomic>
#include <cstdint>

namespace {

using TickFn = ULONGLONG(WINAPI*)();

// Extends GetTickCount to 64 bits by carrying its wraps. Callers ask often (the
// runtime measures waits with it), far more often than every 24 days.
ULONGLONG WINAPI ExtendedTickCount() {
  static std::atomic<uint64_t> last{GetTickCount()};
  uint64_t prev = last.load();
  for (;;) {
    const auto step = static_cast<int32_t>(GetTickCount() - static_cast<DWORD>(prev));
    if (step <= 0) return prev;  // another thread has already gone further
    if (last.compare_exchange_weak(prev, prev + static_cast<uint32_t>(step))) return prev + static_cast<uint32_t>(step);
  }
}

ULONGLONG WINAPI TickCount64() {
  static const TickFn native = reinterpret_cast<TickFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
  return native ? native() : ExtendedTickCount();
}

}  // namespace

// The symbol the import library would otherwise provide: the address callers jump through.
extern "C" TickFn iv_GetTickCount64_slot __asm__("__imp__GetTickCount64@0");
TickFn iv_GetTickCount64_slot = TickCount64;
