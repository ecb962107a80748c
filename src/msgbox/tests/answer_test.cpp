#include "msgbox/core/answer.h"

#include <gtest/gtest.h>

namespace iv::msgbox {
namespace {

TEST(Icon, HigherBitsWinInTheOrder64_48_32_16) {
  EXPECT_EQ(IconFor(0), IconKind::None);
  EXPECT_EQ(IconFor(16), IconKind::Critical);
  EXPECT_EQ(IconFor(32), IconKind::Question);
  EXPECT_EQ(IconFor(48), IconKind::Exclamation);
  EXPECT_EQ(IconFor(64), IconKind::Information);
  EXPECT_EQ(IconFor(64 + 1), IconKind::Information);  // with a button set
  EXPECT_EQ(IconFor(80), IconKind::Information);
  EXPECT_EQ(IconFor(4 + 8), IconKind::None);
  EXPECT_EQ(IconFor(kIconQuestion + kButtonsOKCancel), IconKind::Question);  // button bits beside it
  EXPECT_EQ(IconFor(kIconCritical + kButtonsOKCancel), IconKind::Critical);
  EXPECT_EQ(SoundFor(IconKind::Critical), "SystemHand");
  EXPECT_EQ(SoundFor(IconKind::Exclamation), "SystemExclamation");
  EXPECT_EQ(SoundFor(IconKind::None), "");
}

TEST(Captions, AnOKOnlyBoxShowsItsOneButtonOnTheRight) {
  EXPECT_FALSE(CaptionsFor(kButtonsOK).leftVisible);
  EXPECT_EQ(CaptionsFor(kButtonsOK).right, "OK");
  EXPECT_TRUE(CaptionsFor(3).leftVisible);
}

TEST(Answer, WithoutInputBox) {
  struct Case {
    int buttons;
    Press press;
    int code;
  } cases[] = {
      {0, Press::Right, 1},  {0, Press::Closed, -1}, {1, Press::Left, 1},  {1, Press::Right, 2},
      {1, Press::Closed, -1}, {4, Press::Left, 6},   {4, Press::Right, 7}, {4, Press::Closed, -1},
      {2, Press::Left, 0},   {2, Press::Closed, 0},
  };
  for (const Case& c : cases) {
    const Outcome o = AnswerFor(c.buttons, false, c.press);
    EXPECT_EQ(o.code, c.code) << c.buttons << " " << static_cast<int>(c.press);
    EXPECT_FALSE(o.isText);
  }
}

TEST(Answer, WithInputBoxTheAnswerIsText) {
  for (int buttons : {0, 1, 4, 7}) {
    EXPECT_TRUE(AnswerFor(buttons, true, Press::InputEnter).typed);
    EXPECT_TRUE(AnswerFor(buttons, true, Press::Left).typed);
    const Outcome closed = AnswerFor(buttons, true, Press::Closed);
    EXPECT_TRUE(closed.isText);
    EXPECT_FALSE(closed.typed);
    EXPECT_EQ(closed.code, -1);
  }
  // The right button of an OK-only box is its OK and keeps the typed text.
  EXPECT_TRUE(AnswerFor(0, true, Press::Right).typed);
  EXPECT_FALSE(AnswerFor(1, true, Press::Right).typed);
  EXPECT_EQ(AnswerFor(4, true, Press::Right).code, 2);
}

TEST(Answer, EscapeOnlyWhereSomethingCancels) {
  EXPECT_EQ(EscapePress(1, false), Press::Right);
  EXPECT_EQ(EscapePress(1, true), Press::Right);
  EXPECT_EQ(EscapePress(0, false), Press::Right);
  EXPECT_EQ(EscapePress(0, true), std::nullopt);
  EXPECT_EQ(EscapePress(4, false), std::nullopt);
}

}  // namespace
}  // namespace iv::msgbox
