#include "msgbox/core/answer.h"

namespace iv::msgbox {

IconKind IconFor(int icon) {
  if ((icon & 64) == 64) return IconKind::Information;
  if ((icon & 48) == 48) return IconKind::Exclamation;
  if ((icon & 32) == 32) return IconKind::Question;
  if ((icon & 16) == 16) return IconKind::Critical;
  return IconKind::None;
}

std::string_view SoundFor(IconKind icon) {
  switch (icon) {
    case IconKind::Information: return "SystemAsterisk";
    case IconKind::Exclamation: return "SystemExclamation";
    case IconKind::Question: return "SystemQuestion";
    case IconKind::Critical: return "SystemHand";
    case IconKind::None: break;
  }
  return {};
}

Captions CaptionsFor(int buttons) {
  switch (buttons) {
    case kButtonsYesNo: return {true, "Yes", "No"};
    case kButtonsOK: return {false, "OK", "OK"};
    default: return {};
  }
}

namespace {
bool KnownSet(int buttons) {
  return buttons == kButtonsOK || buttons == kButtonsOKCancel || buttons == kButtonsYesNo;
}
}  // namespace

Outcome AnswerFor(int buttons, bool showInput, Press press) {
  if (showInput) {
    switch (press) {
      case Press::Left:
      case Press::InputEnter: return {1, true, true};
      // In an OK-only box the right button is its OK.
      case Press::Right: return buttons == kButtonsOK ? Outcome{1, true, true} : Outcome{2, true, false};
      case Press::Closed: return {-1, true, false};
    }
  }
  if (!KnownSet(buttons)) return {};
  const bool yesNo = buttons == kButtonsYesNo;
  switch (press) {
    case Press::Left:
    case Press::InputEnter: return {yesNo ? 6 : 1};
    case Press::Right: return {yesNo ? 7 : buttons == kButtonsOK ? 1 : 2};
    case Press::Closed: return {-1};
  }
  return {};
}

std::optional<Press> EscapePress(int buttons, bool showInput) {
  if (buttons == kButtonsOKCancel || (buttons == kButtonsOK && !showInput)) return Press::Right;
  return std::nullopt;
}

}  // namespace iv::msgbox
