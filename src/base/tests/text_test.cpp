#include "base/core/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace iv {

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfAText) {
  EXPECT_EQ(LeadingNumber("15"), 15);
  EXPECT_EQ(LeadingNumber("  -42abc"), -42);
  EXPECT_EQ(LeadingNumber("+7"), 7);
  EXPECT_DOUBLE_EQ(LeadingNumber("3.25.7"), 3.25);
  EXPECT_DOUBLE_EQ(LeadingNumber(".5"), 0.5);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("- 4"), 0);
  EXPECT_EQ(LeadingNumber("12 34"), 12);
}

TEST(LeadingNumber, DecimalsReadAsTheNearestDouble) {
  // Exactly the literal's double, not a sum of tenths that is one step off.
  EXPECT_EQ(LeadingNumber("0.3"), 0.3);
  EXPECT_EQ(LeadingNumber("-2.675x"), -2.675);
  EXPECT_EQ(LeadingNumber("5."), 5);
  EXPECT_EQ(LeadingNumber("-.5"), -0.5);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_EQ(LeadingNumber("1e3"), 1);
  EXPECT_EQ(LeadingNumber(std::string(400, '9')), HUGE_VAL);
}

TEST(LeadingNumber, IntegerFormTruncatesAndClamps) {
  EXPECT_EQ(LeadingInt("9.9"), 9);
  EXPECT_EQ(LeadingInt("-9.9"), -9);
  EXPECT_EQ(LeadingInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(LeadingInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(Text, CaseAndSplitHelpers) {
  EXPECT_TRUE(StartsWithNoCase("ICVAN:AddIcon", "icvan:"));
  EXPECT_FALSE(StartsWithNoCase("icva", "icvan:"));
  EXPECT_EQ(Split("a\r\nb\r\n", "\r\n"), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(Trim("  a b  "), "a b");
}

TEST(Text, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
}

}  // namespace iv
