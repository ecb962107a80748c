#include "download/core/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace iv::download {

namespace {

// A whole GIF as far as the engine looks: signature, a tag, the trailer.
std::string Gif(const std::string& tag = "") { return "GIF89a" + tag + ";"; }

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

  std::vector<std::string> prefetched;
  std::vector<size_t> prefetchedAtFetch;  // how many were asked for ahead when each fetch came

  void Prefetch(const std::string& url, const std::string& category, const std::string& file) override {
    EXPECT_TRUE(folders.count(category));
    EXPECT_EQ(file, url.substr(url.rfind('/') + 1));
    prefetched.push_back(url);
  }
  Fetched Fetch(const std::string& url) override {
    fetched.push_back(url);
    prefetchedAtFetch.push_back(prefetched.size());
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
  site.Serve(kIconUrl, Gif());
  const DownloadResult r = RunDownload("AddIcon", kIconUrl, site);
  EXPECT_EQ(r.kind, Kind::Done);
  EXPECT_EQ(r.category, "Funny Cats");
  EXPECT_EQ(r.entries, std::vector<std::string>{"Funny Cats\\cat.gif"});
  EXPECT_TRUE(site.folders.count("Funny Cats"));
  EXPECT_EQ(site.files["Funny Cats\\cat.gif"], Gif());
  EXPECT_EQ(site.counts.front(), "Your selected Icon...");
  EXPECT_EQ(site.progressMax, 1);
  EXPECT_EQ(site.progress, 1);
}

TEST(AddIcon, AnExistingIconIsSkippedWithoutFetchingAndStillHandedOver) {
  FakeSite site;
  site.files["Funny Cats\\cat.gif"] = "old";
  site.Serve(kIconUrl, Gif());
  const DownloadResult r = RunDownload("AddIcon", kIconUrl, site);
  EXPECT_EQ(r.kind, Kind::Done);
  EXPECT_TRUE(site.fetched.empty());
  EXPECT_EQ(site.files["Funny Cats\\cat.gif"], "old");
  EXPECT_EQ(site.counts.back(), kTextSkipped);
  EXPECT_EQ(r.entries.size(), 1u);
}

TEST(AddIcon, ErrorPagesCutOffGifsFailedTransfersAndCancelWriteNothing) {
  for (const std::string body : {"<html>Not found</html>", "", "unreachable", "cancel", "GIF89a\x01\x00"}) {
    FakeSite site;
    if (body == "cancel") site.cancelAt = kIconUrl;
    if (body != "unreachable") site.Serve(kIconUrl, body);
    EXPECT_EQ(RunDownload("AddIcon", kIconUrl, site).kind, body == "cancel" ? Kind::Cancelled : Kind::Failed) << body;
    EXPECT_TRUE(site.files.empty()) << body;
  }
}

TEST(AddIcon, HostileNamesAddressesAndNamesOtherThanGifTouchNothing) {
  for (const std::string url : {"http://h/../evil.gif", "http://h/x/..", "http://h/CON/a.gif", "http://h/c/nul.gif",
                                "file:///C:/Cats/a.gif", "http://h/c/a:b.gif", "http://h/c%5C../a.gif/",
                                "http://h/c/run.hta", "http://h/c/desktop.ini", "http://h/c/x.js",
                                "http://h/c/COM%C2%B9.gif"}) {
    FakeSite site;
    site.Serve(url, Gif());
    EXPECT_EQ(RunDownload("AddIcon", url, site).kind, Kind::Failed) << url;
    EXPECT_TRUE(site.files.empty()) << url;
    EXPECT_TRUE(site.folders.empty()) << url;
    EXPECT_TRUE(site.fetched.empty()) << url;
  }
}

TEST(AddList, DownloadsEachIconAndCountsThem) {
  FakeSite site;
  site.Serve("http://h/list", "[Funny Cats]\nhttp://h/i/a.gif\nhttp://h/i/b.gif\nhttp://h/i/c.gif\n");
  for (const char* f : {"a", "b", "c"}) site.Serve(std::string("http://h/i/") + f + ".gif", Gif(f));
  const DownloadResult r = RunDownload("AddList", "http://h/list", site);
  EXPECT_EQ(r.kind, Kind::Done);
  EXPECT_EQ(r.category, "Funny Cats");
  EXPECT_EQ(r.entries, (std::vector<std::string>{"Funny Cats\\a.gif", "Funny Cats\\b.gif", "Funny Cats\\c.gif"}));
  EXPECT_EQ(site.files["Funny Cats\\b.gif"], Gif("b"));
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
  site.Serve("http://h/i/c.gif", Gif());
  const DownloadResult r = RunDownload("AddList", "http://h/list", site);
  EXPECT_EQ(r.kind, Kind::Done);
  EXPECT_EQ(r.entries, (std::vector<std::string>{"Cats\\a.gif", "Cats\\c.gif"}));
  EXPECT_EQ(site.files["Cats\\a.gif"], "mine");
  EXPECT_FALSE(site.files.count("Cats\\b.gif"));
  EXPECT_EQ(site.fetched, (std::vector<std::string>{"http://h/list", "http://h/i/b.gif", "http://h/i/c.gif"}));
}

TEST(AddList, FailedListsWriteNothing) {
  for (const std::string body : {"", "<HTML>maintenance</HTML>\n", "no lines at all", "[..]\nhttp://h/i/a.gif\n",
                                 "[a\\b]\nhttp://h/i/a.gif\n"}) {
    FakeSite site;
    site.Serve("http://h/list", body);
    site.Serve("http://h/i/a.gif", Gif());
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
  site.Serve("http://h/i/ok.gif", Gif());
  const DownloadResult r = RunDownload("AddList", "http://h/list", site);
  EXPECT_EQ(r.entries, std::vector<std::string>{"Cats\\ok.gif"});
  EXPECT_EQ(site.fetched, (std::vector<std::string>{"http://h/list", "http://h/i/ok.gif"}));
}

TEST(AddList, ClosingMidListStopsAtOnce) {
  FakeSite site;
  site.Serve("http://h/list", "[Cats]\nhttp://h/i/a.gif\nhttp://h/i/b.gif\nhttp://h/i/c.gif\n");
  for (const char* f : {"a", "b", "c"}) site.Serve(std::string("http://h/i/") + f + ".gif", Gif());
  site.cancelAt = "http://h/i/b.gif";
  EXPECT_EQ(RunDownload("AddList", "http://h/list", site).kind, Kind::Cancelled);
  EXPECT_EQ(site.files.size(), 1u);
  EXPECT_EQ(site.fetched.back(), "http://h/i/b.gif");
}

TEST(AddList, IconsAreAskedForAFewAheadButTakenInTheListsOrder) {
  FakeSite site;
  std::string list = "[Cats]\n";
  std::vector<std::string> urls, entries;
  for (int k = 1; k <= 20; ++k) {
    const std::string file = k == 5 ? "x.js" : "i" + std::to_string(k) + ".gif";
    urls.push_back("http://h/i/" + file);
    list += urls.back() + "\n";
    site.Serve(urls.back(), Gif());
    if (k == 3 || k == 12) site.files["Cats\\" + file] = "mine";
    if (k != 5) entries.push_back("Cats\\" + file);
  }
  site.Serve("http://h/list", list);
  const DownloadResult r = RunDownload("AddList", "http://h/list", site);
  EXPECT_EQ(r.entries, entries);
  std::vector<std::string> counts{"Icon 1 of 20"};
  for (int k = 1; k <= 20; ++k) {
    counts.push_back("Icon " + std::to_string(k) + " of 20");
    if (k == 3 || k == 12) counts.push_back(std::string(kTextSkipped));
    if (k == 5) counts.push_back(std::string(kTextNotIcon));
  }
  EXPECT_EQ(site.counts, counts);

  std::vector<std::string> wanted;  // every icon to fetch, in order
  for (int k = 1; k <= 20; ++k)
    if (k != 3 && k != 5 && k != 12) wanted.push_back(urls[k - 1]);
  ASSERT_EQ(site.fetched.size(), wanted.size() + 1);
  EXPECT_EQ(std::vector<std::string>(site.fetched.begin() + 1, site.fetched.end()), wanted);
  // Each icon was asked for ahead, once, in order, and never more than a few ahead.
  EXPECT_EQ(site.prefetched, wanted);
  for (size_t f = 1; f < site.fetched.size(); ++f) {
    const size_t pos = std::find(urls.begin(), urls.end(), site.fetched[f]) - urls.begin();
    const size_t asked = site.prefetchedAtFetch[f];
    ASSERT_GT(asked, 0u);
    const size_t lastPos = std::find(urls.begin(), urls.end(), site.prefetched[asked - 1]) - urls.begin();
    EXPECT_LT(lastPos, pos + kFetchAhead) << site.fetched[f];
    if (f + 1 < site.fetched.size()) EXPECT_GT(lastPos, pos) << "nothing was under way beside " << site.fetched[f];
  }
}

TEST(AddList, AListThatAddsNoIconFails) {
  for (const std::string icons : {"", "http://h/i/a.gif\nhttp://h/i/b.js\n"}) {
    FakeSite site;
    site.Serve("http://h/list", "[Cats]\n" + icons);
    site.Serve("http://h/i/a.gif", "<html>gone</html>");
    site.Serve("http://h/i/b.js", Gif());
    const DownloadResult r = RunDownload("AddList", "http://h/list", site);
    EXPECT_EQ(r.kind, Kind::Failed) << icons;
    EXPECT_TRUE(r.entries.empty()) << icons;
    EXPECT_TRUE(site.files.empty()) << icons;
  }
}

TEST(AddList, OnlyGifNamesAndWholeGifsAreWritten) {
  FakeSite site;
  site.Serve("http://h/list",
             "[Cats]\nhttp://h/i/run.hta\nhttp://h/i/desktop.ini\nhttp://h/i/x.js\nhttp://h/i/cut.gif\n"
             "http://h/i/OK.GIF\n");
  for (const char* f : {"run.hta", "desktop.ini", "x.js", "OK.GIF"}) site.Serve(std::string("http://h/i/") + f, Gif());
  site.Serve("http://h/i/cut.gif", "GIF89a\x01\x00\x01");  // the connection closed early
  const DownloadResult r = RunDownload("AddList", "http://h/list", site);
  EXPECT_EQ(r.entries, std::vector<std::string>{"Cats\\OK.GIF"});
  EXPECT_EQ(site.files.size(), 1u);
  EXPECT_EQ(site.fetched, (std::vector<std::string>{"http://h/list", "http://h/i/cut.gif", "http://h/i/OK.GIF"}));
  EXPECT_EQ(std::count(site.counts.begin(), site.counts.end(), kTextNotIcon), 4);
}

TEST(AddIcon, EscapedNamesAreDecodedForTheLibraryNotForTheRequest) {
  FakeSite site;
  const std::string url = "http://h/icons/Tom.%26.Jerry/It%27s%20100%25.gif";
  site.Serve(url, Gif());
  const DownloadResult r = RunDownload("AddIcon", url, site);
  EXPECT_EQ(r.kind, Kind::Done);
  EXPECT_EQ(r.entries, std::vector<std::string>{"Tom & Jerry\\It's 100%.gif"});
  EXPECT_TRUE(site.files.count("Tom & Jerry\\It's 100%.gif"));
  EXPECT_EQ(site.fetched, std::vector<std::string>{url});
}

}  // namespace iv::download
