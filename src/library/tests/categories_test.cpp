#include "library/core/categories.h"

#include <gtest/gtest.h>

namespace iv::library {

using Names = std::vector<std::string>;

TEST(ParseCategories, TextAfterTheLastCrLfIsNotRead) {
  EXPECT_EQ(ParseCategories("Animals\r\nCars\r\nDogs"), (Names{"", "Animals", "Cars"}));
  EXPECT_EQ(ParseCategories("Animals\r\nCars\r\n"), (Names{"", "Animals", "Cars"}));
}

TEST(ParseCategories, EmptyOrLinelessTextGivesOnlyIndexZero) {
  EXPECT_EQ(ParseCategories(""), Names{""});
  EXPECT_EQ(ParseCategories("One name"), Names{""});
  EXPECT_EQ(ParseCategories("a\nb\n"), Names{""});
}

TEST(ParseCategories, SplitsAtLineFeedsWhileACrLfRemains) {
  // A bare LF before the last CR LF still ends a line; empty lines are kept.
  EXPECT_EQ(ParseCategories("a\nb\r\n\r\nc"), (Names{"", "a", "b", ""}));
  EXPECT_EQ(ParseCategories("Two Words\r\n"), (Names{"", "Two Words"}));
}

TEST(FilterByLetter, MatchesTheFirstCharacterExactly) {
  const Names cats{"", "Bears", "bats", "Birds", "3D", "Apes", ""};
  EXPECT_EQ(FilterByLetter(cats, "B"), (Names{"Bears", "Birds"}));
  EXPECT_EQ(FilterByLetter(cats, "A"), Names{"Apes"});
  EXPECT_TRUE(FilterByLetter(cats, "Z").empty());
  EXPECT_EQ(FilterByLetter(cats, "All"), (Names{"Bears", "bats", "Birds", "3D", "Apes"}));
  EXPECT_TRUE(FilterByLetter(Names{""}, "All").empty());
  const Names letters = LetterEntries();  // the filter list offers "All", then A to Z
  EXPECT_EQ(letters.size(), 27u);
  EXPECT_EQ(letters[1] + letters[26], "AZ");
}

TEST(CategoryPage, BlanksBecomeDotsAndTheQueryStaysIntact) {
  EXPECT_EQ(CategoryPagePath("Cute Cats"), "/icons.php?dir=Cute.Cats");
  EXPECT_EQ(CategoryPageAddress("http://h:8080/", "A B C"), "http://h:8080/icons.php?dir=A.B.C");
  EXPECT_EQ(CategoryPageAddress("http://h", "Cats"), "http://h/icons.php?dir=Cats");
  // Characters that would end the value or start a fragment are escaped.
  EXPECT_EQ(CategoryPagePath("Tom & Jerry#1"), "/icons.php?dir=Tom.%26.Jerry%231");
  EXPECT_EQ(CategoryPagePath("a\rb"), "/icons.php?dir=a%0Db");
  EXPECT_EQ(CategoryPagePath("AZ az09-_"), "/icons.php?dir=AZ.az09-_");  // the ends of the plain ranges
  EXPECT_EQ(CategoryPagePath("It's (Dr.Who)!~*,"), "/icons.php?dir=It's.(Dr.Who)!~*,");
  EXPECT_EQ(CategoryPagePath("\xC3\xA9t\xC3\xA9"), "/icons.php?dir=%C3%A9t%C3%A9");
}

TEST(RowAfterDelete, SelectsTheRowAboveOrTheNewFirstRow) {
  EXPECT_EQ(RowAfterDelete(0, 3), 0);  // first deleted: the row that moved up
  EXPECT_EQ(RowAfterDelete(2, 2), 1);  // last deleted: the new last row
  EXPECT_EQ(RowAfterDelete(1, 2), 0);  // middle: the row above
  EXPECT_EQ(RowAfterDelete(1, 1), 0);  // second of two: the one left
  EXPECT_EQ(RowAfterDelete(0, 0), std::nullopt);
  EXPECT_EQ(RowAfterDelete(-1, 4), std::nullopt);
  EXPECT_EQ(RowAfterDelete(9, 2), 1);  // a stale index still lands on a row
}

}  // namespace iv::library
