#include "links/core/links.h"

#include <gtest/gtest.h>

#include "download/core/server.h"

namespace iv::links {

class LinksTest : public ::testing::Test {
 protected:
  settings::MemoryBackend mem;
  settings::Store store{mem};
  std::string Server(std::string_view path) { return download::ServerUrl(store, path); }
  ToolAction Open(std::string url) { return {ToolAction::Kind::OpenUrl, std::move(url)}; }
};

TEST_F(LinksTest, ToolsOpenPagesShowTheAboutBoxOrDoNothing) {
  EXPECT_EQ(ActionFor("ID_HELP", store), ToolAction{});
  EXPECT_EQ(ActionFor("ID_ABOUT", store).kind, ToolAction::Kind::ShowAbout);
  EXPECT_EQ(ActionFor("ID_ICONS", store), Open(Server("/")));
  EXPECT_EQ(ActionFor("ID_ZCHome", store), Open(std::string(kZephyrchatSite) + "/"));
}

TEST_F(LinksTest, ToolNamesAreExactAndUnknownOnesDoNothing) {
  EXPECT_EQ(ActionFor("id_about", store), ToolAction{});
  EXPECT_EQ(ActionFor("ID_ZCHOME", store), ToolAction{});
  EXPECT_EQ(ActionFor("", store), ToolAction{});
}

TEST_F(LinksTest, IconServerToolsFollowTheConfiguredServer) {
  store.Set("Options", "IconServer", "http://127.0.0.1:8080/");
  EXPECT_EQ(ActionFor("ID_TOOLHELP", store).url, "http://127.0.0.1:8080/help.php");
}

TEST(Links, DonationPageHasNoQuestionMark) {
  const std::string url = DonationUrl();
  EXPECT_EQ(url.rfind("https://", 0), 0u);
  EXPECT_EQ(url.find('?'), std::string::npos);
  EXPECT_NE(url.find("/xclick/business=donate%40"), std::string::npos);
  const std::string tail = "&item_name=A+small+donation+for+Iconvane.+Thank+you!&amount=5.00";
  EXPECT_EQ(url.substr(url.size() - tail.size()), tail);
}

TEST(Links, BandHoldsTheLastFourToolsInOrder) {
  const auto band = BandTools();
  ASSERT_EQ(band.size(), 4u);
  const auto& tools = Tools();
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(band[i], tools[tools.size() - 4 + i].name);
  EXPECT_EQ(FindTool("ID_ZCDL")->caption, "Download Now!");
}

}  // namespace iv::links
