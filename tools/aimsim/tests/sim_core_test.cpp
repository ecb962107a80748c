#include "sim_core.h"

#include <gtest/gtest.h>

namespace aimsim {
namespace {

// The options the program's tests start it with are exercised there; these are the
// refusals and texts no such run reaches.
TEST(AimSimOptions, BadCommandLinesAreRefused) {
  EXPECT_EQ(ParseCommandLine({"--ignore-select", "3"}).options.ignoreSelects, 3);
  for (const char* bad : {"-1", "x", "", "12345", "2x"})
    EXPECT_FALSE(ParseCommandLine({"--ignore-select", bad}).error.empty()) << bad;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--ignore-select"}, {"--user"}, {"--user", "   "}, {"--bogus"}, {"http://x"}})
    EXPECT_FALSE(ParseCommandLine(args).error.empty()) << args[0];
  Options o;
  o.confirmText = "set your buddy icon?";
  AimLink icon;
  ASSERT_TRUE(ParseAimLink("aim:BuddyIcon?Src=http://h/nothing.gif", icon));
  EXPECT_EQ(ConfirmText(icon, o), "set your buddy icon?");
}

TEST(AimSimLink, SourceIsCheckedBeforeItIsFetched) {
  EXPECT_EQ(CheckSrc("http://127.0.0.1:8080/nothing.gif"), "ok");
  EXPECT_EQ(CheckSrc("HTTPS://icons.example/x/nothing.gif"), "ok");
  EXPECT_EQ(CheckSrc(""), "missing");
  EXPECT_EQ(CheckSrc("/nothing.gif"), "not-http");
  EXPECT_EQ(CheckSrc("ftp://h/nothing.gif"), "not-http");
  EXPECT_EQ(CheckSrc("http:///nothing.gif"), "no-host");
  EXPECT_EQ(CheckSrc("http://"), "no-host");
  EXPECT_EQ(CheckSrc("http://h"), "no-path");
  EXPECT_EQ(CheckSrc("http://h/"), "no-path");
}

TEST(AimSimLink, BuddyIconLinkKeepsTheWholeSource) {
  AimLink link;
  ASSERT_TRUE(ParseAimLink("aim:BuddyIcon?Src=http://h:8080/nothing.gif?a=1&b=2", link));
  EXPECT_TRUE(link.IsBuddyIcon());
  EXPECT_EQ(link.Param("src"), "http://h:8080/nothing.gif?a=1");
  EXPECT_EQ(link.Param("b"), "2");
  EXPECT_EQ(link.Param("missing"), "");

  ASSERT_TRUE(ParseAimLink("  AIM://buddyicon?SRC=u  ", link));
  EXPECT_TRUE(link.IsBuddyIcon());
  EXPECT_EQ(link.Param("Src"), "u");

  ASSERT_TRUE(ParseAimLink("aim:GoIM?ScreenName=x", link));
  EXPECT_FALSE(link.IsBuddyIcon());
}

TEST(AimSimLink, NonLinksAreRejected) {
  AimLink link;
  EXPECT_FALSE(ParseAimLink("", link));
  EXPECT_FALSE(ParseAimLink("aim:", link));
  EXPECT_FALSE(ParseAimLink("aim:?Src=x", link));
  EXPECT_FALSE(ParseAimLink("icvan:AddIcon?x=y", link));
}

TEST(AimSimIcons, GifSignatureAndChecksum) {
  EXPECT_TRUE(IsGif("GIF87a..."));
  EXPECT_TRUE(IsGif("GIF89a"));
  EXPECT_TRUE(IsGif(BlankGif()));
  EXPECT_FALSE(IsGif("GIF88a..."));
  EXPECT_FALSE(IsGif("GIF8"));
  EXPECT_FALSE(IsGif("\x89PNG\r\n"));
  EXPECT_EQ(Hex8(Crc32("123456789")), "cbf43926");  // the standard check value
  EXPECT_EQ(Hex8(Crc32("")), "00000000");
}

}  // namespace
}  // namespace aimsim
