// The window hook that runs inside AIM's process. It catches the next dialog AIM
// creates while armed, keeps it from ever being shown, closes it, and posts the
// registered message kCaughtMessage (wParam: hook code, lParam: the dialog) to the
// window that armed it. Arming state lives in the DLL's shared data section, so
// the program and every copy of the DLL loaded into AIM see the same flags.
#pragma once
#include <windows.h>

#define IVHOOK_API extern "C" __declspec(dllexport)

inline constexpr wchar_t kCaughtMessage[] = L"Iconvane.HookCaughtDialog";
inline constexpr wchar_t kHookDll[] = L"ivhook.dll";

// Exported names, looked up by the program with GetProcAddress.
inline constexpr char kCbtProcName[] = "IvCbtProc";
inline constexpr char kWatchName[] = "IvWatch";
inline constexpr char kReleaseName[] = "IvRelease";
inline constexpr char kSetArmedName[] = "IvSetArmed";
inline constexpr char kIsArmedName[] = "IvIsArmed";
inline constexpr char kWatchedThreadName[] = "IvWatchedThread";

// Takes (or updates) the notify window's slot; thread 0 watches nothing.
using IvWatchFn = BOOL (*)(HWND notify, DWORD thread);
using IvReleaseFn = void (*)(HWND notify);
using IvSetArmedFn = void (*)(HWND notify, BOOL armed);
using IvIsArmedFn = BOOL (*)(HWND notify);
// The thread a program window watches; lets a test see that AIM has been noticed.
using IvWatchedThreadFn = DWORD (*)(HWND notify);
