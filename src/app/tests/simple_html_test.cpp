#include "app/core/simple_html.h"

#include <gtest/gtest.h>

namespace iv::app {

TEST(SimpleHtml, BlocksRunsAndLinks) {
  const auto blocks = ParseSimpleHtml(
      "<html><head><title>x</title><script>alert(1)</script></head><body>"
      "<h1>Welcome</h1><p>Keep <b>your  icons</b>\r\n fresh &amp; new.</p>"
      "<p><a href=\"http://h/help.php\">Help</a></p></body></html>");
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].heading, 1);
  EXPECT_EQ(blocks[0].runs[0].text, "Welcome");
  ASSERT_EQ(blocks[1].runs.size(), 3u);
  EXPECT_EQ(blocks[1].runs[0].text, "Keep ");
  EXPECT_TRUE(blocks[1].runs[1].bold);
  EXPECT_EQ(blocks[1].runs[1].text, "your icons");
  EXPECT_EQ(blocks[1].runs[2].text, " fresh & new.");
  EXPECT_EQ(blocks[2].runs[0].href, "http://h/help.php");
  EXPECT_EQ(ParseSimpleHtml("<a href=\"\" title=\"t\">x</a>")[0].runs[0].href, "");
  const auto runs = ParseSimpleHtml("<i>a</i><font>b</font><em>c</em>")[0].runs;  // unknown tags break no block
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_TRUE(runs[0].italic);
  EXPECT_FALSE(runs[1].italic);
  EXPECT_TRUE(runs[2].italic);
  const auto nested = ParseSimpleHtml("<b><b>a</b>b</b>c")[0].runs;  // each closing tag undoes one opening
  ASSERT_EQ(nested.size(), 3u);
  EXPECT_TRUE(nested[1].bold);
  EXPECT_FALSE(nested[2].bold);
}

TEST(SimpleHtml, CentredByTheTagOrByAnAttribute) {
  const auto blocks = ParseSimpleHtml("<center>a</center><p align=\"CENTER\">b</p><p>c</p>");
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_TRUE(blocks[0].center);
  EXPECT_TRUE(blocks[1].center);
  EXPECT_FALSE(blocks[2].center);
}

TEST(SimpleHtml, BrokenMarkupNeverReadsPastTheEnd) {
  for (const char* html : {"<", "<b", "<a href=\"x", "</b></b></i>text", "<a href=>", "&am", "<h9>x"}) {
    const auto blocks = ParseSimpleHtml(html);
    EXPECT_FALSE(blocks.empty()) << html;
  }
}

}  // namespace iv::app
