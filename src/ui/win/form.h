// A top-level window of the program that takes part in UnloadAllForms: it may
// refuse to unload (QueryUnload) and runs its shut-down steps before it goes.
#pragma once
#include "base/win/window.h"
#include "ui/win/forms.h"

namespace iv::ui {

class Form : public Window {
 public:
  // Destroys a window still open while this object is whole, so it leaves the list
  // of loaded windows (the base class can no longer reach our message handling).
  ~Form() override;

  // Asks QueryUnload, then runs OnUnload and destroys the window. False when refused.
  bool Unload(int mode);
  // True while a window that agreed to unload runs its shut-down steps.
  static bool ShuttingDown();

 protected:
  // True cancels the unload.
  virtual bool QueryUnload(int /*mode*/) { return false; }
  virtual void OnUnload() {}
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool unloading_ = false;
};

}  // namespace iv::ui
