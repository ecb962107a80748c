// The rotation schedule: which interval the user picked, when it has run out, and
// the step to the next entry of the rotation. The interval state lives in the store
// ("Options"/"Time"), so it survives restarts and every read sees the current value.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "rotation/core/clock.h"
#include "rotation/core/rotation_list.h"
#include "settings/core/store.h"

namespace iv::rotation {

inline constexpr std::string_view kOptionsSection = "Options";

// Option codes as stored in "Options"/"Rotate"; 0 while no option is selected.
enum RotateCode : int { kNoMode = 0, kEveryHour = 1, kEveryDay = 2, kEveryWeek = 3, kDisabled = 4, kEveryMinutes = 5 };

// Whether the interval of `mode` that started at the stored "Time" has run out at
// `now`. A "Time" that is not a date counts as run out, except in mode 5 with an
// empty minutes box, which never runs out.
bool IsDue(int mode, std::string_view storedTime, const DateTime& now, std::string_view minutesBoxText);

// The decimal text stored for the minutes box: its leading number, "0" when empty.
std::string MinutesValueText(std::string_view boxText);

class Schedule {
 public:
  // Applies the icon at a full path; its outcome does not change the schedule.
  using ApplyFn = std::function<void(const std::string& iconPath)>;

  Schedule(settings::Store& store, const Clock& clock, const RotationEntries& list, std::string programFolder,
           ApplyFn apply)
      : store_(store), clock_(clock), list_(list), programFolder_(std::move(programFolder)), apply_(std::move(apply)) {}

  int RotateMode() const { return mode_; }

  // An option was selected. Only a selection by the user (not while loading) is
  // stored, and it restarts the interval.
  void SelectOption(int code, bool isLoading);
  // The minutes box changed: stores its number.
  void MinutesChanged(std::string_view boxText);

  // What the load part puts on the window: the minutes box text and the option to
  // select (kNoMode when the stored "Rotate" names none).
  struct Settings {
    std::string minutesText;
    int mode = kNoMode;
  };
  Settings ReadSettings() const;

  // The one-second tick; the minutes box is read on every tick, not from the store.
  void Tick(std::string_view minutesBoxText);
  // Steps "Last Index" to the next row (wrapping) and applies that row's icon.
  void RotateToNextIcon();

  // "-next": what a due tick does, now and whatever the interval or the pause:
  // starts the interval again ("Time") and applies the next row.
  void NextNow();

  // The pause ("Options"/"Paused") stops the ticks from applying; it leaves the mode
  // and "Rotate" alone. Read from the store, so another copy's change counts at once.
  bool Paused() const;
  void SetPaused(bool paused);

 private:
  settings::Store& store_;
  const Clock& clock_;
  const RotationEntries& list_;
  std::string programFolder_;
  ApplyFn apply_;
  int mode_ = kNoMode;
  bool applying_ = false;
};

}  // namespace iv::rotation
