#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "site.h"

namespace iv::iconserver {
namespace {

namespace fs = std::filesystem;

class SiteFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) / ("iv-site-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    for (const char* dir : {"Funny Cats", "animals", ".hidden", "Mr. T", "Empty"})
      fs::create_directories(root_ / dir);
    for (const char* file : {"Funny Cats/b.gif", "Funny Cats/A.GIF", "Funny Cats/notes.txt",
                             "Funny Cats/.secret.gif", "animals/dog.gif", "loose.gif"})
      std::ofstream(root_ / file) << "GIF89a";
    fs::create_directories(root_ / "Funny Cats" / "sub.gif");
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(SiteFolder, CategoriesAreTheVisibleFoldersWithoutDots) {
  EXPECT_EQ(ListCategories(root_), (std::vector<std::string>{"Empty", "Funny Cats", "animals"}));
  EXPECT_TRUE(ListCategories(root_ / "missing").empty());
}

TEST_F(SiteFolder, IconsAreTheGifFilesInAnyLetterCase) {
  EXPECT_EQ(ListIcons(root_, "Funny Cats"), (std::vector<std::string>{"A.GIF", "b.gif"}));
  EXPECT_TRUE(ListIcons(root_, "Empty").empty());
}

TEST_F(SiteFolder, DottedAddressFindsItsCategory) {
  EXPECT_EQ(FindCategory(root_, "Funny.Cats"), "Funny Cats");
  // A CR carried over from the category list still finds the page.
  EXPECT_EQ(FindCategory(root_, "Funny.Cats\r"), "Funny Cats");
  EXPECT_EQ(FindCategory(root_, "Funny Cats"), std::nullopt);
  EXPECT_EQ(FindCategory(root_, "funny.cats"), std::nullopt);
  EXPECT_EQ(FindCategory(root_, ".hidden"), std::nullopt);
  EXPECT_EQ(FindCategory(root_, ".."), std::nullopt);
  EXPECT_EQ(FindCategory(root_, ""), std::nullopt);
}

TEST(SiteText, IconFileNamesCannotLeaveTheirFolder) {
  EXPECT_TRUE(IsIconFileName("cat.gif"));
  EXPECT_TRUE(IsIconFileName("CAT.GIF"));
  for (const char* bad : {"", ".gif", "../x.gif", "a/b.gif", "a\\b.gif", "cat.png", "gif"})
    EXPECT_FALSE(IsIconFileName(bad)) << bad;
}

TEST(SiteText, BaseUrlEchoesOnlyPlainHostHeaders) {
  EXPECT_EQ(BaseUrl("localhost:8080", "127.0.0.1:1"), "http://localhost:8080");
  EXPECT_EQ(BaseUrl("[::1]:80", "x"), "http://[::1]:80");
  EXPECT_EQ(BaseUrl("", "127.0.0.1:1"), "http://127.0.0.1:1");
  EXPECT_EQ(BaseUrl("evil\"><script>", "127.0.0.1:1"), "http://127.0.0.1:1");
  EXPECT_EQ(BaseUrl("a b", "127.0.0.1:1"), "http://127.0.0.1:1");
}

TEST(SiteText, NamesAreEscapedInPagesAndAddresses) {
  const std::string page = CategoryPage("http://h", "Tom & Jerry", {"<b>.gif"});
  EXPECT_NE(page.find("<h2>Tom &amp; Jerry</h2>"), std::string::npos);
  EXPECT_NE(page.find("icvan:AddIcon?icon=http://h/icons/Tom.%26.Jerry/%3Cb%3E.gif"),
            std::string::npos);
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_NE(HomePage("http://h", {"Funny Cats"}).find("href=\"http://h/icons.php?dir=Funny.Cats\""),
            std::string::npos);
}

}  // namespace
}  // namespace iv::iconserver
