#include "shell/core/shell_error.h"

#include <gtest/gtest.h>

namespace iv::shell {

TEST(ShellError, SuccessIsOutsideZeroToThirtyTwo) {
  EXPECT_TRUE(ShellSucceeded(33));
  EXPECT_TRUE(ShellSucceeded(-1));
  EXPECT_FALSE(ShellSucceeded(0));
  EXPECT_FALSE(ShellSucceeded(32));
}

TEST(ShellError, KnownFailuresKeepTheirNumberOthersAreOffsetFromTheBase) {
  constexpr long base = -2147220456;
  const ShellError known = ShellErrorFor(2, "iconvane");
  EXPECT_EQ(known.number, 53);
  EXPECT_EQ(known.message, "File not found");
  EXPECT_EQ(known.source, "iconvane.GShell");
  const ShellError other = ShellErrorFor(12, "iconvane");
  EXPECT_EQ(other.number, base + 12);
  EXPECT_EQ(other.message, "An error occurred occurred whilst trying to open or print the selected file.");
  for (long long code : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32}) {  // each known code says what went wrong
    const std::string message = ShellErrorFor(code, "x").message;
    EXPECT_TRUE(!message.empty() && message != other.message) << code;
  }
}

}  // namespace iv::shell
