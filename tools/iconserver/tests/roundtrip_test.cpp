// Names with characters that need escaping, from the site's category list through
// the program's page address, the page's links and the icon list back to the names
// the program files them under.
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "download/core/link.h"
#include "library/core/categories.h"
#include "library/core/safety.h"
#include "server.h"

namespace iv::iconserver {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kNames{"100%", "Caf\xC3\xA9", "It's", "Tom & Jerry"};  // sorted as listed
const std::string kBody = "GIF89a;";

// The icvan links of a page in page order, with the HTML escape of "&" undone.
std::vector<std::string> CommandLinks(const std::string& page, const std::string& command) {
  std::vector<std::string> links;
  const std::string open = "href=\"icvan:" + command + "?";
  for (auto at = page.find(open); at != std::string::npos; at = page.find(open, at + 1)) {
    std::string link = page.substr(at + 6, page.find('"', at + 6) - at - 6);
    for (size_t amp; (amp = link.find("&amp;")) != std::string::npos;) link.replace(amp, 5, "&");
    links.push_back(link);
  }
  return links;
}

TEST(EscapedNames, SurviveTheRoundTripThroughTheSite) {
  const fs::path root = fs::path(::testing::TempDir()) / ("iv-roundtrip-" + std::to_string(::getpid()));
  fs::remove_all(root);
  for (const std::string& name : kNames) {
    fs::create_directories(root / name);
    for (const std::string& file : {std::string("a b.gif"), name + ".gif"})
      std::ofstream(root / name / file, std::ios::binary) << kBody;
  }
  IconServer server(ServerOptions{root});
  std::string error;
  ASSERT_TRUE(server.Start(0, error)) << error;
  httplib::Client client("127.0.0.1", server.Port());
  const auto target = [&](const std::string& url) { return url.substr(server.Address().size()); };

  const auto list = client.Get("/iconvane.php");
  ASSERT_TRUE(list);
  ASSERT_TRUE(library::IsUtf8(list->body));
  const std::vector<std::string> cats = library::ParseCategories(list->body);
  ASSERT_EQ(std::vector<std::string>(cats.begin() + 1, cats.end()), kNames);

  for (const std::string& name : kNames) {
    SCOPED_TRACE(name);
    const auto page = client.Get(library::CategoryPagePath(name));
    ASSERT_TRUE(page);
    ASSERT_EQ(page->status, 200) << library::CategoryPagePath(name);
    std::vector<std::string> files;
    for (const std::string& link : CommandLinks(page->body, "AddIcon")) {
      const std::string url = download::GetArgument(download::StripScheme(link));
      EXPECT_EQ(download::CategoryFromURL(url), name) << url;
      files.push_back(download::FileNameFromURL(url));
      const auto icon = client.Get(target(url));
      ASSERT_TRUE(icon);
      EXPECT_EQ(icon->status, 200) << url;
      EXPECT_EQ(icon->body, kBody) << url;
    }
    EXPECT_EQ(files, (std::vector<std::string>{name + ".gif", "a b.gif"}));

    const std::vector<std::string> addList = CommandLinks(page->body, "AddList");
    ASSERT_FALSE(addList.empty());
    const auto icons = client.Get(target(download::GetArgument(download::StripScheme(addList.front()))));
    ASSERT_TRUE(icons);
    const std::vector<std::string> lines = download::RefreshURLArray(icons->body);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(download::ListCategory(lines[1]), name);
    EXPECT_EQ(download::FileNameFromURL(lines[3]), "a b.gif");
  }
  server.Stop();
  fs::remove_all(root);
}

}  // namespace
}  // namespace iv::iconserver
