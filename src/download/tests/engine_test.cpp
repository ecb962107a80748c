#include "download/core/engine.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace iv::download {

namespace {

const std::string kGif("GIF89a\x01\x00\x01\x00", 10);

// A library and a server in memory; records what the window would show.
class FakeSite : public DownloadSite {
 public:
  std::map<std::string, Fetched> server;
  std::set<std::string> folders;
  std::map<std::string, std::string> files;  // "category\file" -> bytes
  std::vector<std::string> fetched, counts;
  int progressMin = -1, progressMax = -1, progress = -1;
  std::string cancelAt;  // the fetch of this URL is interrupted by closing the window
  bool cancelled = false;

  void Serve(const std::string& url, const std::string& body) { server[url] = {Fetched::Status::Ok, body}; }

  Fetched Fetch(const std::string& url) override {
    fetched.push_back(url);
    if (url == cancelAt) {
      cancelled = true;
      return {Fetched::Status::Cancelled, {}};
    }
    auto it = server.find(url);
    return it == server.end() ? Fetched{} : it->second;
  }
  bool Cancelled() const override { return cancelled; }
  bool EnsureFolder(const std::string& c) override {
    folders.insert(c);
    return true;
  }
  bool IconExists(const std::string& c, const std::string& f) override { return files.count(c + "\\" + f) > 0; }
  bool WriteIcon(const std::string& c, const std::string& f, const std::string& bytes) override {
    return files.emplace(c + "\\" + f, bytes).second;
  }
  void SetCount(const std::string& text) override { counts.push_back(text); }
  void SetProgressRange(int min, int max) override {
    progressMin = min;
    progressMax = max;
  }
  void SetProgress(int value) override { progress = value; }
};

using Kind = DownloadResult::Kind;
const std::string kIconUrl = "http://h/icons/Funny.Cats/cat.gif";

}  // namespace

TEST(AddIcon, DownloadsIntoTheCategoryFromTheUrl) {
  FakeSite site;
  site.Serve(kIconUrl, kGif);
  const DownloadResult r = RunDownload("AddIcon", kIconUrl, site);
  EXPECT_EQ(r.kind, Kind::Done);
  EXPECT_EQ(r.category, "Funny Cats");
  EXPECT_EQ(r.entries, std::vector<std::string>{"Funny Cats\\cat.gif"});
  EXPECT_TRUE(site.folders.count("Funny Cats"));
  EXPECT_EQ(site.files["Funny Cats\\cat.gif"], kGif);
  EXPECT_EQ(site.counts.front(), "Your selected Icon...");
  EXPECT_EQ(site.progressMax, 1);
  EXPECT_EQ(site.progress, 1);
}

TEST(AddIcon, AnExistingIconIsSkippedWithoutFetchingAndStillHandedOver) {
  FakeSite site;
  site.files["Funny Cats\\cat.gif"] = "old";
  site.Serve(kIconUrl, kGif);
  const DownloadResult r = RunDownload("AddIcon", kIconUrl, site);
  EXPECT_EQ(r.kind, Kind::Done);
  EXPECT_TRUE(site.fetched.empty());
  EXPECT_EQ(site.files["Funny Cats\\cat.gif"], "old");
  EXPECT_EQ(site.counts.back(), kTextSkipped);
  EXPECT_EQ(r.entries.size(), 1u);
}

TEST(AddIcon, ErrorPagesFailedTransfersAndCancelWriteNothing) {
  for (const std::string body : {"<html>Not found</html>", "", "unreachable", "cancel"}) {
    FakeSite site;
    if (body == "cancel") site.cancelAt = kIconUrl;
    if (body != "unreachable") site.Serve(kIconUrl, body);
    EXPECT_EQ(RunDownload("AddIcon", kIconUrl, site).kind, body == "cancel" ? Kind::Cancelled : Kind::Failed) << body;
    EXPECT_TRUE(site.files.empty()) << body;
  }
}

TEST(AddIcon, HostileNamesAndAddressesTouchNothing) {
  for (const std::string url : {"http://h/../evil.gif", "http://h/x/..", "http://h/CON/a.gif", "http://h/c/nul.gif",
                                "file:///C:/Cats/a.gif", "http://h/c/a:b.gif", "http://h/c%5C../a.gif/"}) {
    FakeSite site;
    site.Serve(url, kGif);
    EXPECT_EQ(RunDownload("AddIcon", url, site).kind, Kind::Failed) << url;
    EXPECT_TRUE(site.files.empty()) << url;
    EXPECT_TRUE(site.folders.empty()) << url;
    EXPECT_TRUE(site.fetched.empty()) << url;
  }
}

TEST(AddList, DownloadsEachIconAndCountsThem) {
  FakeSite site;
  site.Serve("http://h/list", "[Funny Cats]\nhttp://h/i/a.gif\nhttp://h/i/b.gif\nhttp://h/i/c.gif\n");
  for (const char* f : {"a", "b", "c"}) site.Serve(std::string("http://h/i/") + f + ".gif", kGif + f);
  const DownloadResult r = RunDownload("AddList", "http://h/list", site);
  EXPECT_EQ(r.kind, Kind::Done);
  EXPECT_EQ(r.category, "Funny Cats");
  EXPECT_EQ(r.entries, (std::vector<std::string>{"Funny Cats\\a.gif", "Funny Cats\\b.gif", "Funny Cats\\c.gif"}));
  EXPECT_EQ(site.files["Funny Cats\\b.gif"], kGif + "b");
  EXPECT_EQ(site.counts, (std::vector<std::string>{"Icon 1 of 3", "Icon 1 of 3", "Icon 2 of 3", "Icon 3 of 3"}));
  EXPECT_EQ(site.progressMin, 1);
  EXPECT_EQ(site.progressMax, 4);
  EXPECT_EQ(site.progress, 4);
}

TEST(AddList, ExistingIconsAreSkippedButQueuedBrokenOnesAreNot) {
  FakeSite site;
  site.Serve("http://h/list", "[Cats]\nhttp://h/i/a.gif\nhttp://h/i/b.gif\nhttp://h/i/c.gif\n");
  site.files["Cats\\a.gif"] = "mine";
  site.Serve("http://h/i/b.gif", "<html>oops</html>");
  site.Serve("http://h/i/c.gif", kGif);
  const DownloadResult r = RunDownload("AddList", "http://h/list", site);
  EXPECT_EQ(r.kind, Kind::Done);
  EXPECT_EQ(r.entries, (std::vector<std::string>{"Cats\\a.gif", "Cats\\c.gif"}));
  EXPECT_EQ(site.files["Cats\\a.gif"], "mine");
  EXPECT_FALSE(site.files.count("Cats\\b.gif"));
  EXPECT_EQ(site.fetched, (std::vector<std::string>{"http://h/list", "http://h/i/b.gif", "http://h/i/c.gif"}));
}

TEST(AddList, WithoutFinalLineFeedTheLastIconIsLost) {
  FakeSite site;
  site.Serve("http://h/list", "[Cats]\nhttp://h/i/a.gif\nhttp://h/i/b.gif");
  site.Serve("http://h/i/a.gif", kGif);
  site.Serve("http://h/i/b.gif", kGif);
  const DownloadResult r = RunDownload("AddList", "http://h/list", site);
  EXPECT_EQ(r.entries, std::vector<std::string>{"Cats\\a.gif"});
  EXPECT_EQ(site.files.size(), 1u);
}

TEST(AddList, FailedListsWriteNothing) {
  for (const std::string body : {"", "<HTML>maintenance</HTML>\n", "no lines at all", "[..]\nhttp://h/i/a.gif\n",
                                 "[a\\b]\nhttp://h/i/a.gif\n"}) {
    FakeSite site;
    site.Serve("http://h/list", body);
    site.Serve("http://h/i/a.gif", kGif);
    EXPECT_EQ(RunDownload("AddList", "http://h/list", site).kind, Kind::Failed) << body;
    EXPECT_TRUE(site.files.empty()) << body;
    EXPECT_TRUE(site.folders.empty()) << body;
  }
  FakeSite site;  // the transfer itself fails
  EXPECT_EQ(RunDownload("AddList", "http://h/list", site).kind, Kind::Failed);
}

TEST(AddList, HostileIconLinesAreSkippedAndNeverFetched) {
  FakeSite site;
  site.Serve("http://h/list", "[Cats]\nhttp://h/i/..\nfile:///C:/a.gif\nhttp://h/i/CON\nhttp://h/i/ok.gif\n");
  site.Serve("http://h/i/ok.gif", kGif);
  const DownloadResult r = RunDownload("AddList", "http://h/list", site);
  EXPECT_EQ(r.entries, std::vector<std::string>{"Cats\\ok.gif"});
  EXPECT_EQ(site.fetched, (std::vector<std::string>{"http://h/list", "http://h/i/ok.gif"}));
}

TEST(AddList, ClosingMidListStopsAtOnce) {
  FakeSite site;
  site.Serve("http://h/list", "[Cats]\nhttp://h/i/a.gif\nhttp://h/i/b.gif\nhttp://h/i/c.gif\n");
  for (const char* f : {"a", "b", "c"}) site.Serve(std::string("http://h/i/") + f + ".gif", kGif);
  site.cancelAt = "http://h/i/b.gif";
  EXPECT_EQ(RunDownload("AddList", "http://h/list", site).kind, Kind::Cancelled);
  EXPECT_EQ(site.files.size(), 1u);
  EXPECT_EQ(site.fetched.back(), "http://h/i/b.gif");
}

}  // namespace iv::download
