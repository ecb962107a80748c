// What a message box shows for its Icon and Buttons arguments, and what each way of
// answering it returns.
#pragma once
#include <optional>
#include <string_view>

namespace iv::msgbox {

enum class IconKind { None, Critical, Question, Exclamation, Information };

// Bits tested in the order 64, 48, 32, 16: 48 is the exclamation although it holds
// the question bit, and 80 (64 + 16) is the information icon.
IconKind IconFor(int icon);

// The system sound alias played with an icon; empty for none.
std::string_view SoundFor(IconKind icon);

// The Icon argument by name; it is read as bits (see IconFor).
enum Icon : int { kNoIcon = 0, kIconCritical = 16, kIconQuestion = 32, kIconExclamation = 48, kIconInformation = 64 };

// The Buttons argument: the button sets.
enum Buttons : int { kButtonsOK = 0, kButtonsOKCancel = 1, kButtonsYesNo = 4 };

// A box's answer code.
enum Answer : int { kAnswerClosed = -1, kNoAnswer = 0, kAnswerOK = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

struct Captions {
  bool leftVisible = true;
  std::string_view left = "OK";
  std::string_view right = "Cancel";
};

// Captions for a button set before the caller's own captions replace them.
Captions CaptionsFor(int buttons);

enum class Press { Left, Right, InputEnter, Closed };

struct Outcome {
  int code = 0;        // 1 OK, 2 Cancel, 6 Yes, 7 No, -1 closed, 0 no answer
  bool isText = false;  // an input box was shown: the answer is text
  bool typed = false;   // the text is what was typed (else empty)
};

// The answer for a way of answering. Enter on a focused button is a click on it.
// With an input box: code 1 accepted, 2 cancelled, -1 closed.
Outcome AnswerFor(int buttons, bool showInput, Press press);

// Escape answers like the button that cancels, where there is one (Cancel; OK in an
// OK-only box without an input box); otherwise it does nothing.
std::optional<Press> EscapePress(int buttons, bool showInput);

}  // namespace iv::msgbox
