// Answers AIM's "Confirm action" question about a buddy icon and, through the hook
// DLL on AIM's thread, closes the dialog AIM shows after it before it is seen.
#pragma once
#include <windows.h>

#include <string>

#include "aim/hook/ivhook.h"

namespace iv::aim {

// Posts a left click at the window's (0, 0).
void ClickWindow(HWND hwnd);
// Brings a window of ours to the front even when another program is in front.
void BringToFront(HWND hwnd);

// The hook DLL, loaded into this process to manage it and into AIM's by the hook.
class DialogHook {
 public:
  DialogHook() = default;
  DialogHook(const DialogHook&) = delete;
  DialogHook& operator=(const DialogHook&) = delete;
  ~DialogHook() { Off(); }

  // Loads ivhook.dll from the folder; caught dialogs are reported to 'notify'.
  bool Load(const std::wstring& folder, HWND notify);
  // Watches the thread's window creation; 0 watches nothing.
  void Watch(DWORD thread);
  // Removes the hook and frees the DLL: nothing is caught afterwards.
  void Off();

  bool Armed() const;
  void SetArmed(bool armed);
  bool Loaded() const { return dll_ != nullptr; }
  UINT CaughtMessage() const { return caughtMessage_; }

 private:
  HMODULE dll_ = nullptr;
  HWND notify_ = nullptr;
  HHOOK hook_ = nullptr;
  HOOKPROC proc_ = nullptr;
  IvWatchFn watch_ = nullptr;
  IvReleaseFn release_ = nullptr;
  IvSetArmedFn setArmed_ = nullptr;
  IvIsArmedFn isArmed_ = nullptr;
  bool localArmed_ = false;  // used while the DLL is missing
  UINT caughtMessage_ = RegisterWindowMessageW(kCaughtMessage);
};

// The program-wide flag: true from a seen "Confirm action" until the hook has
// caught AIM's next dialog.
bool HookArmed();
void SetHookArmed(bool armed);
// The hook the flag lives in; set by the AIM feature while it runs.
void UseDialogHook(DialogHook* hook);

}  // namespace iv::aim
