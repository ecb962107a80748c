#include "download/core/link.h"

#include <gtest/gtest.h>

namespace iv::download {

TEST(CommandLink, PrefixInAnyCaseCommandCaseSensitive) {
  auto link = LinkFromCommandLine("ICVAN:AddIcon?k=http://h/Funny.Cats/cat.gif");
  ASSERT_TRUE(link);
  const std::string rest = StripScheme(*link);
  EXPECT_EQ(GetCommand(rest), "AddIcon");
  EXPECT_EQ(GetArgument(rest), "http://h/Funny.Cats/cat.gif");
  EXPECT_EQ(GetCommand(StripScheme("icvan:addicon?k=x")), "addicon");
  EXPECT_NE(GetCommand(StripScheme("icvan:addicon?k=x")), kAddIcon);
  EXPECT_FALSE(LinkFromCommandLine("icvanAddIcon?k=x"));
  EXPECT_FALSE(LinkFromCommandLine("-min"));
  EXPECT_FALSE(LinkFromCommandLine(""));
}

TEST(CommandLink, QuotedLinkFromTheRegisteredCommandIsUnwrapped) {
  EXPECT_EQ(LinkFromCommandLine("  \"icvan:AddList?k=http://h/a b.txt\" "), "icvan:AddList?k=http://h/a b.txt");
  EXPECT_EQ(LinkFromCommandLine("icvan:AddList?k=x"), "icvan:AddList?k=x");
  // A lone quote is not a pair and is left alone.
  EXPECT_FALSE(LinkFromCommandLine("\"icvan:AddList?k=x"));
}

TEST(CommandLink, OnlyTheFirstQuestionMarkAndEqualsCount) {
  const std::string rest = StripScheme("icvan:AddList?key=http://h/list.php?dir=Funny.Cats&x=1");
  EXPECT_EQ(GetCommand(rest), "AddList");
  EXPECT_EQ(GetArgument(rest), "http://h/list.php?dir=Funny.Cats&x=1");
  // An "=" before the "?" belongs to the command, not the argument.
  EXPECT_EQ(GetArgument("Add=Icon?k=v"), "v");
  // Without "=" the whole text after "?" is the URL.
  EXPECT_EQ(GetArgument("AddIcon?http://h/c/a.gif"), "http://h/c/a.gif");
}

TEST(CommandLink, WithoutQuestionMarkCommandAndUrlAreEmpty) {
  EXPECT_EQ(GetCommand("AddIcon=http://h/c/a.gif"), "");
  EXPECT_EQ(GetArgument("AddIcon=http://h/c/a.gif"), "");
  EXPECT_EQ(StripScheme("icvan:"), "");
  EXPECT_EQ(StripScheme("icv"), "");
}

TEST(IconUrl, FileAndCategoryAreTheLastTwoSegments) {
  EXPECT_EQ(FileNameFromURL("http://h/icons/Funny.Cats/cat.gif"), "cat.gif");
  EXPECT_EQ(CategoryFromURL("http://h/icons/Funny.Cats/cat.gif"), "Funny Cats");
  EXPECT_EQ(CategoryFromURL("Cats/cat.gif"), "Cats");
  EXPECT_EQ(CategoryFromURL("cat.gif"), "");
  EXPECT_EQ(FileNameFromURL("cat.gif"), "cat.gif");
  EXPECT_EQ(FileNameFromURL("http://h/c/"), "");
  EXPECT_EQ(CategoryFromURL("/cat.gif"), "");
}

TEST(IconList, SplitsAtLineFeedsAndDropsAnUnterminatedLastLine) {
  const auto lines = RefreshURLArray("[Funny Cats]\nhttp://h/a.gif\nhttp://h/b.gif\nhttp://h/c.gif");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "[Funny Cats]");
  EXPECT_EQ(lines[3], "http://h/b.gif");
  EXPECT_EQ(RefreshURLArray("no line feed").size(), 1u);
  EXPECT_EQ(RefreshURLArray("").size(), 1u);
}

TEST(IconList, CrLfLineEndsLoseTheirCrEmptyLinesStay) {
  const auto lines = RefreshURLArray("[C]\r\n\nx\r\n\r\r\n");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], "[C]");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "x");
  EXPECT_EQ(lines[4], "\r");  // only one CR goes
  EXPECT_EQ(ListCategory(RefreshURLArray("[Cats]\r\n")[1]), "Cats");
}

TEST(IconList, CategoryLineLosesItsFirstAndLastCharacter) {
  EXPECT_EQ(ListCategory("[Funny Cats]"), "Funny Cats");
  EXPECT_EQ(ListCategory("[]"), "");
  EXPECT_EQ(ListCategory("x"), "");
}

TEST(IconUrl, NamesArePercentDecodedAsUtf8) {
  const std::string url = "http://h/icons/Tom.%26.Jerry/It%27s%20100%25.gif";
  EXPECT_EQ(CategoryFromURL(url), "Tom & Jerry");
  EXPECT_EQ(FileNameFromURL(url), "It's 100%.gif");
  EXPECT_EQ(CategoryFromURL("http://h/Caf%c3%A9/a.gif"), "Caf\xC3\xA9");  // either case
  EXPECT_EQ(CategoryFromURL("http://h/100%25/a.gif"), "100%");
  // "." is the server's blank; an escaped dot is a dot.
  EXPECT_EQ(CategoryFromURL("http://h/A.B%2EC/a.gif"), "A B.C");
  // Broken escapes and "+" stay as they are.
  EXPECT_EQ(FileNameFromURL("http://h/c/a%zz%4+b%.gif"), "a%zz%4+b%.gif");
  EXPECT_EQ(PercentDecode(std::string_view("%41", 2)), "%4");  // nothing is read past the text
  // An escaped separator decodes into the name, where the name check refuses it.
  EXPECT_EQ(FileNameFromURL("http://h/c/..%5Cx.gif"), "..\\x.gif");
}

TEST(IconUrl, OnlyWebAddressesAreFetched) {
  EXPECT_TRUE(IsWebUrl("http://h/a.gif"));
  EXPECT_TRUE(IsWebUrl("HTTPS://h/a.gif"));
  EXPECT_FALSE(IsWebUrl("file:///C:/Windows/win.ini"));
  EXPECT_FALSE(IsWebUrl("ftp://h/a.gif"));
  EXPECT_FALSE(IsWebUrl("C:\\a.gif"));
}

}  // namespace iv::download
