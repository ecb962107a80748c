#include "library/core/layout.h"

#include <gtest/gtest.h>

namespace iv::library {

TEST(Layout, EntryPathTrimsTheEntryOnly) {
  EXPECT_EQ(EntryPath("C:\\My P", "  Cats\\a.gif "), "C:\\My P\\Icon Library\\Cats\\a.gif");
}

TEST(Layout, OnlyGifExtensionsCountInAnyCase) {
  EXPECT_TRUE(IsIconFileName("a.gif"));
  EXPECT_TRUE(IsIconFileName("A.GIF"));
  EXPECT_TRUE(IsIconFileName("x.png.GiF"));
  EXPECT_FALSE(IsIconFileName("a.gif.png"));
  EXPECT_FALSE(IsIconFileName("gif"));
  EXPECT_FALSE(IsIconFileName("a.gifs"));
  EXPECT_FALSE(IsIconFileName("a."));
}

TEST(Layout, FileRowIsABlankAndTheLowerCaseName) { EXPECT_EQ(FileRowText("Big Dog.GIF"), " big dog.gif"); }

TEST(Layout, StripNullsCutsAtTheFirstNul) {
  EXPECT_EQ(StripNulls(std::string("abc\0def", 7)), "abc");
  EXPECT_EQ(StripNulls(std::string("\0x", 2)), "");
  EXPECT_EQ(StripNulls("plain"), "plain");
}

}  // namespace iv::library

#include "library/core/prompts.h"

namespace iv::library {

TEST(Prompts, NameTheCategoryAndTheIconRowExactly) {
  EXPECT_EQ(DeleteFolderPrompt("Cute Cats"),
            "~b~c#3E9CEAConfirm Folder Deletion ~b~n~c#000000Are you sure you want to delete icon category "
            "~bCute Cats~b?  Once deleted you will not be able to retrieve its buddy icons again unless you "
            "re-download it.");
  EXPECT_EQ(DeleteIconPrompt(" dog.gif", "Pets"),
            "~b~c#3E9CEAConfirm Icon File Deletion ~b~c#000000~nAre you sure you want to delete the buddy icon "
            "~b~i~c#FF0000 dog.gif~b~i~c#000000 from category \"~bPets~b\"?  Once deleted you will not be able to "
            "retrieve it again.");
}

}  // namespace iv::library
