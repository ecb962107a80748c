#include "shell/core/shell_error.h"

#include <gtest/gtest.h>

namespace iv::shell {

TEST(ShellError, SuccessIsOutsideZeroToThirtyTwo) {
  EXPECT_TRUE(ShellSucceeded(33));
  EXPECT_TRUE(ShellSucceeded(-1));
  EXPECT_FALSE(ShellSucceeded(0));
  EXPECT_FALSE(ShellSucceeded(32));
}

TEST(ShellError, MapsEachFailureToItsNumberAndMessage) {
  constexpr long base = -2147220456;
  struct Row { long long result; long number; const char* message; };
  const Row rows[] = {
      {0, 7, "Out of memory"},
      {8, 7, "Out of memory"},
      {2, 53, "File not found"},
      {5, 75, "Path/file access error"},
      {26, 75, "A sharing violation occurred."},
      {28, 286, "The file could not be opened due to time out.  Please try again in a moment."},
      {30, 285, "The file could not be opened because the target application is busy.  Please try again in a moment."},
      {31, base + 31, "No application is associated with this file type."},
      {32, 48, "The specified dynamic-link library was not found."},
      {12, base + 12, "An error occurred occurred whilst trying to open or print the selected file."},
  };
  for (const Row& row : rows) {
    const ShellError e = ShellErrorFor(row.result, "iconvane");
    EXPECT_EQ(e.number, row.number) << row.result;
    EXPECT_EQ(e.message, row.message) << row.result;
    EXPECT_EQ(e.source, "iconvane.GShell");
  }
}

}  // namespace iv::shell
