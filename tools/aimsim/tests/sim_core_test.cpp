#include "sim_core.h"

#include <gtest/gtest.h>

namespace aimsim {
namespace {

TEST(AimSimOptions, DefaultsAndValues) {
  ParsedOptions p = ParseCommandLine({});
  EXPECT_TRUE(p.error.empty());
  EXPECT_EQ(p.options.user, "Test User");
  EXPECT_NE(NormalizeScreenName(p.options.user), p.options.user);  // callers must normalise

  p = ParseCommandLine({"--user", "Jo Bloggs", "--data", "C:\\d", "--log", "C:\\l.log", "--confirm-other",
                        "--fetch-src", "--no-register", "AIM:BuddyIcon?Src=x"});
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_EQ(p.options.user, "Jo Bloggs");
  EXPECT_EQ(p.options.dataDir, "C:\\d");
  EXPECT_EQ(p.options.logPath, "C:\\l.log");
  EXPECT_TRUE(p.options.confirmOther);
  EXPECT_TRUE(p.options.fetchSrc);
  EXPECT_TRUE(p.options.noRegister);
  EXPECT_EQ(p.options.link, "AIM:BuddyIcon?Src=x");
}

TEST(AimSimOptions, IgnoredSelectsTakeACount) {
  ParsedOptions p = ParseCommandLine({"--ignore-select", "3"});
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_EQ(p.options.ignoreSelects, 3);
  EXPECT_EQ(ParseCommandLine({}).options.ignoreSelects, 0);
  for (const char* bad : {"-1", "x", "", "12345", "2x"})
    EXPECT_FALSE(ParseCommandLine({"--ignore-select", bad}).error.empty()) << bad;
  EXPECT_FALSE(ParseCommandLine({"--ignore-select"}).error.empty());
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

TEST(AimSimOptions, BadCommandLinesAreRefused) {
  EXPECT_FALSE(ParseCommandLine({"--user"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--user", "   "}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--bogus"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"http://x"}).error.empty());
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

TEST(AimSimConfirm, TextNamesTheBuddyIconOnlyForIconLinks) {
  AimLink icon, other;
  ASSERT_TRUE(ParseAimLink("aim:BuddyIcon?Src=http://h/nothing.gif", icon));
  ASSERT_TRUE(ParseAimLink("aim:AddBuddy?ScreenName=x", other));
  Options o;
  EXPECT_NE(ConfirmText(icon, o).find("Buddy Icon"), std::string::npos);
  EXPECT_NE(ConfirmText(icon, o).find("http://h/nothing.gif"), std::string::npos);
  EXPECT_EQ(ConfirmText(other, o).find("Buddy Icon"), std::string::npos);
  o.confirmOther = true;
  EXPECT_EQ(ConfirmText(icon, o).find("Buddy Icon"), std::string::npos);
  o.confirmText = "set your buddy icon?";
  EXPECT_EQ(ConfirmText(icon, o), "set your buddy icon?");
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
