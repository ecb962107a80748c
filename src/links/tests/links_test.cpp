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

TEST(Links, FeatureTextShowsItemByItemEachWhole) {
  const auto items = FeatureItems(kFeatureText);
  ASSERT_EQ(items.size(), 12u);
  EXPECT_EQ(items.front(), "Zephyrchat Features: Tabbed IMs and Chat Rooms.");
  EXPECT_EQ(items[10], "Extensive customization options.");
  EXPECT_EQ(items.back(), "AND MUCH MORE!!!  ...........");  // two blanks are not a gap
  EXPECT_TRUE(FeatureItems("").empty());
  EXPECT_TRUE(FeatureItems("      ").empty());
  EXPECT_EQ(FeatureItems("  one   two  "), (std::vector<std::string>{"one", "two"}));

  // Every item comes up in order, stays at least a second and a half, then it starts over.
  std::vector<size_t> shown;
  std::vector<int> stay(items.size(), 0);
  uint64_t cycle = 0;
  for (const auto& item : items) cycle += FeatureItemTicks(item);
  for (uint64_t tick = 0; tick < cycle; ++tick) {
    const size_t at = FeatureItemAt(items, tick);
    if (shown.empty() || shown.back() != at) shown.push_back(at);
    ++stay[at];
  }
  ASSERT_EQ(shown.size(), items.size());
  for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i], i);
  for (int ticks : stay) EXPECT_GE(ticks, 15);
  EXPECT_GT(stay[0], stay[7]);  // the long first item stays longer than "AIM Today toolbar."
  EXPECT_EQ(FeatureItemAt(items, cycle), 0u);
  EXPECT_EQ(FeatureItemAt(items, cycle * 1000 + FeatureItemTicks(items[0])), 1u);
  EXPECT_EQ(FeatureItemAt({}, 5), 0u);
}

}  // namespace iv::links
