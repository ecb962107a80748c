// The main window's rotation: the list box of the rotation with its buttons, the
// schedule options and minutes box, and the one-second rotation timer.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "rotation/core/clock.h"
#include "ui/win/feature.h"

namespace iv::rotation {

// Asks a marked-up question the way the program's message box does (icon 32 question,
// buttons 4 Yes/No) and returns its answer: 6 Yes, 7 No, -1 closed without a button.
using AskFn = std::function<int(const std::wstring& prompt, int icon, int buttons, const std::wstring& title)>;

class RotationFeature : public ui::Feature {
 public:
  // The download hand-off: appends entries ("Category\file.gif") and stores the list.
  virtual void AppendToRotation(const std::vector<std::string>& entries) = 0;
  // Replaces the message box (tests answer its questions themselves).
  virtual void SetAsk(AskFn ask) = 0;
};

// The local wall clock.
class SystemClock : public Clock {
 public:
  DateTime Now() const override;
};

// Also installs itself as the host's appendToRotation hook. Asks through ShowMsgBox.
std::unique_ptr<RotationFeature> MakeRotationFeature(ui::Host& host);
std::unique_ptr<RotationFeature> MakeRotationFeature(ui::Host& host, std::unique_ptr<Clock> clock, AskFn ask);

}  // namespace iv::rotation
